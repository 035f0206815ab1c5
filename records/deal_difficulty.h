#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/deal_table.h"

// How hard a deal is, as a player reads it: the fewest free cells that win it
// (the deals' table's answer), or that it cannot be won at all.
enum class DifficultyLevel : uint8_t {
    freeCells0,
    freeCells1,
    freeCells2,
    freeCells3,
    freeCells4,
    // Won with four free cells; whether fewer would do is not known.
    fourCellsAtMost,
    cannotBeWon,
    // The table has no answer: undecided, not examined, outside it, or no table.
    unknown,
};
inline constexpr int kDifficultyLevels = 8;

DifficultyLevel difficultyLevel(const DealFacts& facts);

// A deal's level within 1..maxGameNumber: a deal on `impossible` (ascending:
// the table's, and the known ones it has no answer for) cannot be won; the
// others as the table says. Unknown without a table.
DifficultyLevel difficultyOf(const DealTable* table, const std::vector<int32_t>& impossible, int32_t maxGameNumber,
                             int32_t number);

// The word shown beside the number box and in the progress window:
// "フリーセル2枚", "フリーセル4枚以内", "解けない"; empty for unknown.
const char* difficultyWord(DifficultyLevel level);

// The one message for a table that was refused; empty for a table that is
// simply absent (a copied Tallykeep.exe), which is not told.
std::string dealTableRefusalMessage(const DealTableLoad& load, const std::string& path);
