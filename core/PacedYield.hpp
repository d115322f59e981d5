// Lets the event loop run now and then during long work on its thread, such as sorting a
// million names, so the window keeps painting and answering: at most every 20 ms of work, and
// cheaply, since the clock is looked at only every few hundred steps.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/Yield.hpp"

namespace quarnel {

class PacedYield {
public:
    explicit PacedYield(Yield& yield) : yield_(yield) {}

    // One step of the work done.
    void Step() {
        if (++steps_ % cStepsBetweenLooks != 0) return;
        if (Clock::now() - last_ >= cPace) Now();
    }

    // Lets the event loop run at once.
    void Now() {
        yield_.YieldOnce();
        last_ = Clock::now();
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::uint32_t cStepsBetweenLooks = 256;
    static constexpr std::chrono::milliseconds cPace{20};

    Yield& yield_;
    std::uint32_t steps_ = 0;
    Clock::time_point last_ = Clock::now();
};

}  // namespace quarnel
