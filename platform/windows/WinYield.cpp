#include "WinYield.hpp"

#include <windows.h>

namespace quarnel {

void WinYield::YieldOnce() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        // Tab and accelerators in whichever dialog the message is for
        const HWND active = ::GetActiveWindow();
        if (active != nullptr && ::IsDialogMessageW(active, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace quarnel
