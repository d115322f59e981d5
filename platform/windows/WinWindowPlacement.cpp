#include "WinWindowPlacement.hpp"

#include <windows.h>

namespace quarnel {

void WinWindowPlacement::SetAlwaysOnTop(bool onTop) {
    ::SetWindowPos(window_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace quarnel
