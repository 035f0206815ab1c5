#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace freecell {

// A card is rank * 4 + suit: rank 0 is the ace, 12 the king; suits in the
// order clubs, diamonds, hearts, spades.
using Card = int;
inline constexpr int kCardCount = 52;
inline constexpr int kColumnCount = 8;
inline constexpr int kCellCount = 4;
inline constexpr int kSuitCount = 4;
inline constexpr int kRankCount = 13;

inline constexpr int rankOf(Card card) { return card / 4; }
inline constexpr int suitOf(Card card) { return card % 4; }
inline constexpr bool isRed(Card card) { return suitOf(card) == 1 || suitOf(card) == 2; }
inline constexpr Card cardOf(int rank, int suit) { return rank * 4 + suit; }

// "JD", "10S", "AC": rank then suit letter, as the log and the tests write them.
std::string cardName(Card card);

struct Board {
    // Each column from its top card (dealt first) to its bottom card, the one
    // that can be moved.
    std::array<std::vector<Card>, kColumnCount> columns;
    std::array<std::optional<Card>, kCellCount> cells;
    // Cards already home per suit: 0 none, 13 the whole suit up to the king.
    std::array<int, kSuitCount> home{};

    bool operator==(const Board& other) const {
        return columns == other.columns && cells == other.cells && home == other.home;
    }
    bool operator!=(const Board& other) const { return !(*this == other); }
};

// Game n >= 1 is shuffled by the game's linear congruential generator seeded
// with n; -1 and -2 are fixed unshuffled layouts. Cards go row by row across
// the eight columns.
Board dealBoard(int32_t gameNumber);

// Cards not yet home.
int cardsLeft(const Board& board);

// The first row of the deal as card names separated by spaces.
std::string firstRow(const Board& board);

// The whole board in one line, e.g.
// "left=52 cells=- - - - home=0 0 0 0 columns=JD KD 2S 4C 3S 6D 6S/2D KC .../..."
// with the columns top card first and separated by "/" ("/" next to "/" for
// an empty one); the home counts are by suit, clubs first.
std::string boardText(const Board& board);

}  // namespace freecell
