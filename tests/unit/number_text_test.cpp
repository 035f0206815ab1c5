#include "common/number_text.h"

#include <gtest/gtest.h>

#include <climits>

#include "common/app_error.h"

namespace {

struct Reading {
    const char* text;
    std::optional<int32_t> value;
};

// Control characters are shown in hex, so that test names stay on one line.
void PrintTo(const Reading& r, std::ostream* os) {
    const char digits[] = "0123456789ABCDEF";
    *os << '"';
    for (const char* p = r.text; *p; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        if (b < 0x20 || b >= 0x7F)
            *os << "\\x" << digits[b >> 4] << digits[b & 15];
        else
            *os << *p;
    }
    *os << '"';
}

class TextToNumber : public ::testing::TestWithParam<Reading> {};

TEST_P(TextToNumber, ReadsAsExpected) { EXPECT_EQ(tryTextToInt(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Decimal, TextToNumber,
                         ::testing::Values(Reading{"42", 42}, Reading{"+42", 42}, Reading{"-42", -42}, Reading{"0", 0},
                                           Reading{"-0", 0}, Reading{"007", 7}, Reading{"-007", -7},
                                           Reading{"0000000000002147483647", INT32_MAX},
                                           Reading{"2147483647", INT32_MAX}, Reading{"-2147483648", INT32_MIN},
                                           Reading{"2147483648", std::nullopt}, Reading{"-2147483649", std::nullopt},
                                           Reading{"99999999999999999999999", std::nullopt}, Reading{"+", std::nullopt},
                                           Reading{"-", std::nullopt}, Reading{"+-1", std::nullopt},
                                           Reading{"--1", std::nullopt}, Reading{"- 5", std::nullopt},
                                           Reading{"1.0", std::nullopt}, Reading{"1,000", std::nullopt},
                                           Reading{"1e3", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(HexPrefixes, TextToNumber,
                         ::testing::Values(Reading{"$10", 16}, Reading{"x10", 16}, Reading{"X10", 16},
                                           Reading{"0x10", 16}, Reading{"0X10", 16}, Reading{"$aBcD", 0xABCD},
                                           Reading{"0xabcdef", 0xABCDEF}, Reading{"$0", 0}));

INSTANTIATE_TEST_SUITE_P(HexThirtyTwoBits, TextToNumber,
                         ::testing::Values(Reading{"$7FFFFFFF", INT32_MAX}, Reading{"$80000000", INT32_MIN},
                                           Reading{"0xFFFFFFFF", -1}, Reading{"$00000000FFFFFFFF", -1},
                                           Reading{"$100000000", std::nullopt}, Reading{"0x1FFFFFFFF", std::nullopt},
                                           Reading{"$FFFFFFFFFFFFFFFFFFFF", std::nullopt}));

// A sign belongs to decimal numbers only; a prefix needs at least one digit.
INSTANTIATE_TEST_SUITE_P(HexMalformed, TextToNumber,
                         ::testing::Values(Reading{"$", std::nullopt}, Reading{"x", std::nullopt},
                                           Reading{"0x", std::nullopt}, Reading{"$-1", std::nullopt},
                                           Reading{"$+1", std::nullopt}, Reading{"0x-1", std::nullopt},
                                           Reading{"-$10", std::nullopt}, Reading{"+0x10", std::nullopt},
                                           Reading{"$1G", std::nullopt}, Reading{"$$10", std::nullopt},
                                           Reading{"0x 1", std::nullopt}, Reading{"00x10", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(BlanksAndTrailing, TextToNumber,
                         ::testing::Values(Reading{" 5", 5}, Reading{"\t\r\n 5", 5}, Reading{"   -5", -5},
                                           Reading{"  $10", 16}, Reading{"5 ", std::nullopt},
                                           Reading{"12a", std::nullopt}, Reading{"", std::nullopt},
                                           Reading{"   ", std::nullopt}, Reading{"abc", std::nullopt},
                                           Reading{"$10 ", std::nullopt}));

TEST(TextToNumber, EmbeddedNulIsATrailingCharacter) {
    EXPECT_EQ(tryTextToInt(std::string("5\0"
                                       "1",
                                       3)),
              std::nullopt);
}

TEST(TextToNumber, FailureNamesTheText) {
    try {
        textToInt("12a");
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
    }
}

TEST(TextToNumber, FailureOfEmptyTextQuotesNothing) { EXPECT_THROW(textToInt(""), AppError); }

TEST(TextToNumber, FallbackOnlyWhenNoNumber) {
    EXPECT_EQ(textToIntOr("abc", 7), 7);
    EXPECT_EQ(textToIntOr("0", 7), 0);
}

TEST(NumberToText, PlainDecimalWithMinusSign) {
    EXPECT_EQ(intToText(1234567), "1234567");
    EXPECT_EQ(intToText(0), "0");
    EXPECT_EQ(intToText(INT32_MIN), "-2147483648");
}

TEST(WrappingAdd, WrapsAtBothEnds) {
    EXPECT_EQ(wrappingAdd(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(wrappingAdd(INT32_MIN, -1), INT32_MAX);
    EXPECT_EQ(wrappingAdd(INT32_MAX, INT32_MAX), -2);
}

TEST(WrappingAdd, AddsWithinRange) {
    EXPECT_EQ(wrappingAdd(41, 1), 42);
    EXPECT_EQ(wrappingAdd(-5, 3), -2);
}

}  // namespace

// Found by fuzzing: a NUL inside the text cut the message short there, the
// rest of the sentence with it.
TEST(TextToNumber, FailureWithANulNamesTheTextUpToIt) {
    try {
        textToInt(
            std::string("\x1f"
                        "f\0\0",
                        4));
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(),
                     "'\x1f"
                     "f' is not a valid integer value");
    }
}
