#pragma once

#include <cstdint>
#include <string>

// Tallykeep's own counts. Declared in this order: the six totals lie in the
// order of the game's own statistics values.
struct ScoreLedger {
    int32_t wins = 0;  // longest winning streak
    int32_t won = 0;
    int32_t lost = 0;
    int32_t losses = 0;  // longest losing streak
    int32_t streak = 0;
    int32_t stype = 0;    // 1 winning, 0 losing; other values only from a hand-edited file
    int32_t runWins = 0;  // this run only, never saved
    int32_t runLosses = 0;

    void recordWin();
    void recordLoss();
    void clearTotals();  // the six totals become 0; the run counts stay
};

// "00.00%" of w / (w + l) x 100, computed in floating point, stored as a 32-bit
// float and formatted with the third decimal rounding half up; 0 when w + l is 0.
std::string percentText(int32_t won, int32_t lost);

// streak followed by "連勝中" when stype is 1, otherwise by "連敗中".
std::string streakText(int32_t streak, int32_t stype);
