#include "gamelink/game_session.h"

#include "common/code_page_932.h"
#include "gamelink/game_contract.h"

namespace {

// Pause of each pass of the close wait; it answers sent messages meanwhile.
constexpr uint32_t kClosePassPauseMs = 10;
// The redo command lets the game take the foreground before the menu keys.
constexpr uint32_t kRedoPauseMs = 50;

}  // namespace

namespace {

std::string bundledGamePath(const std::string& executablePath) {
    const std::string folder = folderOf(executablePath);
    if (folder.empty()) return {};
    return folder + "\\" + kBundledGameFolder + "\\" + game::kExecutable;
}

}  // namespace

std::string findGameCommandLine(ProcessLauncher& launcher, const OsVersion& version,
                                const std::string& executablePath) {
    if (launcher.isFile(game::kExecutable)) return game::kExecutable;
    const std::string directory = version.platformId == 1 ? launcher.windowsDirectory() : launcher.systemDirectory();
    // A failed directory query would make "\FREECELL.EXE" on the current
    // drive's root: not the game's place, so it is not tried.
    if (!directory.empty()) {
        const std::string path = directory + "\\" + game::kExecutable;
        if (launcher.isFile(path)) return path;
    }
    const std::string bundled = bundledGamePath(executablePath);
    if (!bundled.empty() && launcher.isFile(bundled)) return bundled;
    return {};
}

WindowId findGameWindow(Desktop& desktop) { return desktop.findTopLevel(game::kMainWindowClass, nullptr); }

StartResult startGame(Desktop& desktop, ProcessLauncher& launcher, const OsVersion& version,
                      const std::string& executablePath) {
    StartResult result;
    result.window = findGameWindow(desktop);
    if (result.window != 0) return result;

    const std::string commandLine = findGameCommandLine(launcher, version, executablePath);
    if (commandLine.empty()) {
        result.executableNotFound = true;
        return result;
    }
    // A failed launch is not reported: no game window follows, and the
    // watcher's first tick ends the program.
    launcher.launch(commandLine);
    result.window = findGameWindow(desktop);
    return result;
}

bool closeGame(Desktop& desktop, const ProfileTexts& texts, WindowId gameWindow, uint32_t timeoutMs) {
    if (gameWindow != 0) {
        desktop.bringToForeground(gameWindow);
        desktop.post(gameWindow, game::kWmClose, 0);
    }

    // Another copy of the game, or a box of another kind or language, would
    // keep a "FreeWClass" window alive for ever: the wait follows our own game
    // window and has a time limit.
    const uint64_t start = desktop.nowMs();
    while (findGameWindow(desktop) != 0 && desktop.exists(gameWindow) && desktop.nowMs() - start < timeoutMs) {
        const WindowId box = desktop.findTopLevel(game::kDialogClass, texts.TitleConfirm);
        const WindowId yes = desktop.findChild(box, nullptr, texts.CaptionYes);
        if (box != 0) {
            desktop.bringToForeground(box);
            if (yes != 0) desktop.post(yes, game::kWmKeyDown, game::kKeyY);
        }
        desktop.pause(kClosePassPauseMs);
    }
    return findGameWindow(desktop) == 0 || !desktop.exists(gameWindow);
}

namespace {

struct KeyMessage {
    uint32_t message;
    uintptr_t wParam;
};

template <size_t N>
void postToGame(Desktop& desktop, WindowId gameWindow, const KeyMessage (&messages)[N]) {
    for (const KeyMessage& key : messages) desktop.post(gameWindow, key.message, key.wParam);
}

}  // namespace

void postStartCommand(Desktop& desktop, WindowId gameWindow) {
    if (gameWindow == 0) return;
    static constexpr KeyMessage kF3[] = {{game::kWmKeyDown, game::kVkF3}, {game::kWmKeyUp, game::kVkF3}};
    desktop.bringToForeground(gameWindow);
    postToGame(desktop, gameWindow, kF3);
}

void postRedoCommand(Desktop& desktop, WindowId gameWindow) {
    if (gameWindow == 0) return;
    // Alt alone opens the menu bar (SC_KEYMENU); then G, the key-up of Alt,
    // and R. Only Alt's key-up is posted, and G has none.
    static constexpr KeyMessage kAltGR[] = {{game::kWmSysCommand, game::kScKeyMenu},
                                            {game::kWmSysKeyDown, game::kKeyG},
                                            {game::kWmKeyUp, game::kVkMenu},
                                            {game::kWmKeyDown, game::kKeyR},
                                            {game::kWmKeyUp, game::kKeyR}};
    desktop.bringToForeground(gameWindow);
    desktop.pause(kRedoPauseMs);
    postToGame(desktop, gameWindow, kAltGR);
}

void postUndoCommand(Desktop& desktop, WindowId gameWindow) {
    if (gameWindow == 0) return;
    static constexpr KeyMessage kF10[] = {{game::kWmKeyDown, game::kVkF10}, {game::kWmKeyUp, game::kVkF10}};
    desktop.bringToForeground(gameWindow);
    postToGame(desktop, gameWindow, kF10);
}

void postMinimize(Desktop& desktop, WindowId gameWindow) {
    if (gameWindow != 0) desktop.post(gameWindow, game::kWmSysCommand, game::kScMinimize);
}

void postRestore(Desktop& desktop, WindowId gameWindow) {
    if (gameWindow != 0) desktop.post(gameWindow, game::kWmSysCommand, game::kScRestore);
}
