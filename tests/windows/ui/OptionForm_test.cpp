#include "ui/windows/OptionForm.hpp"

#include <gtest/gtest.h>

#include "WindowQueries.hpp"
#include "platform/windows/WinMsgBox.hpp"
#include "platform/windows/WinWindowPlacement.hpp"
#include "tests/Fakes.hpp"
#include "ui/Geometry.hpp"
#include "ui/windows/DialogFont.hpp"
#include "ui/windows/MainForm.hpp"

namespace quarnel {
namespace {

using testing::ClientRectOf;
using testing::FakeMsgBox;
using testing::FakePlacement;
using testing::FakeSettingsStore;
using testing::MovedToAMonitorAt;
using testing::RunPendingMessages;
using testing::TextOf;
using testing::WindowSizeAt;

const FakeSettingsStore::Address cOptionsAddress{"Kelvaro's Tools", "Quarnel! 2.5", "Options"};

// The frame of each option button, by the button's index.
constexpr int cFrameOfOpt[cOptionCount] = {0, 0, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 5, 5};

void ClickByUser(HWND button) {
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

std::string Selected(const OptionForm& form) {
    std::string shown;
    for (int i = 0; i < cOptionCount; ++i) shown += form.IsSelected(i) ? '1' : '0';
    return shown;
}

struct Dialog {
    FakeSettingsStore store;
    FakePlacement placement;
    FakeMsgBox msgBox;
    OptionClickHandler clicks{store, placement, msgBox};
    OptionForm form{clicks, nullptr};
};

TEST(OptionForm, CaptionsOfWindowFramesAndButtons) {
    Dialog dialog;
    EXPECT_EQ(TextOf(dialog.form.Handle()), L"Quarnel! 2.5 Optionen");
    const wchar_t* frames[] = {L"Sortierung",   L"Aufbau",          L"Auswahl",
                               L"Schreibweise", L"Fensterposition", L"Bearbeitung"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(TextOf(dialog.form.Frame1(i)), frames[i]) << i;
    const wchar_t* buttons[] = {L"&Keine",
                                L"&Alphabethisch",
                                L"Mit komplettem &Pfad",
                                L"&Ohne Pfad",
                                L"&Verzeichnisnamen",
                                L"&Dateinamen",
                                L"Datei &und Verz.-Namen",
                                L"&Belassen",
                                L"&Gro\u00DF",
                                L"K&lein",
                                L"&Immer &oben",
                                L"&Normal",
                                L"Verzeichnisse aufl&\u00F6sen",
                                L"Verz.-Namen \u00FCbergeben"};
    for (int i = 0; i < cOptionCount; ++i) EXPECT_EQ(TextOf(dialog.form.Opt(i)), buttons[i]) << i;
}

TEST(OptionForm, FramesStandInTwoColumnsWithTheirButtonsInside) {
    Dialog dialog;
    const double dpi = dialog.form.Dpi();
    const auto px = [dpi](int twips) { return pixelsFromTwips(twips, dpi); };
    RECT client{};
    GetClientRect(dialog.form.Handle(), &client);
    EXPECT_EQ(client.right, px(4845));
    EXPECT_EQ(client.bottom, px(3975));

    const RECT schreibweise = ClientRectOf(dialog.form.Handle(), dialog.form.Frame1(3));
    EXPECT_EQ(schreibweise.left, px(2460));
    EXPECT_EQ(schreibweise.top, px(2460));
    const RECT klein = ClientRectOf(dialog.form.Handle(), dialog.form.Opt(9));
    EXPECT_EQ(klein.left, px(2460) + px(120));
    EXPECT_EQ(klein.top, px(2460) + px(1020));
    EXPECT_EQ(klein.right - klein.left, px(1935));
    const RECT normal = ClientRectOf(dialog.form.Handle(), dialog.form.Opt(11));
    EXPECT_EQ(normal.left, px(60) + px(180));
    EXPECT_EQ(normal.top, px(60) + px(300));
    EXPECT_EQ(normal.bottom - normal.top, px(195));

    for (int i = 0; i < cOptionCount; ++i) {
        const RECT button = ClientRectOf(dialog.form.Handle(), dialog.form.Opt(i));
        const RECT box = ClientRectOf(dialog.form.Handle(), dialog.form.Frame1(cFrameOfOpt[i]));
        RECT both{};
        UnionRect(&both, &box, &button);
        EXPECT_TRUE(EqualRect(&both, &box)) << "Opt(" << i << ") lies inside its frame";
    }
}

TEST(OptionForm, IsACentredToolWindowWithoutOwnerOrTaskBarEntry) {
    Dialog dialog;
    const HWND window = dialog.form.Handle();
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_LE(std::abs((rect.left + rect.right) - (monitor.rcWork.left + monitor.rcWork.right)), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom)), 1);
}

BOOL CALLBACK NoteWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM workAreas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    reinterpret_cast<std::vector<RECT>*>(workAreas)->push_back(info.rcWork);
    return TRUE;
}

// The tests' display has a second monitor at the right of the first (tests/windows/ui/two-screens).
TEST(OptionForm, OpensCentredOnTheMonitorTheMainWindowIsOn) {
    std::vector<RECT> workAreas;
    EnumDisplayMonitors(nullptr, nullptr, NoteWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    ASSERT_EQ(workAreas.size(), 2u);
    const RECT second = std::ranges::max(workAreas, {}, &RECT::left);
    MainForm mainForm{SystemStartupCalls()};
    SetWindowPos(mainForm.Handle(), nullptr, second.left + 40, second.top + 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    mainForm.Show();
    FakeSettingsStore store;
    FakePlacement placement;
    FakeMsgBox msgBox;
    OptionClickHandler clicks(store, placement, msgBox);
    OptionForm form(clicks, mainForm.Handle());

    RECT rect{};
    GetWindowRect(form.Handle(), &rect);
    EXPECT_LE(std::abs((rect.left + rect.right) - (second.left + second.right)), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) - (second.top + second.bottom)), 1);
}

// Moved onto a monitor of another scale, the dialog stays where the user put it instead of
// going back to the centre, at the new dpi's size.
TEST(OptionForm, OnAMonitorOfAnotherDpiItStaysWhereWindowsPutsItAtTheNewSize) {
    Dialog dialog;
    ShowWindow(dialog.form.Handle(), SW_SHOWNOACTIVATE);
    const unsigned newDpi = GetDpiForWindow(dialog.form.Handle()) * 3 / 2;

    const RECT after = MovedToAMonitorAt(dialog.form.Handle(), newDpi);

    EXPECT_EQ(after.left, 600);
    EXPECT_EQ(after.top, 300);
    const double dpi = dialog.form.Dpi();
    EXPECT_EQ(dpi, TableDpi(newDpi));
    const SIZE size = WindowSizeAt(dialog.form.Handle(), pixelsFromTwips(4845, dpi),
                                   pixelsFromTwips(3975, dpi), newDpi);
    EXPECT_EQ(after.right - after.left, size.cx);
    EXPECT_EQ(after.bottom - after.top, size.cy);
    const RECT klein = ClientRectOf(dialog.form.Handle(), dialog.form.Opt(9));
    EXPECT_EQ(klein.left, pixelsFromTwips(2460, dpi) + pixelsFromTwips(120, dpi));
}

// Each frame's buttons are one radio group: siblings of the group box, the first with WS_GROUP.
TEST(OptionForm, ButtonsOfAFrameFormOneGroupBesideTheirBox) {
    Dialog dialog;
    const std::vector<int> tabOrder{11, 10, 0, 1, 5, 4, 6, 3, 2, 13, 12, 7, 8, 9};
    int previousFrame = -1;
    for (int index : tabOrder) {
        const HWND button = dialog.form.Opt(index);
        EXPECT_EQ(GetParent(button), dialog.form.Handle());
        const bool startsGroup = (GetWindowLongW(button, GWL_STYLE) & WS_GROUP) != 0;
        EXPECT_EQ(startsGroup, cFrameOfOpt[index] != previousFrame) << index;
        previousFrame = cFrameOfOpt[index];
    }
    for (int index : tabOrder) {
        EXPECT_EQ(GetNextDlgGroupItem(dialog.form.Handle(), dialog.form.Opt(index), FALSE) ==
                      dialog.form.Opt(index),
                  false)
            << index;
    }
}

TEST(OptionForm, TabsThroughTheButtonsByTabIndex) {
    Dialog dialog;
    ShowWindow(dialog.form.Handle(), SW_SHOWNOACTIVATE);
    const std::vector<int> tabOrder{11, 10, 0, 1, 5, 4, 6, 3, 2, 13, 12, 7, 8, 9, 11};
    HWND control = dialog.form.Opt(tabOrder.front());
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        control = GetNextDlgTabItem(dialog.form.Handle(), control, FALSE);
        EXPECT_EQ(control, dialog.form.Opt(tabOrder[i])) << "after Opt(" << tabOrder[i - 1] << ")";
    }
}

