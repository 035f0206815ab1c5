#pragma once

#include <optional>

#include "freecell/board_layout.h"
#include "freecell/mouse_play.h"

namespace freecell {

// The cards a press picked up, following the pointer once it has moved far
// enough to be a drag rather than a click: a free cell's card, or a column's
// cards from the pressed one down.
class CardDrag {
public:
    // `cards` were picked up by a press at `press`; their leading card lies
    // at `lead`.
    CardDrag(const Selection& cards, const Rect& lead, const Point& press);

    // The pointer is at `point`; true from the moment it is more than the
    // system's drag distance away from the press (then the cards follow it).
    bool follow(const Point& point, int dragWidth, int dragHeight);
    bool begun() const { return begun_; }
    const Selection& cards() const { return cards_; }
    // Where the leading card is drawn now, and where it lay before the drag.
    Rect lead() const;
    const Rect& origin() const { return origin_; }

private:
    Selection cards_;
    Rect origin_;
    Point press_;
    Point pointer_;
    bool begun_ = false;
};

// Whether the selected cards may be dragged: a free cell's card always, and
// in a column an ordered run no longer than the free cells and empty columns
// let one move carry.
bool canDrag(const Board& board, const Selection& cards);

// Where dragged cards whose leading card lies at `lead` are dropped: the
// place their leading card covers most (a cell, a home cell, or a column's
// bottom card or empty slot); none when it covers none.
std::optional<Location> dropTarget(const BoardLayout& layout, const Board& board, const Rect& lead);

// The move that dropping the dragged cards on `target` makes: all of them,
// onto a fitting card or into an empty column within the limit, or one card
// into a free cell or home (any home cell takes a card to its suit's). None
// when the rules forbid it.
std::optional<Move> dropMove(const Board& board, const Selection& cards, const Location& target);

// A rectangle `fraction` (0 to 1) of the way from `from` to `to`: the cards
// sliding back after a drop the rules refuse.
Rect between(const Rect& from, const Rect& to, double fraction);

}  // namespace freecell
