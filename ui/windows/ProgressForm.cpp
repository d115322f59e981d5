#include "ProgressForm.hpp"

#include <windows.h>

#include <commctrl.h>

#include "TableControls.hpp"
#include "platform/windows/support/WideText.hpp"
#include "ui/Geometry.hpp"
#include "ui/ProgressFormTable.hpp"
#include "ui/ProgressText.hpp"

namespace quarnel {
namespace {

constexpr DWORD cStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
// In the task bar: with names given at start it is the program's only window.
constexpr DWORD cExStyle = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW;
constexpr UINT_PTR cUpdateTimer = 1;
constexpr UINT cUpdateMilliseconds = 250;
constexpr int cLineId = 100;
constexpr int cCountId = 101;
constexpr int cFolderId = 102;

// The program's message loop asks the dialog manager about the main window only, so Escape
// reaches the focused button as a plain key: it presses "Abbrechen" from here. Where a loop does
// ask the dialog manager about this window, Escape arrives as IDCANCEL instead and never here.
LRESULT CALLBACK CancelOnEscape(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR /*id*/, DWORD_PTR /*data*/) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(button, CancelOnEscape, 0);
    return DefSubclassProc(button, message, wParam, lParam);
}

RECT PixelRectAt(const ProgressFormTable::TwipsRect& twips, double dpi) {
    const int left = pixelsFromTwips(twips.left, dpi);
    const int top = pixelsFromTwips(twips.top, dpi);
    return {left, top, left + pixelsFromTwips(twips.width, dpi),
            top + pixelsFromTwips(twips.height, dpi)};
}

void PlaceControl(HWND control, const ProgressFormTable::TwipsRect& twips, double dpi, HFONT font) {
    const RECT rect = PixelRectAt(twips, dpi);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace

ProgressForm::ProgressForm(std::shared_ptr<const DropProgress> progress, std::function<void()> stop,
                           NativeWindow placeAt)
    : progress_(std::move(progress)), stop_(std::move(stop)) {
    if (Create(SystemStartupCalls(), L"QuarnelProgressForm", ClassIcon::Application, cStyle,
               cExStyle, placeAt)) {
        return;
    }
    SetWindowTextW(Handle(), WideFromUtf8(ProgressTitle()).c_str());
    line_ = AddControl(L"STATIC", cProgressLine, SS_LEFT | SS_NOPREFIX, cLineId);
    count_ = AddControl(L"STATIC", "", SS_LEFT | SS_NOPREFIX, cCountId);
    folder_ = AddControl(L"STATIC", "", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, cFolderId);
    cancel_ = AddControl(L"BUTTON", cProgressCancel, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
    if (cancel_ != nullptr) SetWindowSubclass(cancel_, CancelOnEscape, 0, 0);
    Layout(placeAt);
    Update();
    SetTimer(Handle(), cUpdateTimer, cUpdateMilliseconds, nullptr);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
}

ProgressForm::~ProgressForm() = default;

NativeWindow ProgressForm::AddControl(const wchar_t* className, std::string_view caption,
                                      unsigned long style, int id) {
    return CreateChildControl(SystemStartupCalls(), Handle(), className, caption, style, id);
}

// Centred on the work area of the main window's monitor, where the small main window at its
// place covers no part of it, at that monitor's dpi.
void ProgressForm::Layout(NativeWindow placeAt) {
    const unsigned monitorDpi = GetDpiForWindow(placeAt != nullptr ? placeAt : Handle());
    Scale(monitorDpi);
    const PixelRect outer =
        WindowRectForClient(Handle(), ClientSizeAt(ProgressFormTable::cWindow, dpi_), monitorDpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(placeAt, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - outer.width) / 2,
                 work.top + (work.bottom - work.top - outer.height) / 2, outer.width, outer.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ProgressForm::Scale(unsigned monitorDpi) {
    using namespace ProgressFormTable;
    dpi_ = TableDpi(monitorDpi);
    font_.emplace(monitorDpi);
    PlaceControl(line_, cLine, dpi_, font_->Get());
    PlaceControl(count_, cCount, dpi_, font_->Get());
    PlaceControl(folder_, cFolder, dpi_, font_->Get());
    PlaceControl(cancel_, cCancelButton, dpi_, font_->Get());
}

// Only what has changed is set again, so the lines do not flicker.
void ProgressForm::Update() {
    if (progress_ == nullptr) return;
    const std::uint64_t count = progress_->NamesFound();
    if (count != shownCount_) {
        shownCount_ = count;
        SetWindowTextW(count_, WideFromUtf8(NamesFoundText(count)).c_str());
    }
    std::string folder = progress_->Folder();
    if (folder != shownFolder_) {
        shownFolder_ = std::move(folder);
        SetWindowTextW(folder_, WideFromUtf8(shownFolder_).c_str());
    }
}

void ProgressForm::Hide() {
    if (Handle() == nullptr) return;
    KillTimer(Handle(), cUpdateTimer);
    ShowWindow(Handle(), SW_HIDE);
    progress_.reset();
}

std::intptr_t ProgressForm::OnMessage(unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
                stop_();
                return 0;
            }
            break;
        case WM_TIMER:
            if (wParam != cUpdateTimer) break;
            Update();
            return 0;
        case WM_SETFOCUS:
            SetFocus(cancel_);
            return 0;
        case WM_DPICHANGED:
            Scale(HIWORD(wParam));
            PlaceAtSuggestedRect(Handle(), lParam, ClientSizeAt(ProgressFormTable::cWindow, dpi_),
                                 HIWORD(wParam));
            return 0;
        // The window goes when its owner hides it, once the drop has stopped.
        case WM_CLOSE:
            stop_();
            return 0;
        default:
            break;
    }
    return DefaultMessage(message, wParam, lParam);
}

}  // namespace quarnel
