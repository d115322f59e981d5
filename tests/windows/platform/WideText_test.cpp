#include "platform/windows/support/WideText.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(WideText, RoundTripsEveryNameWindowsCanHold) {
    const std::wstring names[] = {L"",
                                  L"plain.txt",
                                  L"\u00C4rger \u00FCber \u00D6l \u2013 \u00DF.txt",
                                  L"\u65E5\u672C\u8A9E",
                                  L"emoji \U0001F600",
                                  L"lone high \xD800 end",
                                  L"lone low \xDC00",
                                  L"\xDBFF"};
    for (const std::wstring& name : names) {
        EXPECT_EQ(WideFromUtf8(Utf8FromWide(name)), name);
    }
    EXPECT_EQ(Utf8FromWide(L"\u00E4\U0001F600"), "\xC3\xA4\xF0\x9F\x98\x80");
}

TEST(WideText, ALoneSurrogateBecomesBytesThatAreNotValidText) {
    // the drop handling shows these as "?", while the walk still opens the folder by them
    EXPECT_EQ(Utf8FromWide(L"a\xD800"), "a\xED\xA0\x80");
}

TEST(WideText, BrokenUtf8LosesNoByte) {
    EXPECT_EQ(WideFromUtf8("a\xE4z"), L"a\u00E4z");
    EXPECT_EQ(WideFromUtf8("\xC3"), L"\u00C3");
    EXPECT_EQ(WideFromUtf8("\xF0\x9F\x98"), L"\u00F0\u009F\u0098");
}

}  // namespace
}  // namespace quarnel
