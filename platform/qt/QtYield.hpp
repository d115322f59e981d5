// The walk's pause for the event loop: pending events run once, then the walk goes on.
#pragma once

#include "platform/Yield.hpp"

namespace quarnel {

class QtYield final : public Yield {
public:
    void YieldOnce() override;
};

}  // namespace quarnel
