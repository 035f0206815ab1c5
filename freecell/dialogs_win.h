#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "freecell/event_log.h"
#include "freecell/freecell_game.h"
#include "freecell/game_texts.h"

namespace freecell {

// The game's modal dialogs, all of the system dialog class "#32770". Each
// logs the messages of interest that reach its controls.

// The end-this-game box; true for yes. With hangMs > 0 the box, once shown,
// stops handling messages for that long.
// The name under which the log writes a message of interest that a window of
// the game received ("WM_KEYDOWN", "BM_CLICK" ...); empty for any other.
std::string loggedMessageName(UINT message);

bool showConfirmDialog(HWND owner, const GameTexts& texts, EventLog& log, DWORD hangMs);

// The game-number dialog: the field's text on OK, none on Cancel. hangMs as
// for the end-this-game box.
std::optional<std::string> showGameNumberDialog(HWND owner, const GameTexts& texts, EventLog& log,
                                                const std::string& initial, DWORD hangMs);

LostAnswer showLostDialog(HWND owner, const GameTexts& texts, EventLog& log);

WonAnswer showWonDialog(HWND owner, const GameTexts& texts, EventLog& log, bool selectGame);

}  // namespace freecell
