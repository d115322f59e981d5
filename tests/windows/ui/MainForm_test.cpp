#include "ui/windows/MainForm.hpp"

#include <gtest/gtest.h>

#include <atomic>

#include <thread>

#include "FakeDataObject.hpp"
#include "WindowQueries.hpp"
#include "platform/windows/WinWindowPlacement.hpp"
#include "platform/windows/support/WideText.hpp"
#include "tests/Fakes.hpp"
#include "ui/Geometry.hpp"
#include "ui/windows/DialogFont.hpp"
#include "ui/windows/OptionForm.hpp"

namespace quarnel {
namespace {

using testing::ClientRectOf;
using testing::FakeMsgBox;
using testing::FakePlacement;
using testing::FakeSettingsStore;
using testing::MovedToAMonitorAt;
using testing::RunPendingMessages;
using testing::TextOf;
using testing::WaitUntil;
using testing::WindowSizeAt;

// A rectangle in twips, in pixels at dpi.
RECT Pixels(int left, int top, int width, int height, double dpi) {
    const auto px = [dpi](int twips) { return static_cast<LONG>(pixelsFromTwips(twips, dpi)); };
    return {px(left), px(top), px(left) + px(width), px(top) + px(height)};
}

// The system's calls, with posts and timers refused while a test says so.
struct RefusingCalls final : StartupCalls {
    bool PostMessageW(NativeWindow window, unsigned message) override {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return !refuse && StartupCalls::PostMessageW(window, message);
    }
    bool SetTimer(NativeWindow window, std::uintptr_t id, unsigned milliseconds) override {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return !refuse && StartupCalls::SetTimer(window, id, milliseconds);
    }
    bool refuse = false;
};

// MainForm with recorded services behind its buttons and its drop gate, as the program wires it.
struct Program {
    Program() { form.Connect(gate, buttons); }

    RefusingCalls calls;
    MainForm form{calls};
    FakeMsgBox msgBox;
    FakeSettingsStore store;
    FakePlacement placement;
    OptionClickHandler clicks{store, placement, msgBox};
    OptionFormMaker optionForms{clicks, form.Handle()};
    MainFormButtons buttons{optionForms, msgBox, {2, 5, 1}};
    // runs on the drop's thread
    std::function<void(const DropData&)> handleDrop = [](const DropData&) {};
    DropGate gate{[this](const DropData& data, DropProgress&) { handleDrop(data); }, form, msgBox};

