// Cards dragged with the mouse: what may be picked up, where it lands, and
// game 1 won by dragging alone.
#include <gtest/gtest.h>

#include "board_builder.h"
#include "freecell_solver.h"
#include "game_flow_fixture.h"
#include "freecell/board_layout.h"
#include "freecell/drag_play.h"

namespace freecell {
namespace {

using testing::board;
using testing::card;

// The board of the click tests: column 0 ends in the run 9H 8S 7D, column 1
// in a black 10, column 2 is empty, one free cell holds 6C.
Board playBoard() {
    return board({{"KS", "9H", "8S", "7D"}, {"2H", "10C"}, {}, {"AS"}, {"4D"}, {"4H"}, {"JD"}, {"JH"}}, {"6C"});
}

Rect shifted(const Rect& rect, int dx, int dy) {
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

TEST(DragPlay, CardsFollowThePointerOnlyBeyondTheDragDistance) {
    const Rect lead{10, 20, 81, 116};
    CardDrag drag({{Place::Column, 0}, 3}, lead, {40, 30});
    EXPECT_FALSE(drag.follow({43, 27}, 4, 4));
    EXPECT_EQ(drag.lead().left, lead.left);  // a click's jitter moves nothing
    EXPECT_TRUE(drag.follow({140, 230}, 4, 4));
    EXPECT_EQ(drag.lead().left, 110);
    EXPECT_EQ(drag.lead().top, 220);
    EXPECT_TRUE(drag.follow({41, 31}, 4, 4));  // once begun, back near the press still drags
    EXPECT_EQ(drag.origin().left, lead.left);
}

TEST(DragPlay, OnlyAnOrderedRunWithinTheMoveLimitCanBeDragged) {
    Board position = playBoard();
    EXPECT_TRUE(canDrag(position, {{Place::Column, 0}, 1}));   // 9H 8S 7D: 3 free cells, 1 empty column
    EXPECT_FALSE(canDrag(position, {{Place::Column, 0}, 0}));  // KS is not part of the run
    EXPECT_TRUE(canDrag(position, {{Place::Cell, 0}, 0}));
    EXPECT_FALSE(canDrag(position, {{Place::Cell, 1}, 0}));  // an empty cell

    // Three cells taken and no empty column: two cards at most.
    position.cells = {card("QD"), card("QH"), card("QS"), std::nullopt};
    position.columns[2] = {card("5C")};
    EXPECT_TRUE(canDrag(position, {{Place::Column, 0}, 2}));
    EXPECT_FALSE(canDrag(position, {{Place::Column, 0}, 1}));
}

TEST(DragPlay, ADropMovesExactlyTheDraggedCardsWhereTheRulesAllow) {
    const Board position = playBoard();
    const Selection run{{Place::Column, 0}, 1};
    EXPECT_EQ(dropMove(position, run, {Place::Column, 1}), (Move{{Place::Column, 0}, {Place::Column, 1}, 3}));
    EXPECT_EQ(dropMove(position, run, {Place::Column, 2}), (Move{{Place::Column, 0}, {Place::Column, 2}, 3}));
    // 7D alone does not fit onto 10C, though a click would move the run there.
    EXPECT_FALSE(dropMove(position, {{Place::Column, 0}, 3}, {Place::Column, 1}));
    EXPECT_FALSE(dropMove(position, run, {Place::Cell, 1}));  // one card a cell
    EXPECT_EQ(dropMove(position, {{Place::Column, 0}, 3}, {Place::Cell, 1}),
              (Move{{Place::Column, 0}, {Place::Cell, 1}, 1}));
    EXPECT_FALSE(dropMove(position, {{Place::Column, 0}, 3}, {Place::Cell, 0}));  // taken
    // Any home cell takes the ace to its suit's.
    EXPECT_EQ(dropMove(position, {{Place::Column, 3}, 0}, {Place::Home, 0}),
              (Move{{Place::Column, 3}, {Place::Home, 3}, 1}));
    EXPECT_FALSE(dropMove(position, {{Place::Column, 4}, 0}, {Place::Home, 1}));
}

TEST(DragPlay, CardsLandWhereTheirLeadingCardCoversMost) {
    const BoardLayout layout(624, 434);
    const Board position = playBoard();
    const Rect bottomOfColumn1 = layout.card(position, 1, 1);
    // Mostly over column 1's bottom card, a little over column 2's lane.
    const Rect lead = shifted(bottomOfColumn1, (bottomOfColumn1.right - bottomOfColumn1.left) / 3, 20);
    EXPECT_EQ(dropTarget(layout, position, lead), (Location{Place::Column, 1}));
    EXPECT_EQ(dropTarget(layout, position, shifted(layout.columnSlot(2), -5, 10)), (Location{Place::Column, 2}));
    EXPECT_EQ(dropTarget(layout, position, shifted(layout.home(2), 3, 3)), (Location{Place::Home, 2}));
    EXPECT_EQ(dropTarget(layout, position, shifted(layout.cell(3), -3, 3)), (Location{Place::Cell, 3}));
    EXPECT_FALSE(dropTarget(layout, position, shifted(layout.cell(0), 0, -500)));
}

class DraggedGame : public testing::GameFlow {
protected:
    // Presses on the cards that `move` takes and drops them on its target.
    bool drag(const Move& move) {
        const Board& now = game.board();
        const int row =
            move.from.place == Place::Column ? static_cast<int>(now.columns[move.from.index].size()) - move.count : -1;
        game.click(layout.hitTest(now, layout.pointOn(now, move.from, row)));
        if (!game.selection() || !canDrag(now, *game.selection())) return false;
        Rect target;
        switch (move.to.place) {
            case Place::Cell:
                target = layout.cell(move.to.index);
                break;
            case Place::Home:
                target = layout.home(move.to.index);
                break;
            case Place::Column: {
                const int cards = static_cast<int>(now.columns[move.to.index].size());
                target = cards == 0
                             ? layout.columnSlot(move.to.index)
                             : shifted(layout.card(now, move.to.index, cards - 1), 0, layout.step(now, move.to.index));
                break;
            }
        }
        return game.drop(dropTarget(layout, now, target));
    }

    const BoardLayout layout{624, 434};
};

TEST_F(DraggedGame, ARefusedDropChangesNothingAndALegalOneIsAMove) {
    selectAndDeal("1");
    const Board dealt = game.board();
    EXPECT_FALSE(drag({{Place::Column, 0}, {Place::Column, 1}}));  // 6S onto 9C
    EXPECT_EQ(game.board(), dealt);
    EXPECT_FALSE(game.selection());
    EXPECT_EQ(ui.refusals, 1);
    EXPECT_TRUE(drag({{Place::Column, 1}, {Place::Cell, 2}}));
    EXPECT_EQ(game.board().cells[2], card("9C"));
    EXPECT_EQ(game.moves(), 1);
    game.undo();
    EXPECT_EQ(game.board(), dealt);
}

TEST_F(DraggedGame, GameOneIsWonByDraggingAlone) {
    selectAndDeal("1");
    ui.wonAnswers.push_back({false, false});
    const std::optional<solver::Solution> solution = solver::solve(game.board());
    ASSERT_TRUE(solution);
    for (const Move& move : solution->moves) ASSERT_TRUE(drag(move)) << describe(move);
    EXPECT_TRUE(isFinished(game.board()));
    EXPECT_EQ(store.values.won, 1);
    EXPECT_EQ(ui.refusals, 0);
}

}  // namespace
}  // namespace freecell
