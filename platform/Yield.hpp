// Hands control to the event loop for a moment during long work, so the window repaints and
// buttons answer.
#pragma once

// windows.h defines Yield() as an empty macro, a leftover of 16-bit Windows, which would hide
// this class wherever it is included first.
#undef Yield

namespace quarnel {

class Yield {
public:
    virtual ~Yield() = default;
    // Runs the events that are pending now, once, then returns.
    virtual void yieldOnce() = 0;
};

}  // namespace quarnel
