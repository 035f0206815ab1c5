#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "freecell/cards.h"

namespace freecell::testing {

// "7H", "10S", "AC" back to a card.
inline Card card(const std::string& name) {
    const std::string ranks[] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    const std::string suits = "CDHS";
    const std::string rank = name.substr(0, name.size() - 1);
    for (int r = 0; r < kRankCount; ++r) {
        if (ranks[r] == rank) return cardOf(r, static_cast<int>(suits.find(name.back())));
    }
    return -1;
}

inline std::vector<Card> cards(std::initializer_list<const char*> names) {
    std::vector<Card> result;
    for (const char* name : names) result.push_back(card(name));
    return result;
}

// A board of a few cards: the rules look only at what is on it.
inline Board board(std::initializer_list<std::initializer_list<const char*>> columns,
                   std::initializer_list<const char*> cells = {}) {
    Board result;
    int index = 0;
    for (const auto& column : columns) result.columns[index++] = cards(column);
    index = 0;
    for (const char* cell : cells) {
        if (std::string(cell) != "-") result.cells[index] = card(cell);
        ++index;
    }
    return result;
}

}  // namespace freecell::testing
