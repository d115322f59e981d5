#include "ui/MainFormBehaviour.hpp"

#include <gtest/gtest.h>

#include "core/OptionStorage.hpp"
#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using testing::FakeMsgBox;
using testing::FakeOptionButtons;

struct RecordingView final : CaptionedWindow {
    void SetCaption(std::string_view newCaption) override {
        caption = newCaption;
        flagsWhenCaptioned = OptionFlags.Snapshot();
    }
    std::string caption;
    OptionFlagArray flagsWhenCaptioned{};
};

// Dialogs that record what was done to them: made, buttons set, shown.
struct RecordingDialogs final : OptionDialogMaker {
    struct Dialog final : OptionDialog {
        explicit Dialog(RecordingDialogs& maker) : maker(maker) {}
        bool IsSelected(int index) const override { return buttons.IsSelected(index); }
        void SetSelected(int index, bool selected) override {
            buttons.SetSelected(index, selected);
        }
        void ShowModal() override {
            std::string shown;
            for (int i = 0; i < cOptionCount; ++i) shown += IsSelected(i) ? '1' : '0';
            maker.events.push_back("shown " + shown);
        }
        RecordingDialogs& maker;
        FakeOptionButtons buttons;
    };
    std::unique_ptr<OptionDialog> MakeOptionDialog() override {
        events.push_back("made");
        return std::make_unique<Dialog>(*this);
    }
    std::vector<std::string> events;
};

TEST(MainFormBehaviour, EachButtonDoesItsOwnThing) {
    RecordingDialogs dialogs;
    FakeMsgBox msgBox;
    MainFormButtons buttons(dialogs, msgBox, {3, 1, 4});
    OptionFlags = OptionFlagsFromString("10100011000110");

    for (int index : {3, -1}) buttons.BtnClick(index);
    EXPECT_TRUE(dialogs.events.empty());
    EXPECT_TRUE(msgBox.shown.empty());

    buttons.BtnClick(0);  // a fresh dialog, its buttons set from the flags before it shows
    buttons.BtnClick(0);
    EXPECT_EQ(dialogs.events, (std::vector<std::string>{"made", "shown 10100011000110", "made",
                                                        "shown 10100011000110"}));

    buttons.BtnClick(1);
    buttons.BtnClick(2);
    ASSERT_EQ(msgBox.shown.size(), 2u);
    EXPECT_EQ(msgBox.shown[0].buttonsAndIcon, 32);
    EXPECT_TRUE(msgBox.shown[0].prompt.starts_with(
        "Quarnel!: Buchhalter f\xC3\xBCr Dateilisten (Version3.1)\r\rWer sich"));
    EXPECT_EQ(msgBox.shown[1].buttonsAndIcon, 64);
    EXPECT_TRUE(msgBox.shown[1].prompt.starts_with(
        "Quarnel!: Buchhalter f\xC3\xBCr Dateilisten (Version3.1)\r\rGeschrieben"));
    for (const auto& message : msgBox.shown) EXPECT_EQ(message.title, "Quarnel! 2.5");
}

TEST(MainFormBehaviour, LoadSetsTheCaptionThenReadsTheOptions) {
    testing::FakeSettingsStore store;
    store.values[{"Kelvaro's Tools", "Quarnel! 2.5", "Options"}] = "01010101001110";
    testing::FakePlacement placement;
    RecordingView view;
    OptionFlags = OptionFlagArray{};

    MainFormLoad(view, store, placement);
    EXPECT_EQ(view.caption, "Quarnel! 2.5");
    EXPECT_EQ(view.flagsWhenCaptioned, OptionFlagArray{});
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("01010101001110"));
    EXPECT_EQ(placement.calls, std::vector<bool>{true});
}

}  // namespace
}  // namespace quarnel
