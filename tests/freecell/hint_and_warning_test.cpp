// The hint and the lost-position warning, from Freecell Solver's searches:
// what a player sees when following the hints, and when a position can no
// longer be won, checked against Debian's fc-solve where it can tell.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "freecell/game_outlook.h"
#include "freecell/position_analysis.h"
#include "freecell/solver_position.h"

namespace freecell {
namespace {

Board dealt(int32_t number) {
    Board board = dealBoard(number);
    playAutomaticMoves(board);
    return board;
}

void play(Board& board, const Move& move) {
    ASSERT_TRUE(isLegal(board, move)) << describe(move);
    applyMove(board, move);
    playAutomaticMoves(board);
}

// Game 1 with the four free cells filled, still winnable; then a 6 onto the
// 7 that the last free card needed, and no way is left.
struct LosingLine {
    std::vector<Move> winnable = {{{Place::Column, 7}, {Place::Cell, 0}},
                                  {{Place::Column, 2}, {Place::Cell, 1}},
                                  {{Place::Column, 0}, {Place::Cell, 2}},
                                  {{Place::Column, 1}, {Place::Cell, 3}}};
    Move losing = {{Place::Column, 4}, {Place::Column, 7}};
};

// Debian's fc-solve on the same position: true when it solves it, false when
// it shows that nothing does, with single-card moves and no limit.
std::optional<bool> fcSolveWins(const Board& board) {
    char path[] = "/tmp/freecell-position-XXXXXX";
    const int descriptor = mkstemp(path);
    if (descriptor < 0) return std::nullopt;
    close(descriptor);
    std::ofstream(path) << solverPositionText(board);
    const std::string command = std::string("fc-solve --method soft-dfs -to 01ABCDE -sp r:tf ") + path + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe)) output += buffer;
    if (pipe) pclose(pipe);
    std::remove(path);
    if (output.find("This game is solveable.") != std::string::npos) return true;
    if (output.find("I could not solve this game.") != std::string::npos) return false;
    return std::nullopt;
}

TEST(Hint, FollowingTheHintsAloneWinsTheDeal) {
    for (int32_t number : {1, 2, 617, 1000, 24}) {
        Board board = dealt(number);
        GameOutlook outlook;
        outlook.dealt();
        int moves = 0;
        while (!isFinished(board) && moves < 300) {
            if (outlook.reached(board, moves)) outlook.analysed(board, analysePosition(board).value());
            const std::optional<Analysis> known = outlook.currentAnalysis();
            ASSERT_TRUE(known) << "game " << number;
            EXPECT_EQ(known->outlook, Outlook::Winnable) << "game " << number << " move " << moves;
            ASSERT_FALSE(known->way.empty()) << "game " << number << " move " << moves;
            // Every hint is a move the player could make there.
            ASSERT_TRUE(isLegal(board, known->way.front())) << "game " << number << " move " << moves;
            play(board, known->way.front());
            ++moves;
        }
        EXPECT_TRUE(isFinished(board)) << "game " << number << " after " << moves << " hints";
        EXPECT_TRUE(outlook.warning().empty());
    }
}

TEST(Hint, TheHintNamesTheCardAndWhereItGoes) {
    const Board board = dealt(1);
    EXPECT_EQ(hintText(board, {{Place::Column, 0}, {Place::Cell, 2}}), "ヒント: スペードの6 (1列目) → フリーセル");
    Board run = board;
    run.columns[1] = {cardOf(9, 3), cardOf(8, 2), cardOf(7, 0)};  // 10S 9H 8C
    EXPECT_EQ(hintText(run, {{Place::Column, 1}, {Place::Column, 4}, 2}), "ヒント: ハートの9から2枚 (2列目) → 5列目");
}

TEST(LostPosition, Game11982AsDealtIsLost) {
    const Board board = dealt(11982);
    const Analysis analysis = analysePosition(board).value();
    EXPECT_EQ(analysis.outlook, Outlook::Lost);
    EXPECT_TRUE(analysis.way.empty());
    EXPECT_EQ(fcSolveWins(board), false);

    GameOutlook outlook;
    outlook.dealt();
    outlook.reached(board, 0);
    EXPECT_EQ(outlook.warning(), "");  // nothing said before the search answers
    outlook.analysed(board, analysis);
    EXPECT_EQ(outlook.warning(), "この局面からはもう勝てません");
}

TEST(LostPosition, TheWarningNamesTheMoveThatLostAndGoesWithItsUndo) {
    const LosingLine line;
    Board board = dealt(1);
    GameOutlook outlook;
    outlook.dealt();
    int moves = 0;
    for (const Move& move : line.winnable) {
        play(board, move);
        ++moves;
    }
    const Board beforeLoss = board;
    // Only the position before the losing move was searched.
    ASSERT_TRUE(outlook.reached(board, moves));
    outlook.analysed(board, analysePosition(board).value());
    EXPECT_EQ(outlook.currentAnalysis()->outlook, Outlook::Winnable);
    EXPECT_EQ(fcSolveWins(board), true);

    play(board, line.losing);
    ASSERT_TRUE(outlook.reached(board, moves + 1));
    outlook.analysed(board, analysePosition(board).value());
    EXPECT_EQ(outlook.currentAnalysis()->outlook, Outlook::Lost);
    EXPECT_EQ(fcSolveWins(board), false);
    EXPECT_EQ(outlook.warning(), "この局面からはもう勝てません（5手目で）");

    // Taken back: the position is known, and winnable.
    EXPECT_FALSE(outlook.reached(beforeLoss, moves));
    EXPECT_EQ(outlook.warning(), "");
}

TEST(LostPosition, WinnablePositionsAreNeverReportedLost) {
    // Deals after a few random legal moves, some of them lost by then.
    std::mt19937 random(20261208);
    int lost = 0;
    for (int32_t number = 1; number <= 16; ++number) {
        Board board = dealt(number);
        const int moves = static_cast<int>(random() % 12);
        for (int step = 0; step < moves; ++step) {
            const std::vector<Move> legal = legalMoves(board);
            if (legal.empty()) break;
            play(board, legal[random() % legal.size()]);
        }
        const Analysis analysis = analysePosition(board).value();
        if (analysis.outlook == Outlook::Undecided) continue;
        EXPECT_EQ(fcSolveWins(board), analysis.outlook == Outlook::Winnable) << "game " << number;
        if (analysis.outlook == Outlook::Lost) ++lost;
    }
    RecordProperty("lost", lost);
}

TEST(LostPosition, WhatTheBoundCannotDecideIsLeftUnsaid) {
    AnalysisBound small;
    small.thoroughPositions = 2000;
    small.step = 500;
    const Analysis analysis = analysePosition(dealt(11982), small).value();
    EXPECT_EQ(analysis.outlook, Outlook::Undecided);

    GameOutlook outlook;
    outlook.dealt();
    outlook.reached(dealt(11982), 0);
    outlook.analysed(dealt(11982), analysis);
    EXPECT_EQ(outlook.warning(), "");
}

TEST(LostPosition, ASearchNoLongerWantedStops) {
    int looks = 0;
    const auto wantedTwice = [&] { return ++looks <= 2; };
    AnalysisBound bound;
    bound.step = 100;
    EXPECT_FALSE(analysePosition(dealt(11982), bound, wantedTwice));
    EXPECT_EQ(looks, 3);
}

}  // namespace
}  // namespace freecell
