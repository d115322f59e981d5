// Moves the main window into or out of the band of windows that stay above all others.
#pragma once

namespace quarnel {

class WindowPlacement {
public:
    virtual ~WindowPlacement() = default;
    virtual void SetAlwaysOnTop(bool onTop) = 0;
};

}  // namespace quarnel
