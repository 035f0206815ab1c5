#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "freecell/cards.h"

namespace freecell {
namespace {

// The deal read back row by row as the published layouts print it: rank then
// suit, "T" for ten.
std::vector<std::string> rows(const Board& board) {
    std::vector<std::string> result;
    for (std::size_t row = 0;; ++row) {
        std::string line;
        for (const auto& column : board.columns) {
            if (row >= column.size()) continue;
            std::string name = cardName(column[row]);
            if (name.rfind("10", 0) == 0) name = "T" + name.substr(2);
            line += (line.empty() ? "" : " ") + name;
        }
        if (line.empty()) return result;
        result.push_back(line);
    }
}

TEST(Deal, GameOneMatchesThePublishedLayout) {
    EXPECT_EQ(rows(dealBoard(1)), (std::vector<std::string>{
                                      "JD 2D 9H JC 5D 7H 7C 5H",
                                      "KD KC 9S 5S AD QC KH 3H",
                                      "2S KS 9D QD JS AS AH 3C",
                                      "4C 5C TS QH 4H AC 4D 7S",
                                      "3S TD 4S TH 8H 2C JH 7D",
                                      "6D 8S 8D QS 6C 3D 8C TC",
                                      "6S 9C 2H 6H",
                                  }));
}

TEST(Deal, Game617MatchesThePublishedLayout) {
    EXPECT_EQ(rows(dealBoard(617)), (std::vector<std::string>{
                                        "7D AD 5C 3S 5S 8C 2D AH",
                                        "TD 7S QD AC 6D 8H AS KH",
                                        "TH QC 3H 9D 6S 8D 3D TC",
                                        "KD 5H 9S 3C 8S 7H 4D JS",
                                        "4C QS 9C 9H 7C 6H 2C 2S",
                                        "4S TS 2H 5D JC 6C JH QH",
                                        "JD KS KC 4H",
                                    }));
}

TEST(Deal, SpreadsAllFiftyTwoCardsSevenAndSixPerColumn) {
    for (const int32_t game : {11982, 1000000, -1, -2}) {
        const Board board = dealBoard(game);
        std::set<Card> seen;
        for (int column = 0; column < kColumnCount; ++column) {
            EXPECT_EQ(board.columns[column].size(), column < 4 ? 7u : 6u) << "game " << game << " column " << column;
            seen.insert(board.columns[column].begin(), board.columns[column].end());
        }
        EXPECT_EQ(seen.size(), 52u) << "game " << game;
        EXPECT_EQ(cardsLeft(board), 52) << "game " << game;
    }
}

TEST(Deal, FixedGamesAreUnshuffledAndDiffer) {
    EXPECT_EQ(firstRow(dealBoard(-1)), "AC AD AH AS 2C 2D 2H 2S");
    EXPECT_EQ(firstRow(dealBoard(-2)), "KS KH KD KC QS QH QD QC");
}

TEST(Deal, HighNumbersDealDistinctGames) { EXPECT_NE(firstRow(dealBoard(1000000)), firstRow(dealBoard(999999))); }

}  // namespace
}  // namespace freecell
