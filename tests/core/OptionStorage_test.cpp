#include "core/OptionStorage.hpp"

#include <gtest/gtest.h>

#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using testing::FakePlacement;
using testing::FakeSettingsStore;

OptionFlagArray Flags(std::initializer_list<std::int16_t> values) {
    OptionFlagArray flags{};
    std::copy(values.begin(), values.end(), flags.begin());
    return flags;
}

struct LoadResult {
    OptionFlagArray flags;
    std::vector<bool> placementCalls;
};

LoadResult LoadWith(std::optional<std::string> stored) {
    FakeSettingsStore store;
    if (stored) store.values[{"Kelvaro's Tools", "Quarnel! 2.5", "Options"}] = *stored;
    FakePlacement placement;
    OptionFlagArray sevens;
    sevens.fill(7);
    OptionFlags = sevens;
    LoadOptions(store, placement);
    return {OptionFlags.Snapshot(), placement.calls};
}

TEST(OptionStorage, MissingValueGivesTheDefaultsAndLeavesTheWindowAlone) {
    const auto result = LoadWith(std::nullopt);
    EXPECT_EQ(result.flags, Flags({0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0}));
    EXPECT_TRUE(result.placementCalls.empty());
}

TEST(OptionStorage, ExistingEmptyValueTurnsEveryFlagOff) {
    EXPECT_EQ(LoadWith("").flags, OptionFlagArray{});
}

TEST(OptionStorage, ShortValuesReadMissingPlacesAsOff) {
    EXPECT_EQ(LoadWith("1").flags, Flags({1}));
    EXPECT_EQ(LoadWith("01,1").flags, Flags({0, 1, 0, 1}));

    const auto topmost = LoadWith("00000000001");
    EXPECT_EQ(topmost.flags, Flags({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(topmost.placementCalls, std::vector<bool>{true});
}

TEST(OptionStorage, LenientReadingOfOddCharacters) {
    // digits 2 to 9 keep their value, anything else reads 0, the rest after 14 is ignored
    EXPECT_EQ(LoadWith("9x 2-a00000001"
                       "111")
                  .flags,
              Flags({9, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(LoadWith("01010101000110"
                       "11111")
                  .flags,
              Flags({0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0}));
    EXPECT_EQ(LoadWith("11").flags, Flags({1, 1}));
    // by character, not by byte: an umlaut, a lone surrogate from the registry and a character
    // beyond 16 bits are one place each; a stray byte is one too
    EXPECT_EQ(LoadWith("0\xC3\xA4"
                       "010101000110")
                  .flags,
              Flags({0, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0}));
    EXPECT_EQ(LoadWith("\xED\xA0\x80"
                       "1\xF0\x9F\x98\x80"
                       "1\xFF"
                       "1\xC3"
                       "1")
                  .flags,
              Flags({0, 1, 0, 1, 0, 1, 0, 1}));
}

TEST(OptionStorage, AnyNonZeroDigitInPlaceTenRaisesTheWindow) {
    EXPECT_EQ(LoadWith("00000000005").placementCalls, std::vector<bool>{true});
}

TEST(OptionStorage, SaveKvSettingWritesUnderTheProgramsNames) {
    FakeSettingsStore store;
    EXPECT_TRUE(SaveKvSetting(store, cOptKey, "10100011000110"));
    const FakeSettingsStore::Address address{"Kelvaro's Tools", "Quarnel! 2.5", "Options"};
    EXPECT_EQ(store.values.at(address), "10100011000110");

    store.refuseWrites = true;
    EXPECT_FALSE(SaveKvSetting(store, cOptKey, "01010101000110"));
    EXPECT_EQ(store.values.at(address), "10100011000110");
}

}  // namespace
}  // namespace quarnel
