#include "core/OptionSync.hpp"

#include <gtest/gtest.h>

#include "core/OptionStorage.hpp"
#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using testing::FakeOptionButtons;
using testing::FakePlacement;
using testing::FakeSettingsStore;

const FakeSettingsStore::Address cOptionsAddress{"Kelvaro's Tools", "Quarnel! 2.5", "Options"};

// The buttons selected as the characters of a fourteen-character "0"/"1" text say.
FakeOptionButtons ButtonsShowing(std::string_view pattern) {
    FakeOptionButtons buttons;
    for (int i = 0; i < cOptionCount; ++i) buttons.selected[i] = pattern[i] == '1';
    return buttons;
}

struct Clicks {
    FakeSettingsStore store;
    FakePlacement placement;
    std::vector<OptionClickResult> results;

    void Click(int index, const OptionButtons& buttons) {
        results.push_back(ApplyOptionClick(index, buttons, store, placement));
    }
};

TEST(OptionSync, SyncSetsEveryButtonFromTheFlagsAndTheClicksItCausesDoNothing) {
    // two flags on in "Sortierung", none in "Aufbau", a hand-edited 2 for "Immer oben"
    OptionFlags = OptionFlagsFromString("11000101002010");
    const OptionFlagArray before = OptionFlags.Snapshot();
    Clicks clicks;
    FakeOptionButtons buttons;
    buttons.onClick = [&](int index) { clicks.Click(index, buttons); };

    SyncOptionButtons(buttons);

    EXPECT_EQ(buttons.selected,
              (std::array<bool, cOptionCount>{true, true, false, false, false, true, false, true,
                                              false, false, true, false, true, false}));
    ASSERT_EQ(clicks.results.size(), 6u);  // every button that became selected raised its click
    for (OptionClickResult result : clicks.results) EXPECT_EQ(result, OptionClickResult::Ignored);
    EXPECT_TRUE(clicks.store.values.empty());
    EXPECT_TRUE(clicks.placement.calls.empty());
    EXPECT_EQ(OptionFlags.Snapshot(), before);
    EXPECT_EQ(buttons.inOptionSyncAtChange, std::vector<std::int16_t>(cOptionCount, -1));
    EXPECT_EQ(InOptionSync, 0);
}

TEST(OptionSync, AClickRebuildsAllFourteenFlagsFromTheButtonsAndSavesThem) {
    OptionFlags = OptionFlagsFromString("99999999999999");
    Clicks clicks;
    const FakeOptionButtons buttons = ButtonsShowing("10100011000101");

    clicks.Click(5, buttons);
    EXPECT_EQ(clicks.results, std::vector{OptionClickResult::Saved});
    EXPECT_EQ(clicks.store.values.at(cOptionsAddress), "10100011000101");
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("10100011000101"));
    EXPECT_TRUE(clicks.placement.calls.empty());

    // a frame without a selected button saves "0" for all its places
    clicks.Click(0, ButtonsShowing("10000000000000"));
    EXPECT_EQ(clicks.store.values.at(cOptionsAddress), "10000000000000");
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("1"));
}

TEST(OptionSync, ThePlacementButtonsMoveTheMainWindowAtOnce) {
    Clicks clicks;
    clicks.Click(10, ButtonsShowing("01010101001010"));
    EXPECT_EQ(clicks.placement.calls, std::vector<bool>{true});
    EXPECT_EQ(clicks.store.values.at(cOptionsAddress), "01010101001010");

    clicks.Click(11, ButtonsShowing("01010101000110"));
    EXPECT_EQ(clicks.placement.calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(clicks.store.values.at(cOptionsAddress), "01010101000110");

    // other buttons leave the window where it is, whatever flag 10 says
    for (int index : {0, 1, 9, 12, 13}) clicks.Click(index, ButtonsShowing("00000000001000"));
    EXPECT_EQ(clicks.placement.calls.size(), 2u);
}

TEST(OptionSync, ARefusedSaveStillChangesTheFlagsForThisRun) {
    OptionFlags = OptionFlagsFromString("01010101000110");
    Clicks clicks;
    clicks.store.refuseWrites = true;
    clicks.Click(2, ButtonsShowing("01100101000110"));
    EXPECT_EQ(clicks.results, std::vector{OptionClickResult::SaveRefused});
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("01100101000110"));
    EXPECT_TRUE(clicks.store.values.empty());
}

}  // namespace
}  // namespace quarnel
