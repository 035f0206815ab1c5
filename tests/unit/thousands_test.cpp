#include <gtest/gtest.h>

#include "controls/thousands.h"

namespace {

// Typing into the real box, caret cases included, is tested under Wine.
TEST(Thousands, GroupsByThreeFromTheRightAndKeepsTheSelectionInsideTheText) {
    EXPECT_EQ(groupThousands("123"), "123");
    EXPECT_EQ(groupThousands("1000000"), "1,000,000");
    // Anything but digits: no separator goes in among letters.
    EXPECT_EQ(groupThousands("-1234"), "-1234");
    EXPECT_EQ(groupThousands("12A45"), "12A45");
    EXPECT_EQ(groupThousands("1,234"), "1,234") << "separators are not removed first";
    EXPECT_EQ(regroupThousands("12,A45", {4, 4}).text, "12A45") << "a typed comma goes again";
    EXPECT_EQ(regroupThousands("9999,999", {2, 2}).selection.start, 3);
    // Pasted commas after the caret: the new length minus the distance is -5.
    const Regrouped pasted = regroupThousands("1,,,,,,2", {1, 2});
    EXPECT_EQ(pasted.text, "12");
    EXPECT_EQ(pasted.selection.start, 0);
    EXPECT_EQ(pasted.selection.end, 0);
}

// Typed with the IME on, digits are full-width: two bytes each in code page 932.
TEST(Thousands, TakesFullWidthDigitsAsDigitsAndNeverSplitsADoubleByteCharacter) {
    EXPECT_EQ(withAsciiDigits("１２３４"), "1234");
    EXPECT_EQ(withAsciiDigits("9０表"), "90表") << "other characters stay";
    EXPECT_EQ(groupThousands("1表234"), "1表234");

    // "1,234" with the caret after 2, and then ５ typed at the end.
    const Regrouped typed = regroupThousands("1,234５", {3, 3});
    EXPECT_EQ(typed.text, "12,345");
    EXPECT_EQ(typed.selection.start, 3) << "still between 2 and 3";
    const Regrouped atEnd = regroupThousands("１２３４", {8, 8});
    EXPECT_EQ(atEnd.text, "1,234");
    EXPECT_EQ(atEnd.selection.start, 5);
    const Regrouped ungrouped = tidyNumberText("12３", {4, 4}, false);
    EXPECT_EQ(ungrouped.text, "123");
    EXPECT_EQ(ungrouped.selection.end, 3);
    // A stray separator after the caret would place it inside あ.
    EXPECT_EQ(regroupThousands("あい,う", {2, 2}).selection.start, 0);
}

// A number copied from a page or a list: its first line, without the spaces
// around it; a full-width space counts, the trail byte 0x40 of another
// character does not.
TEST(Thousands, APasteTakesTheFirstLineWithoutTheSpacesAroundIt) {
    EXPECT_EQ(pastedNumberText(" \t12,345 \r\n678"), "12,345");
    EXPECT_EQ(pastedNumberText("　１２３　"), "１２３");
    EXPECT_EQ(pastedNumberText("1 2"), "1 2") << "spaces inside stay";
    EXPECT_EQ(pastedNumberText("\r\n123"), "");
    const std::string endsInTrailByte = "1\x81\x81\x40";  // "1", ＝ then "@"
    EXPECT_EQ(pastedNumberText(endsInTrailByte), endsInTrailByte);
}

}  // namespace
