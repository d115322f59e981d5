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

TEST(Geometry, TheDesignPlaceIsPhysicalWhileTheSizeGrowsWithTheFont) {
    const WindowLayout window{915, 2160, 240, 480};
    const PixelArea area = DesignClientArea(window, 144, 144 * 1.5);
    EXPECT_EQ(area.left, 24);
    EXPECT_EQ(area.top, 48);
    EXPECT_EQ(area.width, 137);
    EXPECT_EQ(area.height, 324);
}

}  // namespace
}  // namespace quarnel