// The buttons Tab stops at, from the first, once round.
std::vector<HWND> TabStops(const OptionForm& form) {
    std::vector<HWND> stops;
    for (HWND control = GetNextDlgTabItem(form.Handle(), nullptr, FALSE);
         control != nullptr && stops.size() < cOptionCount &&
         std::ranges::find(stops, control) == stops.end();
         control = GetNextDlgTabItem(form.Handle(), control, FALSE)) {
        stops.push_back(control);
    }
    return stops;
}

// Windows gives a radio button the tab stop when it is checked and takes it when it is not; a
// frame with no button on still needs one, or the keyboard never reaches it.
TEST(OptionForm, TabReachesEveryFrameAlsoWithNoButtonOn) {
    Dialog dialog;
    OptionFlags = OptionFlagArray{};
    SyncOptionButtons(dialog.form);
    ShowWindow(dialog.form.Handle(), SW_SHOWNOACTIVATE);
    const auto opts = [&](std::vector<int> indices) {
        std::vector<HWND> buttons;
        for (int index : indices) buttons.push_back(dialog.form.Opt(index));
        return buttons;
    };

    EXPECT_EQ(TabStops(dialog.form), opts({11, 0, 5, 3, 13, 7}));

    ClickByUser(dialog.form.Opt(1));
    ClickByUser(dialog.form.Opt(9));
    EXPECT_EQ(TabStops(dialog.form), opts({11, 1, 5, 3, 13, 9}));
}

