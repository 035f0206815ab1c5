#pragma once

#include <optional>

#include "gamelink/arrangement.h"
#include "gamelink/desktop.h"

// The screen and the game's window as the arrangement reads and moves them.

struct ScreenSpace {
    std::optional<ScreenBox> workArea;  // none when SPI_GETWORKAREA fails
    int width = 0;                      // SM_CXSCREEN
    int height = 0;                     // SM_CYSCREEN
};
ScreenSpace readScreenSpace();

// The game's window (GetWindowRect); none when it is gone or minimised, since a
// minimised window's rectangle is not the size the user gave the game.
std::optional<ScreenBox> readGameWindow(WindowId window);

// Moves and sizes the game's window as MoveWindow with repaint does, without
// waiting for the game to carry it out; a window that has gone meanwhile is
// simply missed.
void moveGameWindow(WindowId window, const ScreenBox& box);
