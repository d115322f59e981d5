#include "core/DropGate.hpp"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "core/Messages.hpp"
#include "core/OptionStorage.hpp"
#include "core/WindowThreadServices.hpp"
#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using namespace testing;

// The real drop handler with recorded services, behind the gate on its own thread, as the
// programs wire it.
class DropGateTest : public ::testing::Test, protected FakeDrop {
protected:
    void SetUp() override {
        OptionFlags = OptionFlagsFromString("10100011000110");  // arrival order, full paths
        files.AddFile("C:\\x\\a.txt");
        files.AddFile("C:\\x\\b.txt");
    }
    // The drop's thread waits in the handler until the test opens the latch.
    Latch& HoldNextDrop() {
        held = std::make_unique<Latch>();
        duringDrop = [latch = held.get()] { latch->Wait(); };
        return *held;
    }

    FakeDropWindow window;
    WindowThreadServices windowThread{clipboard, msgBox, beep, image1};
    DropHandler gatedHandler{
        {files, windowThread, windowThread, windowThread, rules, windowThread}};
    std::function<void()> duringDrop;
    std::unique_ptr<Latch> held;
    DropGate gate{[this](const DropData& data, DropProgress& dropProgress) {
                      if (duringDrop) std::exchange(duringDrop, nullptr)();
                      gatedHandler.HandleDrop(data, dropProgress);
                  },
                  window, msgBox};
};

TEST_F(DropGateTest, ADropRunsOnItsOwnThreadAndRefusesOthersUntilItHasFinished) {
    ASSERT_TRUE(gate.AcceptsDrops());
    Latch& latch = HoldNextDrop();
    ASSERT_TRUE(gate.TakeDrop({true, {"C:\\x\\a.txt"}}));
    EXPECT_FALSE(clipboard.text.has_value()) << "the drag source is not kept waiting";
    EXPECT_FALSE(gate.TakeDrop({true, {"C:\\x\\b.txt"}}));  // before the taken one has run

    // the window's thread is free while the drop runs
    ASSERT_TRUE(window.RunPostedUntil([&] { return window.PostedCount() == 0; }));
    ASSERT_TRUE(latch.AwaitEntered());
    EXPECT_FALSE(gate.AcceptsDrops());
    EXPECT_FALSE(gate.TakeDrop({true, {"C:\\x\\b.txt"}}));
    EXPECT_EQ(window.cursors, (std::vector<bool>{true}));
    latch.Open();
    window.RunPosted(gate);
    EXPECT_EQ(clipboard.text, "C:\\x\\a.txt\r\n");
    EXPECT_EQ(clipboard.setOn, std::this_thread::get_id()) << "set on the window's thread";
    EXPECT_EQ(window.cursors, (std::vector<bool>{true, false}));
    EXPECT_EQ(image1.styles, (std::vector<int>{1, 0}));
    EXPECT_EQ(window.progressShown, 0);

    ASSERT_TRUE(gate.TakeDrop({true, {"C:\\x\\b.txt", "C:\\x\\weg.txt"}}));
    window.RunPosted(gate);
    EXPECT_EQ(clipboard.text, "C:\\x\\b.txt\r\n");
    EXPECT_EQ(beep.count, 2);
    ASSERT_EQ(msgBox.shown.size(), 1u);  // the missing name
    EXPECT_EQ(msgBox.shownOn, std::this_thread::get_id());
}

TEST_F(DropGateTest, AWindowClosedDuringADropHidesAndClosesOnceTheTextIsOnTheClipboard) {
    EXPECT_TRUE(gate.MayClose());  // no drop: closes at once
    EXPECT_EQ(window.hidden, 0);

    Latch& latch = HoldNextDrop();
    gate.TakeDrop({true, {"C:\\x\\a.txt", "C:\\x\\b.txt"}});
    ASSERT_TRUE(window.RunPostedUntil([&] { return window.PostedCount() == 0; }));
    EXPECT_FALSE(gate.MayClose());
    EXPECT_EQ(window.hidden, 1);
    latch.Open();
    window.RunPosted(gate);
    EXPECT_EQ(clipboard.text, "C:\\x\\a.txt\r\nC:\\x\\b.txt\r\n");
    EXPECT_EQ(window.closed, 1);
    EXPECT_TRUE(gate.MayClose());
}

// Storage that never answers: a name whose query waits until the test ends it, and a network
// location whose lookup does. It outlives the test, with its latch, since the thread left in the
// query comes back after the test has ended.
struct NeverAnswering {
    NeverAnswering() {
        files.allowSecondThread = true;  // the names are asked with a file system of their own
        files.AddFile("C:\\x\\a.txt");
        files.AddFile("C:\\hung\\b.txt");
        files.whileAsked = [this](const std::string& path) {
            if (path == "C:\\hung\\b.txt") answer.Wait();
        };
    }
    struct Locations final : NetworkLocations {
        std::optional<std::string> LocalPathOf(const std::string&) override {
            located.Wait();
            return std::nullopt;
        }
        Latch located;
    };
    FakeFileSystem files;
    Latch answer;
    Locations locations;
};

