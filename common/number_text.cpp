#include "common/number_text.h"

#include "common/app_error.h"

namespace {

bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hexadecimal digits up to the end of the text, read unsigned into 32 bits.
// A sign, no digit at all, any other character or a value that needs more than
// 32 bits is no number; leading zeros do not count towards the 32 bits.
std::optional<int32_t> readHex(const std::string& text, size_t pos) {
    if (pos == text.size()) return std::nullopt;
    uint32_t value = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = hexDigitValue(text[pos]);
        if (digit < 0) return std::nullopt;
        if (value > 0x0FFFFFFFu) return std::nullopt;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return static_cast<int32_t>(value);
}

std::optional<int32_t> readDecimal(const std::string& text, size_t pos) {
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size()) return std::nullopt;
    // Accumulate the magnitude in 64 bits; stop as soon as it cannot fit.
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!isDecimalDigit(text[pos])) return std::nullopt;
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

std::string intToText(int32_t value) { return std::to_string(value); }

std::optional<int32_t> tryTextToInt(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= 0x20 && text[pos] != '\0') ++pos;
    if (pos == text.size()) return std::nullopt;

    const char first = text[pos];
    if (first == '$' || first == 'x' || first == 'X') return readHex(text, pos + 1);
    if (first == '0' && pos + 1 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X'))
        return readHex(text, pos + 2);
    return readDecimal(text, pos);
}

int32_t textToInt(const std::string& text) {
    if (const auto value = tryTextToInt(text)) return *value;
    // The message is shown as a NUL-terminated text: a NUL inside the text
    // would cut it short there, the rest of the sentence with it.
    throw AppError("'" + text.substr(0, text.find('\0')) + "' is not a valid integer value");
}

int32_t textToIntOr(const std::string& text, int32_t fallback) { return tryTextToInt(text).value_or(fallback); }

int32_t wrappingAdd(int32_t a, int32_t b) {
    // Unsigned arithmetic wraps by definition; the conversion back is modulo 2^32.
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
