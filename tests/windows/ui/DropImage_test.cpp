#include "ui/windows/DropImage.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "FakeDataObject.hpp"
#include "WindowQueries.hpp"
#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using testing::FakeDataObject;
using testing::HDropBytes;

// A plain top-level window to hold Image1, destroyed at the end of the test.
struct HostWindow {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ~HostWindow() { DestroyWindow(window); }
};

// Image1 in its host, its drops going to a gate that records the drops it runs.
struct GatedImage {
    GatedImage() { image1.SetDropGate(gate); }

    HostWindow host;
    DropImage image1{SystemStartupCalls(), host.window, 1};
    testing::FakeDropWindow window;
    testing::FakeMsgBox msgBox;
    std::vector<DropData> ran;
    testing::Latch* heldIn = nullptr;  // the drop's thread waits there until the test lets it go
    DropGate gate{[this](const DropData& data, DropProgress&) {
                      ran.push_back(data);
                      if (heldIn != nullptr) heldIn->Wait();
                  },
                  window, msgBox};
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

// The width of the image in the program's folder icon that LoadImage takes for a size.
int IconImageWidthFor(int size) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(2), RT_GROUP_ICON);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    const HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, image)));
    if (std::memcmp(bytes, "\x89PNG", 4) == 0) {  // the width in IHDR, big-endian
        return bytes[16] << 24 | bytes[17] << 16 | bytes[18] << 8 | bytes[19];
    }
    return reinterpret_cast<const BITMAPINFOHEADER*>(bytes)->biWidth;
}

// Image1 is 37, 47 and 56 px wide at 96, 120 and 144 dpi with Wine's font, 77 at 192 dpi with
// Segoe UI: the folder is drawn at a size its icon holds, unscaled, and nearly fills the place.
TEST(DropImage, DrawsTheFolderUnscaledAtTheLargestSizeThatFits) {
    HostWindow host;
    ShowWindow(host.window, SW_SHOWNOACTIVATE);
    DropImage image1{SystemStartupCalls(), host.window, 1};
    for (const int place : {37, 47, 56, 77}) {
        SetWindowPos(image1.Handle(), nullptr, 0, 0, place, place, SWP_NOZORDER);
        RedrawWindow(image1.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const int drawn = image1.PictureSize();
        EXPECT_EQ(IconImageWidthFor(drawn), drawn) << place;
        EXPECT_LE(drawn, place);
        EXPECT_GE(drawn, place - 8) << place;
    }
}

TEST(DropImage, HandsTheNamesToTheGateAndAlwaysCopies) {
    GatedImage gated;
    FakeDataObject data;
    data.Offer(CF_HDROP, HDropBytes({L"C:\\a.txt", L"C:\\b"}));

    EXPECT_EQ(DragEnterEffect(gated.image1.OleTarget(), data), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(DropEffect(gated.image1.OleTarget(), data), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(gated.ran.empty()) << "the drop runs after Drop has returned";
    gated.window.RunPosted(gated.gate);

    ASSERT_EQ(gated.ran.size(), 1u);
    EXPECT_TRUE(gated.ran[0].holdsFileList);
    EXPECT_EQ(gated.ran[0].names, (std::vector<std::string>{"C:\\a.txt", "C:\\b"}));
}

TEST(DropImage, ForeignDataIsTakenSoItGetsItsMessage) {
    GatedImage gated;
    FakeDataObject text;
    text.Offer(CF_UNICODETEXT, {'x', 0, 0, 0});

    EXPECT_EQ(DragEnterEffect(gated.image1.OleTarget(), text), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(DropEffect(gated.image1.OleTarget(), text), static_cast<DWORD>(DROPEFFECT_COPY));
    gated.window.RunPosted(gated.gate);

    ASSERT_EQ(gated.ran.size(), 1u);
    EXPECT_FALSE(gated.ran[0].holdsFileList);
}

TEST(DropImage, NamesThatCannotBeCopiedAreSaidAfterTheDropAndNothingReachesTheSource) {
    GatedImage gated;
    FakeDataObject data;
    data.Offer(CF_HDROP, HDropBytes({L"C:\\a.txt"}));
    data.runOutOfMemory = true;

    EXPECT_EQ(DropEffect(gated.image1.OleTarget(), data), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(gated.msgBox.shown.empty());
    gated.window.RunPosted(gated.gate);
    EXPECT_TRUE(gated.ran.empty());
    ASSERT_EQ(gated.msgBox.shown.size(), 1u);
    EXPECT_NE(gated.msgBox.shown[0].prompt.find("nicht genug Arbeitsspeicher"), std::string::npos);
    EXPECT_TRUE(gated.gate.AcceptsDrops());
}

TEST(DropImage, AnswersNoDropWhileTheGateRefusesAndReadsNothing) {
    GatedImage gated;
    FakeDataObject first;
    first.Offer(CF_HDROP, HDropBytes({L"C:\\erste.txt"}));
    FakeDataObject second;
    second.Offer(CF_HDROP, HDropBytes({L"C:\\zweite.txt"}));
    testing::Latch held;
    gated.heldIn = &held;

    ASSERT_EQ(DropEffect(gated.image1.OleTarget(), first), static_cast<DWORD>(DROPEFFECT_COPY));
    // before the taken drop has run, and while it runs
    for (int stage = 0; stage < 2; ++stage) {
        EXPECT_EQ(DragEnterEffect(gated.image1.OleTarget(), second),
                  static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_EQ(DragOverEffect(gated.image1.OleTarget()), static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_EQ(DropEffect(gated.image1.OleTarget(), second),
                  static_cast<DWORD>(DROPEFFECT_NONE));
        if (stage == 0) {
            ASSERT_TRUE(gated.window.RunPostedUntil([&] { return held.Entered(); }));
        }
    }
    held.Open();
    gated.window.RunPosted(gated.gate);

    EXPECT_EQ(second.getDataCalls, 0);
    ASSERT_EQ(gated.ran.size(), 1u);
    EXPECT_EQ(DragEnterEffect(gated.image1.OleTarget(), second),
              static_cast<DWORD>(DROPEFFECT_COPY));
}

TEST(DropImage, IsRegisteredAsOleDropTargetOfItsOwnWindowClass) {
    GatedImage gated;
    wchar_t className[64]{};
    GetClassNameW(gated.image1.Handle(), className, 64);

    EXPECT_STRNE(className, L"Static");
    EXPECT_EQ(GetParent(gated.image1.Handle()), gated.host.window);
    EXPECT_EQ(RegisterDragDrop(gated.image1.Handle(), &gated.image1.OleTarget()),
              DRAGDROP_E_ALREADYREGISTERED);
}

TEST(DropImage, DestroyedWithItsParentItRevokesItsDropTarget) {
    GatedImage gated;
    const HWND window = gated.image1.Handle();
    DestroyWindow(gated.host.window);
    gated.host.window = nullptr;

    EXPECT_EQ(gated.image1.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace quarnel
