#include "gamelink/game_link.h"

#include <utility>

#include "gamelink/arrangement.h"
#include "gamelink/game_contract.h"

GameLink::GameLink(Desktop& desktop, ProcessLauncher& launcher, const OsVersion& version, std::string executablePath)
    : desktop_(desktop),
      launcher_(launcher),
      version_(version),
      executablePath_(std::move(executablePath)),
      profile_(chooseOsProfile(version)),
      watcher_(desktop, profile_) {}

bool GameLink::findOrStart() {
    const StartResult start = startGame(desktop_, launcher_, version_, executablePath_);
    window_ = start.window;
    return start.executableNotFound;
}

void GameLink::findAgain() { window_ = findGameWindow(desktop_); }

bool GameLink::watchWindows(Desktop::WindowsChanged changed) {
    return window_ != 0 && desktop_.watchWindows(window_, std::move(changed));
}

bool GameLink::close(uint32_t timeoutMs) { return closeGame(desktop_, profile_.texts, window_, timeoutMs); }

bool GameLink::commandUnderWay() {
    if (lastCommandAtMs_ && desktop_.nowMs() - *lastCommandAtMs_ < kCommandSettleMs) return true;
    return desktop_.findTopLevel(nullptr, profile_.texts.TitleGameNumber) != 0 ||
           desktop_.findTopLevel(game::kDialogClass, profile_.texts.TitleConfirm) != 0;
}

// The game asks the player (its won or lost dialog is open), or did when a
// press that waited behind a tick was made: the press is no answer to the
// dialog, and carried out after it, it would end the game dealt next.
bool GameLink::gameAsksThePlayer(uint32_t pressWaitedMs) {
    if (desktop_.findTopLevel(nullptr, profile_.texts.TitleGameOver) != 0) return true;
    const std::optional<uint64_t> seen = watcher_.gameOverLastSeenMs();
    const uint64_t now = desktop_.nowMs();
    return seen && *seen + pressWaitedMs >= now;
}

bool GameLink::start(uint32_t pressWaitedMs) {
    if (gameAsksThePlayer(pressWaitedMs) || commandUnderWay()) return false;
    lastCommandAtMs_ = desktop_.nowMs();
    // A game dealt while minimised would be a game the player cannot see.
    if (desktop_.minimized(window_)) postRestore(desktop_, window_);
    postStartCommand(desktop_, window_);
    return true;
}

bool GameLink::restart(uint32_t pressWaitedMs) {
    if (gameAsksThePlayer(pressWaitedMs) || commandUnderWay()) return false;
    lastCommandAtMs_ = desktop_.nowMs();
    if (desktop_.minimized(window_)) postRestore(desktop_, window_);
    postRedoCommand(desktop_, window_);
    return true;
}

bool GameLink::takeBack(uint32_t pressWaitedMs) {
    if (gameAsksThePlayer(pressWaitedMs)) return false;
    postUndoCommand(desktop_, window_);
    return true;
}

void GameLink::minimize() { postMinimize(desktop_, window_); }

void GameLink::restore() { postRestore(desktop_, window_); }

std::optional<Rect> GameLink::gameBox() {
    if (window_ == 0) return std::nullopt;
    return desktop_.windowBox(window_);
}

void GameLink::moveGame(const Rect& box) {
    if (window_ != 0) desktop_.moveWindow(window_, box);
}