    void ClickBtn(int index) {
        SendMessageW(form.Handle(), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(form.Btn(index)), BN_CLICKED),
                     reinterpret_cast<LPARAM>(form.Btn(index)));
    }
    DWORD Drop(const std::vector<std::wstring>& names) {
        testing::FakeDataObject data;
        data.Offer(CF_HDROP, testing::HDropBytes(names));
        DWORD effect = DROPEFFECT_COPY;
        form.Image1().OleTarget().Drop(&data, 0, {0, 0}, &effect);
        return effect;
    }
};

// The client area's corner on the screen, and where it belongs: 240, 480 twips at the monitor's
// dpi, whatever the font factor.
std::pair<POINT, POINT> ClientCornerAndDesignPlace(HWND window) {
    POINT corner{0, 0};
    ClientToScreen(window, &corner);
    const auto dpi = static_cast<double>(GetDpiForWindow(window));
    return {corner, {pixelsFromTwips(240, dpi), pixelsFromTwips(480, dpi)}};
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(MainForm, ButtonsAndFrameCarryTheirCaptions) {
    MainForm form{SystemStartupCalls()};
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
    MainForm form{SystemStartupCalls()};
    const double dpi = form.Dpi();
    ASSERT_GE(dpi, GetDpiForWindow(form.Handle()));

    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, pixelsFromTwips(915, dpi));
    EXPECT_EQ(client.bottom, pixelsFromTwips(2160, dpi));

    EXPECT_TRUE(ClientRectOf(form.Handle(), form.Btn(0)) == Pixels(60, 1080, 795, 315, dpi));
    EXPECT_TRUE(ClientRectOf(form.Handle(), form.Btn(2)) == Pixels(60, 1800, 795, 315, dpi));
    EXPECT_TRUE(ClientRectOf(form.Handle(), form.DropFrame()) == Pixels(60, 60, 795, 915, dpi));
    // Image1 stands at its place inside DropFrame
    const RECT image1 = ClientRectOf(form.Handle(), form.Image1().Handle());
    EXPECT_EQ(image1.left, pixelsFromTwips(60, dpi) + pixelsFromTwips(120, dpi));
    EXPECT_EQ(image1.top, pixelsFromTwips(60, dpi) + pixelsFromTwips(240, dpi));
    EXPECT_EQ(image1.right - image1.left, pixelsFromTwips(480, dpi));
    RECT frame = ClientRectOf(form.Handle(), form.DropFrame());
    RECT image = ClientRectOf(form.Handle(), form.Image1().Handle());
    RECT both{};
    UnionRect(&both, &frame, &image);
    EXPECT_TRUE(both == frame) << "Image1 lies inside DropFrame";
}

TEST(MainForm, IsAFixedToolWindowShownInTheTaskBar) {
    MainForm form{SystemStartupCalls()};
    const LONG style = GetWindowLongW(form.Handle(), GWL_STYLE);
    const LONG exStyle = GetWindowLongW(form.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(MainForm, TabsThroughTheButtonsByTabIndex) {
    MainForm form{SystemStartupCalls()};
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
    MainForm form{SystemStartupCalls()};
    const auto font = reinterpret_cast<HFONT>(SendMessageW(form.Btn(0), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font, GetStockObject(SYSTEM_FONT));
    for (HWND control : {form.Btn(1), form.Btn(2), form.DropFrame()}) {
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), font);
    }
}

TEST(MainForm, LoadSetsCaptionAndTopmostAndTheWindowOpensAtItsDesignPlace) {
    for (const auto& [stored, topmost] : std::vector<std::pair<std::string, bool>>{
             {"01010101000110", false}, {"01010101001010", true}}) {
        MainForm form{SystemStartupCalls()};
        WinWindowPlacement placement;
        placement.SetWindow(form.Handle());
        FakeSettingsStore store;
        store.values[{"Kelvaro's Tools", "Quarnel! 2.5", "Options"}] = stored;

        MainFormLoad(form, store, placement);

        EXPECT_EQ(TextOf(form.Handle()), L"Quarnel! 2.5");
        EXPECT_EQ((GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, topmost)
            << stored;
        form.Show();
        const auto [corner, designPlace] = ClientCornerAndDesignPlace(form.Handle());
        EXPECT_EQ(corner.x, designPlace.x) << stored;
        EXPECT_EQ(corner.y, designPlace.y) << stored;
    }
}

// Moved onto a monitor of another scale, the window stays where the user put it (the design
// place holds at start only) and its client area and controls take the new dpi's size.
TEST(MainForm, OnAMonitorOfAnotherDpiItStaysWhereWindowsPutsItAtTheNewSize) {
    MainForm form{SystemStartupCalls()};
    form.Show();
    const unsigned newDpi = GetDpiForWindow(form.Handle()) * 3 / 2;

    const RECT after = MovedToAMonitorAt(form.Handle(), newDpi);

    EXPECT_EQ(after.left, 600);
    EXPECT_EQ(after.top, 300);
    const double dpi = form.Dpi();
    EXPECT_EQ(dpi, TableDpi(newDpi));
    const SIZE size =
        WindowSizeAt(form.Handle(), pixelsFromTwips(915, dpi), pixelsFromTwips(2160, dpi), newDpi);
    EXPECT_EQ(after.right - after.left, size.cx);
    EXPECT_EQ(after.bottom - after.top, size.cy);
    EXPECT_TRUE(ClientRectOf(form.Handle(), form.Btn(2)) == Pixels(60, 1800, 795, 315, dpi));
}

TEST(MainForm, HelpAndInfoButtonsShowTheirMessages) {
    Program program;
    program.ClickBtn(1);
    program.ClickBtn(2);

    const auto& shown = program.msgBox.shown;
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].buttonsAndIcon, 32);
    EXPECT_EQ(shown[1].buttonsAndIcon, 64);
    EXPECT_EQ(shown[1].title, "Quarnel! 2.5");
    EXPECT_EQ(shown[0].prompt.rfind("Quarnel!: Buchhalter für Dateilisten (Version2.5)", 0), 0u);
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
    Program program;
    MainForm& form = program.form;
    FakeSettingsStore& store = program.store;
    form.Show();
    seen = SeenInDialog{};
    seen.mainWindow = form.Handle();
    SetTimer(nullptr, 0, 0, InspectAndCloseDialog);

    program.ClickBtn(0);

    EXPECT_TRUE(seen.found);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(seen.caption, L"Quarnel! 2.5 Optionen");
    EXPECT_TRUE(IsWindowEnabled(form.Handle()));
    EXPECT_EQ(FindWindowW(L"QuarnelOptionForm", nullptr), nullptr);
    EXPECT_TRUE(store.values.empty()) << "opening saves nothing";
}

// The cursor the window shows when the mouse moves over it, as the system asks for it.
HCURSOR CursorShownOver(HWND window) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

TEST(MainForm, ShowsTheWaitCursorOverImage1AndTheButtonsWhileADropRuns) {
    Program program;
    testing::Latch latch;
    program.handleDrop = [&](const DropData&) { latch.Wait(); };
    program.Drop({L"C:\\a.txt"});
    // the drop waits on its own thread; the window answers meanwhile
    ASSERT_TRUE(WaitUntil([&] { return latch.Entered(); }));
    EXPECT_EQ(CursorShownOver(program.form.Image1().Handle()), LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(CursorShownOver(program.form.Btn(1)), LoadCursorW(nullptr, IDC_WAIT));
    latch.Open();
    ASSERT_TRUE(WaitUntil([&] { return program.gate.AcceptsDrops(); }));

    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    SendMessageW(program.form.Image1().Handle(), WM_SETCURSOR,
                 reinterpret_cast<WPARAM>(program.form.Image1().Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "the class cursor after the drop";
}

TEST(MainForm, ClosedDuringADropItGoesOnceTheDropHasFinished) {
    Program program;
    MainForm& form = program.form;
    form.Show();
    testing::Latch latch;
    program.handleDrop = [&](const DropData&) { latch.Wait(); };
    program.Drop({L"C:\\a.txt"});
    ASSERT_TRUE(WaitUntil([&] { return latch.Entered(); }));

    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    latch.Open();
    EXPECT_TRUE(WaitUntil([&] { return form.Handle() == nullptr; }));
}

TEST(MainForm, APostOrTimerRefusedOrATaskThatThrowsEndsInTheFailedDropsMessage) {
    const auto failedFor = [](std::string reason) {
        return "Die Liste konnte nicht erstellt werden: " + reason +
               ". Die Zwischenablage bleibt, wie sie war.";
    };
    Program program;
    std::atomic<int> handled = 0;
    program.handleDrop = [&](const DropData&) { ++handled; };

    program.calls.refuse = true;
    EXPECT_EQ(program.Drop({L"C:\\a.txt"}), static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_EQ(program.msgBox.shown.size(), 1u);
    EXPECT_EQ(program.msgBox.shown[0].prompt, failedFor("das System meldet Fehler 1816"));
    EXPECT_THROW(program.form.Post(std::chrono::seconds(1), [] {}), std::system_error);
    program.calls.refuse = false;
    EXPECT_EQ(program.Drop({L"C:\\a.txt"}), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(WaitUntil([&] { return handled == 1 && program.gate.AcceptsDrops(); }))
        << "the gate is open again";

    // nothing unwinds through the system's code that runs the window procedure
    program.form.Post({}, [] { throw std::bad_alloc(); });
    RunPendingMessages();
    ASSERT_EQ(program.msgBox.shown.size(), 2u);
    EXPECT_EQ(program.msgBox.shown[1].prompt, failedFor("nicht genug Arbeitsspeicher"));
    program.Drop({L"C:\\a.txt"});
    EXPECT_TRUE(WaitUntil([&] { return handled == 2 && program.gate.AcceptsDrops(); }));
}

TEST(MainForm, ShowsTheProgressWindowWhileItIsOutOfSightAndRunsTasksFromOtherThreads) {
    MainForm form{SystemStartupCalls()};
    form.ShowProgress(std::make_shared<DropProgress>(), [] {});
    ASSERT_NE(form.Progress(), nullptr);
    const HWND progress = form.Progress()->Handle();
    EXPECT_TRUE(IsWindowVisible(progress));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    form.HideProgress();
    EXPECT_EQ(form.Progress(), nullptr);
    EXPECT_FALSE(IsWindowVisible(progress));
    RunPendingMessages();
    EXPECT_FALSE(IsWindow(progress));
    // with the main window at its place: centred on its monitor, clear of it, and owned by it,
    // so above it also when it stays on top
    form.Show();
    form.ShowProgress(std::make_shared<DropProgress>(), [] {});
    RECT placed{};
    GetWindowRect(form.Progress()->Handle(), &placed);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    EXPECT_LE(std::abs(placed.left + placed.right - work.left - work.right), 2);
    EXPECT_LE(std::abs(placed.top + placed.bottom - work.top - work.bottom), 2);
    RECT main{};
    GetWindowRect(form.Handle(), &main);
    RECT both{};
    EXPECT_FALSE(IntersectRect(&both, &placed, &main));
    EXPECT_EQ(GetWindow(form.Progress()->Handle(), GW_OWNER), form.Handle());
    form.HideProgress();

    DWORD ranOn = 0;
    std::thread poster([&] { form.PostFromAnyThread([&ranOn] { ranOn = GetCurrentThreadId(); }); });
    poster.join();
    EXPECT_EQ(ranOn, 0u);
    ASSERT_TRUE(WaitUntil([&] { return ranOn != 0; }));
    EXPECT_EQ(ranOn, GetCurrentThreadId());
}

TEST(MainForm, TasksPostedFromAnotherThreadToAWindowThatGoesAreDroppedAndFreed) {
    auto token = std::make_shared<int>(0);
    bool ran = false;
    MainForm form{SystemStartupCalls()};
    std::thread before([&, token] { form.PostFromAnyThread([token, &ran] { ran = true; }); });
    before.join();
    DestroyWindow(form.Handle());
    std::thread after([&, token] { form.PostFromAnyThread([token, &ran] { ran = true; }); });
    after.join();
    RunPendingMessages();
    EXPECT_FALSE(ran);
    EXPECT_EQ(token.use_count(), 1);
}

}  // namespace
}  // namespace quarnel
