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

bool GameLink::start() {
    if (commandUnderWay()) return false;
    lastCommandAtMs_ = desktop_.nowMs();
    // A game dealt while minimised would be a game the player cannot see.
    if (desktop_.minimized(window_)) postRestore(desktop_, window_);
    postStartCommand(desktop_, window_);
    return true;
}

bool GameLink::restart() {
    if (commandUnderWay()) return false;
    lastCommandAtMs_ = desktop_.nowMs();
    if (desktop_.minimized(window_)) postRestore(desktop_, window_);
    postRedoCommand(desktop_, window_);
    return true;
}

void GameLink::takeBack() { postUndoCommand(desktop_, window_); }

void GameLink::minimize() { postMinimize(desktop_, window_); }

void GameLink::restore() { postRestore(desktop_, window_); }

std::optional<Rect> GameLink::gameBox() {
    if (window_ == 0) return std::nullopt;
    return desktop_.windowBox(window_);
}

void GameLink::moveGame(const Rect& box) {
    if (window_ != 0) desktop_.moveWindow(window_, box);
}
