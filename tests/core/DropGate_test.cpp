#include "core/DropGate.hpp"

#include <gtest/gtest.h>

#include <system_error>

#include "core/Messages.hpp"
#include "core/OptionStorage.hpp"
#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using namespace testing;

// The real drop handler with recorded services, behind the gate, as the window wires it.
class DropGateTest : public ::testing::Test, protected FakeDrop {
protected:
    void SetUp() override {
        OptionFlags = OptionFlagsFromString("10100011000110");  // arrival order, full paths
        files.AddFile("C:\\x\\a.txt");
        files.AddFile("C:\\x\\b.txt");
    }

    FakeDropWindow window;
    std::function<void()> duringDrop;
    DropGate gate{[this](const DropData& data) {
                      if (duringDrop) duringDrop();
                      handler.HandleDrop(data);
                  },
                  window, msgBox};
};

TEST_F(DropGateTest, ADropRunsAfterItsEventAndRefusesOthersUntilItHasFinished) {
    ASSERT_TRUE(gate.AcceptsDrops());
    ASSERT_TRUE(gate.TakeDrop({true, {"C:\\x\\a.txt"}}));
    EXPECT_FALSE(clipboard.text.has_value()) << "the drag source is not kept waiting";
    EXPECT_FALSE(gate.AcceptsDrops());
    EXPECT_FALSE(gate.TakeDrop({true, {"C:\\x\\b.txt"}}));  // before the taken one has run

    bool acceptedDuringDrop = true;
    bool takenDuringDrop = true;
    duringDrop = [&] {
        acceptedDuringDrop = gate.AcceptsDrops();
        takenDuringDrop = gate.TakeDrop({true, {"C:\\x\\b.txt"}});
    };
    window.RunPosted();
    EXPECT_FALSE(acceptedDuringDrop);
    EXPECT_FALSE(takenDuringDrop);
    EXPECT_EQ(clipboard.text, "C:\\x\\a.txt\r\n");
    EXPECT_EQ(window.cursors, (std::vector<bool>{true, false}));

    duringDrop = nullptr;
    EXPECT_TRUE(gate.AcceptsDrops());
    ASSERT_TRUE(gate.TakeDrop({true, {"C:\\x\\b.txt"}}));
    window.RunPosted();
    EXPECT_EQ(clipboard.text, "C:\\x\\b.txt\r\n");
    EXPECT_EQ(beep.count, 2);
}

TEST_F(DropGateTest, AWindowClosedDuringADropHidesAndClosesOnceTheTextIsOnTheClipboard) {
    EXPECT_TRUE(gate.MayClose());  // no drop: closes at once
    EXPECT_EQ(window.hidden, 0);

    bool mayCloseDuringDrop = true;
    duringDrop = [&] { mayCloseDuringDrop = gate.MayClose(); };
    gate.TakeDrop({true, {"C:\\x\\a.txt", "C:\\x\\b.txt"}});
    window.posted.front()();
    window.posted.erase(window.posted.begin());
    EXPECT_FALSE(mayCloseDuringDrop);
    EXPECT_EQ(window.hidden, 1);
    EXPECT_EQ(window.closed, 0) << "not before the drop's event has returned";
    EXPECT_EQ(clipboard.text, "C:\\x\\a.txt\r\nC:\\x\\b.txt\r\n");

    window.RunPosted();
    EXPECT_EQ(window.closed, 1);
    EXPECT_TRUE(gate.MayClose());
}

TEST_F(DropGateTest, NamesGivenAtStartAreOneDropWithTheWindowShownOnlyWhenItTakesASecond) {
    gate.DropAtStart({true, {"C:\\x\\a.txt", "C:\\x\\weg.txt", "C:\\x\\b.txt"}});
    ASSERT_EQ(window.delayed.size(), 1u);
    EXPECT_EQ(window.delayed[0].first, std::chrono::seconds(1));

    // a second passes while the drop still runs: the window shows what is going on
    duringDrop = [&] { window.delayed[0].second(); };
    window.posted.front()();
    window.posted.erase(window.posted.begin());
    EXPECT_EQ(window.shown, 1);
    EXPECT_EQ(window.cursors, (std::vector<bool>{true, false}));
    EXPECT_EQ(clipboard.text, "C:\\x\\a.txt\r\nC:\\x\\b.txt\r\n");
    ASSERT_EQ(msgBox.shown.size(), 1u);  // the missing name, as in a drop
    EXPECT_EQ(beep.count, 1);
    window.RunPosted();
    EXPECT_EQ(window.closed, 1) << "the window closes once the list is on the clipboard";

    // the second that passes after a drop is done shows nothing
    window.delayed[0].second();
    EXPECT_EQ(window.shown, 1);
}

TEST_F(DropGateTest, WhateverEscapesTheHandlerIsSaidOnceAndTheNextDropWorks) {
    clipboard.text = "vorher";
    files.throwOnAttributesOf = "C:\\x\\b.txt";
    gate.TakeDrop({true, {"C:\\x\\a.txt", "C:\\x\\b.txt"}});
    EXPECT_NO_THROW(window.RunPosted());
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
    window.RunPosted();
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
    window.RunPosted();
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
    EXPECT_NO_THROW(window.RunPosted());
    EXPECT_EQ(msgBox.shown.size(), 4u);
    msgBox.fail = false;
    files.throwOnAttributesOf.clear();

    ASSERT_TRUE(gate.TakeDrop({true, {"C:\\x\\b.txt"}}));
    window.RunPosted();
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
