#pragma once

// What the demo and the benchmark share: console output in UTF-8, the game's
// window texts for this Windows version, and the steps of playing one game.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "gamelink/os_profile.h"
#include "harness/harness.h"

namespace tools {

// A step that did not happen as expected; the message says which.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Code page 932 bytes as UTF-8, so that a Linux terminal shows the Japanese texts.
std::string utf8(const std::string& cp932);
// One line on standard output (the text in code page 932), flushed at once.
void say(const std::string& cp932Line);

// The texts of the game's dialogs, chosen from the Windows version as both
// the game and Tallykeep choose them.
ProfileTexts currentTexts();

// The top-level window of that caption owned by `processId`, or null.
HWND findProcessWindow(DWORD processId, const char* className, const char* caption);

// The game, Tallykeep and the log of what the game received.
struct Table {
    HWND game = nullptr;
    const e2e::StandinLog* log = nullptr;
    ProfileTexts texts{};
};

// The game is won; once Tallykeep has ticked the select-game box and
// `thinkMs` more have passed, the user's yes: the game asks for the next
// number and Tallykeep enters it. Throws Failure unless `nextGame` is dealt.
void winAndAnswerYes(const Table& table, int nextGame, unsigned thinkMs = 0);
// The same for a game that has just been won by play: `mark` is the log's
// size before the play.
void answerWonDialogYes(const Table& table, int nextGame, std::size_t mark, unsigned thinkMs = 0);
// Plays the dealt game `number` to its end with the mouse and answers the
// won dialog as above. Returns the moves made.
int playWinAndAnswerYes(const Table& table, int number);
// The game is lost; Tallykeep answers yes and the same game is dealt again.
void loseAndRedeal(const Table& table, int game);

}  // namespace tools
