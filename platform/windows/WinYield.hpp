// The yield inside a walk: runs the thread's pending messages once. A WM_QUIT it takes out is
// posted again, so the program's own message loop still ends.
#pragma once

#include "platform/Yield.hpp"

namespace quarnel {

class WinYield final : public Yield {
public:
    void YieldOnce() override;
};

}  // namespace quarnel