TEST(OptionForm, SyncSetsTheButtonsAndSavesNothing) {
    Dialog dialog;
    OptionFlags = OptionFlagArray{1, 1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0};

    SyncOptionButtons(dialog.form);

    // two on in the first frame: the higher index stays selected; none in "Auswahl"
    EXPECT_EQ(Selected(dialog.form), "01010001000110");
    EXPECT_TRUE(dialog.store.values.empty());
    EXPECT_TRUE(dialog.placement.calls.empty());
    EXPECT_EQ(OptionFlags.Snapshot(), (OptionFlagArray{1, 1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0}));
}

TEST(OptionForm, AClickClearsTheFrameAndSavesAllFourteenAsShown) {
    Dialog dialog;
    OptionFlags = OptionFlagArray{0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0};
    SyncOptionButtons(dialog.form);

    ClickByUser(dialog.form.Opt(0));

    EXPECT_EQ(Selected(dialog.form), "10010101000110");
    EXPECT_EQ(dialog.store.values.at(cOptionsAddress), "10010101000110");
    EXPECT_EQ(OptionFlags.Snapshot(), (OptionFlagArray{1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0}));

    ClickByUser(dialog.form.Opt(8));
    EXPECT_EQ(dialog.store.values.at(cOptionsAddress), "10010100100110");
}

TEST(OptionForm, ARealButtonClickRaisesTheClick) {
    Dialog dialog;
    OptionFlags = OptionFlagArray{0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0};
    SyncOptionButtons(dialog.form);
    ShowWindow(dialog.form.Handle(), SW_SHOWNOACTIVATE);

    SendMessageW(dialog.form.Opt(6), BM_CLICK, 0, 0);

    EXPECT_EQ(dialog.store.values.at(cOptionsAddress), "01010011000110");
}

TEST(OptionForm, SelectingFromCodeRaisesTheClickOnlyWhenItBecomesSelected) {
    Dialog dialog;
    OptionFlags = OptionFlagArray{0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0};
    SyncOptionButtons(dialog.form);

    dialog.form.SetSelected(5, true);
    EXPECT_TRUE(dialog.store.values.empty()) << "already selected";

    dialog.form.SetSelected(13, true);
    EXPECT_EQ(dialog.store.values.at(cOptionsAddress), "01010101000101");
}

