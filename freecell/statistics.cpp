#include "freecell/statistics.h"

#include "freecell/wrapping.h"

namespace freecell {

void addWin(Statistics& statistics) {
    statistics.won = wrappingAdd(statistics.won, 1);
    if (statistics.stype == 1) {
        statistics.streak = wrappingAdd(statistics.streak, 1);
    } else {
        statistics.streak = 1;
        statistics.stype = 1;
    }
    if (statistics.streak > statistics.wins) statistics.wins = statistics.streak;
}

void addLoss(Statistics& statistics) {
    statistics.lost = wrappingAdd(statistics.lost, 1);
    if (statistics.stype == 0) {
        statistics.streak = wrappingAdd(statistics.streak, 1);
    } else {
        statistics.streak = 1;
        statistics.stype = 0;
    }
    if (statistics.streak > statistics.losses) statistics.losses = statistics.streak;
}

std::string describe(const Statistics& s) {
    return "won=" + std::to_string(s.won) + " lost=" + std::to_string(s.lost) + " wins=" + std::to_string(s.wins) +
           " losses=" + std::to_string(s.losses) + " streak=" + std::to_string(s.streak) +
           " stype=" + std::to_string(s.stype);
}

bool ResultRules::shouldRecordWin(int32_t gameNumber) const { return lastRecorded_ != gameNumber; }

bool ResultRules::shouldRecordLoss(int32_t gameNumber) const {
    return gameNumber != -1 && gameNumber != -2 && lastRecorded_ != gameNumber;
}

}  // namespace freecell