TEST_F(DropGateTest, ADropStillRunningAfterASecondShowsProgressAndAStopEndsItAtOnce) {
    static NeverAnswering& never = *new NeverAnswering;
    DropHandler handler{{never.files, windowThread, windowThread, windowThread, rules, windowThread,
                         &never.locations}};
    DropGate hungGate{[&](const DropData& data, DropProgress& dropProgress) {
                          handler.HandleDrop(data, dropProgress);
                      },
                      window, msgBox};
    clipboard.text = "vorher";
    ASSERT_TRUE(hungGate.TakeDrop({true, {"C:\\x\\a.txt", "C:\\hung\\b.txt"}}));
    ASSERT_TRUE(window.RunPostedUntil([&] { return window.PostedCount() == 0; }));
    ASSERT_TRUE(never.answer.AwaitEntered());
    ASSERT_EQ(window.delayed.size(), 1u);
    EXPECT_EQ(window.delayed[0].first, std::chrono::seconds(1));
    window.delayed[0].second();
    ASSERT_NE(window.progress, nullptr);
    // a.txt; b.txt is still being asked
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (window.progress->NamesFound() == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    EXPECT_EQ(window.progress->NamesFound(), 1u);
    EXPECT_EQ(window.shown, 0) << "the progress window, not the main window";

    hungGate.StopDrop();
    EXPECT_TRUE(hungGate.AcceptsDrops());
    EXPECT_EQ(window.progress, nullptr);
    EXPECT_EQ(window.cursors, (std::vector<bool>{true, false}));
    EXPECT_FALSE(hungGate.StoppedAtStart());
    // the next drop does not wait for the query that hangs
    ASSERT_TRUE(hungGate.TakeDrop({true, {"C:\\x\\a.txt"}}));
    window.RunPosted(hungGate);
    EXPECT_EQ(clipboard.text, "C:\\x\\a.txt\r\n");
    EXPECT_EQ(clipboard.setCount, 1) << "the stopped drop set nothing";
    EXPECT_EQ(beep.count, 1);
    EXPECT_TRUE(msgBox.shown.empty());
    EXPECT_EQ(image1.styles, (std::vector<int>{1, 0, 1, 0}));

    // a network location whose lookup never answers holds up no more than that
    ASSERT_TRUE(hungGate.TakeDrop({true, {"C:\\x\\a.txt", "smb://fs01/haengt"}}));
    ASSERT_TRUE(window.RunPostedUntil([&] { return window.PostedCount() == 0; }));
    ASSERT_TRUE(never.locations.located.AwaitEntered());
    hungGate.StopDrop();
    EXPECT_TRUE(hungGate.AcceptsDrops());
    // the next drop does not wait for the lookup that hangs
    ASSERT_TRUE(hungGate.TakeDrop({true, {"C:\\x\\a.txt"}}));
    window.RunPosted(hungGate);
    EXPECT_EQ(clipboard.text, "C:\\x\\a.txt\r\n");
    EXPECT_EQ(clipboard.setCount, 2);
    EXPECT_TRUE(msgBox.shown.empty());
    never.locations.located.Open();
    never.answer.Open();
}

TEST_F(DropGateTest, NamesGivenAtStartShowProgressInsteadOfTheWindowAndAStopEndsTheProgram) {
    Latch& latch = HoldNextDrop();
    gate.DropAtStart({true, {"C:\\x\\a.txt", "C:\\x\\b.txt"}});
    ASSERT_TRUE(window.RunPostedUntil([&] { return window.PostedCount() == 0; }));
    ASSERT_TRUE(latch.AwaitEntered());
    window.delayed.at(0).second();
    EXPECT_NE(window.progress, nullptr);
    EXPECT_EQ(window.shown, 0);
    latch.Open();
    window.RunPosted(gate);
    EXPECT_EQ(clipboard.text, "C:\\x\\a.txt\r\nC:\\x\\b.txt\r\n");
    EXPECT_EQ(window.progress, nullptr);
    EXPECT_EQ(window.closed, 1) << "the window closes once the list is on the clipboard";
    EXPECT_FALSE(gate.StoppedAtStart());
    window.delayed.at(0).second();  // the second that passes after a drop is done shows nothing
    EXPECT_EQ(window.progressShown, 1);

    FakeDropWindow startWindow;
    DropGate atStart{[this](const DropData& data, DropProgress& dropProgress) {
                         if (duringDrop) std::exchange(duringDrop, nullptr)();
                         gatedHandler.HandleDrop(data, dropProgress);
                     },
                     startWindow, msgBox};
    Latch& stopped = HoldNextDrop();
    atStart.DropAtStart({true, {"C:\\x\\b.txt"}});
    ASSERT_TRUE(startWindow.RunPostedUntil([&] { return stopped.Entered(); }));
    atStart.StopDrop();
    EXPECT_TRUE(atStart.StoppedAtStart());
    stopped.Open();
    startWindow.RunPosted(atStart);
    EXPECT_EQ(startWindow.closed, 1);
    EXPECT_EQ(clipboard.setCount, 1);
}

TEST_F(DropGateTest, WhateverEscapesTheHandlerIsSaidOnceAndTheNextDropWorks) {
    clipboard.text = "vorher";
    files.throwOnAttributesOf = "C:\\x\\b.txt";
    gate.TakeDrop({true, {"C:\\x\\a.txt", "C:\\x\\b.txt"}});
    EXPECT_NO_THROW(window.RunPosted(gate));
    ASSERT_EQ(msgBox.shown.size(), 1u);
    EXPECT_EQ(msgBox.shown[0].prompt,
              "Die Liste konnte nicht erstellt werden: ein unerwarteter Fehler ist aufgetreten. "
              "Die Zwischenablage bleibt, wie sie war.");
    EXPECT_EQ(msgBox.shown[0].buttonsAndIcon, 64);
    EXPECT_EQ(msgBox.shown[0].title, "Quarnel! 2.5");
    EXPECT_EQ(clipboard.text, "vorher");
    EXPECT_EQ(beep.count, 0);
    EXPECT_EQ(image1.styles, (std::vector<int>{1, 0}));
    EXPECT_EQ(window.cursors, (std::vector<bool>{true, false}));

    files.throwOnAttributesOf.clear();
    ASSERT_TRUE(gate.TakeDrop({true, {"C:\\x\\b.txt"}}));
    window.RunPosted(gate);
    EXPECT_EQ(clipboard.text, "C:\\x\\b.txt\r\n") << "nothing of the failed drop is left over";
    EXPECT_EQ(msgBox.shown.size(), 1u);
}

TEST_F(DropGateTest, WhatFailsAroundTheHandlerIsSaidAndTheGateOpensAgain) {
    const auto failedFor = [](std::string reason) {
        return "Die Liste konnte nicht erstellt werden: " + reason +
               ". Die Zwischenablage bleibt, wie sie war.";
    };
    // the names cannot be copied out of the drop's data: said after the drop event
    clipboard.text = "vorher";
    ASSERT_TRUE(gate.TakeDrop([]() -> DropData { throw std::bad_alloc(); }));
    EXPECT_TRUE(msgBox.shown.empty());
    window.RunPosted(gate);
    ASSERT_EQ(msgBox.shown.size(), 1u);
    EXPECT_EQ(msgBox.shown[0].prompt, failedFor("nicht genug Arbeitsspeicher"));
    EXPECT_EQ(window.cursors, (std::vector<bool>{true, false}));
    EXPECT_EQ(clipboard.text, "vorher");

    // the drop cannot be handed to the event loop: said at once, the drop refused
    window.refusePosts = true;
    EXPECT_FALSE(gate.TakeDrop({true, {"C:\\x\\a.txt"}}));
    ASSERT_EQ(msgBox.shown.size(), 2u);
    EXPECT_EQ(msgBox.shown[1].prompt, failedFor("das System meldet Fehler 12"));
    EXPECT_TRUE(gate.AcceptsDrops());
    gate.DropAtStart({true, {"C:\\x\\a.txt"}});
    EXPECT_EQ(msgBox.shown.size(), 3u);
    EXPECT_EQ(window.closed, 1) << "names given at start end the program";
    window.refusePosts = false;

    // the message box of a failed drop fails too
    msgBox.fail = true;
    files.throwOnAttributesOf = "C:\\x\\b.txt";
    ASSERT_TRUE(gate.TakeDrop({true, {"C:\\x\\b.txt"}}));
    EXPECT_NO_THROW(window.RunPosted(gate));
    EXPECT_EQ(msgBox.shown.size(), 4u);
    msgBox.fail = false;
    files.throwOnAttributesOf.clear();

    // no thread to be had: the drop runs on the window's thread, as it did before
    DropGate threadless{[this](const DropData& data, DropProgress& dropProgress) {
                            gatedHandler.HandleDrop(data, dropProgress);
                        },
                        window, msgBox,
                        [](std::function<void()>) -> std::thread {
                            throw std::system_error(EAGAIN, std::generic_category());
                        }};
    ASSERT_TRUE(threadless.TakeDrop({true, {"C:\\x\\b.txt"}}));
    window.RunPosted(threadless);
    EXPECT_EQ(clipboard.text, "C:\\x\\b.txt\r\n");
}

TEST(DropFailedMessage, NamesWhatFailedInOneSentence) {
    const auto said = [](auto failure) {
        return DropFailedMessage(std::make_exception_ptr(failure));
    };
    EXPECT_EQ(said(std::bad_alloc()),
              "Die Liste konnte nicht erstellt werden: nicht genug Arbeitsspeicher. "
              "Die Zwischenablage bleibt, wie sie war.");
    EXPECT_EQ(said(std::system_error(EIO, std::generic_category())),
              "Die Liste konnte nicht erstellt werden: das System meldet Fehler 5. "
              "Die Zwischenablage bleibt, wie sie war.");
}

}  // namespace
}  // namespace quarnel
