#include "ui/windows/OptionForm.hpp"

#include <gtest/gtest.h>

#include "WindowQueries.hpp"
#include "platform/windows/WideText.hpp"
#include "platform/windows/WinWindowPlacement.hpp"
#include "tests/Fakes.hpp"
#include "ui/Geometry.hpp"
#include "ui/windows/MainForm.hpp"
#include "ui/windows/TableControls.hpp"

namespace quarnel {
namespace {

using testing::ClientRectOf;
using testing::FakePlacement;
using testing::FakeSettingsStore;
using testing::TextOf;

const FakeSettingsStore::Address cOptionsAddress{"Kelvaro's Tools", "Quarnel! 2.5", "Options"};

const ControlRow& Row(ControlKind kind, int index) {
    for (const ControlRow& control : OptionFormTable::cControls) {
        if (control.kind == kind && control.index == index) return control;
    }
    throw std::logic_error("no such row");
}

int FrameOfOpt(int index) { return Row(ControlKind::OptionButton, index).container[7] - '0'; }

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
    OptionClicks clicks{store, placement};
    OptionForm form{clicks};
};

TEST(OptionForm, CaptionsOfWindowFramesAndButtons) {
    Dialog dialog;
    EXPECT_EQ(TextOf(dialog.form.Handle()), L"Quarnel! 2.5 Optionen");
    for (const ControlRow& control : OptionFormTable::cControls) {
        const HWND window = control.kind == ControlKind::Frame ? dialog.form.Frame1(control.index)
                                                               : dialog.form.Opt(control.index);
        EXPECT_EQ(TextOf(window), WideFromUtf8(control.caption)) << ControlName(control);
    }
}

TEST(OptionForm, FramesAndButtonsStandWhereTheTablePutsThem) {
    Dialog dialog;
    const double dpi = dialog.form.Dpi();
    RECT client{};
    GetClientRect(dialog.form.Handle(), &client);
    EXPECT_EQ(client.right, pixelsFromTwips(4845, dpi));
    EXPECT_EQ(client.bottom, pixelsFromTwips(3975, dpi));

    for (int i = 0; i < cOptionCount; ++i) {
        const ControlRow& opt = Row(ControlKind::OptionButton, i);
        const ControlRow& frame = Row(ControlKind::Frame, FrameOfOpt(i));
        const RECT button = ClientRectOf(dialog.form.Handle(), dialog.form.Opt(i));
        const RECT box = ClientRectOf(dialog.form.Handle(), dialog.form.Frame1(FrameOfOpt(i)));
        EXPECT_EQ(box.left, pixelsFromTwips(frame.left, dpi));
        EXPECT_EQ(box.top, pixelsFromTwips(frame.top, dpi));
        EXPECT_EQ(button.left, box.left + pixelsFromTwips(opt.left, dpi)) << i;
        EXPECT_EQ(button.top, box.top + pixelsFromTwips(opt.top, dpi)) << i;
        EXPECT_EQ(button.right - button.left, pixelsFromTwips(opt.width, dpi)) << i;
        EXPECT_EQ(button.bottom - button.top, pixelsFromTwips(opt.height, dpi)) << i;
        EXPECT_LE(button.right, box.right) << i;
        EXPECT_LE(button.bottom, box.bottom) << i;
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

// Each frame's buttons are one radio group: siblings of the group box, the first with WS_GROUP.
TEST(OptionForm, ButtonsOfAFrameFormOneGroupBesideTheirBox) {
    Dialog dialog;
    const std::vector<int> tabOrder{11, 10, 0, 1, 5, 4, 6, 3, 2, 13, 12, 7, 8, 9};
    int previousFrame = -1;
    for (int index : tabOrder) {
        const HWND button = dialog.form.Opt(index);
        EXPECT_EQ(GetParent(button), dialog.form.Handle());
        const bool startsGroup = (GetWindowLongW(button, GWL_STYLE) & WS_GROUP) != 0;
        EXPECT_EQ(startsGroup, FrameOfOpt(index) != previousFrame) << index;
        previousFrame = FrameOfOpt(index);
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

TEST(OptionForm, SyncSetsTheButtonsAndSavesNothing) {
    Dialog dialog;
    OptionFlags = {1, 1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0};

    SyncOptionButtons(dialog.form);

    // two on in the first frame: the higher index stays selected; none in "Auswahl"
    EXPECT_EQ(Selected(dialog.form), "01010001000110");
    EXPECT_TRUE(dialog.store.values.empty());
    EXPECT_TRUE(dialog.placement.calls.empty());
    EXPECT_EQ(OptionFlags, (OptionFlagArray{1, 1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0}));
}

TEST(OptionForm, AClickClearsTheFrameAndSavesAllFourteenAsShown) {
    Dialog dialog;
    OptionFlags = {0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0};
    SyncOptionButtons(dialog.form);

    ClickByUser(dialog.form.Opt(0));

    EXPECT_EQ(Selected(dialog.form), "10010101000110");
    EXPECT_EQ(dialog.store.values.at(cOptionsAddress), "10010101000110");
    EXPECT_EQ(OptionFlags, (OptionFlagArray{1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0}));

    ClickByUser(dialog.form.Opt(8));
    EXPECT_EQ(dialog.store.values.at(cOptionsAddress), "10010100100110");
}

TEST(OptionForm, ARealButtonClickRaisesTheClick) {
    Dialog dialog;
    OptionFlags = {0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0};
    SyncOptionButtons(dialog.form);
    ShowWindow(dialog.form.Handle(), SW_SHOWNOACTIVATE);

    SendMessageW(dialog.form.Opt(6), BM_CLICK, 0, 0);

    EXPECT_EQ(dialog.store.values.at(cOptionsAddress), "01010011000110");
}

TEST(OptionForm, SelectingFromCodeRaisesTheClickOnlyWhenItBecomesSelected) {
    Dialog dialog;
    OptionFlags = {0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0};
    SyncOptionButtons(dialog.form);

    dialog.form.SetSelected(5, true);
    EXPECT_TRUE(dialog.store.values.empty()) << "already selected";

    dialog.form.SetSelected(13, true);
    EXPECT_EQ(dialog.store.values.at(cOptionsAddress), "01010101000101");
}

TEST(OptionForm, ImmerObenRaisesTheMainWindowAndNormalLowersIt) {
    MainForm mainForm;
    WinWindowPlacement placement;
    placement.SetWindow(mainForm.Handle());
    FakeSettingsStore store;
    OptionClicks clicks(store, placement);
    OptionForm form(clicks);
    OptionFlags = {0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0};
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

void CALLBACK PressEscapeInTheDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND focus = GetFocus();
    if (focus == nullptr) return;
    KillTimer(nullptr, timer);
    PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

bool closedByDeadline = false;

// Ends a dialog that Escape left open, so a failing test does not hang.
void CALLBACK CloseAtTheDeadline(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    closedByDeadline = true;
    PostMessageW(FindWindowW(L"QuarnelOptionForm", nullptr), WM_CLOSE, 0, 0);
}

TEST(OptionForm, EscapeClosesTheDialog) {
    Dialog dialog;
    ASSERT_NE(dialog.form.Handle(), nullptr);
    closedByDeadline = false;
    SetTimer(nullptr, 0, 0, PressEscapeInTheDialog);
    const UINT_PTR deadline = SetTimer(nullptr, 0, 5000, CloseAtTheDeadline);

    dialog.form.ShowModal(nullptr);

    KillTimer(nullptr, deadline);
    EXPECT_FALSE(closedByDeadline) << "Escape left the dialog open";
    EXPECT_EQ(dialog.form.Handle(), nullptr);
    EXPECT_TRUE(dialog.store.values.empty());
}

}  // namespace
}  // namespace quarnel
