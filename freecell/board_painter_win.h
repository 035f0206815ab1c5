#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "freecell/board_layout.h"
#include "freecell/cards.h"
#include "freecell/mouse_play.h"
#include "freecell/rules.h"

namespace freecell {

// Cards off their place: dragged with the mouse, or sliding back after a
// refused drop. They are drawn with their leading card at `lead`.
struct LiftedCards {
    Selection cards;
    Rect lead;
};

struct BoardView {
    const Board* board;  // null before the first deal
    int32_t gameNumber;
    const std::optional<Selection>* selection;
    std::optional<LiftedCards> lifted = std::nullopt;
    // A covered card shown whole while the right button is held on it.
    std::optional<Hit> revealed = std::nullopt;
    // The hint: its cards and where they go, framed.
    std::optional<Move> hint = std::nullopt;
    // Shown in the middle of the status line (the hint or the warning).
    std::string message = {};
};

// Draws the table: free cells, home cells, the eight columns with the
// selected cards shown inverted, the lifted cards above everything, and the
// status line with the game number and the number of cards left.
void paintBoard(HDC dc, const RECT& client, const BoardView& view);

}  // namespace freecell
