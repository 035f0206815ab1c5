#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "freecell/statistics.h"

namespace freecell {

// Titles of the dialogs a player opens from the menu. None is a title that
// Tallykeep looks for, so none of them can be taken for one of the game's
// questions.
inline constexpr char kStatisticsTitle[] = "フリーセルの成績";
inline constexpr char kRulesTitle[] = "フリーセルの遊び方";
inline constexpr char kAboutTitle[] = "フリーセルのバージョン情報";

// One line of the statistics dialog (F4): what is counted, and its figure.
struct StatisticsLine {
    std::string label;
    std::string value;
};

// The six values as a player reads them: games won and lost, the share won
// in whole percent (rounded down; 0 before the first game), the longest
// streaks and the current one.
std::vector<StatisticsLine> statisticsLines(const Statistics& statistics);

// The rules in short, with the highest game number this edition deals. Lines
// end in CRLF, as a multi-line edit control shows them.
std::string rulesText(int32_t maxGameNumber);

// The version dialog's text: the game, its version, and the licence it is
// given under (LF or CRLF line ends in, CRLF out), each of its paragraphs
// one line for the dialog to wrap at its width.
std::string aboutText(const std::string& version, const std::string& licence);

}  // namespace freecell
