#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "harness/paths.h"
#include "harness/process.h"
#include "harness/window_probe.h"
#include "freecell/board_layout.h"
#include "freecell/test_protocol.h"

namespace e2e {

// One line of the game's log (format in freecell/test_protocol.h).
struct LogLine {
    long milliseconds = 0;
    std::string event;
    std::string details;  // everything after the event, may be empty
};

// One line of the log without its line end; none when it has no event.
std::optional<LogLine> parseLogLine(std::string text);

// The log file FREECELL.EXE appends to (pass its path as FREECELL_LOG).
class StandinLog {
public:
    explicit StandinLog(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    std::vector<LogLine> lines() const;
    // Lines with this event, and these details when given.
    std::vector<LogLine> find(const std::string& event, const std::optional<std::string>& details = {}) const;
    int count(const std::string& event, const std::optional<std::string>& details = {}) const;

    // The first line from `from` on (an index into lines()) that matches.
    std::optional<LogLine> waitFor(const std::function<bool(const LogLine&)>& matches, std::size_t from = 0,
                                   std::chrono::milliseconds timeout = kDefaultTimeout) const;
    std::optional<LogLine> waitFor(const std::string& event, const std::optional<std::string>& details = {},
                                   std::size_t from = 0, std::chrono::milliseconds timeout = kDefaultTimeout) const;
    // The number of lines so far: pass it as `from` to wait for later lines only.
    std::size_t size() const { return lines().size(); }
    // Everything, for failure messages.
    std::string text() const;

private:
    std::string path_;
};

// Posts the game's test commands to its main window.
void standinWin(HWND mainWindow);
void standinLose(HWND mainWindow);
void standinMove(HWND mainWindow);
// The next end-this-game box stops answering for `duration` once on screen.
void standinHangNextConfirm(HWND mainWindow, std::chrono::milliseconds duration);
// The next game-number dialog stops answering for `duration` once on screen.
void standinHangNextGameNumber(HWND mainWindow, std::chrono::milliseconds duration);
// Posts a ping and waits for it in the log: everything posted to the main
// window before has then been handled (and what it opened is open).
bool standinSync(HWND mainWindow, const StandinLog& log, std::chrono::milliseconds timeout = kDefaultTimeout);
// "game=<n> moves=<m> inprogress=<0|1> select=<0|1>", from the hidden state child.
std::string standinState(HWND mainWindow);
// The board as freecell::boardText writes it, from the hidden board child.
std::string standinBoard(HWND mainWindow);
// Waits until the board reads `expected`; false at the timeout.
bool waitForStandinBoard(HWND mainWindow, const std::string& expected,
                         std::chrono::milliseconds timeout = kDefaultTimeout);

// The layout the game draws its board with, for its window's client size.
freecell::BoardLayout standinLayout(HWND mainWindow);
// A person's mouse on the board, at client coordinates: a click (button down
// and up), and a double click (the system's four messages).
void clickBoard(HWND mainWindow, const freecell::Point& point);
void doubleClickBoard(HWND mainWindow, const freecell::Point& point);
// The real mouse (SendInput) at a client point of the board: `buttons` 0
// moves it there, MOUSEEVENTF_LEFTDOWN or MOUSEEVENTF_LEFTUP presses or
// releases the left button there. Every event carries its position: under
// Wine a button event without one lands wherever the pointer was last
// reported, and the X server's reports of earlier moves come late under load.
bool mouseAt(HWND mainWindow, const freecell::Point& point, DWORD buttons = 0);
// Whether the game's thread holds the mouse for its main window: from a
// press that picks cards up to their release.
bool holdsMouse(HWND mainWindow);
// The left button pressed at `from`, the pointer moved in steps to `to` with
// the button held, and released there; client coordinates. Returns once the
// game no longer holds the mouse; false when an event could not be sent or
// the game kept holding the mouse.
bool dragBoard(HWND mainWindow, const freecell::Point& from, const freecell::Point& to);

// FREECELL.EXE copied into a sandbox and started there with its log in the
// sandbox (plus `extra` variables such as FREECELL_TEXTS); waits for its main
// window. Killed at the end of its scope if still running.
class RunningStandin {
public:
    RunningStandin(const Sandbox& sandbox, const Environment& extra = {});

    Process process;
    StandinLog log;
    HWND mainWindow = nullptr;  // null when it did not appear in time
};

}  // namespace e2e
