// The game's side of Freecell Solver: the position it is given, and its
// answer turned into the game's moves.
#include <gtest/gtest.h>

#include "board_builder.h"
#include "freecell/solver_moves.h"
#include "freecell/solver_position.h"

namespace freecell {
namespace {

using testing::board;
using testing::card;

TEST(SolverPosition, DealtGameOneAsTheSolverReadsIt) {
    const std::string text = solverPositionText(dealBoard(1));
    EXPECT_EQ(text.substr(0, text.find("\n:") + 1), "Foundations: C-0 D-0 H-0 S-0\nFreecells: - - - -\n");
    // The first column of game 1 from its top card, tens as T.
    EXPECT_NE(text.find("\n: JD KD 2S 4C 3S 6D 6S\n"), std::string::npos);
}

TEST(SolverPosition, HomeCellsFreeCellsAndEmptyColumns) {
    Board position = board({{"10H", "9S"}, {}, {"KC"}}, {"-", "QD", "-", "AS"});
    position.home = {2, 0, 13, 1};  // 2 of clubs, none, king of hearts, ace of spades
    EXPECT_EQ(solverPositionText(position),
              "Foundations: C-2 D-0 H-K S-A\nFreecells: - QD - AS\n: TH 9S\n:\n: KC\n:\n:\n:\n:\n:\n");
}

TEST(SolverAnswer, MovesBecomeTheGamesMovesOnTheSamePlaces) {
    const Board position = board({{"8S"}, {"9H", "8C", "7D"}, {}, {"9D"}}, {"-", "AC"});
    using Kind = SolverMove::Kind;
    const auto move = [&](Kind kind, int from, int to, int count = 1) {
        return gameMove(position, SolverMove{kind, from, to, count});
    };
    EXPECT_EQ(move(Kind::ColumnToColumn, 1, 2, 2), (Move{{Place::Column, 1}, {Place::Column, 2}, 2}));
    EXPECT_EQ(move(Kind::ColumnToCell, 0, 2), (Move{{Place::Column, 0}, {Place::Cell, 2}, 1}));
    EXPECT_EQ(move(Kind::CellToColumn, 1, 2), (Move{{Place::Cell, 1}, {Place::Column, 2}, 1}));
    // The solver's own number of the home cell does not matter: the card's suit does.
    EXPECT_EQ(move(Kind::CellToHome, 1, 3), (Move{{Place::Cell, 1}, {Place::Home, 0}, 1}));
}

TEST(SolverAnswer, MovesTheGameRefusesGiveNone) {
    const Board position = board({{"8S"}, {"9H", "8C", "7D"}, {}, {"9D"}}, {"-", "AC"});
    using Kind = SolverMove::Kind;
    EXPECT_FALSE(gameMove(position, {Kind::CellToCell, 1, 0, 1}));
    EXPECT_FALSE(gameMove(position, {Kind::ColumnToColumn, 1, 0, 3}));  // 9H is no card for 8S
    EXPECT_FALSE(gameMove(position, {Kind::ColumnToHome, 0, 0, 1}));    // no spade home yet
    EXPECT_FALSE(gameMove(position, {Kind::ColumnToCell, 9, 0, 1}));    // no such column
    EXPECT_FALSE(gameMove(position, {Kind::Other, 0, 0, 1}));
}

TEST(SolverAnswer, AWayLeavesOutCardsTheGameSentHomeByItself) {
    // The solver moves the 2 of clubs home itself; the game has already sent
    // it there after the ace, so the way is the ace's move alone.
    Board position = board({{"2C", "AC"}, {"KD"}});
    for (int suit = 1; suit < kSuitCount; ++suit) position.home[suit] = 13;
    position.columns[1].clear();
    using Kind = SolverMove::Kind;
    const std::vector<Move> way = gameWay(position, {{Kind::ColumnToHome, 0, 0, 1}, {Kind::ColumnToHome, 0, 0, 1}});
    ASSERT_EQ(way.size(), 1u);
    EXPECT_EQ(way[0], (Move{{Place::Column, 0}, {Place::Home, suitOf(card("AC"))}, 1}));
}

}  // namespace
}  // namespace freecell
