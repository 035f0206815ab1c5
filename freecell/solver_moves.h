#pragma once

#include <optional>
#include <vector>

#include "freecell/rules.h"

namespace freecell {

// One move of Freecell Solver's answer, in its own terms: what kind of move,
// and the indexes of its source and target (a column or a free cell in the
// game's numbering, or the solver's own number of a home cell).
struct SolverMove {
    enum class Kind { ColumnToColumn, ColumnToCell, CellToColumn, CellToCell, ColumnToHome, CellToHome, Other };
    Kind kind = Kind::Other;
    int from = 0;
    int to = 0;
    int count = 1;
};

// The same move as the game plays it on `board`; a card that goes home goes
// to its own suit's home cell. None when the game's rules do not allow it
// there (a move between free cells, for one, which the game never makes).
std::optional<Move> gameMove(const Board& board, const SolverMove& move);

// The solver's answer from `board` as the player's moves in the game. The
// solver knows nothing of the game's automatic moves: each of its moves is
// followed by card, so a card that the game has sent home already is left
// out, and a run is taken from wherever its leading card is now. The way
// ends early at a move the game's rules would refuse.
std::vector<Move> gameWay(const Board& board, const std::vector<SolverMove>& answer);

}  // namespace freecell
