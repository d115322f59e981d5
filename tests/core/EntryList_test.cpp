#include "core/EntryList.hpp"

#include <gtest/gtest.h>

#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

const testing::FakeTextRules rules;

TEST(EntryList, UnsortedKeepsArrivalOrderWithCrLfAfterEveryLine) {
    EntryList list(false);
    EXPECT_EQ(list.OutputText(rules), "");
    list.add("b.txt");
    list.add("a.txt");
    list.add("");
    EXPECT_EQ(list.OutputText(rules), "b.txt\r\na.txt\r\n\r\n");
}

TEST(EntryList, SortedRanksByKeyAndKeepsEqualEntriesInArrivalOrder) {
    EntryList list(true);
    for (const char* entry : {"b", "A.txt", "a.txt", "C", "a.TXT", "a.txt"}) list.add(entry);
    EXPECT_EQ(list.count(), 6u);
    EXPECT_EQ(list.OutputText(rules), "A.txt\r\na.txt\r\na.TXT\r\na.txt\r\nb\r\nC\r\n");
}

TEST(EntryList, ClearEmptiesAndLargeListsKeepEveryEntry) {
    EntryList list(true);
    for (int i = 0; i < 40000; ++i) list.add(std::to_string(40000 - i));
    EXPECT_EQ(list.count(), 40000u);
    const std::string text = list.OutputText(rules);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 40000);
    EXPECT_TRUE(text.starts_with("1\r\n10\r\n100\r\n"));
    list.clear();
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.OutputText(rules), "");
}

}  // namespace
}  // namespace quarnel
