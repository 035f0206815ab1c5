#include "toolkit/screen_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenScale, AtNinetySixPixelsPerInchNothingChanges) {
    for (int length = -500; length <= 1000; ++length) ASSERT_EQ(scaledToDpi(length, 96), length);
    const Rect numberBox{4, 6, 81, 21};
    const Rect same = scaledToDpi(numberBox, 96);
    EXPECT_EQ(same.left, 4);
    EXPECT_EQ(same.top, 6);
    EXPECT_EQ(same.width, 81);
    EXPECT_EQ(same.height, 21);
}

TEST(ScreenScale, LargeFontsRoundToTheNearestPixelWithHalvesAwayFromZero) {
    EXPECT_EQ(scaledToDpi(151, 120), 189);  // 188.75
    EXPECT_EQ(scaledToDpi(436, 120), 545);
    EXPECT_EQ(scaledToDpi(13, 144), 20);    // 19.5
    EXPECT_EQ(scaledToDpi(-13, 144), -20);  // a font's character height
    EXPECT_EQ(scaledToDpi(-12, 120), -15);
    EXPECT_EQ(scaledToDpi(0, 144), 0);
}

TEST(ScreenScale, ControlsThatTouchStillTouchAndNoneGrowsAPixelTooMany) {
    // Side by side across the results window's 151 pixels.
    const Rect left{0, 0, 5, 13};
    const Rect middle{5, 0, 140, 13};
    const Rect right{145, 0, 6, 13};
    for (const int dpi : {120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const Rect a = scaledToDpi(left, dpi);
        const Rect b = scaledToDpi(middle, dpi);
        const Rect c = scaledToDpi(right, dpi);
        EXPECT_EQ(a.right(), b.left);
        EXPECT_EQ(b.right(), c.left);
        EXPECT_EQ(c.right(), scaledToDpi(151, dpi));
        EXPECT_EQ(a.height, scaledToDpi(13, dpi));
    }
}

}  // namespace
