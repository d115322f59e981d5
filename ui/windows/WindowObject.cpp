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
// passes to the system.
void RegisterClassOnce(const wchar_t* className, ClassIcon icon) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className, &existing)) return;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowObjectProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (icon == ClassIcon::Application) {
        UniqueIcon big(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXICON),
                                                     GetSystemMetrics(SM_CYICON), 0)));
        UniqueIcon small(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                       GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), 0)));
        windowClass.hIcon = big.get();
        windowClass.hIconSm = small.get();
        if (RegisterClassExW(&windowClass) != 0) {
            big.release();
            small.release();
        }
        return;
    }
    RegisterClassExW(&windowClass);
}

}  // namespace

WindowObject::~WindowObject() {
    if (window_ == nullptr) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void WindowObject::Create(const wchar_t* className, ClassIcon icon, unsigned long style,
                          unsigned long exStyle, NativeWindow parent) {
    RegisterClassOnce(className, icon);
    CreateWindowExW(exStyle, className, L"", style, 0, 0, 0, 0, parent, nullptr,
                    GetModuleHandleW(nullptr), this);
}

std::intptr_t WindowObject::Dispatch(NativeWindow window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
    if (message == WM_NCCREATE) window_ = window;
    if (message == WM_NCDESTROY) {
        const LRESULT result = OnMessage(message, wParam, lParam);
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        return result;
    }
    return OnMessage(message, wParam, lParam);
}

std::intptr_t WindowObject::DefaultMessage(unsigned message, std::uintptr_t wParam,
                                           std::intptr_t lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace quarnel
