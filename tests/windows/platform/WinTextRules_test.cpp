#include "platform/windows/WinTextRules.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quarnel {
namespace {

std::string KeyOf(const WinTextRules& rules, std::string_view text) {
    std::string key;
    rules.AppendCollationKey(text, key);
    return key;
}

TEST(WinTextRules, SortsUmlautsBesideTheirLettersAndIgnoresCase) {
    const WinTextRules rules;
    std::vector<std::string> names = {"Zebra.txt",
                                      "\xC3\xB6l.txt",
                                      "Ofen.txt",
                                      "bach.txt",
                                      "\xC3\x84rger.txt",
                                      "apfel.txt",
                                      "Bach2.txt",
                                      "\xC3\xBC"
                                      "ber.txt",
                                      "Ufer.txt"};
    std::ranges::sort(names, [&](const std::string& a, const std::string& b) {
        return KeyOf(rules, a) < KeyOf(rules, b);
    });
    EXPECT_EQ(names, (std::vector<std::string>{"apfel.txt", "\xC3\x84rger.txt", "bach.txt",
                                               "Bach2.txt", "Ofen.txt", "\xC3\xB6l.txt",
                                               "\xC3\xBC"
                                               "ber.txt",
                                               "Ufer.txt", "Zebra.txt"}));
    EXPECT_EQ(KeyOf(rules, "Datei.TXT"), KeyOf(rules, "datei.txt"));
    EXPECT_NE(KeyOf(rules, "a"), KeyOf(rules, "b"));
}

TEST(WinTextRules, KeysAppendToOneBufferWithoutTheirEndMark) {
    const WinTextRules rules;
    std::string keys;
    rules.AppendCollationKey("abc", keys);
    const std::size_t first = keys.size();
    rules.AppendCollationKey("", keys);
    EXPECT_EQ(keys.size(), first);
    rules.AppendCollationKey("abd", keys);
    ASSERT_GT(first, 0u);
    EXPECT_NE(keys[first - 1], '\0');
    EXPECT_LT(keys.substr(0, first), keys.substr(first));
}

TEST(WinTextRules, ChangesCaseOneCharacterForOne) {
    const WinTextRules rules;
    EXPECT_EQ(rules.ToUpper("stra\xC3\x9F"
                            "e \xC3\xA4\xC3\xB6\xC3\xBC.txt"),
              "STRA\xC3\x9F"
              "E \xC3\x84\xC3\x96\xC3\x9C.TXT");
    EXPECT_EQ(rules.ToLower("C:\\ORDNER\\\xC3\x84RGER.TXT"), "c:\\ordner\\\xC3\xA4rger.txt");
    EXPECT_EQ(rules.ToUpper(""), "");
    EXPECT_EQ(rules.ToUpper("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace quarnel
