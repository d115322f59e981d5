#include "platform/windows/WinClipboard.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "tests/Fakes.hpp"

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
    bool opened() const { return opened_; }

private:
    HANDLE ready_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool opened_ = false;
    std::thread thread_;
};

TEST(WinClipboard, PutsTheTextAsUnicodeWithItsLineEnds) {
    testing::FakeMsgBox msgBox;
    WinClipboard clipboard(msgBox);
    clipboard.clear();
    clipboard.setText(
        "Apfel.txt\r\n\xC3\x84rger \xE2\x80\x93 \xC3\x9F.txt\r\n\xF0\x9F\x98\x80\r\n");
    EXPECT_EQ(ClipboardText(), L"Apfel.txt\r\n\u00C4rger \u2013 \u00DF.txt\r\n\U0001F600\r\n");

    clipboard.setText("");
    EXPECT_EQ(ClipboardText(), L"");
    EXPECT_TRUE(msgBox.shown.empty());
}

TEST(WinClipboard, WaitsForAProgramThatHoldsItOpenBriefly) {
    testing::FakeMsgBox msgBox;
    WinClipboard clipboard(msgBox);
    {
        ClipboardHolder holder(200);
        ASSERT_TRUE(holder.opened());
        clipboard.setText("a\r\n");
    }
    EXPECT_EQ(ClipboardText(), L"a\r\n");
    EXPECT_TRUE(msgBox.shown.empty());
}

TEST(WinClipboard, SaysSoWhenItStaysBusy) {
    testing::FakeMsgBox msgBox;
    WinClipboard clipboard(msgBox);
    clipboard.setText("vorher\r\n");
    {
        ClipboardHolder holder(3000);
        ASSERT_TRUE(holder.opened());
        clipboard.setText("neu\r\n");
    }
    ASSERT_EQ(msgBox.shown.size(), 1u);
    EXPECT_EQ(msgBox.shown[0].prompt, cMsgClipboardBusy);
    EXPECT_EQ(msgBox.shown[0].buttonsAndIcon, cMsgInformation);
    EXPECT_EQ(msgBox.shown[0].title, "Quarnel! 2.5");
    EXPECT_EQ(ClipboardText(), L"vorher\r\n");
}

}  // namespace
}  // namespace quarnel
