#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The game number in play and the attempt at it, 1 for the first attempt.
// The keeper of the record owns it; the settings file carries it from one run
// to the next.
struct GameInPlay {
    int32_t number = 1;
    int32_t attempt = 1;
};

// A game that ended: won, or lost (a lost dialog, or the game ended by the
// player). Only the first attempt at a number is counted in the totals, once.
struct GameResult {
    bool won = false;
    int32_t gameNumber = 0;
    int32_t attempt = 1;
    // The number's first attempt was counted before (it came back from the
    // pass list, was typed again, or was reached again after the highest).
    bool countedBefore = false;
    bool counted() const { return attempt == 1 && !countedBefore; }
};

// How a game ended, as the watcher sees it: won, lost in the game's lost
// dialog (whose yes deals the same game again), or resigned in the game's
// end-this-game box (after which the command that asked deals what it deals).
// Which number it was is the keeper's to say.
enum class GameEnd { won, lost, resigned };

// The number the game is to be given when it asks, or why the number box's
// text cannot be given (the text shown in the error box).
struct NumberToDeal {
    std::optional<int32_t> number;
    std::string refusal;
};
