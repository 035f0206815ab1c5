// The game played as a person plays it: clicks at points of the board, found
// through the same layout the window draws with.
#include <gtest/gtest.h>

#include "freecell_solver.h"
#include "game_flow_fixture.h"
#include "freecell/board_layout.h"

namespace freecell {
namespace {

class MousePlayedGame : public testing::GameFlow {
protected:
    void clickAt(const Location& place, int row = -1) {
        game.click(layout.hitTest(game.board(), layout.pointOn(game.board(), place, row)));
    }
    void doubleClickAt(int column) {
        const Location place{Place::Column, column};
        clickAt(place);
        game.doubleClick(layout.hitTest(game.board(), layout.pointOn(game.board(), place)));
    }

    const BoardLayout layout{624, 434};
};

TEST_F(MousePlayedGame, UndoTakesBackTheMovesToTheDealWithTheCardsThatWentHome) {
    selectAndDeal("1");
    // Game 1: AH lies under the last three cards of column 7; once free it
    // goes home by itself, and 2H from the bottom of column 3 after it. Undo
    // brings both back with the move that freed AH, then the moves before it.
    const Board dealt = game.board();
    doubleClickAt(6);
    const Board afterFirstMove = game.board();
    doubleClickAt(6);
    const Board beforeLastMove = game.board();
    doubleClickAt(6);
    EXPECT_EQ(game.board().home[2], 2);
    EXPECT_EQ(cardsLeft(game.board()), 50);
    game.undo();
    EXPECT_EQ(game.board(), beforeLastMove);
    EXPECT_EQ(game.moves(), 2);
    game.undo();
    EXPECT_EQ(game.board(), afterFirstMove);
    game.undo();
    EXPECT_EQ(game.board(), dealt);
    EXPECT_EQ(game.moves(), 0);

    // Played again after the undos, the same moves send the same cards home.
    for (int i = 0; i < 3; ++i) doubleClickAt(6);
    EXPECT_EQ(game.board().home[2], 2);
    EXPECT_EQ(game.moves(), 3);
}

TEST_F(MousePlayedGame, AGameWithoutALegalMoveLeftIsLost) {
    selectAndDeal("1");
    ui.lostAnswers.push_back({false, true});
    // Game 1 with 6S, 9C, 2H and 6H in the free cells has no move left.
    for (int column = 0; column < 4; ++column) doubleClickAt(column);
    EXPECT_EQ(freeCellCount(game.board()), 0);
    EXPECT_FALSE(game.inProgress());
    EXPECT_EQ(store.values.lost, 1);
    EXPECT_TRUE(ui.wonBoxStates.empty());
}

TEST_F(MousePlayedGame, GameOneIsPlayedToTheEndAndWon) {
    selectAndDeal("1");
    ui.wonAnswers.push_back({false, false});
    const std::optional<solver::Solution> solution = solver::solve(game.board());
    ASSERT_TRUE(solution);
    for (const Move& move : solution->moves) {
        ASSERT_TRUE(game.inProgress()) << describe(move);
        if (move.to.place == Place::Cell && !canGoHome(game.board(), *leadingCard(game.board(), move))) {
            doubleClickAt(move.from.index);
            continue;
        }
        const int size =
            move.from.place == Place::Column ? static_cast<int>(game.board().columns[move.from.index].size()) : 0;
        clickAt(move.from, size - move.count);
        clickAt(move.to);
    }
    EXPECT_TRUE(isFinished(game.board()));
    EXPECT_EQ(game.moves(), static_cast<int>(solution->moves.size()));
    EXPECT_EQ(ui.wonBoxStates.size(), 1u);
    EXPECT_EQ(store.values.won, 1);
    EXPECT_EQ(ui.refusals, 0);
}

TEST(Solver, GivesUpOnTheUnsolvableDeal) {
    // 11982 cannot be won with four free cells; a small budget ends the search.
    EXPECT_FALSE(solver::solve(dealBoard(11982), 20000));
}

}  // namespace
}  // namespace freecell
