#include "core/EntryList.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

const testing::FakeTextRules rules;

TEST(EntryList, UnsortedKeepsArrivalOrderWithCrLfAfterEveryLine) {
    EntryList list(false, rules);
    EXPECT_EQ(list.TakeText().Joined(), "");
    list.Add("b.txt");
    list.Add("a.txt");
    list.Add("");
    EXPECT_EQ(list.TakeText().Joined(), "b.txt\r\na.txt\r\n\r\n");
}

// The name of arrival number i as upper and lower case letters: every one has the key
// "aaaaaa", and each is told apart from the others.
std::string CaseVariant(int i) {
    std::string name;
    for (int bit = 5; bit >= 0; --bit) name += ((i >> bit) & 1) != 0 ? 'A' : 'a';
    return name;
}

TEST(EntryList, SortedRanksByKeyAndKeepsEqualEntriesInArrivalOrder) {
    // Far more equal keys than a sort that is not stable leaves in their place by chance.
    constexpr int cEqual = 48;
    EntryList list(true, rules);
    std::string expected = "0\r\n";
    for (int i = 0; i < cEqual; ++i) {
        const int arrival = (i * 29) % cEqual;
        list.Add(CaseVariant(arrival));
        expected += CaseVariant(arrival) + "\r\n";
        if (i % 3 == 0) list.Add(i % 2 == 0 ? "B" : "0");
    }
    expected.insert(0, "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    for (int i = 0; i < 8; ++i) expected += "B\r\n";
    EXPECT_EQ(list.Count(), static_cast<std::size_t>(cEqual + 16));
    EXPECT_EQ(list.TakeText().Joined(), expected);
}

TEST(EntryList, SortedOrderIsThatOfAStableSortOfTheKeys) {
    // Keys of every length around the eight bytes the sort looks at per round, many sharing long
    // starts, some with 0 bytes, so runs of equal bytes go several rounds deep.
    std::mt19937 random(7);
    std::vector<std::string> entries;
    for (int i = 0; i < 3000; ++i) {
        std::string entry(random() % 30, 'a');
        for (char& c : entry) c = "aAb\0"[random() % (random() % 5 == 0 ? 4 : 2)];
        entries.push_back(entry);
    }
    EntryList list(true, rules);
    for (const std::string& entry : entries) list.Add(entry);
    std::stable_sort(
        entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
            return testing::FakeTextRules::Lowered(a) < testing::FakeTextRules::Lowered(b);
        });
    std::string expected;
    for (const std::string& entry : entries) expected += entry + "\r\n";
    EXPECT_EQ(list.TakeText().Joined(), expected);
}

TEST(EntryList, LargeListsKeepEveryEntryAndTakingTheTextEmptiesThem) {
    EntryList sorted(true, rules);
    for (int i = 0; i < 40000; ++i) sorted.Add(std::to_string(40000 - i));
    EXPECT_EQ(sorted.Count(), 40000u);
    const std::string text = sorted.TakeText().Joined();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 40000);
    EXPECT_TRUE(text.starts_with("1\r\n10\r\n100\r\n"));
    EXPECT_EQ(sorted.Count(), 0u);
    EXPECT_EQ(sorted.TakeText().Joined(), "");

    // entries longer than the pieces the text is made in, kept beyond the first few megabytes
    const std::string huge(3'000'000, 'x');
    sorted.Add("Z");
    sorted.Add(huge + "2");
    sorted.Add("y");
    sorted.Add(huge + "1");
    const OutputText hugeText = sorted.TakeText();
    EXPECT_EQ(hugeText.Size(), 2 * huge.size() + 12);
    EXPECT_EQ(hugeText.Joined(), huge + "1\r\n" + huge + "2\r\ny\r\nZ\r\n");

    // more than the text's chunks hold, with entries cut between two of them
    EntryList unsorted(false, rules);
    std::string expected;
    for (int i = 0; i < 300000; ++i) {
        const std::string entry = "/ein/langer/Pfad/" + std::to_string(i);
        unsorted.Add(entry);
        expected += entry + "\r\n";
    }
    const OutputText taken = unsorted.TakeText();
    int pieces = 0;
    taken.ForEachPiece([&](std::string_view) { ++pieces; });
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(taken.Size(), expected.size());
    EXPECT_EQ(taken.Joined(), expected);
    EXPECT_EQ(unsorted.Count(), 0u);
}

}  // namespace
}  // namespace quarnel
