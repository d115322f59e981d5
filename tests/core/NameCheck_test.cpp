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

}  // namespace
}  // namespace quarnel
