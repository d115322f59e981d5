#include "WinClipboard.hpp"

#include <windows.h>

#include <cstring>
#include <memory>

#include "support/WideText.hpp"

namespace quarnel {
namespace {

constexpr int cOpenAttempts = 20;
constexpr DWORD cOpenRetryMilliseconds = 50;

// The clipboard, open from construction to destruction when Opened() says so.
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

    bool Opened() const { return opened_; }

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

    HGLOBAL Get() const { return memory_; }
    void Release() { memory_ = nullptr; }

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

    HWND Get() const { return window_; }

private:
    HWND window_;
};

WinClipboard::WinClipboard() : owner_(std::make_unique<OwnerWindow>()) {}

WinClipboard::~WinClipboard() = default;

bool WinClipboard::SetText(const OutputText& text) { return PrepareText(text)(); }

std::function<bool()> WinClipboard::PrepareText(const OutputText& text) {
    const auto memory = std::make_shared<GlobalText>(WideFromUtf8(text.Joined()));
    return [this, memory] {
        if (memory->Get() == nullptr) return false;
        const OpenedClipboard clipboard(owner_->Get());
        if (!clipboard.Opened() || !::EmptyClipboard()) return false;
        if (::SetClipboardData(CF_UNICODETEXT, memory->Get()) == nullptr) return false;
        memory->Release();  // the clipboard owns it now
        return true;
    };
}

}  // namespace quarnel
