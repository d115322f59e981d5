#include "ui/windows/MainForm.hpp"

#include <gtest/gtest.h>

#include "FakeDataObject.hpp"
#include "WindowQueries.hpp"
#include "platform/windows/WideText.hpp"
#include "platform/windows/WinWindowPlacement.hpp"
#include "tests/Fakes.hpp"
#include "ui/Geometry.hpp"
#include "ui/MainFormTable.hpp"
#include "ui/windows/TableControls.hpp"

namespace quarnel {
namespace {

using testing::ClientRectOf;
using testing::FakeMsgBox;
using testing::FakePlacement;
using testing::FakeSettingsStore;
using testing::RunPendingMessages;
using testing::TextOf;

RECT Expected(const ControlRow& control, double dpi) {
    const PixelRect pixels = ClientPixelRect(MainFormTable::cControls, control, dpi);
    return {pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(MainForm, ButtonsAndFrameCarryTheirCaptions) {
    MainForm form;
    EXPECT_EQ(TextOf(form.Btn(0)), L"&Optionen");
    EXPECT_EQ(TextOf(form.Btn(1)), L"&Hilfe");
    EXPECT_EQ(TextOf(form.Btn(2)), L"&Info");
    EXPECT_EQ(TextOf(form.DropFrame()), L"Drop!");
    EXPECT_EQ(GetWindowLongW(form.DropFrame(), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(GetWindowLongW(form.Btn(i), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    }
}

TEST(MainForm, ClientAreaAndControlsStandWhereTheTablePutsThem) {
    MainForm form;
    const double dpi = form.Dpi();
    ASSERT_GE(dpi, GetDpiForWindow(form.Handle()));

    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, pixelsFromTwips(915, dpi));
    EXPECT_EQ(client.bottom, pixelsFromTwips(2160, dpi));
    POINT origin{0, 0};
    ClientToScreen(form.Handle(), &origin);
    EXPECT_EQ(origin.x, pixelsFromTwips(240, dpi));
    EXPECT_EQ(origin.y, pixelsFromTwips(480, dpi));

    for (const ControlRow& control : MainFormTable::cControls) {
        const HWND window = control.kind == ControlKind::Image
                                ? form.Image1().Handle()
                                : (control.index >= 0 ? form.Btn(control.index) : form.DropFrame());
        EXPECT_TRUE(ClientRectOf(form.Handle(), window) == Expected(control, dpi))
            << ControlName(control);
    }
    RECT frame = ClientRectOf(form.Handle(), form.DropFrame());
    RECT image = ClientRectOf(form.Handle(), form.Image1().Handle());
    RECT both{};
    UnionRect(&both, &frame, &image);
    EXPECT_TRUE(both == frame) << "Image1 lies inside DropFrame";
}

TEST(MainForm, IsAFixedToolWindowShownInTheTaskBar) {
    MainForm form;
    const LONG style = GetWindowLongW(form.Handle(), GWL_STYLE);
    const LONG exStyle = GetWindowLongW(form.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(MainForm, TabsThroughTheButtonsByTabIndex) {
    MainForm form;
    form.Show();
    HWND control = form.Btn(0);
    std::vector<HWND> visited;
    for (int i = 0; i < 4; ++i) {
        visited.push_back(control);
        control = GetNextDlgTabItem(form.Handle(), control, FALSE);
    }
    EXPECT_EQ(visited, (std::vector<HWND>{form.Btn(0), form.Btn(1), form.Btn(2), form.Btn(0)}));
}

TEST(MainForm, EveryControlHasTheMessageFont) {
    MainForm form;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(form.Btn(0), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font, GetStockObject(SYSTEM_FONT));
    for (HWND control : {form.Btn(1), form.Btn(2), form.DropFrame()}) {
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), font);
    }
}

TEST(MainForm, LoadSetsTheCaptionAndTopmostFromTheStoredOptions) {
    for (const auto& [stored, topmost] : std::vector<std::pair<std::string, bool>>{
             {"01010101000110", false}, {"01010101001010", true}}) {
        MainForm form;
        WinWindowPlacement placement;
        placement.SetWindow(form.Handle());
        FakeSettingsStore store;
        store.values[{"Kelvaro's Tools", "Quarnel! 2.5", "Options"}] = stored;

        MainFormLoad(form, store, placement);

        EXPECT_EQ(TextOf(form.Handle()), L"Quarnel! 2.5");
        EXPECT_EQ((GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, topmost)
            << stored;
    }
}

TEST(MainForm, HelpAndInfoButtonsShowTheirMessages) {
    MainForm form;
    FakeMsgBox msgBox;
    FakeSettingsStore store;
    FakePlacement placement;
    OptionClicks clicks(store, placement);
    form.SetButtonServices(msgBox, clicks);

    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.Btn(1)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.Btn(1)));
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.Btn(2)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.Btn(2)));

    ASSERT_EQ(msgBox.shown.size(), 2u);
    EXPECT_EQ(msgBox.shown[0].buttonsAndIcon, 32);
    EXPECT_EQ(msgBox.shown[1].buttonsAndIcon, 64);
    EXPECT_EQ(msgBox.shown[1].title, "Quarnel! 2.5");
    EXPECT_EQ(msgBox.shown[0].prompt.rfind("Quarnel!: Buchhalter für Dateilisten (Version", 0), 0u);
}

// What the options dialog saw while it was open, found from a timer that runs in its loop.
struct SeenInDialog {
    HWND mainWindow = nullptr;
    bool found = false;
    bool mainEnabled = true;
    HWND owner = nullptr;
    std::wstring caption;
};
SeenInDialog seen;

void CALLBACK InspectAndCloseDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = FindWindowW(L"QuarnelOptionForm", nullptr);
    if (dialog == nullptr || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    seen.found = true;
    seen.mainEnabled = IsWindowEnabled(seen.mainWindow);
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.caption = TextOf(dialog);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
}

TEST(MainForm, OptionenOpensTheDialogModallyAndFreesTheWindowAfterIt) {
    MainForm form;
    FakeMsgBox msgBox;
    FakeSettingsStore store;
    FakePlacement placement;
    OptionClicks clicks(store, placement);
    form.SetButtonServices(msgBox, clicks);
    form.Show();
    seen = SeenInDialog{};
    seen.mainWindow = form.Handle();
    SetTimer(nullptr, 0, 0, InspectAndCloseDialog);

    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.Btn(0)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.Btn(0)));

