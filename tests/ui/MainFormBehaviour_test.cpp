#include "ui/MainFormBehaviour.hpp"

#include <gtest/gtest.h>

#include "core/AAB.hpp"
#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

struct RecordingCommands final : MainFormCommands {
    void OpenOptions() override { calls.push_back("options"); }
    void ShowHelp() override { calls.push_back("help"); }
    void ShowInfo() override { calls.push_back("info"); }
    std::vector<std::string> calls;
};

struct RecordingView final : MainFormView {
    void SetCaption(std::string_view newCaption) override {
        caption = newCaption;
        flagsWhenCaptioned = OptionFlags;
    }
    std::string caption;
    OptionFlagArray flagsWhenCaptioned{};
};

TEST(MainFormBehaviour, EachButtonDispatchesToItsOwnCommand) {
    RecordingCommands commands;
    for (int index : {2, 0, 1, 3, -1}) BtnClick(index, commands);
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"info", "options", "help"}));
}

TEST(MainFormBehaviour, LoadSetsTheCaptionThenReadsTheOptions) {
    testing::FakeSettingsStore store;
    store.values[{"Kelvaro's Tools", "Quarnel! 2.5", "Options"}] = "01010101001110";
    testing::FakePlacement placement;
    RecordingView view;
    OptionFlags.fill(0);

    MainFormLoad(view, store, placement);
    EXPECT_EQ(view.caption, "Quarnel! 2.5");
    EXPECT_EQ(view.flagsWhenCaptioned, OptionFlagArray{});
    EXPECT_EQ(OptionFlags, OptionFlagsFromString("01010101001110"));
    EXPECT_EQ(placement.calls, std::vector<bool>{true});
}

}  // namespace
}  // namespace quarnel
