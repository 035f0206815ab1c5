#pragma once

#include <optional>
#include <vector>

#include "freecell/cards.h"
#include "freecell/rules.h"

// A small FreeCell solver for the tools that play the game with the
// mouse: a best-first search over positions, with the game's own rules and
// its automatic moves to the home cells after every move.
namespace solver {

struct Solution {
    std::vector<freecell::Move> moves;  // the player's moves, automatic ones left out
    int positions = 0;                  // positions looked at
};

// Moves that send every card home from `board`; none when the search gives up
// after `budget` positions.
std::optional<Solution> solve(const freecell::Board& board, int budget = 300000);

}  // namespace solver
