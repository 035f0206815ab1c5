#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace e2e {

struct MousePlay {
    bool won = false;     // every card went home
    int moves = 0;        // the moves made with the mouse
    std::string failure;  // what went wrong, when not won
};

// How each move is made with the mouse.
enum class MouseMoves {
    // A double click sends a card into a free cell, click and click makes
    // every other move (posted mouse messages).
    Clicks,
    // Every move dragged with the real mouse (dragBoard): the leading card
    // pressed, the pointer moved to the place, released there.
    Drags,
};

// Plays game `number`, just dealt in the test build's window, to its end with
// the mouse as a person would: the solver finds the moves, made as `how` says.
// After each move it waits until the game's board reads as the rules say,
// then calls `afterMove` with the moves made and the moves in all.
MousePlay playToTheEnd(HWND game, int32_t number, const std::function<void(int, int)>& afterMove = {},
                       MouseMoves how = MouseMoves::Clicks);

// The same for the game that ships, which shows tests nothing of its board:
// every move is posted at once, placed on the board that the rules give after
// the moves before it. The game handles its posted messages in order, so the
// clicks land as a person's would; whether the game was won shows in its
// dialog and in Tallykeep. `number` must be dealt and the window not resized
// meanwhile. False when no solution was found.
bool postWinningClicks(HWND game, int32_t number);

}  // namespace e2e
