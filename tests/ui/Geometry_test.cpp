#include "ui/Geometry.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(Geometry, TwipsBecomePixelsAtTheScreensDpi) {
    EXPECT_EQ(pixelsFromTwips(915, 96), 61);
    EXPECT_EQ(pixelsFromTwips(2160, 96), 144);
    EXPECT_EQ(pixelsFromTwips(795, 96), 53);
    EXPECT_EQ(pixelsFromTwips(915, 192), 122);
    EXPECT_EQ(pixelsFromTwips(7, 96), 0);
    EXPECT_EQ(pixelsFromTwips(8, 96), 1);
}

TEST(Geometry, OnlyAWiderFontScalesTheWindow) {
    EXPECT_DOUBLE_EQ(FontScaleFactor(5.5), 1.0);
    EXPECT_DOUBLE_EQ(FontScaleFactor(4.0), 1.0);
    EXPECT_DOUBLE_EQ(FontScaleFactor(8.25), 1.5);
}

}  // namespace
}  // namespace quarnel
