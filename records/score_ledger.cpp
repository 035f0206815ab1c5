#include "records/score_ledger.h"

#include <cmath>
#include <cstdio>

#include "common/number_text.h"

void ScoreLedger::recordWin() {
    runWins = wrappingAdd(runWins, 1);
    won = wrappingAdd(won, 1);
    streak = stype == 1 ? wrappingAdd(streak, 1) : 1;
    stype = 1;
    if (streak > wins) wins = streak;
}

void ScoreLedger::recordLoss() {
    runLosses = wrappingAdd(runLosses, 1);
    lost = wrappingAdd(lost, 1);
    // Not the mirror of recordWin: only a stype of exactly 0 continues a losing
    // streak, so a hand-edited stype starts a new streak for either result.
    streak = stype != 0 ? 1 : wrappingAdd(streak, 1);
    if (streak > losses) losses = streak;
    stype = 0;
}

void ScoreLedger::clearTotals() { wins = won = lost = losses = streak = stype = 0; }

std::string percentText(int32_t won, int32_t lost) {
    const int32_t games = wrappingAdd(won, lost);
    const float value = games == 0 ? 0.0f : static_cast<float>(static_cast<double>(won) / games * 100.0);

    // The float has 24 significant bits and 100 has 5 (25 x 4), so value x 100 is
    // exact in a double; splitting off its integer part is exact too. That lets
    // an exact half cent round up, where printf would round the binary value
    // half to even (0.125 would print as 0.12).
    const double cents = std::fabs(static_cast<double>(value) * 100.0);
    const double whole = std::floor(cents);
    const int64_t rounded = static_cast<int64_t>(whole) + (cents - whole >= 0.5 ? 1 : 0);

    char text[48];
    std::snprintf(text, sizeof text, "%s%02lld.%02lld%%", value < 0 && rounded != 0 ? "-" : "",
                  static_cast<long long>(rounded / 100), static_cast<long long>(rounded % 100));
    return text;
}

std::string streakText(int32_t streak, int32_t stype) { return intToText(streak) + (stype == 1 ? "連勝中" : "連敗中"); }
