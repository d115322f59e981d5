// The keyboard focus of a window that is left and activated again (a message box shown over
// it, another program): it goes back to the control that had it, as the dialog manager does,
// not to the window's first control.
#pragma once

#include <cstdint>

#include "platform/windows/support/NativeWindow.hpp"

namespace quarnel {

class RememberedFocus {
public:
    // From the window's WM_ACTIVATE: notes which of its controls has the focus as it goes
    // inactive.
    void OnActivate(NativeWindow window, std::uintptr_t wParam);
    // From the window's WM_SETFOCUS: gives the focus to the noted control while it exists,
    // else to first.
    void Restore(NativeWindow first) const;

private:
    NativeWindow focus_ = nullptr;
};

}  // namespace quarnel