TEST(OptionForm, ImmerObenRaisesTheMainWindowAndNormalLowersIt) {
    MainForm mainForm{SystemStartupCalls()};
    WinWindowPlacement placement;
    placement.SetWindow(mainForm.Handle());
    FakeSettingsStore store;
    FakeMsgBox msgBox;
    OptionClickHandler clicks(store, placement, msgBox);
    OptionForm form(clicks, nullptr);
    OptionFlags = OptionFlagArray{0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0};
    SyncOptionButtons(form);
    const auto topmost = [&] {
        return (GetWindowLongW(mainForm.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    };

    ClickByUser(form.Opt(10));
    EXPECT_TRUE(topmost());
    EXPECT_EQ(store.values.at(cOptionsAddress), "01010101001010");

    ClickByUser(form.Opt(11));
    EXPECT_FALSE(topmost());
    EXPECT_EQ(store.values.at(cOptionsAddress), "01010101000110");
}

bool closedByDeadline = false;

// Ends a dialog that a test left open, so a failing test does not hang.
void CALLBACK CloseAtTheDeadline(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    closedByDeadline = true;
    PostMessageW(FindWindowW(L"QuarnelOptionForm", nullptr), WM_CLOSE, 0, 0);
}

// The open dialog, and whether it stayed the active window with the keyboard after each click.
struct ClicksInTheOpenDialog {
    const OptionForm* form = nullptr;
    std::vector<bool> active;
    std::vector<bool> focused;
};
ClicksInTheOpenDialog clicksInDialog;

void CALLBACK ClickImmerObenThenNormal(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = clicksInDialog.form->Handle();
    if (dialog == nullptr || GetActiveWindow() != dialog) return;
    KillTimer(nullptr, timer);
    for (const int opt : {10, 11}) {
        SendMessageW(clicksInDialog.form->Opt(opt), BM_CLICK, 0, 0);
        RunPendingMessages();
        clicksInDialog.active.push_back(GetActiveWindow() == dialog);
        clicksInDialog.focused.push_back(GetFocus() == clicksInDialog.form->Opt(opt));
    }
    PostMessageW(dialog, WM_CLOSE, 0, 0);
}

TEST(OptionForm, ImmerObenAndNormalLeaveTheDialogActiveWithTheKeyboard) {
    MainForm mainForm{SystemStartupCalls()};
    mainForm.Show();
    WinWindowPlacement placement;
    placement.SetWindow(mainForm.Handle());
    FakeSettingsStore store;
    FakeMsgBox msgBox;
    OptionClickHandler clicks(store, placement, msgBox);
    OptionForm form(clicks, mainForm.Handle());
    OptionFlags = OptionFlagArray{0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0};
    SyncOptionButtons(form);
    clicksInDialog = ClicksInTheOpenDialog{&form, {}, {}};
    closedByDeadline = false;
    SetTimer(nullptr, 0, 0, ClickImmerObenThenNormal);
    const UINT_PTR deadline = SetTimer(nullptr, 0, 5000, CloseAtTheDeadline);

    form.ShowModal();

    KillTimer(nullptr, deadline);
    EXPECT_FALSE(closedByDeadline) << "the dialog never became active";
    EXPECT_EQ(clicksInDialog.active, (std::vector<bool>{true, true}));
    EXPECT_EQ(clicksInDialog.focused, (std::vector<bool>{true, true}));
    EXPECT_EQ(store.values.at(cOptionsAddress), "01010101000110");
}

// Where the keyboard was once the box that saving failed was closed.
struct FocusAfterTheBox {
    const OptionForm* form = nullptr;
    bool boxShown = false;
    bool backOnTheClickedButton = false;
};
FocusAfterTheBox focusAfterBox;

void CALLBACK CloseTheMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowW(L"#32770", nullptr);
    if (box == nullptr || !IsWindowVisible(box)) return;
    KillTimer(nullptr, timer);
    focusAfterBox.boxShown = true;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void CALLBACK ClickOptWhoseSavingFails(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = focusAfterBox.form->Handle();
    if (dialog == nullptr || GetActiveWindow() != dialog) return;
    KillTimer(nullptr, timer);
    SetTimer(nullptr, 0, 0, CloseTheMessageBox);
    SendMessageW(focusAfterBox.form->Opt(6), BM_CLICK, 0, 0);
    RunPendingMessages();
    focusAfterBox.backOnTheClickedButton = GetFocus() == focusAfterBox.form->Opt(6);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
}

TEST(OptionForm, AfterTheBoxThatSavingFailedTheKeyboardIsOnTheClickedButtonAgain) {
    MainForm mainForm{SystemStartupCalls()};
    mainForm.Show();
    FakeSettingsStore store;
    store.refuseWrites = true;
    FakePlacement placement;
    WinMsgBox msgBox;
    msgBox.SetOwner(mainForm.Handle());
    OptionClickHandler clicks(store, placement, msgBox);
    OptionForm form(clicks, mainForm.Handle());
    focusAfterBox = FocusAfterTheBox{&form};
    closedByDeadline = false;
    SetTimer(nullptr, 0, 0, ClickOptWhoseSavingFails);
    const UINT_PTR deadline = SetTimer(nullptr, 0, 5000, CloseAtTheDeadline);

    form.ShowModal();

    KillTimer(nullptr, deadline);
    EXPECT_FALSE(closedByDeadline) << "the dialog never became active";
    EXPECT_TRUE(focusAfterBox.boxShown);
    EXPECT_TRUE(focusAfterBox.backOnTheClickedButton);
}

void CALLBACK PressEscapeInTheDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND focus = GetFocus();
    if (focus == nullptr) return;
    KillTimer(nullptr, timer);
    PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

TEST(OptionForm, EscapeClosesTheDialog) {
    Dialog dialog;
    ASSERT_NE(dialog.form.Handle(), nullptr);
    closedByDeadline = false;
    SetTimer(nullptr, 0, 0, PressEscapeInTheDialog);
    const UINT_PTR deadline = SetTimer(nullptr, 0, 5000, CloseAtTheDeadline);

    dialog.form.ShowModal();

    KillTimer(nullptr, deadline);
    EXPECT_FALSE(closedByDeadline) << "Escape left the dialog open";
    EXPECT_EQ(dialog.form.Handle(), nullptr);
    EXPECT_TRUE(dialog.store.values.empty());
}

}  // namespace
}  // namespace quarnel
