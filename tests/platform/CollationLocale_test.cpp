#include "platform/icu/CollationLocale.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(CollationLocale, TheUsersLocaleWinsInSetlocaleOrder) {
    EXPECT_EQ(CollationLocaleName("sv_SE.UTF-8", "en_GB.UTF-8", "fr_FR"), "sv_SE");
    EXPECT_EQ(CollationLocaleName("", "en_GB.UTF-8", "fr_FR"), "en_GB");
    EXPECT_EQ(CollationLocaleName(nullptr, nullptr, "de_AT.UTF-8@euro"), "de_AT");
    EXPECT_EQ(CollationLocaleName(nullptr, nullptr, "fr_FR@euro"), "fr_FR");
}

TEST(CollationLocale, GermanWhereNoLocaleIsSet) {
    EXPECT_EQ(CollationLocaleName(nullptr, nullptr, nullptr), "de");
    EXPECT_EQ(CollationLocaleName("C", "sv_SE", "sv_SE"), "de");
    EXPECT_EQ(CollationLocaleName("C.UTF-8", nullptr, nullptr), "de");
    EXPECT_EQ(CollationLocaleName(nullptr, "POSIX", nullptr), "de");
}

}  // namespace
}  // namespace quarnel
