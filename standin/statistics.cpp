#include "standin/statistics.h"

namespace standin {

namespace {

// Counters wrap like the game's own 32-bit values instead of overflowing.
int32_t plusOne(int32_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value) + 1u); }

}  // namespace

void addWin(Statistics& statistics) {
    statistics.won = plusOne(statistics.won);
    if (statistics.stype == 1) {
        statistics.streak = plusOne(statistics.streak);
    } else {
        statistics.streak = 1;
        statistics.stype = 1;
    }
    if (statistics.streak > statistics.wins) statistics.wins = statistics.streak;
}

void addLoss(Statistics& statistics) {
    statistics.lost = plusOne(statistics.lost);
    if (statistics.stype == 0) {
        statistics.streak = plusOne(statistics.streak);
    } else {
        statistics.streak = 1;
        statistics.stype = 0;
    }
    if (statistics.streak > statistics.losses) statistics.losses = statistics.streak;
}

std::string describe(const Statistics& s) {
    return "won=" + std::to_string(s.won) + " lost=" + std::to_string(s.lost) +
           " wins=" + std::to_string(s.wins) + " losses=" + std::to_string(s.losses) +
           " streak=" + std::to_string(s.streak) + " stype=" + std::to_string(s.stype);
}

bool ResultRules::shouldRecordWin(int32_t gameNumber) const { return lastRecorded_ != gameNumber; }

bool ResultRules::shouldRecordLoss(int32_t gameNumber) const {
    return gameNumber != -1 && gameNumber != -2 && lastRecorded_ != gameNumber;
}

}  // namespace standin
