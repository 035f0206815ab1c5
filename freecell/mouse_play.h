#pragma once

#include <optional>

#include "freecell/rules.h"

namespace freecell {

// What the pointer is on: a place, and in a column the row of the card under
// it (-1 in an empty column).
struct Hit {
    Location location;
    int row = -1;
};

// The cards the first click picked up: a free cell's card, or a column's
// cards from `row` to its bottom (always part of its ordered run).
struct Selection {
    Location location;
    int row = 0;
};

struct ClickOutcome {
    std::optional<Move> move;  // a legal move to play
    bool refused = false;      // the click asked for a move the rules forbid
};

// Click to select, click to move. The first click on a card selects it (in a
// column, together with the cards below it, as far as they form an ordered
// run; a click above the run selects the whole run). The second click moves
// there: onto a fitting card (as many cards as it takes, within the limit),
// into an empty column (the selected cards, or as many of them as the limit
// allows), into a free cell or home. A second click on the same place, or
// beside every place, puts the cards back. Every second click ends the
// selection.
ClickOutcome click(const Board& board, std::optional<Selection>& selection, const std::optional<Hit>& hit);

// A double click sends a column's bottom card home when it can go there, and
// otherwise into the first free cell; a free cell's card goes home when it
// can.
ClickOutcome doubleClick(const Board& board, const std::optional<Hit>& hit);

}  // namespace freecell
