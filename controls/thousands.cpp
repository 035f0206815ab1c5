#include "controls/thousands.h"

#include <algorithm>
#include <vector>

#include "common/code_page_932.h"

namespace {

// The length in bytes of the character at this place: 2 for a double-byte
// character, 1 for anything else (a lead byte at the very end included).
std::size_t characterLength(const std::string& text, std::size_t at) {
    return isLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// The text with full-width digits as ASCII digits, and for every byte of the
// given text where its character starts in the new one.
struct Converted {
    std::string text;
    std::vector<long> startOf;  // one per byte of the old text, and one for its end
};

Converted convertDigits(const std::string& text) {
    Converted converted;
    converted.text.reserve(text.size());
    converted.startOf.reserve(text.size() + 1);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = characterLength(text, at);
        const long start = static_cast<long>(converted.text.size());
        converted.startOf.insert(converted.startOf.end(), length, start);
        const char digit = length == 2 ? asciiDigitOfFullWidth(text[at], text[at + 1]) : 0;
        if (digit)
            converted.text += digit;
        else
            converted.text.append(text, at, length);
        at += length;
    }
    converted.startOf.push_back(static_cast<long>(converted.text.size()));
    return converted;
}

// The start of the character of the text at or before this place.
long characterStartAtOrBefore(const std::string& text, long place) {
    long start = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = at + characterLength(text, at);
        if (static_cast<long>(next) > place) break;
        start = static_cast<long>(next);
        at = next;
    }
    return start;
}

}  // namespace

std::string groupThousands(std::string text) {
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return text;
    // From the right, so that each insertion leaves the places before it as they are.
    for (std::size_t count = text.size(); count > 3;) {
        count -= 3;
        text.insert(count, 1, kThousandsSeparator);
    }
    return text;
}

std::string pastedNumberText(const std::string& clipboard) {
    std::string line = clipboard.substr(0, clipboard.find_first_of("\r\n"));
    static const std::string kFullWidthSpace = "　";
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        if (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.erase(0, 1);
            trimmed = true;
        } else if (line.compare(0, kFullWidthSpace.size(), kFullWidthSpace) == 0) {
            line.erase(0, kFullWidthSpace.size());
            trimmed = true;
        }
    }
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        if (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
            line.pop_back();
            trimmed = true;
        } else if (line.size() >= kFullWidthSpace.size() &&
                   line.compare(line.size() - kFullWidthSpace.size(), kFullWidthSpace.size(), kFullWidthSpace) == 0 &&
                   characterStartAtOrBefore(line, static_cast<long>(line.size() - kFullWidthSpace.size())) ==
                       static_cast<long>(line.size() - kFullWidthSpace.size())) {
            line.erase(line.size() - kFullWidthSpace.size());
            trimmed = true;
        }
    }
    return line;
}

std::string withoutSeparators(const std::string& text) {
    // A trail byte is 0x40 or above, so no byte of a double-byte character is a separator.
    std::string plain;
    plain.reserve(text.size());
    for (const char c : text)
        if (c != kThousandsSeparator) plain += c;
    return plain;
}

std::string withAsciiDigits(const std::string& text) { return convertDigits(text).text; }

Regrouped tidyNumberText(const std::string& displayed, TextSelection selection, bool grouped) {
    const Converted converted = convertDigits(displayed);
    const long length = static_cast<long>(converted.text.size());
    const auto convertedPlace = [&](long place) {
        return converted.startOf[static_cast<std::size_t>(std::clamp(place, 0L, static_cast<long>(displayed.size())))];
    };
    const long fromEndOfStart = length - convertedPlace(selection.start);
    const long fromEndOfEnd = length - convertedPlace(selection.end);
    Regrouped result{grouped ? groupThousands(withoutSeparators(converted.text)) : converted.text, {}};
    const long newLength = static_cast<long>(result.text.size());
    const auto keep = [&](long fromEnd) {
        return characterStartAtOrBefore(result.text, std::clamp(newLength - fromEnd, 0L, newLength));
    };
    result.selection = {keep(fromEndOfStart), keep(fromEndOfEnd)};
    return result;
}

Regrouped regroupThousands(const std::string& displayed, TextSelection selection) {
    return tidyNumberText(displayed, selection, true);
}
