// WindowPlacement on Windows: SetWindowPos(window, HWND_TOPMOST or HWND_NOTOPMOST, 0, 0, 0, 0,
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE); its result is not examined. Without SWP_NOACTIVATE
// the main window, disabled behind the options dialog, would take the activation from it.
#pragma once

#include "platform/WindowPlacement.hpp"
#include "support/NativeWindow.hpp"

namespace quarnel {

class WinWindowPlacement final : public WindowPlacement {
public:
    void SetWindow(NativeWindow window) { window_ = window; }
    void SetAlwaysOnTop(bool onTop) override;

private:
    NativeWindow window_ = nullptr;
};

}  // namespace quarnel
