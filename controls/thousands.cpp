#include "controls/thousands.h"

#include <algorithm>

std::string groupThousands(std::string text) {
    for (size_t i = text.size(); i > 3;) {
        i -= 3;
        text.insert(i, 1, kThousandsSeparator);
    }
    return text;
}

std::string withoutSeparators(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (const char c : text)
        if (c != kThousandsSeparator) plain += c;
    return plain;
}

Regrouped regroupThousands(const std::string& displayed, TextSelection selection) {
    const long length = static_cast<long>(displayed.size());
    const long fromEndOfStart = length - selection.start;
    const long fromEndOfEnd = length - selection.end;
    Regrouped result{groupThousands(withoutSeparators(displayed)), {}};
    const long newLength = static_cast<long>(result.text.size());
    const auto keep = [newLength](long fromEnd) { return std::clamp(newLength - fromEnd, 0L, newLength); };
    result.selection = {keep(fromEndOfStart), keep(fromEndOfEnd)};
    return result;
}
