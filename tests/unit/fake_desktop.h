#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gamelink/desktop.h"
#include "gamelink/os_profile.h"

// An in-memory window system: windows with class, caption, parent and life;
// a log of every call; a clock that only pause() advances; hooks through which
// a scripted game reacts to posted messages and a scripted user acts while
// Tallykeep waits.
class FakeDesktop : public Desktop {
public:
    struct Call {
        enum Kind { FindTopLevel, FindChild, Exists, Foreground, Top, Post, Pause };
        Kind kind;
        WindowId window = 0;   // parent for FindChild; 0 for FindTopLevel
        uint32_t message = 0;  // Post: message; Pause: milliseconds
        uintptr_t wParam = 0;
        std::string className;  // "*" for any (nullptr)
        std::string caption;
        WindowId result = 0;  // what a lookup returned
    };

    WindowId createWindow(WindowId parent, const std::string& className, const std::string& caption);
    // Destroys the window and its children.
    void destroyWindow(WindowId window);
    bool isAlive(WindowId window) const;

    WindowId findTopLevel(const char* className, const char* title) override;
    WindowId findChild(WindowId parent, const char* className, const char* caption) override;
    bool exists(WindowId window) override;
    std::string titleOf(WindowId window) override;
    bool shown(WindowId window) override { return isAlive(window) && hiddenWindows.count(window) == 0; }
    std::optional<bool> ticked(WindowId window) override { return tickedOf ? tickedOf(window) : std::nullopt; }
    // Gives a window another title, as a game finishing its dialog does.
    void setTitle(WindowId window, const std::string& title);
    void bringToForeground(WindowId window) override;
    void bringToTop(WindowId window) override;
    void post(WindowId window, uint32_t message, uintptr_t wParam) override;
    bool minimized(WindowId window) override { return isAlive(window) && minimizedWindows.count(window) != 0; }
    std::optional<Rect> windowBox(WindowId window) override;
    void moveWindow(WindowId window, const Rect& box) override;
    void pause(uint32_t milliseconds) override;
    uint64_t nowMs() override { return clockMs; }
    bool sessionEnding() override { return sessionEndsAtMs && clockMs >= *sessionEndsAtMs; }

    std::vector<Call> callsOf(Call::Kind kind) const;
    size_t lookupCount() const;  // FindTopLevel + FindChild
    void clearLog() { calls.clear(); }

    std::vector<Call> calls;
    uint64_t clockMs = 1000;
    std::set<WindowId> minimizedWindows;
    std::set<WindowId> hiddenWindows;
    std::map<WindowId, Rect> boxes;  // where moveWindow put a window
    // The Windows session ends from this time on; none: it goes on.
    std::optional<uint64_t> sessionEndsAtMs;
    // The game's reaction to a message posted to a living window.
    std::function<void(WindowId, uint32_t, uintptr_t)> onPost;
    // Whatever happens in the world during one pause (the user, the game).
    std::function<void()> onPause;
    std::function<std::optional<bool>(WindowId)> tickedOf;

private:
    struct Window {
        WindowId id;
        WindowId parent;
        std::string className;
        std::string caption;
        bool alive;
    };
    const Window* window(WindowId id) const;
    std::vector<Window> windows_;
};

// The clipboard; it can be held by another program, or rewritten after each
// write as a clipboard watcher might.
class FakeClipboard : public Clipboard {
public:
    void setText(const std::string& text) override;
    std::string text() override;

    std::string content;
    bool heldByAnotherProgram = false;
    std::function<std::string(const std::string&)> rewrite;  // applied to every write
    int writes = 0;
};

// The game over the fake desktop: its main window and its dialogs with the
// texts of a profile, reacting to Tallykeep's messages as the real game does.
class FakeGame {
public:
    FakeGame(FakeDesktop& desktop, FakeClipboard& clipboard, const ProfileTexts& texts);

    void start();                         // the main window "FreeWClass"
    WindowId showGameNumberDialog();      // edit field with "0", OK button
    WindowId showLossDialog();            // same-game box and yes button
    WindowId showWinDialog();             // select-game box and yes button
    WindowId showGameOverWithoutBoxes();  // yes button only
    WindowId showConfirmBox();            // text and yes button

    // The user answers the open won dialog with yes after this many pauses
    // (-1: not at all). A ticked select-game box then opens a game-number dialog.
    int userAnswersWinAfterPauses = -1;
    // false: the game reacts to nothing.
    bool responsive = true;
    // Numbers the game deals; any other closes the dialog and opens a new one.
    std::function<bool(int32_t)> accepts = [](int32_t) { return true; };
    // A refused number closes the dialog; true: the new dialog is left to the
    // test to open (the real game shows none for a moment in between).
    bool refusalLeavesAGap = false;
    // WM_CLOSE: show the end-this-game box first (true) or close at once.
    bool confirmsOnClose = false;

    std::vector<std::string> dealt;  // texts confirmed in the game-number dialog
    bool selectGameChecked = false;
    WindowId mainWindow = 0;
    WindowId winDialog = 0;
    int gameNumberDialogsShown = 0;

private:
    void react(WindowId window, uint32_t message, uintptr_t wParam);
    void onPause();

    FakeDesktop& desktop_;
    FakeClipboard& clipboard_;
    const ProfileTexts& texts_;
    struct Dialog {
        WindowId dialog;
        WindowId edit;    // game-number dialog
        WindowId button;  // OK or yes
        std::string field;
        bool isGameNumber;
        bool closesMain;  // the end-this-game box of WM_CLOSE
    };
    std::vector<Dialog> dialogs_;
    WindowId winSelectBox_ = 0;
};
