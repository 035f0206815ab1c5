#include <gtest/gtest.h>

#include "controls/thousands.h"

namespace {

// Typing into the real box, caret cases included, is tested under Wine.
TEST(Thousands, GroupsByThreeFromTheRightAndKeepsTheSelectionInsideTheText) {
    EXPECT_EQ(groupThousands("123"), "123");
    EXPECT_EQ(groupThousands("1000000"), "1,000,000");
    EXPECT_EQ(groupThousands("-12A4"), "-1,2A4") << "every character counts";
    EXPECT_EQ(groupThousands("1,234"), "1,,234") << "separators are not removed first";
    EXPECT_EQ(regroupThousands("9999,999", {2, 2}).selection.start, 3);
    // Pasted commas after the caret: the new length minus the distance is -5.
    const Regrouped pasted = regroupThousands("1,,,,,,2", {1, 2});
    EXPECT_EQ(pasted.text, "12");
    EXPECT_EQ(pasted.selection.start, 0);
    EXPECT_EQ(pasted.selection.end, 0);
}

}  // namespace
