#pragma once

#include <vector>

#include "freecell/cards.h"

namespace freecell {

// A card covered in a column shows this many pixels of its top: its rank and
// suit side by side, nothing of the symbols in its middle.
inline constexpr int kIndexStripHeight = 18;

struct ShapePoint {
    double x = 0;
    double y = 0;
};
using Outline = std::vector<ShapePoint>;  // a closed polygon

// A suit's symbol as filled polygons within -1 to 1 on both axes (y grows
// downwards), drawn upright: a heart, a diamond, a spade, a club.
const std::vector<Outline>& suitShape(int suit);

// One suit symbol on a card face: its centre in pixels from the card's top
// left corner, its half size, and whether it is drawn upside down (the lower
// half of a face shows its symbols turned, as printed cards do).
struct Pip {
    double x = 0;
    double y = 0;
    double halfSize = 0;
    bool upsideDown = false;
};

// The symbols in the middle of an ace or a number card (2 to 10) of the
// classic 71 × 96 card, in the familiar patterns, below the index strip;
// none for a face card.
std::vector<Pip> pipLayout(int rank);

}  // namespace freecell
