#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "freecell/cards.h"
#include "freecell/rules.h"

namespace freecell {

// Whether a position can still be won, as far as a bounded search can tell.
enum class Outlook { Winnable, Lost, Undecided };

// How far the searches may go. The quick search (Freecell Solver's default
// scan, which moves whole ordered runs) finds a way to win in most positions
// after a few hundred positions; only the thorough one (single cards, every
// move tried) can show that no way is left. Each gives up at its bound, and
// both look at whether they are still wanted every `step` positions.
struct AnalysisBound {
    long quickPositions = 30000;
    // The thorough search keeps every position it has seen: this bounds its
    // memory (about 180 bytes a position in the 32-bit game, so that the
    // game stays under 20 MB, docs/performance.md). Game 11982, lost as
    // dealt, takes 61,809.
    long thoroughPositions = 64000;
    long step = 1000;
};

struct Analysis {
    Outlook outlook = Outlook::Undecided;
    // A way to win as the player's moves (the game's automatic moves after
    // each), when one was found; its first move is the hint.
    std::vector<Move> way;
    // Positions the searches looked at, together.
    long positions = 0;
};

// Searches from `board` (a position the game has played its automatic moves
// in) for a way to win. None when `wanted` said no, and the search stopped.
std::optional<Analysis> analysePosition(
    const Board& board, const AnalysisBound& bound = {}, const std::function<bool()>& wanted = [] { return true; });

}  // namespace freecell
