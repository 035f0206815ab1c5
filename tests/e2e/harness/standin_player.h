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

// Plays game `number`, just dealt in the stand-in's window, to its end with
// the mouse as a person would: the solver finds the moves; a double click
// sends a card into a free cell, click and click makes every other move.
// After each move it waits until the game's board reads as the rules say,
// then calls `afterMove` with the moves made and the moves in all.
MousePlay playToTheEnd(HWND game, int32_t number, const std::function<void(int, int)>& afterMove = {});

}  // namespace e2e
