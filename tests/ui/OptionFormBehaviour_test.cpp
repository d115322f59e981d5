#include "ui/OptionFormBehaviour.hpp"

#include <gtest/gtest.h>

#include "core/OptionStorage.hpp"
#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using testing::FakeMsgBox;
using testing::FakeOptionButtons;
using testing::FakePlacement;
using testing::FakeSettingsStore;

struct RecordingView final : CaptionedWindow {
    void SetCaption(std::string_view newCaption) override { caption = newCaption; }
    std::string caption = "Form2";
};

TEST(OptionFormBehaviour, LoadSetsTheCaption) {
    RecordingView view;
    OptionFormLoad(view);
    EXPECT_EQ(view.caption, "Quarnel! 2.5 Optionen");
}

struct Dialog {
    FakeSettingsStore store;
    FakePlacement placement;
    FakeMsgBox msgBox;
    OptionClickHandler clicks{store, placement, msgBox};
    FakeOptionButtons buttons;

    void Click(int index) {
        buttons.selected[index] = true;
        clicks.OnOptClick(index, buttons);
    }
};

TEST(OptionFormBehaviour, AStoreThatKeepsRefusingIsReportedOnceAndTheChoiceHolds) {
    OptionFlags = OptionFlagsFromString("01010101000110");
    Dialog dialog;
    dialog.store.refuseWrites = true;
    dialog.Click(3);
    dialog.Click(10);
    ASSERT_EQ(dialog.msgBox.shown.size(), 1u);
    EXPECT_EQ(dialog.msgBox.shown[0].prompt,
              "Die Optionen konnten nicht in '/home/anna/.config/Kelvaro's Tools/Quarnel! 2.5.ini' "
              "gespeichert werden.\r\rDie gewählte Einstellung gilt trotzdem, bis Quarnel! beendet "
              "wird. Beim nächsten Start gelten die voreingestellten Optionen, da dort noch keine "
              "gespeichert sind.");
    EXPECT_EQ(dialog.msgBox.shown[0].buttonsAndIcon, 64);
    EXPECT_EQ(dialog.msgBox.shown[0].title, "Quarnel! 2.5");
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("00010000001000"));
    EXPECT_EQ(dialog.placement.calls, std::vector<bool>{true});

    // the same handler serves the next opening of the dialog: still no second message
    dialog.buttons = FakeOptionButtons{};
    dialog.Click(12);
    EXPECT_EQ(dialog.msgBox.shown.size(), 1u);
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("00000000000010"));
}

TEST(OptionFormBehaviour, TheRefusalSaysWhatTheNextStartFindsAndWhere) {
    const auto refusal = [](FakeSettingsStore::Address stored, SettingsPlace place) {
        Dialog dialog;
        dialog.store.values[stored] = "11111111111111";
        dialog.store.place = std::move(place);
        dialog.store.refuseWrites = true;
        dialog.Click(0);
        return dialog.msgBox.shown.at(0).prompt;
    };
    const FakeSettingsStore::Address options{"Kelvaro's Tools", "Quarnel! 2.5", "Options"};
    const std::string key = "HKEY_CURRENT_USER\\Software\\Kelvaro's Tools\\Quarnel! 2.5";
    EXPECT_EQ(refusal(options, {key}),
              "Die Optionen konnten nicht in '" + key +
                  "' gespeichert werden.\r\rDie gewählte Einstellung gilt trotzdem, bis Quarnel! "
                  "beendet wird. Beim nächsten Start gelten wieder die zuletzt gespeicherten "
                  "Optionen.");
    // another program's options are none of ours
    EXPECT_TRUE(refusal({"Kelvaro's Tools", "Anderes", "Options"}, {key})
                    .ends_with("gelten die voreingestellten Optionen, da dort noch keine "
                               "gespeichert sind."));
    // what cannot be read counts as missing, whatever it holds; a long name is shortened
    const std::string folder = "/home/anna/" + std::string(300, 'x');
    EXPECT_EQ(refusal(options, {folder + "/Quarnel! 2.5.ini", false}),
              "Die Optionen konnten nicht in '/home/anna/" + std::string(109, 'x') + " … " +
                  std::string(103, 'x') +
                  "/Quarnel! 2.5.ini' gespeichert werden. Was dort steht, kann nicht gelesen "
                  "werden und bleibt unverändert.\r\rDie gewählte Einstellung gilt trotzdem, bis "
                  "Quarnel! beendet wird. Beim nächsten Start gelten daher die voreingestellten "
                  "Optionen.");
}

TEST(OptionFormBehaviour, ARefusalAfterASaveThatWorkedIsReportedAgain) {
    Dialog dialog;
    dialog.store.refuseWrites = true;
    dialog.Click(0);
    dialog.store.refuseWrites = false;
    dialog.Click(1);
    EXPECT_EQ(dialog.store.values.begin()->second, "11000000000000");
    dialog.store.refuseWrites = true;
    dialog.Click(2);
    EXPECT_EQ(dialog.msgBox.shown.size(), 2u);
}

TEST(OptionFormBehaviour, ClicksDuringSyncAreNeitherSavedNorReported) {
    OptionFlags = OptionFlagsFromString("11111111111111");
    Dialog dialog;
    dialog.store.refuseWrites = true;
    dialog.buttons.onClick = [&](int index) { dialog.clicks.OnOptClick(index, dialog.buttons); };
    SyncOptionButtons(dialog.buttons);
    EXPECT_TRUE(dialog.msgBox.shown.empty());
    EXPECT_TRUE(dialog.placement.calls.empty());
    EXPECT_EQ(OptionFlags.Snapshot(), OptionFlagsFromString("11111111111111"));
}

}  // namespace
}  // namespace quarnel
