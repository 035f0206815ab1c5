#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/rect.h"

// A top-level or child window of another process; 0 is "none".
using WindowId = uintptr_t;

// The window-system operations by which Tallykeep sees and drives the game.
// One Win32 implementation (desktop_win.cpp), one in-memory fake for tests.
class Desktop {
public:
    virtual ~Desktop() = default;

    // FindWindowA: a top-level window by class and title; nullptr means any.
    virtual WindowId findTopLevel(const char* className, const char* title) = 0;
    // FindWindowExA from the first child: a direct child by class and caption;
    // nullptr means any. A parent of 0 finds nothing.
    virtual WindowId findChild(WindowId parent, const char* className, const char* caption) = 0;
    // True while the id names an existing window (IsWindow).
    virtual bool exists(WindowId window) = 0;
    // The window's title, read without a message to its program (a game that
    // hangs cannot hold the caller), and whether it is shown (IsWindowVisible).
    // Safe from any thread.
    virtual std::string titleOf(WindowId window) = 0;
    virtual bool shown(WindowId window) = 0;
    // Whether a check box is ticked (BM_GETCHECK, bounded against a game that
    // hangs); none when it cannot be told.
    virtual std::optional<bool> ticked(WindowId) { return std::nullopt; }
    // The number the game's main window tells of the deal on its board
    // (game::kGameNumberProperty); none from a game that does not tell.
    virtual std::optional<int32_t> toldGameNumber(WindowId) { return std::nullopt; }
    virtual void bringToForeground(WindowId window) = 0;  // SetForegroundWindow
    virtual void bringToTop(WindowId window) = 0;         // BringWindowToTop
    // PostMessageA with lParam 0; the result is not tested.
    virtual void post(WindowId window, uint32_t message, uintptr_t wParam) = 0;
    // True while the window is minimised (IsIconic).
    virtual bool minimized(WindowId window) = 0;
    // The window's outer rectangle (GetWindowRect); none when it is gone or
    // minimised, since a minimised window's rectangle is not the size the user
    // gave it.
    virtual std::optional<Rect> windowBox(WindowId window) = 0;
    // Moves and sizes the window with repaint, without waiting for its program
    // to carry it out (a hung game must not hold Tallykeep up); a window that
    // has gone meanwhile is simply missed.
    virtual void moveWindow(WindowId window, const Rect& box) = 0;

    // One pass of a wait loop: answers messages that other programs send to
    // Tallykeep's windows (the game's paste asks the clipboard owner), runs no
    // event of Tallykeep's own, and yields the processor for about the given time.
    virtual void pause(uint32_t milliseconds) = 0;
    // The same, ended early when the game's windows change (where Windows
    // tells of it, see watchWindows): a dialog that closes is seen at once.
    virtual void pauseUntilGameChanges(uint32_t milliseconds) { pause(milliseconds); }
    // One pass of the wait for the player's answer to a dialog of the game:
    // as pauseUntilGameChanges. A desktop told of the game's window events
    // may make the pass longer while the game is quiet, since the events end
    // it (the dialog that closes, the focus that moves).
    virtual void pauseForPlayer(uint32_t milliseconds) { pauseUntilGameChanges(milliseconds); }
    // A monotonic clock in milliseconds, for the bounds of the wait loops.
    virtual uint64_t nowMs() = 0;
    // True once the Windows session is ending: a loop that waits for the game
    // or the user ends at its next pass, so that the shutdown can run.
    virtual bool sessionEnding() = 0;

    // Calls `changed` whenever the game's process creates, shows, hides or
    // destroys a window, starts a dialog or moves its focus, where Windows
    // tells of such changes (from Windows 98 and 2000 on); its drawing, the
    // mouse and windows that move do not call it. `changed` gets the window
    // when the change is a new top-level window (a dialog), else 0. The call
    // comes on Tallykeep's thread from inside any call that takes messages, a
    // wait loop's pause included, so `changed` only takes note. False where
    // Windows cannot tell (and in a desktop without it): the watcher's timer
    // alone sees the game then. Ends with stopWatchingWindows() or the desktop.
    using WindowsChanged = std::function<void(WindowId newTopLevel)>;
    virtual bool watchWindows(WindowId gameWindow, WindowsChanged changed) {
        (void)gameWindow;
        (void)changed;
        return false;
    }
    virtual void stopWatchingWindows() {}
};

// The clipboard in plain text format.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Empties the clipboard and sets the text as its only content. Raises
    // AppError "クリップボードを開くことができません" when it cannot be opened.
    virtual void setText(const std::string& text) = 0;
    // The clipboard's text, empty when it holds none. Raises AppError as above.
    virtual std::string text() = 0;
};
