#include <gtest/gtest.h>

#include <string>

#include "controls/thousands.h"

namespace {

TEST(GroupThousands, GroupsByThreeFromTheRightWhateverTheCharacters) {
    EXPECT_EQ(groupThousands(""), "");
    EXPECT_EQ(groupThousands("123"), "123");
    EXPECT_EQ(groupThousands("1234"), "1,234");
    EXPECT_EQ(groupThousands("123456"), "123,456");
    EXPECT_EQ(groupThousands("1000000"), "1,000,000");
    EXPECT_EQ(groupThousands("-1234"), "-1,234");
    EXPECT_EQ(groupThousands("12A4"), "1,2A4");
    EXPECT_EQ(groupThousands("1,234"), "1,,234") << "separators in the text count as characters";
    EXPECT_EQ(withoutSeparators(",1,,23,"), "123");
}

struct Caret {
    const char* name;
    const char* before;
    long start, end;
    const char* after;
    long newStart, newEnd;
};

class RegroupThousands : public ::testing::TestWithParam<Caret> {};

TEST_P(RegroupThousands, KeepsTheSelectionAtItsDistanceFromTheEnd) {
    const Caret& c = GetParam();
    const Regrouped r = regroupThousands(c.before, {c.start, c.end});
    EXPECT_EQ(r.text, c.after);
    EXPECT_EQ(r.selection.start, c.newStart);
    EXPECT_EQ(r.selection.end, c.newEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Typing, RegroupThousands,
    ::testing::Values(Caret{"FiveTypedAtTheEnd", "1,2345", 6, 6, "12,345", 6, 6},
                      Caret{"NineTypedAfterTheFirstDigit", "9999,999", 2, 2, "9,999,999", 3, 3},
                      Caret{"BackspaceAfterTheSeparator", "1234", 1, 1, "1,234", 2, 2},
                      Caret{"BackspaceAtTheEnd", "12,34", 5, 5, "1,234", 5, 5},
                      Caret{"TypedComma", "1,2,34", 4, 4, "1,234", 3, 3},
                      Caret{"AllSelected", "1,234,567", 0, 9, "1,234,567", 0, 9},
                      Caret{"PastedCommasAfterTheCaret", "1,,,,,,2", 1, 2, "12", 0, 0},
                      Caret{"Empty", "", 0, 0, "", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
