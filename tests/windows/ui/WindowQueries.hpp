// What the window tests ask of real Win32 windows: their text, where a child stands, and the
// messages waiting for this thread, run now or until a condition holds; and the message a move to
// another monitor sends.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quarnel::testing {

inline std::wstring TextOf(HWND window) {
    wchar_t text[256]{};
    GetWindowTextW(window, text, 256);
    return text;
}

// The child's window rectangle in the parent's client coordinates.
inline RECT ClientRectOf(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Moves the window to 400, 300, then tells it what Windows does when the user has moved it onto a
// monitor at newDpi: the rectangle it suggests stands at 600, 300. The window's rectangle after.
inline RECT MovedToAMonitorAt(HWND window, unsigned newDpi) {
    SetWindowPos(window, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT suggested{};
    GetWindowRect(window, &suggested);
    const unsigned oldDpi = GetDpiForWindow(window);
    suggested = {600, 300, 600 + MulDiv(suggested.right - suggested.left, newDpi, oldDpi),
                 300 + MulDiv(suggested.bottom - suggested.top, newDpi, oldDpi)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT after{};
    GetWindowRect(window, &after);
    return after;
}

// The window's size for a client area of width x height at dpi, with its frame at that dpi.
inline SIZE WindowSizeAt(HWND window, int width, int height, unsigned dpi) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectExForDpi(&rect, GetWindowLongW(window, GWL_STYLE), FALSE,
                             GetWindowLongW(window, GWL_EXSTYLE), dpi);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

inline void RunPendingMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Runs this thread's messages until done holds, for at most two seconds.
inline bool WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) {
        RunPendingMessages();
        Sleep(10);
    }
    return done();
}

}  // namespace quarnel::testing
