#include "core/NameCheck.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(NameCheck, AcceptsPrintableUnicodeNames) {
    for (const char* name : {"/home/x/a.txt", "/tmp/Ärger über Öl – ß.txt", "/tmp/日本語",
                             "/tmp/emoji \xF0\x9F\x98\x80", "", "C:\\x\\b.txt"}) {
        EXPECT_FALSE(HasInvalidCharacters(name)) << name;
        EXPECT_EQ(PrintableName(name), name);
    }
}

TEST(NameCheck, RefusesQuestionMarksControlsAndBrokenUtf8) {
    for (const char* name :
         {"/tmp/wer?.txt", "/tmp/a\tb", "/tmp/a\rb", "/tmp/a\nb", "/tmp/\x7F", "/tmp/latin1 \xE4",
          "/tmp/cut \xC3", "/tmp/overlong \xC0\xAF", "/tmp/surrogate \xED\xA0\x80",
          "/tmp/c1 \xC2\x85", "/tmp/too big \xF4\x90\x80\x80"}) {
        EXPECT_TRUE(HasInvalidCharacters(name)) << name;
    }
}

TEST(NameCheck, PrintableNameReplacesEachOffendingByte) {
    EXPECT_EQ(PrintableName("a\tb\r\nc"), "a?b??c");
    EXPECT_EQ(PrintableName("m\xE4rz.txt"), "m?rz.txt");
    EXPECT_EQ(PrintableName("x\xC3"), "x?");
    EXPECT_EQ(PrintableName("\xC3\xA4\xE4\xC3\xA4"), "\xC3\xA4?\xC3\xA4");
    EXPECT_TRUE(IsPrintableUtf8(PrintableName("\xFF\xFE\x80 ok \xED\xA0\x80")));
}

// How many characters the option string reading sees in text.
std::size_t Characters(std::string_view text) {
    std::size_t count = 0;
    for (; !text.empty(); ++count) text.remove_prefix(CharacterLength(text));
    return count;
}

TEST(NameCheck, CharacterLengthTakesABrokenRunAsOneCharacterPerByte) {
    // overlong forms, above U+10FFFF, bad lead bytes, a five-byte form
    for (const std::string_view run :
         {"\xC0\x80", "\xC1\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF\x80\x80\x80",
          "\xF8\x88\x80\x80\x80"}) {
        EXPECT_EQ(Characters(run), run.size()) << testing::PrintToString(run);
    }
    // whole characters stay one each, a lone surrogate (from a Windows name) too
    EXPECT_EQ(Characters("a\xC3\xA4\xE2\x82\xAC\xF4\x8F\xBF\xBF\xF0\x9F\x98\x80\xED\xA0\x80"), 6u);
}

}  // namespace
}  // namespace quarnel
