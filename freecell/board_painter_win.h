#pragma once

#include <windows.h>

#include <optional>

#include "freecell/cards.h"
#include "freecell/mouse_play.h"

namespace freecell {

struct BoardView {
    const Board* board;  // null before the first deal
    int32_t gameNumber;
    const std::optional<Selection>* selection;
};

// Draws the table: free cells, home cells, the eight columns with the
// selected cards shown inverted, and the status line with the game number and
// the number of cards left.
void paintBoard(HDC dc, const RECT& client, const BoardView& view);

}  // namespace freecell
