#include "records/score_ledger.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

namespace {

ScoreLedger ledgerWith(int32_t streak, int32_t stype, int32_t wins = 0, int32_t losses = 0) {
    ScoreLedger ledger;
    ledger.streak = streak;
    ledger.stype = stype;
    ledger.wins = wins;
    ledger.losses = losses;
    return ledger;
}

TEST(FreshLedger, ShowsZeroPercentAndALosingStreakOfZero) {
    const ScoreLedger ledger;
    EXPECT_EQ(percentText(ledger.runWins, ledger.runLosses), "00.00%");
    EXPECT_EQ(percentText(ledger.won, ledger.lost), "00.00%");
    EXPECT_EQ(streakText(ledger.streak, ledger.stype), "0連敗中");
}

TEST(recordWin, AfterALosingStreakStartsAWinningStreakOfOne) {
    ScoreLedger ledger = ledgerWith(4, 0, 3);
    ledger.won = 10;
    ledger.recordWin();
    EXPECT_EQ(ledger.streak, 1);
    EXPECT_EQ(ledger.stype, 1);
    EXPECT_EQ(ledger.won, 11);
    EXPECT_EQ(ledger.wins, 3);
    EXPECT_EQ(ledger.runWins, 1);
}

TEST(recordWin, RaisesLongestWinningStreakFromZero) {
    ScoreLedger ledger = ledgerWith(4, 0, 0);
    ledger.recordWin();
    EXPECT_EQ(ledger.wins, 1);
}

TEST(recordWin, LongestStreakGrowsOnlyWhenExceeded) {
    ScoreLedger ledger = ledgerWith(2, 1, 4);
    ledger.recordWin();
    EXPECT_EQ(ledger.streak, 3);
    EXPECT_EQ(ledger.wins, 4);
    ledger.recordWin();
    EXPECT_EQ(ledger.streak, 4);
    EXPECT_EQ(ledger.wins, 4);
    ledger.recordWin();
    EXPECT_EQ(ledger.streak, 5);
    EXPECT_EQ(ledger.wins, 5);
}

TEST(recordLoss, ContinuesALosingStreak) {
    ScoreLedger ledger = ledgerWith(2, 0, 0, 2);
    ledger.recordLoss();
    EXPECT_EQ(ledger.streak, 3);
    EXPECT_EQ(ledger.losses, 3);
    EXPECT_EQ(ledger.lost, 1);
    EXPECT_EQ(ledger.runLosses, 1);
}

TEST(recordLoss, AfterAWinningStreakStartsALosingStreakOfOne) {
    ScoreLedger ledger = ledgerWith(5, 1, 5, 3);
    ledger.recordLoss();
    EXPECT_EQ(ledger.streak, 1);
    EXPECT_EQ(ledger.stype, 0);
    EXPECT_EQ(ledger.losses, 3);
}

TEST(HandEditedStreakKind, ShowsAsLosingStreak) { EXPECT_EQ(streakText(4, 7), "4連敗中"); }

TEST(HandEditedStreakKind, WinStartsANewWinningStreak) {
    ScoreLedger ledger = ledgerWith(4, 7);
    ledger.recordWin();
    EXPECT_EQ(ledger.streak, 1);
    EXPECT_EQ(ledger.stype, 1);
}

TEST(HandEditedStreakKind, LossStartsANewLosingStreak) {
    ScoreLedger ledger = ledgerWith(4, 7);
    ledger.recordLoss();
    EXPECT_EQ(ledger.streak, 1);
    EXPECT_EQ(ledger.stype, 0);
}

TEST(StreakText, WinningStreak) { EXPECT_EQ(streakText(3, 1), "3連勝中"); }

TEST(StreakText, NegativeStreakKeepsItsSign) { EXPECT_EQ(streakText(-2, 0), "-2連敗中"); }

TEST(ClearTotals, ZeroesTheTotalsAndKeepsTheRunCounts) {
    ScoreLedger ledger = ledgerWith(3, 1, 6, 2);
    ledger.won = 9;
    ledger.lost = 4;
    ledger.runWins = 5;
    ledger.runLosses = 2;
    ledger.clearTotals();
    EXPECT_EQ(percentText(ledger.won, ledger.lost), "00.00%");
    EXPECT_EQ(ledger.won, 0);
    EXPECT_EQ(ledger.lost, 0);
    EXPECT_EQ(ledger.wins, 0);
    EXPECT_EQ(ledger.losses, 0);
    EXPECT_EQ(streakText(ledger.streak, ledger.stype), "0連敗中");
    EXPECT_EQ(percentText(ledger.runWins, ledger.runLosses), "71.43%");
    EXPECT_EQ(ledger.runWins, 5);
    EXPECT_EQ(ledger.runLosses, 2);
}

TEST(CounterWrap, WonWrapsToMinimum) {
    ScoreLedger ledger;
    ledger.won = INT32_MAX;
    ledger.runWins = INT32_MAX;
    ledger.recordWin();
    EXPECT_EQ(ledger.won, INT32_MIN);
    EXPECT_EQ(ledger.runWins, INT32_MIN);
}

TEST(CounterWrap, WinningStreakWrapsAndLongestStaysAtMaximum) {
    ScoreLedger ledger = ledgerWith(INT32_MAX, 1, INT32_MAX);
    ledger.recordWin();
    EXPECT_EQ(ledger.streak, INT32_MIN);
    EXPECT_EQ(ledger.wins, INT32_MAX);
}

TEST(CounterWrap, LosingCountersWrap) {
    ScoreLedger ledger = ledgerWith(INT32_MAX, 0, 0, INT32_MAX);
    ledger.lost = INT32_MAX;
    ledger.runLosses = INT32_MAX;
    ledger.recordLoss();
    EXPECT_EQ(ledger.streak, INT32_MIN);
    EXPECT_EQ(ledger.losses, INT32_MAX);
    EXPECT_EQ(ledger.lost, INT32_MIN);
    EXPECT_EQ(ledger.runLosses, INT32_MIN);
}

TEST(PercentText, TwoOfThree) { EXPECT_EQ(percentText(2, 1), "66.67%"); }
TEST(PercentText, OneOfThree) { EXPECT_EQ(percentText(1, 2), "33.33%"); }
TEST(PercentText, OneOfTwentyHasLeadingZero) { EXPECT_EQ(percentText(1, 19), "05.00%"); }
TEST(PercentText, AllWonIsHundred) { EXPECT_EQ(percentText(4, 0), "100.00%"); }
TEST(PercentText, NoGamesIsZero) { EXPECT_EQ(percentText(0, 0), "00.00%"); }
TEST(PercentText, NoneWonIsZero) { EXPECT_EQ(percentText(0, 5), "00.00%"); }
TEST(PercentText, ExactHalfCentRoundsUp) { EXPECT_EQ(percentText(1, 799), "00.13%"); }
TEST(PercentText, BelowHalfCentRoundsDown) { EXPECT_EQ(percentText(1, 1999), "00.05%"); }
TEST(PercentText, TinyShareRoundsToZero) { EXPECT_EQ(percentText(1, INT32_MAX - 1), "00.00%"); }

// Hand-edited counts can be negative; the text then carries the sign.
TEST(PercentText, NegativeShareKeepsItsSign) { EXPECT_EQ(percentText(-1, 2), "-100.00%"); }

// The sum of the counts wraps like every other 32-bit addition.
TEST(PercentText, WrappedSumIsUsedAsIs) { EXPECT_EQ(percentText(INT32_MAX, 1), "-100.00%"); }
TEST(PercentText, SumWrappingToZeroIsZero) { EXPECT_EQ(percentText(INT32_MAX, INT32_MIN + 1), "00.00%"); }

TEST(PercentText, HugeShareFromHandEditedCounts) {
    EXPECT_EQ(percentText(INT32_MAX, -(INT32_MAX - 1)), "214748364800.00%");
}

// A stored float is a binary fraction, so it lies exactly on a half cent only
// when it is an odd multiple of 1/8 (x.125, x.375, x.625, x.875). Every pair of
// counts up to 3000 games that lands there must round up, which printf's
// round-half-to-even would not do for about half of them.
TEST(PercentText, EveryExactHalfCentUpToThreeThousandGamesRoundsUp) {
    int found = 0;
    int differFromPrintf = 0;
    for (int32_t games = 1; games <= 3000; ++games) {
        for (int32_t w = 0; w <= games; ++w) {
            const float value = static_cast<float>(static_cast<double>(w) / games * 100.0);
            const double eighths = static_cast<double>(value) * 8.0;
            if (eighths != static_cast<double>(static_cast<int64_t>(eighths))) continue;
            const int64_t j = static_cast<int64_t>(eighths);
            if (j % 2 == 0) continue;
            ++found;
            // value = j / 8, so value x 100 = 12.5 j; half up gives (25 j + 1) / 2.
            const int64_t cents = (25 * j + 1) / 2;
            char expected[32];
            std::snprintf(expected, sizeof expected, "%02lld.%02lld%%", static_cast<long long>(cents / 100),
                          static_cast<long long>(cents % 100));
            char viaPrintf[32];
            std::snprintf(viaPrintf, sizeof viaPrintf, "%05.2f%%", static_cast<double>(value));
            if (std::string(expected) != viaPrintf) ++differFromPrintf;
            ASSERT_EQ(percentText(w, games - w), expected) << w << " won of " << games;
        }
    }
    EXPECT_EQ(found, 3600);
    EXPECT_GT(differFromPrintf, 0);
    RecordProperty("half_cent_pairs", found);
    RecordProperty("printf_would_differ", differFromPrintf);
    std::printf("half-cent pairs up to 3000 games: %d, of which printf rounds differently: %d\n", found,
                differFromPrintf);
}

}  // namespace
