#include "MainForm.hpp"

#include <windows.h>

#include <system_error>

#include "ControlIds.hpp"
#include "platform/windows/support/WideText.hpp"
#include "ui/Geometry.hpp"
#include "ui/MainFormTable.hpp"

namespace quarnel {
namespace {

constexpr DWORD cStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD cExStyle = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW;
constexpr UINT cRunPostedMessage = WM_APP + 1;
constexpr UINT cRunFromAnyThreadMessage = WM_APP + 2;
constexpr UINT cDestroyHiddenProgressMessage = WM_APP + 3;

// A post or a timer the system refuses: a task silently lost would leave the drop gate waiting
// for it for good.
[[noreturn]] void ThrowRefused(DWORD error) {
    throw std::system_error(static_cast<int>(error), std::system_category());
}

NativeWindow Made(NativeWindow control) {
    if (control == nullptr) throw StartupFailure(StartupCall::CreateWindowExW, GetLastError());
    return control;
}

}  // namespace

MainForm::MainForm(StartupCalls& calls) : calls_(calls), controls_(MainFormTable::cControls) {
    if (auto failure =
            Create(calls, L"QuarnelMainForm", ClassIcon::Application, cStyle, cExStyle, nullptr)) {
        throw *failure;
    }
    controls_.Build([this](const ControlRow& control) { return CreateControl(control); });
    Layout(GetDpiForWindow(Handle()));
    fromAnyThreadWindow_ = Handle();
}

MainForm::~MainForm() { RefuseFromAnyThread(); }

NativeWindow MainForm::CreateControl(const ControlRow& control) {
    switch (control.kind) {
        case ControlKind::CommandButton:
            return Made(CreateChildControl(calls_, Handle(), L"BUTTON", control.caption,
                                           BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
                                           ControlIds::cBtn + control.index));
        case ControlKind::Frame:
            return Made(CreateChildControl(calls_, Handle(), L"BUTTON", control.caption,
                                           BS_GROUPBOX | WS_GROUP, ControlIds::cDropFrame));
        case ControlKind::Image:
            image1_ = std::make_unique<DropImage>(calls_, Handle(), ControlIds::cImage1);
            return image1_->Handle();
        case ControlKind::OptionButton:
            break;
    }
    return nullptr;
}

// At start the client area stands at the design place in physical units, at the monitor's dpi.
void MainForm::Layout(unsigned monitorDpi) {
    Scale(monitorDpi);
    PlaceClientArea(Handle(), DesignClientArea(MainFormTable::cWindow, monitorDpi, dpi_),
                    monitorDpi);
}

// The controls grow with the font as well.
void MainForm::Scale(unsigned monitorDpi) {
    dpi_ = TableDpi(monitorDpi);
    font_.emplace(monitorDpi);
    controls_.Place(dpi_, font_->Get());
}

PixelRect MainForm::ClientSize() const { return ClientSizeAt(MainFormTable::cWindow, dpi_); }

void MainForm::Connect(DropGate& dropGate, MainFormButtons& buttons) {
    dropGate_ = &dropGate;
    buttons_ = &buttons;
    image1_->SetDropGate(dropGate);
}

void MainForm::SetVisible(bool visible) {
    ShowWindow(Handle(), visible ? SW_SHOWNORMAL : SW_HIDE);
    if (visible) UpdateWindow(Handle());
}

void MainForm::SetCaption(std::string_view caption) {
    SetWindowTextW(Handle(), WideFromUtf8(caption).c_str());
}

void MainForm::Post(std::chrono::milliseconds delay, std::function<void()> task) {
    if (delay.count() > 0) {
        const std::uintptr_t timer = nextTimer_++;
        delayed_.emplace(timer, std::move(task));
        if (!calls_.SetTimer(Handle(), timer, static_cast<UINT>(delay.count()))) {
            const DWORD error = GetLastError();
            delayed_.erase(timer);
            ThrowRefused(error);
        }
        return;
    }
    posted_.push_back(std::move(task));
    if (!calls_.PostMessageW(Handle(), cRunPostedMessage)) {
        const DWORD error = GetLastError();
        posted_.pop_back();
        ThrowRefused(error);
    }
}

void MainForm::RunPosted() {
    if (posted_.empty()) return;
    const std::function<void()> task = std::move(posted_.front());
    posted_.pop_front();
    RunTask(task);
}

// The tasks are the drop gate's: what escapes one is a drop that failed.
void MainForm::RunTask(const std::function<void()>& task) {
    try {
        task();
    } catch (...) {
        if (dropGate_ != nullptr) dropGate_->ShowFailure(std::current_exception());
    }
}

// A post that fails leaves the task waiting; the next post tries again.
void MainForm::PostFromAnyThread(std::function<void()> task) {
    std::function<void()> dropped;  // destroyed outside the lock
    const std::lock_guard lock(fromAnyThreadMutex_);
    if (fromAnyThreadWindow_ == nullptr) {
        dropped = std::move(task);
        return;
    }
    fromAnyThread_.push_back(std::move(task));
    if (!fromAnyThreadPosted_) {
        fromAnyThreadPosted_ = calls_.PostMessageW(fromAnyThreadWindow_, cRunFromAnyThreadMessage);
    }
}

void MainForm::RunFromAnyThread() {
    std::vector<std::function<void()>> tasks;
    {
        const std::lock_guard lock(fromAnyThreadMutex_);
        tasks.swap(fromAnyThread_);
        fromAnyThreadPosted_ = false;
    }
    for (const auto& task : tasks) RunTask(task);
}

void MainForm::RefuseFromAnyThread() {
    std::vector<std::function<void()>> dropped;
    const std::lock_guard lock(fromAnyThreadMutex_);
    fromAnyThreadWindow_ = nullptr;
    dropped.swap(fromAnyThread_);
}

void MainForm::ShowProgress(std::shared_ptr<const DropProgress> progress,
                            std::function<void()> stop) {
    HideProgress();
    progress_ = std::make_unique<ProgressForm>(std::move(progress), std::move(stop), Handle());
}

// The stop may hide the progress window from inside its own click: the window is destroyed
// once that message has returned, or with the next one or this window where the post fails.
void MainForm::HideProgress() {
    if (progress_ == nullptr) return;
    progress_->Hide();
    hiddenProgress_ = std::move(progress_);
    PostMessageW(Handle(), cDestroyHiddenProgressMessage, 0, 0);
}

void MainForm::ShowWaitCursor(bool waiting) {
    waiting_ = waiting;
    SetCursor(LoadCursorW(nullptr, waiting ? IDC_WAIT : IDC_ARROW));
}

void MainForm::Close() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

std::intptr_t MainForm::OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (HIWORD(wParam) == BN_CLICKED && id >= ControlIds::cBtn &&
                id < ControlIds::cBtn + MainFormTable::cBtnCount) {
                if (buttons_ != nullptr) buttons_->BtnClick(id - ControlIds::cBtn);
                return 0;
            }
            break;
        }
        // Also asked for the children, Image1 among them, before they choose their own cursor.
        case WM_SETCURSOR:
            if (!waiting_) break;
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        case cRunPostedMessage:
            RunPosted();
            return 0;
        case cRunFromAnyThreadMessage:
            RunFromAnyThread();
            return 0;
        case cDestroyHiddenProgressMessage:
            hiddenProgress_.reset();
            return 0;
        case WM_TIMER: {
            const auto delayed = delayed_.find(wParam);
            if (delayed == delayed_.end()) break;
            KillTimer(Handle(), wParam);
            const std::function<void()> task = std::move(delayed->second);
            delayed_.erase(delayed);
            RunTask(task);
            return 0;
        }
        case WM_ACTIVATE:
            focus_.OnActivate(Handle(), wParam);
            break;
        case WM_SETFOCUS:
            focus_.Restore(Btn(0));
            return 0;
        case WM_DPICHANGED:
            Scale(HIWORD(wParam));
            PlaceAtSuggestedRect(Handle(), lParam, ClientSize(), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            if (dropGate_ == nullptr || dropGate_->MayClose()) DestroyWindow(Handle());
            return 0;
        case WM_DESTROY:
            RefuseFromAnyThread();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefaultMessage(message, wParam, lParam);
}

}  // namespace quarnel
