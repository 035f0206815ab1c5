#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "gamelink/arrangement.h"
#include "gamelink/desktop.h"
#include "gamelink/game_session.h"
#include "gamelink/os_profile.h"
#include "gamelink/watcher.h"

// Tallykeep's one way to the game: finding or starting it, the watcher,
// the control bar's commands, following the program's minimise and restore,
// reading and moving the game's window, and closing it.
class GameLink {
public:
    // `executablePath` is Tallykeep's own: the game that ships with it lies
    // in a folder beside it.
    GameLink(Desktop& desktop, ProcessLauncher& launcher, const OsVersion& version, std::string executablePath = {});
    GameLink(const GameLink&) = delete;
    GameLink& operator=(const GameLink&) = delete;

    const OsProfile& profile() const { return profile_; }
    int32_t maxGameNumber() const { return profile_.maxGameNumber; }
    // False on Windows NT 4.0, whose game takes no take-back from outside.
    bool takeBackAvailable() const { return !takeBackIsUnavailable(version_); }

    // Finds the running game or starts it; true when no game executable was
    // found at all (the caller tells the user, then calls findAgain()).
    bool findOrStart();
    void findAgain();
    bool hasWindow() const { return window_ != 0; }
    // Calls `changed` when the game's windows change, where Windows tells
    // (Desktop::watchWindows); false where it does not, or with no game.
    bool watchWindows(Desktop::WindowsChanged changed);
    void stopWatchingWindows() { desktop_.stopWatchingWindows(); }

    // The watcher's tick: tick() and then continueTick() while the outcome
    // says there is more (GameWatcher).
    TickOutcome tick(Clipboard& clipboard, const TickInput& input) { return watcher_.tick(clipboard, input); }
    TickOutcome continueTick(Clipboard& clipboard) { return watcher_.continueTick(clipboard); }
    // None of the game's dialogs was open at the last tick.
    bool idleAtLastTick() const { return watcher_.lastTickFoundNoDialog(); }
    // The clock of the wait loops, in milliseconds.
    uint64_t nowMs() { return desktop_.nowMs(); }

    // Closes the game as the user would, answering its end-this-game question;
    // true when its window is gone within the time.
    bool close(uint32_t timeoutMs);

    // The control bar's commands. Starting and restarting end the game on the
    // board; a press that arrives while the command before it is still being
    // carried out is dropped, so that a double press costs one attempt, not
    // two. A command is under way for kCommandSettleMs after its press (the
    // game takes a moment to show its question), and for as long as the game
    // shows its end-this-game question or its number dialog. False when
    // dropped.
    // None of them is carried out while the game's won or lost dialog asks
    // the player, nor when the press was made then and waited behind the
    // watcher's tick (`pressWaitedMs`, how long it waited).
    bool start(uint32_t pressWaitedMs = 0);
    bool restart(uint32_t pressWaitedMs = 0);
    bool takeBack(uint32_t pressWaitedMs = 0);

    void minimize();
    void restore();
    // Whether the game's window is minimised; false without one.
    bool gameMinimized() { return window_ != 0 && desktop_.minimized(window_); }
    // The game's window; none while it is gone or minimised.
    std::optional<Rect> gameBox();
    void moveGame(const Rect& box);

    // How long a start or restart counts as being carried out, at least: a
    // double click is quicker.
    static constexpr uint64_t kCommandSettleMs = 250;

private:
    bool commandUnderWay();
    bool gameAsksThePlayer(uint32_t pressWaitedMs);

    Desktop& desktop_;
    ProcessLauncher& launcher_;
    OsVersion version_;
    std::string executablePath_;
    OsProfile profile_;
    GameWatcher watcher_;
    WindowId window_ = 0;
    std::optional<uint64_t> lastCommandAtMs_;
};
