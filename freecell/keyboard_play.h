#pragma once

#include <optional>

#include "freecell/rules.h"

namespace freecell {

// The places of keyboard play, which works as click and click does: the
// first key picks up, the second puts down. 1 to 8 (on the main keys or the
// numeric keypad) are the columns from the left, A, S, D and F the free cells
// from the left, H the home cells. None of them is a key of the menus or the
// function keys; a key outside this set stands for no place.
std::optional<Location> placeForKey(unsigned virtualKey);

// Esc puts picked-up cards back.
inline constexpr unsigned kPutBackKey = 0x1B;

}  // namespace freecell
