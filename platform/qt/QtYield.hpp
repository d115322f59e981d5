// The walk's pause for the event loop: pending events run once, then the walk goes on. Each look
// at Qt's event queue costs a system call, and a walk through a hundred thousand small folders
// pauses a hundred thousand times: so the events run at most every few milliseconds, which no
// one sees, and a pause asked for sooner returns at once.
#pragma once

#include <chrono>

#include "platform/Yield.hpp"

namespace quarnel {

class QtYield final : public Yield {
public:
    void YieldOnce() override;

private:
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace quarnel
