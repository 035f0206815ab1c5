#include <gtest/gtest.h>

#include "board_builder.h"
#include "freecell/mouse_play.h"

namespace freecell {
namespace {

using testing::board;
using testing::cards;

Hit onColumn(int index, int row) { return {{Place::Column, index}, row}; }
Hit onCell(int index) { return {{Place::Cell, index}}; }
Hit onHome(int suit) { return {{Place::Home, suit}}; }

// Column 0 ends in the run 9H 8S 7D; column 1 ends in a black 10; column 2
// is the only empty one; one free cell holds 6C.
Board playBoard() {
    return board({{"KS", "9H", "8S", "7D"}, {"2H", "10C"}, {}, {"AS"}, {"4D"}, {"4H"}, {"JD"}, {"JH"}}, {"6C"});
}

TEST(MousePlay, FirstClickPicksUpTheCardAndTheRunBelowIt) {
    std::optional<Selection> selection;
    EXPECT_FALSE(click(playBoard(), selection, onColumn(0, 2)).move);
    ASSERT_TRUE(selection);
    EXPECT_EQ(selection->row, 2);

    selection.reset();
    click(playBoard(), selection, onColumn(0, 0));  // above the run: the whole run
    ASSERT_TRUE(selection);
    EXPECT_EQ(selection->row, 1);
}

TEST(MousePlay, FirstClickOnNothingToPickUpSelectsNothing) {
    std::optional<Selection> selection;
    click(playBoard(), selection, onColumn(2, -1));
    click(playBoard(), selection, onCell(1));
    click(playBoard(), selection, onHome(0));
    click(playBoard(), selection, std::nullopt);
    EXPECT_FALSE(selection);
}

TEST(MousePlay, SecondClickOnAFittingCardMovesAsManyAsFit) {
    std::optional<Selection> selection;
    click(playBoard(), selection, onColumn(0, 3));  // only 7D selected
    const ClickOutcome outcome = click(playBoard(), selection, onColumn(1, 1));
    ASSERT_TRUE(outcome.move);
    EXPECT_EQ(*outcome.move, (Move{{Place::Column, 0}, {Place::Column, 1}, 1 + 1 + 1}));
    EXPECT_FALSE(selection);
}

TEST(MousePlay, SecondClickIntoAnEmptyColumnMovesTheSelectedCards) {
    std::optional<Selection> selection;
    click(playBoard(), selection, onColumn(0, 2));
    const ClickOutcome outcome = click(playBoard(), selection, onColumn(2, -1));
    ASSERT_TRUE(outcome.move);
    EXPECT_EQ(outcome.move->count, 2);
}

TEST(MousePlay, AnEmptyColumnTakesNoMoreThanTheLimit) {
    Board full = playBoard();
    full.cells = {cards({"QD"})[0], cards({"QH"})[0], cards({"QS"})[0], cards({"QC"})[0]};
    std::optional<Selection> selection;
    click(full, selection, onColumn(0, 1));  // three selected, room for one
    const ClickOutcome outcome = click(full, selection, onColumn(2, -1));
    ASSERT_TRUE(outcome.move);
    EXPECT_EQ(outcome.move->count, 1);
}

TEST(MousePlay, AnyHomeCellSendsTheCardToItsSuit) {
    std::optional<Selection> selection;
    click(playBoard(), selection, onColumn(3, 0));
    const ClickOutcome outcome = click(playBoard(), selection, onHome(0));
    ASSERT_TRUE(outcome.move);
    EXPECT_EQ(outcome.move->to, (Location{Place::Home, 3}));
}

TEST(MousePlay, ForbiddenMoveIsRefusedAndPutsTheCardsBack) {
    std::optional<Selection> selection;
    click(playBoard(), selection, onCell(0));  // 6C does not fit onto 10C
    const ClickOutcome outcome = click(playBoard(), selection, onColumn(1, 0));
    EXPECT_FALSE(outcome.move);
    EXPECT_TRUE(outcome.refused);
    EXPECT_FALSE(selection);
}

TEST(MousePlay, SecondClickOnTheSamePlaceOrBesideEverythingPutsBack) {
    std::optional<Selection> selection;
    click(playBoard(), selection, onColumn(0, 3));
    const ClickOutcome same = click(playBoard(), selection, onColumn(0, 1));
    EXPECT_FALSE(same.move);
    EXPECT_FALSE(same.refused);
    EXPECT_FALSE(selection);
    click(playBoard(), selection, onColumn(0, 3));
    const ClickOutcome beside = click(playBoard(), selection, std::nullopt);
    EXPECT_FALSE(beside.refused);
    EXPECT_FALSE(selection);
}

TEST(MousePlay, DoubleClickSendsABottomCardIntoTheFirstFreeCell) {
    const ClickOutcome outcome = doubleClick(playBoard(), onColumn(1, 0));
    ASSERT_TRUE(outcome.move);
    EXPECT_EQ(*outcome.move, (Move{{Place::Column, 1}, {Place::Cell, 1}, 1}));

    Board full = playBoard();
    full.cells = {cards({"QD"})[0], cards({"QH"})[0], cards({"QS"})[0], cards({"QC"})[0]};
    EXPECT_TRUE(doubleClick(full, onColumn(1, 0)).refused);
    EXPECT_FALSE(doubleClick(playBoard(), onColumn(2, -1)).move);
}

TEST(MousePlay, DoubleClickSendsACardHomeBeforeAFreeCell) {
    const ClickOutcome outcome = doubleClick(playBoard(), onColumn(3, 0));  // AS
    ASSERT_TRUE(outcome.move);
    EXPECT_EQ(outcome.move->to, (Location{Place::Home, 3}));
}

TEST(MousePlay, DoubleClickOnAFreeCellSendsItsCardHomeWhenItCan) {
    Board ready = playBoard();
    ready.home[0] = 5;
    const ClickOutcome outcome = doubleClick(ready, onCell(0));
    ASSERT_TRUE(outcome.move);
    EXPECT_EQ(outcome.move->to, (Location{Place::Home, 0}));
    EXPECT_TRUE(doubleClick(playBoard(), onCell(0)).refused);
}

}  // namespace
}  // namespace freecell
