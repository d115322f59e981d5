#include "WindowObject.hpp"

#include <windows.h>

#include "WinHandles.hpp"

namespace quarnel {
namespace {

LRESULT CALLBACK WindowObjectProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<WindowObject*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->Dispatch(window, message, wParam, lParam);
}

// The class icons belong to the class, which lives as long as the program: their ownership
// passes to the system when the class is registered.
std::optional<StartupFailure> RegisterWindowClass(StartupCalls& calls, const wchar_t* className,
                                                  ClassIcon icon) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowObjectProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    UniqueIcon big;
    UniqueIcon small;
    if (icon == ClassIcon::Application) {
        big.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXICON),
                                                GetSystemMetrics(SM_CYICON), 0)));
        small.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), 0)));
        windowClass.hIcon = big.get();
        windowClass.hIconSm = small.get();
    }
    if (calls.RegisterClassExW(windowClass) != 0) {
        big.release();
        small.release();
        return std::nullopt;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_CLASS_ALREADY_EXISTS) return std::nullopt;
    return StartupFailure(StartupCall::RegisterClassExW, error);
}

}  // namespace

WindowObject::~WindowObject() {
    if (window_ == nullptr) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

std::optional<StartupFailure> WindowObject::Create(StartupCalls& calls, const wchar_t* className,
                                                   ClassIcon icon, unsigned long style,
                                                   unsigned long exStyle, NativeWindow parent) {
    if (auto failure = RegisterWindowClass(calls, className, icon)) return failure;
    if (calls.CreateWindowExW(exStyle, className, L"", style, parent, 0, this) == nullptr) {
        return StartupFailure(StartupCall::CreateWindowExW, GetLastError());
    }
    return std::nullopt;
}

std::intptr_t WindowObject::Dispatch(NativeWindow window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) noexcept {
    if (message == WM_NCCREATE) window_ = window;
    LRESULT result = 0;
    try {
        result = OnMessage(message, wParam, lParam);
    } catch (...) {
        // A window that has something to say about a failure says it before it gets here.
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
    }
    return result;
}

std::intptr_t WindowObject::DefaultMessage(unsigned message, std::uintptr_t wParam,
                                           std::intptr_t lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace quarnel
