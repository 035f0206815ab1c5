#pragma once

#include <cstdint>
#include <vector>

#include "freecell/cards.h"
#include "freecell/rules.h"

// A complete search of one deal with a given number of free cells, for the
// fewest free cells of the deals' table, where Freecell Solver's own complete
// search runs out of memory (it keeps about 700 bytes per position; this one
// keeps 16).
//
// It moves one card at a time, as the game does (a sequence moved at once is
// such moves through the free cells and empty columns, so it wins nothing
// more), and after each move plays the game's automatic moves
// (`freecell::playAutomaticMoves`: aces, twos, and a card whose
// opposite-coloured cards one rank lower are home). Those are never a loss:
// nothing still on the tableau can need such a card under it. Positions are
// told apart by a 128-bit hash that ignores the order of the columns and of
// the free cells, so each arrangement is searched once. When the search ends
// without a win, no win exists with that many cells.
namespace deal_table {

enum class CellVerdict { won, cannotBeWon, limitReached };

struct CellSearchResult {
    CellVerdict verdict = CellVerdict::limitReached;
    uint64_t positions = 0;  // distinct positions reached
    // The player's moves of the win, one card each, into free cells 0 to
    // cells - 1 only; the game's automatic moves follow each by themselves.
    std::vector<freecell::Move> moves;
};

// Searches `deal` (as dealt: no card home, free cells empty) with `freeCells`
// free cells (0 to 4), stopping with limitReached after `positionLimit`
// distinct positions; the memory held is 21 to 43 bytes a position reached.
CellSearchResult searchWithCells(const freecell::Board& deal, int freeCells, uint64_t positionLimit);

// Plays `moves` on `deal` by the game's rules with at most `freeCells` free
// cells in use, the game's automatic moves after each. Empty when they win
// it; else what went wrong ("move 12 column3>cell2 is not allowed", ...).
std::string replayWithCells(const freecell::Board& deal, int freeCells, const std::vector<freecell::Move>& moves);

}  // namespace deal_table