    EXPECT_TRUE(seen.found);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(seen.caption, L"Quarnel! 2.5 Optionen");
    EXPECT_TRUE(IsWindowEnabled(form.Handle()));
    EXPECT_EQ(FindWindowW(L"QuarnelOptionForm", nullptr), nullptr);
    EXPECT_TRUE(store.values.empty()) << "opening saves nothing";
}

TEST(MainForm, ClosedDuringADropItGoesOnceTheDropHasFinished) {
    MainForm form;
    form.Show();
    bool windowDuringDrop = false;
    bool visibleDuringDrop = true;
    form.Image1().SetDropAction([&](const DropData&) {
        SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
        windowDuringDrop = IsWindow(form.Handle());
        visibleDuringDrop = IsWindowVisible(form.Handle());
    });
    testing::FakeDataObject data;
    data.Offer(CF_HDROP, testing::HDropBytes({L"C:\\a.txt"}));
    DWORD effect = DROPEFFECT_COPY;
    form.Image1().OleTarget().Drop(&data, 0, {0, 0}, &effect);

    RunPendingMessages();
    RunPendingMessages();

    EXPECT_TRUE(windowDuringDrop);
    EXPECT_FALSE(visibleDuringDrop);
    EXPECT_EQ(form.Handle(), nullptr);
}

}  // namespace
}  // namespace quarnel
