// What the window tests ask of real Win32 windows: their text, where a child stands, and the
// messages waiting for this thread, run now.
#pragma once

#include <windows.h>
// windows.h defines Yield() as an empty macro, a leftover of 16-bit Windows, which would hide
// the event loop's Yield class in the headers included after this one.
#undef Yield

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

inline void RunPendingMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace quarnel::testing
