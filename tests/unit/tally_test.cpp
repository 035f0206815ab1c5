#include "records/tally.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Tally, OnlyTheFirstAttemptCountsAndEveryWinIsInTheHistory) {
    Tally tally;
    tally.record({false, 7, 1});
    tally.record({false, 7, 2});
    tally.record({true, 7, 3});
    tally.record({true, 8, 1});
    EXPECT_EQ(tally.ledger.won, 1);
    EXPECT_EQ(tally.ledger.lost, 1);
    EXPECT_EQ(tally.history.lines(), (std::vector<std::string>{"8 勝ち", "7 負け（3回）"}));
}

TEST(Tally, ClearingEmptiesTheSavedHistoryButKeepsTheOlderLinesVisible) {
    Tally tally;
    tally.record({true, 1, 1});
    tally.record({false, 2, 1});
    tally.clearTotals();
    EXPECT_EQ(tally.ledger.won + tally.ledger.lost, 0);
    EXPECT_EQ(tally.ledger.runWins, 1) << "this run's counts stay";
    EXPECT_EQ(tally.history.saved(), (std::array<std::string, 10>{}));
    EXPECT_EQ(tally.history.lines().back(), "1 勝ち");
}

// A history that grew for a whole session stays small enough for the edit
// control of the Windows 95 family (64 KB), keeping the newest lines.
TEST(History, GrowsToABoundAndDropsTheOldestLines) {
    History history = History::fromSaved({std::string(2047, 'x')});
    for (int game = 1; game <= 5000; ++game) history.addNewest(std::to_string(game) + " 勝ち");
    EXPECT_LE(history.lines().size(), History::kMaxLines);
    size_t bytes = 0;
    for (const std::string& line : history.lines()) bytes += line.size() + 2;
    EXPECT_LE(bytes, History::kMaxBytes);
    EXPECT_EQ(history.lines().front(), "5000 勝ち");
    EXPECT_EQ(history.saved()[9], "4991 勝ち");
}

}  // namespace
