#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Number to text: plain decimal without separators, "-" when negative.
std::string intToText(int32_t value);

// Text to number: leading blanks (spaces and control characters up to 0x20) are
// skipped; then an optional "+" or "-" and decimal digits, or one of the prefixes
// "$", "x", "X", "0x", "0X" and hexadecimal digits read unsigned into 32 bits
// (values above 7FFFFFFF come out negative). Leading zeros are accepted.
// Anything else (empty text, trailing characters, a decimal value outside the
// signed 32-bit range, more than 32 bits of hexadecimal) is no number.
std::optional<int32_t> tryTextToInt(const std::string& text);

// As tryTextToInt, but a text that is no number raises AppError with the
// message "'<text>' is not a valid integer value", the text up to a NUL in it.
int32_t textToInt(const std::string& text);

// As tryTextToInt, with a fallback for a text that is no number.
int32_t textToIntOr(const std::string& text, int32_t fallback);

// 32-bit addition that wraps as two's complement (2147483647 + 1 is -2147483648).
int32_t wrappingAdd(int32_t a, int32_t b);
