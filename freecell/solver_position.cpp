#include "freecell/solver_position.h"

namespace freecell {

namespace {

constexpr char kRanks[] = "A23456789TJQK";
constexpr char kSuits[] = "CDHS";  // the game's suit order

std::string solverCardName(Card card) { return {kRanks[rankOf(card)], kSuits[suitOf(card)]}; }

// "0" for none home, else the highest rank home.
char homeRank(int count) { return count == 0 ? '0' : kRanks[count - 1]; }

}  // namespace

std::string solverPositionText(const Board& board) {
    std::string text = "Foundations:";
    for (int suit = 0; suit < kSuitCount; ++suit) {
        text += ' ';
        text += kSuits[suit];
        text += '-';
        text += homeRank(board.home[suit]);
    }
    text += "\nFreecells:";
    for (const std::optional<Card>& cell : board.cells) text += ' ' + (cell ? solverCardName(*cell) : "-");
    text += '\n';
    for (const std::vector<Card>& column : board.columns) {
        text += ':';
        for (Card card : column) text += ' ' + solverCardName(card);
        text += '\n';
    }
    return text;
}

}  // namespace freecell
