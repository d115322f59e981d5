#include "platform/windows/WinClipboard.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

namespace quarnel {
namespace {

std::wstring ClipboardText() {
    if (!::OpenClipboard(nullptr)) return L"<clipboard not open>";
    std::wstring text = L"<no text>";
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

// Another program's thread that holds the clipboard open for a while.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD milliseconds)
        : thread_([this, milliseconds] {
              opened_ = ::OpenClipboard(nullptr) != FALSE;
              ::SetEvent(ready_);
              ::Sleep(milliseconds);
              if (opened_) ::CloseClipboard();
          }) {
        ::WaitForSingleObject(ready_, INFINITE);
    }
    ~ClipboardHolder() {
        thread_.join();
        ::CloseHandle(ready_);
    }
    bool Opened() const { return opened_; }

private:
    HANDLE ready_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool opened_ = false;
    std::thread thread_;
};

OutputText Text(std::string_view bytes) {
    OutputText text;
    text.Append(bytes);
    return text;
}

TEST(WinClipboard, PutsTheTextAsUnicodeWithItsLineEnds) {
    WinClipboard clipboard;
    EXPECT_TRUE(clipboard.SetText(
        Text("Apfel.txt\r\n\xC3\x84rger \xE2\x80\x93 \xC3\x9F.txt\r\n\xF0\x9F\x98\x80\r\n")));
    EXPECT_EQ(ClipboardText(), L"Apfel.txt\r\n\u00C4rger \u2013 \u00DF.txt\r\n\U0001F600\r\n");

    EXPECT_TRUE(clipboard.SetText(Text("")));
    EXPECT_EQ(ClipboardText(), L"");
}

TEST(WinClipboard, WaitsForAProgramThatHoldsItOpenBriefly) {
    WinClipboard clipboard;
    {
        ClipboardHolder holder(200);
        ASSERT_TRUE(holder.Opened());
        EXPECT_TRUE(clipboard.SetText(Text("a\r\n")));
    }
    EXPECT_EQ(ClipboardText(), L"a\r\n");
}

TEST(WinClipboard, ReportsAClipboardThatStaysBusyAndLeavesItAsItWas) {
    WinClipboard clipboard;
    ASSERT_TRUE(clipboard.SetText(Text("vorher\r\n")));
    {
        ClipboardHolder holder(3000);
        ASSERT_TRUE(holder.Opened());
        EXPECT_FALSE(clipboard.SetText(Text("neu\r\n")));
    }
    EXPECT_EQ(ClipboardText(), L"vorher\r\n");
}

}  // namespace
}  // namespace quarnel
