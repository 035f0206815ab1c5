#pragma once

#include <windows.h>

#include <memory>

#include "freecell/event_log.h"
#include "freecell/freecell_game.h"
#include "freecell/game_texts.h"

namespace freecell {

// What the test build adds to the main window (test_commands_win.cpp): the
// log of the messages that reach it, the test commands of test_protocol.h,
// and hidden children that show the game's state and board.
class TestCommands {
public:
    virtual ~TestCommands() = default;
    // After the window's own children exist.
    virtual void windowCreated(HWND window, const FreeCellGame& game) = 0;
    // Before the window handles a message; true when it was a test command,
    // which is then handled.
    virtual bool handle(UINT message, WPARAM wParam, LPARAM lParam, FreeCellGame& game) = 0;
    virtual void boardChanged(const FreeCellGame& game) = 0;
    // How long the next end-this-game box or game-number dialog stops
    // answering once shown (0: it does not); asking clears it.
    virtual DWORD takeConfirmHang() = 0;
    virtual DWORD takeGameNumberHang() = 0;
};

// Defined once in each build: shipped_build_win.cpp for the game that ships,
// test_commands_win.cpp for its test build.

// The texts and the highest game number of this Windows version's edition;
// the test build lets the environment choose them and name a log file.
GameConfig configurationFor(const WindowsVersion& version);

// None in the game that ships.
std::unique_ptr<TestCommands> makeTestCommands(EventLog& log);

}  // namespace freecell
