#pragma once

#include <cstdint>

// The game number in play and the attempt at it, 1 for the first attempt.
// The watcher owns it; the settings file carries it from one run to the next.
struct GameInPlay {
    int32_t number = 1;
    int32_t attempt = 1;
};

// A game that ended: won, or lost (a lost dialog, or the game ended by the
// player). Only the first attempt at a number is counted in the totals.
struct GameResult {
    bool won = false;
    int32_t gameNumber = 0;
    int32_t attempt = 1;
    bool counted() const { return attempt == 1; }
};
