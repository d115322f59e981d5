#include "TableControls.hpp"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "platform/windows/support/WideText.hpp"
#include "ui/Geometry.hpp"

namespace quarnel {

PixelRect ClientPixelRect(std::span<const ControlRow> table, const ControlRow& control,
                          double dpi) {
    PixelRect rect{pixelsFromTwips(control.left, dpi), pixelsFromTwips(control.top, dpi),
                   pixelsFromTwips(control.width, dpi), pixelsFromTwips(control.height, dpi)};
    if (control.container.IsClientArea()) return rect;
    const auto container = std::ranges::find_if(
        table, [&](const ControlRow& row) { return row.Ref() == control.container; });
    if (container == table.end()) throw std::logic_error("control table: unknown container");
    const PixelRect origin = ClientPixelRect(table, *container, dpi);
    rect.left += origin.left;
    rect.top += origin.top;
    return rect;
}

std::vector<const ControlRow*> CreationOrder(std::span<const ControlRow> table) {
    std::vector<const ControlRow*> order;
    for (const ControlRow& control : table) order.push_back(&control);
    std::ranges::stable_sort(order, {},
                             [](const ControlRow* control) { return control->tabIndex; });
    return order;
}

NativeWindow CreateChildControl(StartupCalls& calls, NativeWindow parent, const wchar_t* className,
                                std::string_view caption, unsigned long style, int id) {
    return calls.CreateWindowExW(0, className, WideFromUtf8(caption).c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, parent, id,
                                 nullptr);
}

PixelRect WindowRectForClient(NativeWindow window, PixelRect client, unsigned monitorDpi) {
    RECT rect{client.left, client.top, client.left + client.width, client.top + client.height};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&rect, style, FALSE, exStyle, monitorDpi);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void PlaceClientArea(NativeWindow window, PixelRect client, unsigned monitorDpi) {
    const PixelRect outer = WindowRectForClient(window, client, monitorDpi);
    SetWindowPos(window, nullptr, outer.left, outer.top, outer.width, outer.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceAtSuggestedRect(NativeWindow window, std::intptr_t suggestedRect, PixelRect clientSize,
                          unsigned monitorDpi) {
    const auto* suggested = reinterpret_cast<const RECT*>(suggestedRect);
    const PixelRect outer = WindowRectForClient(window, clientSize, monitorDpi);
    SetWindowPos(window, nullptr, suggested->left, suggested->top, outer.width, outer.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TableControls::TableControls(std::span<const ControlRow> table)
    : table_(table), windows_(table.size(), nullptr) {}

void TableControls::Build(const std::function<NativeWindow(const ControlRow&)>& create) {
    for (const ControlRow* control : CreationOrder(table_)) {
        windows_.at(static_cast<std::size_t>(control - table_.data())) = create(*control);
    }
}

void TableControls::Place(double dpi, HFONT__* font) const {
    for (std::size_t row = 0; row < table_.size(); ++row) {
        const HWND control = windows_.at(row);
        if (control == nullptr) continue;
        const PixelRect rect = ClientPixelRect(table_, table_[row], dpi);
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

NativeWindow TableControls::Find(const ControlRef& control) const {
    for (std::size_t row = 0; row < table_.size(); ++row) {
        if (table_[row].Ref() == control) return windows_.at(row);
    }
    return nullptr;
}

}  // namespace quarnel
