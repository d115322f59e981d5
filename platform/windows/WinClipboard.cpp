#include "WinClipboard.hpp"

#include <windows.h>

#include <cstring>

#include "WideText.hpp"
#include "core/ProgramTitle.hpp"
#include "platform/MsgBox.hpp"

namespace quarnel {

const std::string_view cMsgClipboardBusy =
    "Die Zwischenablage wird gerade von einem anderen Programm benutzt.\r"
    "Die Liste konnte nicht in die Zwischenablage geschrieben werden.";

const std::string_view cMsgClipboardRefused =
    "Die Liste konnte nicht in die Zwischenablage geschrieben werden.";

namespace {

constexpr int cOpenAttempts = 20;
constexpr DWORD cOpenRetryMilliseconds = 50;

// The clipboard, open from construction to destruction when opened() says so.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) {
        for (int attempt = 0; attempt < cOpenAttempts && !opened_; ++attempt) {
            if (attempt > 0) ::Sleep(cOpenRetryMilliseconds);
            opened_ = ::OpenClipboard(owner) != FALSE;
        }
    }
    ~OpenedClipboard() {
        if (opened_) ::CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    bool opened() const { return opened_; }

private:
    bool opened_ = false;
};

// Movable global memory for the clipboard, freed unless the clipboard took it.
class GlobalText {
public:
    explicit GlobalText(const std::wstring& text)
        : memory_(::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        if (memory_ == nullptr) return;
        void* target = ::GlobalLock(memory_);
        std::memcpy(target, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        ::GlobalUnlock(memory_);
    }
    ~GlobalText() {
        if (memory_ != nullptr) ::GlobalFree(memory_);
    }
    GlobalText(const GlobalText&) = delete;
    GlobalText& operator=(const GlobalText&) = delete;

    HGLOBAL get() const { return memory_; }
    void release() { memory_ = nullptr; }

private:
    HGLOBAL memory_;
};

}  // namespace

// A message-only window owns what the program puts on the clipboard.
class WinClipboard::OwnerWindow {
public:
    OwnerWindow()
        : window_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr)) {}
    ~OwnerWindow() {
        if (window_ != nullptr) ::DestroyWindow(window_);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND get() const { return window_; }

private:
    HWND window_;
};

WinClipboard::WinClipboard(MsgBox& msgBox)
    : owner_(std::make_unique<OwnerWindow>()), msgBox_(msgBox) {}

WinClipboard::~WinClipboard() = default;

void WinClipboard::clear() {
    const OpenedClipboard clipboard(owner_->get());
    if (clipboard.opened()) ::EmptyClipboard();
}

void WinClipboard::setText(const std::string& text) {
    GlobalText memory(WideFromUtf8(text));
    std::string_view problem;
    {
        const OpenedClipboard clipboard(owner_->get());
        if (!clipboard.opened()) {
            problem = cMsgClipboardBusy;
        } else if (memory.get() != nullptr && ::EmptyClipboard() &&
                   ::SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr) {
            memory.release();  // the clipboard owns it now
        } else {
            problem = cMsgClipboardRefused;
        }
    }
    // shown once the clipboard is closed again, so other programs are not kept waiting
    if (!problem.empty()) msgBox_.show(problem, cMsgInformation, ProgramTitle);
}

}  // namespace quarnel
