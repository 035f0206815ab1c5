#include <gtest/gtest.h>

#include "board_builder.h"
#include "freecell/rules.h"

namespace freecell {
namespace {

using testing::board;
using testing::card;
using testing::cards;

constexpr Location column(int index) { return {Place::Column, index}; }
constexpr Location cell(int index) { return {Place::Cell, index}; }
constexpr Location home(int suit) { return {Place::Home, suit}; }

TEST(Rules, OrderedRunCountsFromTheBottomCard) {
    EXPECT_EQ(orderedRunLength(cards({"KS", "9H", "8S", "7D"})), 3);
    EXPECT_EQ(orderedRunLength(cards({"8S", "7S"})), 1);
    EXPECT_EQ(orderedRunLength(cards({"5H"})), 1);
    EXPECT_EQ(orderedRunLength({}), 0);
}

// Seven columns with one card each and the eighth empty, for the limits.
Board boardWith(int freeCells, int emptyColumns) {
    Board result = board({{"KS"}, {"KH"}, {"KD"}, {"KC"}, {"QS"}, {"QH"}, {"QD"}, {"QC"}});
    for (int i = 0; i < emptyColumns; ++i) result.columns[kColumnCount - 1 - i].clear();
    for (int i = 0; i < kCellCount - freeCells; ++i) result.cells[i] = cardOf(1, i);
    return result;
}

TEST(Rules, SupermoveLimitDoublesWithEachEmptyColumn) {
    EXPECT_EQ(supermoveLimit(boardWith(0, 0), false), 1);
    EXPECT_EQ(supermoveLimit(boardWith(4, 0), false), 5);
    EXPECT_EQ(supermoveLimit(boardWith(2, 1), false), 6);
    EXPECT_EQ(supermoveLimit(boardWith(2, 2), false), 12);
    EXPECT_EQ(supermoveLimit(boardWith(4, 3), false), 40);
}

TEST(Rules, SupermoveIntoAnEmptyColumnCountsOneEmptyColumnFewer) {
    EXPECT_EQ(supermoveLimit(boardWith(2, 1), true), 3);
    EXPECT_EQ(supermoveLimit(boardWith(2, 2), true), 6);
    EXPECT_EQ(supermoveLimit(boardWith(0, 1), true), 1);
}

// A run of four (QH JS 10H 9S) that fits onto KC in column 1.
Board runBoard(int freeCells, bool emptyColumn) {
    Board result = board({{"2D", "QH", "JS", "10H", "9S"}, {"KC"}, {"3D"}, {"3H"}, {"5D"}, {"5H"}, {"7D"}, {"7H"}});
    if (emptyColumn) result.columns[7].clear();
    for (int i = 0; i < kCellCount - freeCells; ++i) result.cells[i] = card("KD");
    return result;
}

TEST(Rules, AMoveOfSeveralCardsStaysWithinTheLimit) {
    const Move fourCards{column(0), column(1), 4};
    EXPECT_FALSE(isLegal(runBoard(2, false), fourCards));                     // limit 3
    EXPECT_TRUE(isLegal(runBoard(3, false), fourCards));                      // limit 4
    EXPECT_TRUE(isLegal(runBoard(1, true), fourCards));                       // (1 + 1) × 2
    EXPECT_FALSE(isLegal(runBoard(1, true), Move{column(0), column(7), 3}));  // into the empty one: 2
    EXPECT_TRUE(isLegal(runBoard(1, true), Move{column(0), column(7), 2}));
    EXPECT_FALSE(isLegal(runBoard(4, true), Move{column(0), column(1), 5}));  // 2D is not part of the run
    EXPECT_FALSE(isLegal(runBoard(4, true), Move{column(0), column(1), 3}));  // JS does not fit onto KC
}

TEST(Rules, AppliedRunMovesInOrder) {
    Board moved = runBoard(3, false);
    applyMove(moved, {column(0), column(1), 4});
    EXPECT_EQ(moved.columns[0], cards({"2D"}));
    EXPECT_EQ(moved.columns[1], cards({"KC", "QH", "JS", "10H", "9S"}));
}

TEST(Rules, HomeCellsTakeEachSuitFromTheAceUp) {
    Board home3 = board({{"2S", "AS"}, {"3S"}}, {"2H"});
    EXPECT_FALSE(isLegal(home3, {cell(0), home(2)}));    // 2H before its ace
    EXPECT_FALSE(isLegal(home3, {column(1), home(3)}));  // 3S before the 2
    EXPECT_FALSE(isLegal(home3, {column(0), home(2)}));  // a spade into the hearts
    ASSERT_TRUE(isLegal(home3, {column(0), home(3)}));
    applyMove(home3, {column(0), home(3)});
    EXPECT_TRUE(isLegal(home3, {column(0), home(3)}));
    EXPECT_FALSE(isLegal(home3, {home(3), column(1)}));  // nothing comes back from home
}

TEST(Rules, FreeCellsHoldOneCardEach) {
    const Board cells = board({{"5D", "4S"}, {"9H"}}, {"KS"});
    EXPECT_TRUE(isLegal(cells, {column(0), cell(1)}));
    EXPECT_FALSE(isLegal(cells, {column(0), cell(0)}));
    EXPECT_FALSE(isLegal(cells, {column(0), cell(1), 2}));
    EXPECT_FALSE(isLegal(cells, {cell(1), column(0)}));  // an empty cell has nothing to move
}

TEST(Rules, SafeCardsGoHomeByThemselvesAndOthersWait) {
    // Both black twos must be home before a red three is safe.
    Board waiting = board({{"3H"}, {"9C"}});
    waiting.home = {2, 0, 2, 1};
    EXPECT_FALSE(nextAutomaticMove(waiting));
    waiting.home[3] = 2;
    EXPECT_EQ(nextAutomaticMove(waiting), (Move{column(0), home(2)}));

    // Aces and twos are always safe; one card home can free the next.
    Board chain = board({{"5C", "AH"}, {"9C"}}, {"-", "2H"});
    EXPECT_EQ(playAutomaticMoves(chain).size(), 2u);
    EXPECT_EQ(chain.home[2], 2);
    EXPECT_FALSE(chain.cells[1]);
}

// Every free cell taken by a king, all bottom cards red and nothing home.
Board stuckBoard() {
    return board({{"9S", "5D"}, {"5H"}, {"9D"}, {"9H"}, {"QD"}, {"QH"}, {"3D"}, {"3H"}}, {"KC", "KD", "KH", "KS"});
}

TEST(Rules, NoLegalMoveLeftIsALoss) { EXPECT_FALSE(hasLegalMove(stuckBoard())); }

TEST(Rules, AnyOneWayOutKeepsTheGameAlive) {
    Board freeCell = stuckBoard();
    freeCell.cells[3].reset();
    EXPECT_TRUE(hasLegalMove(freeCell));

    Board fitting = stuckBoard();
    fitting.columns[1] = cards({"4C"});  // 3D or 3H onto it
    EXPECT_TRUE(hasLegalMove(fitting));

    Board emptyColumn = stuckBoard();
    emptyColumn.columns[2].clear();  // a king from a cell into it
    EXPECT_TRUE(hasLegalMove(emptyColumn));

    Board homeward = stuckBoard();
    homeward.home[1] = 4;  // 5D can go home
    EXPECT_TRUE(hasLegalMove(homeward));
}

TEST(Rules, LegalMovesLeaveOutPointlessOnes) {
    // A lone card into an empty column changes nothing, nor does a card from
    // one free cell into another.
    Board lone = board({{"5H"}, {}}, {"KC"});
    for (const Move& move : legalMoves(lone)) {
        EXPECT_FALSE(move.from == column(0) && move.to.place == Place::Column) << describe(move);
        EXPECT_FALSE(move.from.place == Place::Cell && move.to.place == Place::Cell) << describe(move);
    }
    EXPECT_TRUE(hasLegalMove(lone));
}

TEST(Rules, EveryListedMoveIsLegalAndKeepsAllCards) {
    Board game = dealBoard(617);
    for (int step = 0; step < 30; ++step) {
        const std::vector<Move> moves = legalMoves(game);
        if (moves.empty()) break;
        for (const Move& move : moves) ASSERT_TRUE(isLegal(game, move)) << describe(move);
        applyMove(game, moves[static_cast<std::size_t>(step * 7) % moves.size()]);
        playAutomaticMoves(game);
        int onBoard = 0;
        for (const auto& cards : game.columns) onBoard += static_cast<int>(cards.size());
        for (const auto& held : game.cells) onBoard += held ? 1 : 0;
        ASSERT_EQ(onBoard, cardsLeft(game));
    }
}

}  // namespace
}  // namespace freecell
