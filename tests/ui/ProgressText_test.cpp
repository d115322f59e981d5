#include "ui/ProgressText.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(ProgressText, NamesFoundInGermanWithDigitGroups) {
    EXPECT_EQ(NamesFoundText(0), "0 Namen gefunden");
    EXPECT_EQ(NamesFoundText(1), "1 Name gefunden");
    EXPECT_EQ(NamesFoundText(999), "999 Namen gefunden");
    EXPECT_EQ(NamesFoundText(1000), "1.000 Namen gefunden");
    EXPECT_EQ(NamesFoundText(12345), "12.345 Namen gefunden");
    EXPECT_EQ(NamesFoundText(1234567), "1.234.567 Namen gefunden");
    EXPECT_EQ(ProgressTitle(), "Liste wird erstellt – Quarnel! 2.5");
}

}  // namespace
}  // namespace quarnel
