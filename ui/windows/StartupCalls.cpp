#include "StartupCalls.hpp"

#include <ole2.h>
#include <windows.h>

namespace quarnel {

long StartupCalls::OleInitialize() { return ::OleInitialize(nullptr); }

long StartupCalls::RegisterDragDrop(NativeWindow window, IDropTarget* target) {
    return ::RegisterDragDrop(window, target);
}

unsigned short StartupCalls::RegisterClassExW(const WNDCLASSEXW& windowClass) {
    return ::RegisterClassExW(&windowClass);
}

NativeWindow StartupCalls::CreateWindowExW(unsigned long exStyle, const wchar_t* className,
                                           const wchar_t* caption, unsigned long style,
                                           NativeWindow parent, int id, void* createParam) {
    return ::CreateWindowExW(exStyle, className, caption, style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), createParam);
}

bool StartupCalls::PostMessageW(NativeWindow window, unsigned message) {
    return ::PostMessageW(window, message, 0, 0) != FALSE;
}

bool StartupCalls::SetTimer(NativeWindow window, std::uintptr_t id, unsigned milliseconds) {
    return ::SetTimer(window, id, milliseconds, nullptr) != 0;
}

StartupCalls& SystemStartupCalls() {
    static StartupCalls calls;
    return calls;
}

}  // namespace quarnel
