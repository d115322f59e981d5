#include "OptionForm.hpp"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "ControlIds.hpp"
#include "platform/windows/support/WideText.hpp"
#include "ui/Geometry.hpp"

namespace quarnel {
namespace {

constexpr DWORD cStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD cExStyle = WS_EX_TOOLWINDOW;

const ControlRow& OptRow(int index) {
    return *std::ranges::find_if(OptionFormTable::cControls, [index](const ControlRow& control) {
        return control.kind == ControlKind::OptionButton && control.index == index;
    });
}

// The first button of the frame in tab order, the one that starts its group.
const ControlRow& FirstOptOfFrame(const ControlRef& frame) {
    for (const ControlRow* row : CreationOrder(OptionFormTable::cControls)) {
        if (row->kind == ControlKind::OptionButton && row->container == frame) return *row;
    }
    throw std::logic_error("option table: a frame without buttons");
}

}  // namespace

OptionForm::OptionForm(OptionClickHandler& clicks, NativeWindow blocked)
    : clicks_(clicks), blocked_(blocked), controls_(OptionFormTable::cControls) {
    // A dialog whose window cannot be made has no handle: ShowModal then returns at once.
    Create(SystemStartupCalls(), L"QuarnelOptionForm", ClassIcon::None, cStyle, cExStyle, nullptr);
    controls_.Build([this](const ControlRow& control) { return CreateControl(control); });
    Layout();
    OptionFormLoad(*this);
}

OptionForm::~OptionForm() = default;

int OptionForm::FrameOf(int optIndex) const { return OptRow(optIndex).container.index; }

// The first button of each frame in creation order starts its radio group.
NativeWindow OptionForm::CreateControl(const ControlRow& control) {
    if (control.kind == ControlKind::Frame) {
        return CreateChildControl(SystemStartupCalls(), Handle(), L"BUTTON", control.caption,
                                  BS_GROUPBOX | WS_GROUP, ControlIds::cFrame1 + control.index);
    }
    const bool firstOfFrame = std::ranges::none_of(
        CreationOrder(OptionFormTable::cControls), [&](const ControlRow* other) {
            return other->kind == ControlKind::OptionButton && other->tabIndex < control.tabIndex &&
                   other->container == control.container;
        });
    return CreateChildControl(SystemStartupCalls(), Handle(), L"BUTTON", control.caption,
                              BS_RADIOBUTTON | WS_TABSTOP | (firstOfFrame ? WS_GROUP : 0),
                              ControlIds::cOpt + control.index);
}

// At start centred on the work area of the monitor the blocked window is on, at that monitor's
// dpi (the primary monitor's without one).
void OptionForm::Layout() {
    const HMONITOR screen = blocked_ != nullptr
                                ? MonitorFromWindow(blocked_, MONITOR_DEFAULTTONEAREST)
                                : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    const unsigned monitorDpi = GetDpiForWindow(blocked_ != nullptr ? blocked_ : Handle());
    Scale(monitorDpi);
    const PixelRect outer = WindowRectForClient(Handle(), ClientSize(), monitorDpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(screen, &monitor);
    const RECT& work = monitor.rcWork;
    const int left = work.left + (work.right - work.left - outer.width) / 2;
    const int top = work.top + (work.bottom - work.top - outer.height) / 2;
    SetWindowPos(Handle(), nullptr, left, top, outer.width, outer.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void OptionForm::Scale(unsigned monitorDpi) {
    dpi_ = TableDpi(monitorDpi);
    font_.emplace(monitorDpi);
    controls_.Place(dpi_, font_->Get());
}

PixelRect OptionForm::ClientSize() const { return ClientSizeAt(OptionFormTable::cWindow, dpi_); }

void OptionForm::SetCaption(std::string_view caption) {
    SetWindowTextW(Handle(), WideFromUtf8(caption).c_str());
}

bool OptionForm::IsSelected(int index) const {
    return SendMessageW(Opt(index), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// BM_SETCHECK leaves the other buttons of the frame as they are: they are cleared here, before
// the click is raised, so the click sees the frame as the screen shows it.
void OptionForm::SetSelected(int index, bool selected) {
    const bool becomesSelected = selected && !IsSelected(index);
    if (selected) {
        for (int other = 0; other < cOptionCount; ++other) {
            if (other != index && FrameOf(other) == FrameOf(index)) {
                SendMessageW(Opt(other), BM_SETCHECK, BST_UNCHECKED, 0);
            }
        }
    }
    SendMessageW(Opt(index), BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!selected) KeepATabStop(OptRow(index).container);
    if (becomesSelected) clicks_.OnOptClick(index, *this);
}

// BM_SETCHECK gives a radio button the tab stop when it checks it and takes it when it clears
// it, so the dialog manager would give a frame with no button on no tab stop at all.
void OptionForm::KeepATabStop(const ControlRef& frame) {
    for (int i = 0; i < cOptionCount; ++i) {
        if (OptRow(i).container == frame && IsSelected(i)) return;
    }
    const HWND first = Opt(FirstOptOfFrame(frame).index);
    SetWindowLongW(first, GWL_STYLE, GetWindowLongW(first, GWL_STYLE) | WS_TABSTOP);
}

void OptionForm::ShowModal() {
    EnableWindow(blocked_, FALSE);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    closed_ = false;
    MSG message{};
    while (!closed_ && Handle() != nullptr) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsDialogMessageW(Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    EnableWindow(blocked_, TRUE);
    if (Handle() != nullptr) DestroyWindow(Handle());
}

std::intptr_t OptionForm::OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (HIWORD(wParam) == BN_CLICKED && id >= ControlIds::cOpt &&
                id < ControlIds::cOpt + cOptionCount) {
                SetSelected(id - ControlIds::cOpt, true);
                return 0;
            }
            // Escape, as the dialog manager reports it
            if (id == IDCANCEL) {
                closed_ = true;
                return 0;
            }
            break;
        }
        case WM_ACTIVATE:
            focus_.OnActivate(Handle(), wParam);
            break;
        case WM_SETFOCUS:
            focus_.Restore(GetNextDlgTabItem(Handle(), nullptr, FALSE));
            return 0;
        case WM_DPICHANGED:
            Scale(HIWORD(wParam));
            PlaceAtSuggestedRect(Handle(), lParam, ClientSize(), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            closed_ = true;
            return 0;
        default:
            break;
    }
    return DefaultMessage(message, wParam, lParam);
}

}  // namespace quarnel
