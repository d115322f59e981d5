// Hands control to the event loop for a moment during long work, so the window repaints and
// buttons answer.
#pragma once

namespace quarnel {

class Yield {
public:
    virtual ~Yield() = default;
    // Runs the events that are pending now, once, then returns. Where a look at the event queue
    // is dear, a call soon after the last may return at once.
    virtual void YieldOnce() = 0;
};

}  // namespace quarnel
