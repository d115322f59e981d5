#include "ui/windows/DropImage.hpp"

#include <gtest/gtest.h>

#include "FakeDataObject.hpp"
#include "WindowQueries.hpp"

namespace quarnel {
namespace {

using testing::FakeDataObject;
using testing::HDropBytes;
using testing::RunPendingMessages;

// A plain top-level window to hold Image1, destroyed at the end of the test.
struct HostWindow {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ~HostWindow() { DestroyWindow(window); }
};

DWORD DragEnterEffect(IDropTarget& target, IDataObject& data) {
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target.DragEnter(&data, 0, {0, 0}, &effect), S_OK);
    return effect;
}

DWORD DragOverEffect(IDropTarget& target) {
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target.DragOver(0, {0, 0}, &effect), S_OK);
    return effect;
}

DWORD DropEffect(IDropTarget& target, IDataObject& data) {
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target.Drop(&data, 0, {0, 0}, &effect), S_OK);
    return effect;
}

TEST(DropImage, RunsTheDropAfterDropHasReturnedAndAlwaysCopies) {
    HostWindow host;
    DropImage image1(host.window, 1);
    std::vector<DropData> ran;
    image1.SetDropAction([&](const DropData& data) { ran.push_back(data); });
    FakeDataObject data;
    data.Offer(CF_HDROP, HDropBytes({L"C:\\a.txt", L"C:\\b"}));

    EXPECT_EQ(DragEnterEffect(image1.OleTarget(), data), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(DropEffect(image1.OleTarget(), data), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(image1.IsHandlingDrop());

    RunPendingMessages();

    ASSERT_EQ(ran.size(), 1u);
    EXPECT_TRUE(ran[0].holdsFileList);
    EXPECT_EQ(ran[0].names, (std::vector<std::string>{"C:\\a.txt", "C:\\b"}));
    EXPECT_FALSE(image1.IsHandlingDrop());
}

TEST(DropImage, ForeignDataIsTakenSoItGetsItsMessage) {
    HostWindow host;
    DropImage image1(host.window, 1);
    std::vector<DropData> ran;
    image1.SetDropAction([&](const DropData& data) { ran.push_back(data); });
    FakeDataObject text;
    text.Offer(CF_UNICODETEXT, {'x', 0, 0, 0});

    EXPECT_EQ(DragEnterEffect(image1.OleTarget(), text), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(DropEffect(image1.OleTarget(), text), static_cast<DWORD>(DROPEFFECT_COPY));
    RunPendingMessages();

    ASSERT_EQ(ran.size(), 1u);
    EXPECT_FALSE(ran[0].holdsFileList);
}

TEST(DropImage, RefusesAnotherDropUntilTheRunningOneHasFinished) {
    HostWindow host;
    DropImage image1(host.window, 1);
    FakeDataObject first;
    first.Offer(CF_HDROP, HDropBytes({L"C:\\erste.txt"}));
    FakeDataObject second;
    second.Offer(CF_HDROP, HDropBytes({L"C:\\zweite.txt"}));
    std::vector<std::string> ran;
    std::vector<DWORD> effectsDuringDrop;
    image1.SetDropAction([&](const DropData& data) {
        ran.insert(ran.end(), data.names.begin(), data.names.end());
        effectsDuringDrop.push_back(DragEnterEffect(image1.OleTarget(), second));
        effectsDuringDrop.push_back(DragOverEffect(image1.OleTarget()));
        effectsDuringDrop.push_back(DropEffect(image1.OleTarget(), second));
    });

    ASSERT_EQ(DropEffect(image1.OleTarget(), first), static_cast<DWORD>(DROPEFFECT_COPY));
    // before the posted drop has run
    EXPECT_EQ(DragEnterEffect(image1.OleTarget(), second), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(DropEffect(image1.OleTarget(), second), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(second.getDataCalls, 0);
    RunPendingMessages();

    EXPECT_EQ(ran, std::vector<std::string>{"C:\\erste.txt"});
    EXPECT_EQ(effectsDuringDrop,
              (std::vector<DWORD>{DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_NONE}));
    EXPECT_EQ(DragEnterEffect(image1.OleTarget(), second), static_cast<DWORD>(DROPEFFECT_COPY));
}

// The cursor the window shows when the mouse moves over it, as the system asks for it.
HCURSOR CursorShownOver(HWND window) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

TEST(DropImage, ShowsTheWaitCursorWhileTheDropRuns) {
    HostWindow host;
    DropImage image1(host.window, 1);
    HCURSOR during = nullptr;
    image1.SetDropAction([&](const DropData&) { during = CursorShownOver(image1.Handle()); });
    FakeDataObject data;
    data.Offer(CF_HDROP, HDropBytes({L"C:\\a.txt"}));

    DropEffect(image1.OleTarget(), data);
    RunPendingMessages();

    EXPECT_EQ(during, LoadCursorW(nullptr, IDC_WAIT));
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    SendMessageW(image1.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(image1.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "the class cursor after the drop";
}

TEST(DropImage, IsRegisteredAsOleDropTargetOfItsOwnWindowClass) {
    HostWindow host;
    DropImage image1(host.window, 1);
    wchar_t className[64]{};
    GetClassNameW(image1.Handle(), className, 64);

    EXPECT_STRNE(className, L"Static");
    EXPECT_EQ(GetParent(image1.Handle()), host.window);
    EXPECT_EQ(RegisterDragDrop(image1.Handle(), &image1.OleTarget()), DRAGDROP_E_ALREADYREGISTERED);
}

TEST(DropImage, DestroyedWithItsParentItRevokesItsDropTarget) {
    HostWindow host;
    DropImage image1(host.window, 1);
    const HWND window = image1.Handle();
    DestroyWindow(host.window);
    host.window = nullptr;

    EXPECT_EQ(image1.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace quarnel
