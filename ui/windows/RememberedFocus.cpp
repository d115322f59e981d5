#include "RememberedFocus.hpp"

#include <windows.h>

namespace quarnel {

void RememberedFocus::OnActivate(NativeWindow window, std::uintptr_t wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) return;
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window, focus)) focus_ = focus;
}

void RememberedFocus::Restore(NativeWindow first) const {
    SetFocus(focus_ != nullptr && IsWindow(focus_) ? focus_ : first);
}

}  // namespace quarnel
