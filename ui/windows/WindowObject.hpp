// A Win32 window as a C++ object: the window stores `this` at WM_NCCREATE and hands every
// message to OnMessage until it is destroyed. Message parameters travel as the integer types
// WPARAM, LPARAM and LRESULT stand for on Win64, so headers stay free of windows.h.
#pragma once

#include <cstdint>
#include <optional>

#include "StartupCalls.hpp"
#include "platform/windows/support/NativeWindow.hpp"

namespace quarnel {

enum class ClassIcon { None, Application };

class WindowObject {
public:
    WindowObject() = default;
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    // nullptr once the window is destroyed, by the user or by the system.
    NativeWindow Handle() const { return window_; }

    // Entered for every message of the window; public only for the shared window procedure.
    // Whatever OnMessage throws ends here, the message counted as handled: an exception must
    // not unwind through the system's code that called the window procedure.
    std::intptr_t Dispatch(NativeWindow window, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) noexcept;

protected:
    // A window that still exists is destroyed without reaching OnMessage: the derived part of
    // the object is gone by then.
    ~WindowObject();

    // Registers the class unless it is registered already, then makes the window, which
    // receives its messages from WM_NCCREATE on. Nothing when both worked, else the call that
    // failed; Handle() stays nullptr then.
    std::optional<StartupFailure> Create(StartupCalls& calls, const wchar_t* className,
                                         ClassIcon icon, unsigned long style, unsigned long exStyle,
                                         NativeWindow parent);

    virtual std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
    std::intptr_t DefaultMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    NativeWindow window_ = nullptr;
};

}  // namespace quarnel
