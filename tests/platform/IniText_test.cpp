#include "platform/posix/IniText.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(IniText, ReadsTheValueAsTyped) {
    EXPECT_EQ(IniValue("[General]\nOptions=01,1\n", "General", "Options"), "01,1");
    EXPECT_EQ(IniValue("[General]\r\n  Options =  0101 \r\n", "General", "Options"), "0101");
    EXPECT_EQ(IniValue("[General]\nOptions=\"01\", 1\n", "General", "Options"), "\"01\", 1");
    EXPECT_EQ(IniValue("[General]\nOptions=\n", "General", "Options"), "");
    EXPECT_EQ(IniValue("[General]\nOptions=01\nOptions=11\n", "General", "Options"), "01");
    EXPECT_EQ(IniValue("\xEF\xBB\xBF[General]\r\nOptions=11\r\n", "General", "Options"), "11");
}

TEST(IniText, MissingKeySectionOrFileIsNoValue) {
    EXPECT_EQ(IniValue("", "General", "Options"), std::nullopt);
    EXPECT_EQ(IniValue("Options=01\n", "General", "Options"), std::nullopt);
    EXPECT_EQ(IniValue("[Other]\nOptions=01\n", "General", "Options"), std::nullopt);
    EXPECT_EQ(IniValue("[General]\nOptionsX=01\n;Options=1\n", "General", "Options"), std::nullopt);
    EXPECT_EQ(IniValue("\x01\xFF garbage\n[[General\n", "General", "Options"), std::nullopt);
    EXPECT_EQ(IniValue("[General]\n[Other]\nOptions=01\n", "General", "Options"), std::nullopt);
}

TEST(IniText, WritingReplacesOnlyTheKeysLine) {
    const std::string before =
        "; notes\r\n[Other]\r\nOptions=keep\r\n[General]\r\nx=1\r\nOptions = 9\r\ny=2";
    EXPECT_EQ(
        WithIniValue(before, "General", "Options", "01010101000110"),
        "; notes\r\n[Other]\r\nOptions=keep\r\n[General]\r\nx=1\r\nOptions=01010101000110\r\ny=2");
}

TEST(IniText, WritingAddsWhatIsMissing) {
    EXPECT_EQ(WithIniValue("", "General", "Options", "1"), "[General]\nOptions=1\n");
    EXPECT_EQ(WithIniValue("[Other]\na=b", "General", "Options", "1"),
              "[Other]\na=b\n\n[General]\nOptions=1\n");
    EXPECT_EQ(WithIniValue("[General]\nx=1\n", "General", "Options", "1"),
              "[General]\nOptions=1\nx=1\n");
    EXPECT_EQ(WithIniValue("[General]", "General", "Options", "1"), "[General]\nOptions=1\n");
    // in the file's own line ends
    EXPECT_EQ(WithIniValue("[General]\r\nx=1\r\n", "General", "Options", "1"),
              "[General]\r\nOptions=1\r\nx=1\r\n");
    EXPECT_EQ(WithIniValue("[Other]\r\na=b", "General", "Options", "1"),
              "[Other]\r\na=b\r\n\r\n[General]\r\nOptions=1\r\n");
}

TEST(IniText, AByteOrderMarkStaysAndDoesNotHideTheSection) {
    const std::string text =
        WithIniValue("\xEF\xBB\xBF[General]\r\nOptions=11\r\n", "General", "Options", "0");
    EXPECT_EQ(text, "\xEF\xBB\xBF[General]\r\nOptions=0\r\n");
    EXPECT_EQ(IniValue(text, "General", "Options"), "0");
}

TEST(IniText, WhatIsWrittenReadsBackExactly) {
    for (const char* value : {"01010101000110", "", "1"}) {
        const std::string text =
            WithIniValue("[General]\nOptions=old\n", "General", "Options", value);
        EXPECT_EQ(IniValue(text, "General", "Options"), value);
    }
}

}  // namespace
}  // namespace quarnel
