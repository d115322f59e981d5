#include "platform/icu/IcuTextRules.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace quarnel {
namespace {

std::string KeyOf(const IcuTextRules& rules, std::string_view text) {
    std::string key = "prefix";
    rules.AppendCollationKey(text, key);
    EXPECT_EQ(key.substr(0, 6), "prefix");
    return key.substr(6);
}

std::vector<std::string> SortedBy(const IcuTextRules& rules, std::vector<std::string> names) {
    std::stable_sort(names.begin(), names.end(), [&](const auto& a, const auto& b) {
        return KeyOf(rules, a) < KeyOf(rules, b);
    });
    return names;
}

TEST(IcuTextRules, GermanOrderPutsUmlautsBesideTheirLettersAndIgnoresCase) {
    const IcuTextRules german("de");
    EXPECT_EQ(SortedBy(german, {"Zitrone.txt", "Äpfel.txt", "birne.txt", "apfel.txt", "Ober.txt",
                                "Öl.txt", "Bus.txt"}),
              (std::vector<std::string>{"apfel.txt", "Äpfel.txt", "birne.txt", "Bus.txt",
                                        "Ober.txt", "Öl.txt", "Zitrone.txt"}));
    EXPECT_EQ(KeyOf(german, "README.txt"), KeyOf(german, "readme.TXT"));
    EXPECT_NE(KeyOf(german, "a"), KeyOf(german, "ä"));
    EXPECT_LT(KeyOf(german, ""), KeyOf(german, "a"));
}

TEST(IcuTextRules, TheLocaleDecidesAndARefusedNameSortsAsGerman) {
    const IcuTextRules swedish("sv_SE");
    EXPECT_EQ(SortedBy(swedish, {"Äpple", "Zebra", "Apa"}),
              (std::vector<std::string>{"Apa", "Zebra", "Äpple"}));
    for (const char* refused : {"nonexistentlocale", "abcdefghijklmnopqrstuvwxyz_XX"}) {
        SCOPED_TRACE(refused);
        std::unique_ptr<IcuTextRules> rules;
        ASSERT_NO_THROW(rules = std::make_unique<IcuTextRules>(refused));
        EXPECT_EQ(SortedBy(*rules, {"Äpple", "Zebra", "Apa"}),
                  (std::vector<std::string>{"Apa", "Äpple", "Zebra"}));
    }
}

TEST(IcuTextRules, CaseChangesOneCharacterForOne) {
    const IcuTextRules rules("de");
    EXPECT_EQ(rules.ToUpper("/home/jörg/straße_ä.txt"), "/HOME/JÖRG/STRAßE_Ä.TXT");
    EXPECT_EQ(rules.ToLower("ÄRGER ÜBER ÖL.TXT"), "ärger über öl.txt");
    EXPECT_EQ(rules.ToUpper("日本 \xF0\x9F\x98\x80 x"), "日本 \xF0\x9F\x98\x80 X");
    EXPECT_EQ(rules.ToLower("ΣΟΦΊΑ"), "σοφία");
    EXPECT_EQ(rules.ToUpper(""), "");
    const std::string longName(5000, 'a');
    EXPECT_EQ(rules.ToUpper(longName), std::string(5000, 'A'));
}

}  // namespace
}  // namespace quarnel
