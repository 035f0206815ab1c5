#pragma once

#include <string>

// The number box's separators, apart from any window: texts are code page 932
// bytes, and positions and lengths count bytes, separators included.

inline constexpr char kThousandsSeparator = ',';

// Inserts a separator between groups of three digits, counted from the
// right: "1234567" becomes "1,234,567"; a text of three digits or fewer stays
// as it is. A text that holds anything but ASCII digits (letters, a minus
// sign, a separator already in it) stays as it is: no separator goes in among
// letters.
std::string groupThousands(std::string text);

// What a paste puts into the box from the clipboard's text: its first line,
// without the spaces (ASCII, tab or full-width) at its two ends.
std::string pastedNumberText(const std::string& clipboard);

// The text with every separator removed.
std::string withoutSeparators(const std::string& text);

// A selection of an edit control; start == end is a caret.
struct TextSelection {
    long start = 0;
    long end = 0;
};

struct Regrouped {
    std::string text;
    TextSelection selection;
};

// The text with the full-width digits that the IME types (０ to ９) as the
// ASCII digits they are; every other character stays as it is.
std::string withAsciiDigits(const std::string& text);

// The displayed text with ASCII digits for full-width ones and, when grouped,
// without separators and regrouped (digits only, see groupThousands), with the selection kept at the same distance from the end of the
// text (a converted digit counting as the one byte it becomes). Positions that
// would fall outside the new text (stray separators after the caret) are held
// between 0 and its length, and never fall inside a double-byte character.
Regrouped tidyNumberText(const std::string& displayed, TextSelection selection, bool grouped);

// tidyNumberText, grouped.
Regrouped regroupThousands(const std::string& displayed, TextSelection selection);
