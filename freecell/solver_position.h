#pragma once

#include <string>

#include "freecell/cards.h"

namespace freecell {

// The position as Freecell Solver reads it: the home cells by suit, the free
// cells in their order ("-" for an empty one), then each column from its top
// card, one column a line, e.g.
//   Foundations: H-0 C-A D-0 S-2
//   Freecells: 4D - - -
//   : KS QD 9C
// Its free cells and columns keep the game's numbering, so the solver's
// answer names the game's places.
std::string solverPositionText(const Board& board);

}  // namespace freecell
