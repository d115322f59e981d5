// The clipboard (the CLIPBOARD selection on X11). The text stays on offer while the program runs.
#pragma once

#include "platform/Clipboard.hpp"

namespace quarnel {

class QtClipboard final : public Clipboard {
public:
    bool SetText(const std::string& text) override;
};

}  // namespace quarnel
