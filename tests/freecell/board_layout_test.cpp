#include <gtest/gtest.h>

#include <cmath>

#include "board_builder.h"
#include "freecell/board_layout.h"
#include "freecell/card_faces.h"

namespace freecell {
namespace {

// The client area of the game's 632 × 480 window under Wine.
constexpr int kClientWidth = 624;
constexpr int kClientHeight = 434;

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(BoardLayout, CellsHomesAndColumnsLieSideBySide) {
    const BoardLayout layout(kClientWidth, kClientHeight);
    std::vector<Rect> top;
    for (int i = 0; i < 4; ++i) {
        top.push_back(layout.cell(i));
        top.push_back(layout.home(i));
    }
    for (std::size_t a = 0; a < top.size(); ++a) {
        EXPECT_EQ(top[a].right - top[a].left, kCardWidth);
        EXPECT_GE(top[a].left, 0);
        EXPECT_LE(top[a].right, kClientWidth);
        for (std::size_t b = a + 1; b < top.size(); ++b) EXPECT_FALSE(overlap(top[a], top[b])) << a << ' ' << b;
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const Rect slot = layout.columnSlot(column);
        EXPECT_GT(slot.top, layout.cell(0).bottom);
        EXPECT_LE(slot.right, kClientWidth);
        if (column > 0) {
            EXPECT_GT(slot.left, layout.columnSlot(column - 1).right);
        }
    }
}

TEST(BoardLayout, EveryPlaceAndCardIsFoundWhereItIsDrawn) {
    const BoardLayout layout(kClientWidth, kClientHeight);
    Board board = dealBoard(1);
    board.columns[3].clear();
    for (int i = 0; i < 4; ++i) {
        for (const Location place : {Location{Place::Cell, i}, Location{Place::Home, i}}) {
            const auto hit = layout.hitTest(board, layout.pointOn(board, place));
            ASSERT_TRUE(hit);
            EXPECT_EQ(hit->location, place);
        }
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const int cards = static_cast<int>(board.columns[column].size());
        for (int row = cards == 0 ? -1 : 0; row < cards; ++row) {
            const Point point = layout.pointOn(board, {Place::Column, column}, row);
            const auto hit = layout.hitTest(board, point);
            ASSERT_TRUE(hit) << column << ' ' << row;
            EXPECT_EQ(hit->location, (Location{Place::Column, column}));
            EXPECT_EQ(hit->row, row);
        }
    }
}

TEST(BoardLayout, LongColumnsCloseUpAboveTheStatusLine) {
    const BoardLayout layout(kClientWidth, kClientHeight);
    Board board;
    for (int rank = kRankCount - 1; rank >= 0; --rank) board.columns[0].push_back(cardOf(rank, rank % 2));
    for (int rank = 6; rank >= 0; --rank) board.columns[0].push_back(cardOf(rank, 2 + rank % 2));
    const int last = static_cast<int>(board.columns[0].size()) - 1;
    EXPECT_LE(layout.card(board, 0, last).bottom, layout.statusLine().top);
    EXPECT_LT(layout.step(board, 0), layout.step(dealBoard(1), 0));
    const auto hit = layout.hitTest(board, layout.pointOn(board, {Place::Column, 0}, last - 1));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->row, last - 1);
}

TEST(BoardLayout, BetweenThePlacesNothingIsHit) {
    const BoardLayout layout(kClientWidth, kClientHeight);
    const Board board = dealBoard(1);
    const Rect middle = layout.middle();
    EXPECT_FALSE(layout.hitTest(board, {(middle.left + middle.right) / 2, 40}));
    EXPECT_FALSE(layout.hitTest(board, {layout.columnSlot(0).left - 1, 200}));
    EXPECT_FALSE(layout.hitTest(board, {40, layout.statusLine().top + 5}));
}

// Every card of a dealt board lies inside the client area, above the status
// line, and is found where it is drawn.
void expectBoardFitsAndIsFound(int width, int height) {
    const BoardLayout layout(width, height);
    const Board board = dealBoard(617);
    for (int i = 0; i < 4; ++i) {
        EXPECT_LE(layout.home(i).right, width) << width << 'x' << height;
        EXPECT_GE(layout.cell(i).left, 0);
    }
    EXPECT_LE(layout.cell(3).right, layout.home(0).left) << width << 'x' << height;
    for (int column = 0; column < kColumnCount; ++column) {
        const int cards = static_cast<int>(board.columns[column].size());
        EXPECT_LE(layout.columnSlot(column).right, width) << width << 'x' << height;
        EXPECT_LE(layout.card(board, column, cards - 1).bottom, layout.statusLine().top) << width << 'x' << height;
        for (int row = 0; row < cards; ++row) {
            const auto hit = layout.hitTest(board, layout.pointOn(board, {Place::Column, column}, row));
            ASSERT_TRUE(hit) << width << 'x' << height;
            EXPECT_EQ(hit->row, row);
        }
    }
}

TEST(BoardLayout, CardsGrowAndShrinkWithTheWindowAsFarAsBothSidesAllow) {
    const BoardLayout classic(kClientWidth, kClientHeight);
    EXPECT_EQ(classic.cardWidth(), kCardWidth);
    EXPECT_EQ(classic.cardHeight(), kCardHeight);

    const BoardLayout doubled(2 * kClientWidth, 2 * kClientHeight);
    EXPECT_EQ(doubled.cardWidth(), 2 * kCardWidth);
    EXPECT_EQ(doubled.cardHeight(), 2 * kCardHeight);
    // A wide, low window: the height decides, and the cards keep their shape.
    const BoardLayout wide(3 * kClientWidth, kClientHeight);
    EXPECT_EQ(wide.cardWidth(), kCardWidth);
    // Maximised on 1024 x 768 and on a full-HD screen, the classic size, and
    // the smallest sizes the window allows at 96 and 144 pixels per inch.
    for (const Size size : {Size{1016, 693}, Size{1912, 1009}, Size{kClientWidth, kClientHeight},
                            smallestClientSize(96), smallestClientSize(144), Size{552, 354}}) {
        expectBoardFitsAndIsFound(size.width, size.height);
    }
}

// The smallest window still draws readable cards, larger under large fonts,
// and lets Tallykeep's tests move the game to 560 x 400 (client 552 x 354).
TEST(BoardLayout, TheSmallestWindowKeepsThreeQuartersOfTheClassicCards) {
    const Size smallest = smallestClientSize(96);
    EXPECT_GE(BoardLayout(smallest.width, smallest.height).cardWidth(), kCardWidth * 3 / 4);
    EXPECT_GT(smallestClientSize(120).height, smallest.height);
    EXPECT_LE(smallest.width, 552);
    EXPECT_LE(smallest.height, 354);
}

TEST(CardFaces, NumberCardsShowTheirCountOfSymbolsInsideTheCardWithoutOverlap) {
    for (int rank = 0; rank < 10; ++rank) {
        const std::vector<Pip> pips = pipLayout(rank);
        ASSERT_EQ(pips.size(), static_cast<std::size_t>(rank == 0 ? 1 : rank + 1)) << rank;
        for (std::size_t a = 0; a < pips.size(); ++a) {
            const Pip& pip = pips[a];
            EXPECT_GE(pip.x - pip.halfSize, 14) << rank;  // clear of the turned index
            EXPECT_LE(pip.x + pip.halfSize, kCardWidth - 14) << rank;
            EXPECT_GE(pip.y - pip.halfSize, kIndexStripHeight) << rank;  // a covered card shows no part
            EXPECT_LE(pip.y + pip.halfSize, kCardHeight - kIndexStripHeight) << rank;
            for (std::size_t b = a + 1; b < pips.size(); ++b) {
                const bool apart = std::abs(pip.x - pips[b].x) >= pip.halfSize + pips[b].halfSize ||
                                   std::abs(pip.y - pips[b].y) >= pip.halfSize + pips[b].halfSize;
                EXPECT_TRUE(apart) << "rank " << rank << " symbols " << a << ' ' << b;
            }
        }
    }
    EXPECT_TRUE(pipLayout(10).empty());
}

}  // namespace
}  // namespace freecell
