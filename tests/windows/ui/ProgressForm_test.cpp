#include "ui/windows/ProgressForm.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "WindowQueries.hpp"
#include "ui/windows/MainForm.hpp"

namespace quarnel {
namespace {

using testing::ClientRectOf;
using testing::RunPendingMessages;
using testing::TextOf;
using testing::WaitUntil;

// The width of text in the control's font.
int TextWidth(HWND control, const std::wstring& text) {
    const HDC dc = GetDC(control);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent.cx;
}

struct ProgressWindow {
    std::shared_ptr<DropProgress> progress = std::make_shared<DropProgress>();
    int stops = 0;
    MainForm mainForm{SystemStartupCalls()};  // out of sight, as with names given at start
    ProgressForm form{progress, [this] { ++stops; }, mainForm.Handle()};
};

TEST(ProgressForm, ShowsTheNamesFoundAndTheFolderInOneLineThatKeepsItsEnds) {
    ProgressWindow window;
    const HWND form = window.form.Handle();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_EQ(TextOf(form), L"Liste wird erstellt – Quarnel! 2.5");
    EXPECT_EQ(TextOf(window.form.CancelButton()), L"Abbrechen");
    EXPECT_EQ(TextOf(window.form.Count()), L"0 Namen gefunden");

    const std::wstring folder = L"Z:\\home\\anna\\" + std::wstring(300, L'x') + L"\\Bericht";
    window.progress->AddNamesFound(12345);
    window.progress->SetFolder("Z:\\home\\anna\\" + std::string(300, 'x') + "\\Bericht");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(window.form.Count()) == L"12.345 Namen gefunden"; }));
    ASSERT_TRUE(WaitUntil([&] {
        wchar_t text[512]{};
        GetWindowTextW(window.form.Folder(), text, 512);
        return text == folder;
    }));
    // the static control shortens it in its middle as it draws it
    EXPECT_TRUE(GetWindowLongW(window.form.Folder(), GWL_STYLE) & SS_PATHELLIPSIS);
    EXPECT_TRUE(GetWindowLongW(window.form.Folder(), GWL_STYLE) & SS_NOPREFIX);

    // every control inside the window, every text complete
    RECT client{};
    GetClientRect(form, &client);
    for (const HWND control : {window.form.Count(), window.form.Folder(),
                               window.form.CancelButton(), window.form.Line()}) {
        const RECT rect = ClientRectOf(form, control);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right &&
                    rect.bottom <= client.bottom);
        if (control != window.form.Folder()) {
            EXPECT_LE(TextWidth(control, TextOf(control)), rect.right - rect.left)
                << TextOf(control).size();
        }
    }
    EXPECT_EQ(TextOf(window.form.Line()), L"Die Liste wird erstellt …");
}

TEST(ProgressForm, AbbrechenEscapeAndTheCloseButtonEachStopTheDropOnce) {
    ProgressWindow window;
    const HWND button = window.form.CancelButton();
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(window.stops, 1);
    // a key as the program's message loop hands it on
    SetFocus(button);
    PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(button, WM_KEYUP, VK_ESCAPE, 0);
    RunPendingMessages();
    EXPECT_EQ(window.stops, 2);
    SendMessageW(window.form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.stops, 3);
    // it stays until the drop has stopped and its owner hides it
    EXPECT_TRUE(IsWindowVisible(window.form.Handle()));
}

}  // namespace
}  // namespace quarnel
