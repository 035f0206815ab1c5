#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// A card is rank * 4 + suit: rank 0 is the ace, 12 the king; suits in the
// order clubs, diamonds, hearts, spades.
using Card = int;
inline constexpr int kCardCount = 52;
inline constexpr int kColumnCount = 8;
inline constexpr int kCellCount = 4;

inline constexpr int rankOf(Card card) { return card / 4; }
inline constexpr int suitOf(Card card) { return card % 4; }
inline constexpr bool isRed(Card card) { return suitOf(card) == 1 || suitOf(card) == 2; }

// "JD", "10S", "AC": rank then suit letter, as the log and the tests write them.
std::string cardName(Card card);

struct Board {
    std::array<std::vector<Card>, kColumnCount> columns;
    std::array<std::optional<Card>, kCellCount> cells;
    // Cards already home per suit: 0 none, 13 the whole suit up to the king.
    std::array<int, 4> home{};
};

// Game n >= 1 is shuffled by the game's linear congruential generator seeded
// with n; -1 and -2 are fixed unshuffled layouts. Cards go row by row across
// the eight columns.
Board dealBoard(int32_t gameNumber);

// One legal move, chosen simply: a card that can go home goes home, else the
// bottom card of the leftmost column moves to a free cell, else onto an empty
// column. False when none of these is possible.
bool makeOneMove(Board& board);

// Sends every card home: what a won game looks like at its end.
void finishBoard(Board& board);

bool isFinished(const Board& board);

// The first row of the deal as card names separated by spaces.
std::string firstRow(const Board& board);

}  // namespace standin
