#pragma once

// Tallykeep.exe run for real beside the stand-in game, seen from outside: the
// results window's texts through WM_GETTEXT, the game through its log.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gamelink/os_profile.h"
#include "harness/harness.h"
#include "tk_version.h"

namespace e2e {

inline constexpr char kResultsClass[] = "TallykeepForm";
inline constexpr char kResultsCaption[] = "成績";
inline constexpr char kControlBarCaption[] = "Tallykeep V" TK_VERSION_TEXT " ｺﾝﾄﾛｰﾙﾊﾞｰ";

// Command ids of the results window's menu items, as a click on them sends.
enum ResultsCommand : UINT {
    kCmdControlBar = 101,
    kCmdSeisekiUp = 102,
    kCmdSeisekiClear = 103,
    kCmdPass = 105,
    kCmdRetry0 = 107,  // Retry0 to Retry9 follow
    kCmdManual = 141,
    kCmdVersion = 142,
};

// The results window of a running Tallykeep, its components found by their
// place among the window's children (their creation order).
class ResultsWindow {
public:
    ResultsWindow() = default;
    explicit ResultsWindow(HWND window);

    HWND window() const { return window_; }
    bool found() const { return window_ != nullptr; }

    // The caption of a label by its name: "Label1", "Label9" ... "Label21".
    std::string label(const std::string& name) const;
    HWND labelWindow(const std::string& name) const;
    // What the number box shows, separators included.
    std::string numberBox() const;
    HWND numberBoxWindow() const { return numberBox_; }
    // Sets the box's window text, separators and all, without typing.
    void setNumberBox(const std::string& text) const;
    // The caret or selection of the box (end -1: to the end of the text).
    void selectInNumberBox(int start, int end) const;
    std::pair<int, int> numberBoxSelection() const;
    LONG numberBoxStyle() const;
    // Keys typed into the box as the user would: one posted WM_CHAR each.
    void typeIntoNumberBox(const std::string& keys) const;
    // A key pressed and released in the box: WM_KEYDOWN and WM_KEYUP posted as
    // a keyboard gives them, for Tallykeep's message loop to translate.
    void pressInNumberBox(WPARAM virtualKey) const;
    // The difficulty shown below the number box ("フリーセル2枚", "解けない"; empty
    // when none), the one label that is a child of the window itself.
    std::string difficulty() const;
    bool waitForDifficulty(const std::string& text, std::chrono::milliseconds timeout = kDefaultTimeout) const;
    // The history group's caption: 対戦履歴, and the lines waiting for the log.
    std::string historyCaption() const;
    // The history memo's lines, newest first, without the trailing empty line.
    std::vector<std::string> history() const;
    // The lines the memo shows on screen (EM_GETLINECOUNT): wrapped lines count
    // once per screen line, and the empty rest after the last line break once.
    int historyDisplayedLineCount() const;
    // Waits until a label shows this text; false at the timeout.
    bool waitForLabel(const std::string& name, const std::string& text,
                      std::chrono::milliseconds timeout = kDefaultTimeout) const;
    bool waitForNumberBox(const std::string& text, std::chrono::milliseconds timeout = kDefaultTimeout) const;

    void menuCommand(UINT id) const;
    void close() const;  // as the user's close box

private:
    HWND window_ = nullptr;
    HWND numberBox_ = nullptr;
    HWND memo_ = nullptr;
    HWND difficulty_ = nullptr;
    HWND historyGroup_ = nullptr;
    std::map<std::string, HWND> labels_;
};

struct SessionOptions {
    // Start the game first (Tallykeep then finds it) instead of letting
    // Tallykeep launch FREECELL.EXE from its working directory.
    bool gameRunningFirst = false;
    // Copy FREECELL.EXE into the sandbox, Tallykeep's working directory.
    bool gameInWorkingDirectory = true;
    Environment environment;               // FREECELL_TEXTS and the like
    const char* windowsVersion = nullptr;  // Wine's version for both programs
    // Wait for the game's window and the results window before returning.
    bool waitForWindows = true;
    // Copy the deals' table deals.tkd beside Tallykeep.exe, as the release
    // has it (without: a Tallykeep.exe copied on its own).
    bool withDealTable = false;
    // The game's log; freecell.log in the sandbox when empty.
    std::string logPath;
};

// One run of Tallykeep in its own sandbox (its settings file beside it).
class TallykeepSession {
public:
    explicit TallykeepSession(const Sandbox& sandbox, SessionOptions options = {});

    const Sandbox& sandbox;
    std::optional<EmulatedWindowsVersion> tallykeepVersion;
    std::optional<EmulatedWindowsVersion> gameVersion;
    std::optional<RunningStandin> runningGame;  // when started before Tallykeep
    std::optional<Process> tallykeep;
    StandinLog log;
    HWND game = nullptr;
    ResultsWindow results;

    std::string iniPath() const { return sandbox.path("Tallykeep.Ini"); }

    // Starts Tallykeep again in the same sandbox (after the previous run ended).
    void restart(SessionOptions options = {});

    // The number box set to `number`, then F3 to the game: Tallykeep answers the
    // game-number dialog. True when the game dealt `expectedDeal`.
    bool selectGame(const std::string& number, const std::string& expectedDeal);
    // The game ends won; waits until Tallykeep has ticked the select-game box,
    // then answers yes as the user: the game asks for the next number and
    // Tallykeep enters it. True when `nextDeal` was dealt.
    bool winAndAnswerYes(const ProfileTexts& texts, const std::string& nextDeal);
    // The game ends lost; Tallykeep answers yes and the same game is dealt again.
    bool loseAndRedeal(const std::string& number);

    // Closes the results window as the user would; true when Tallykeep ended.
    bool closeAndWait(std::chrono::milliseconds timeout = 30s);

private:
    void start(SessionOptions options);
    std::size_t logMark_ = 0;
};

// The game's main window, or null.
HWND findGameWindow();

// A test of Tallykeep.exe beside the game: no program of an earlier test
// left, the game's statistics key gone, one sandbox of its own.
class TallykeepTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a session; fails the test when its windows do not appear.
    void start(SessionOptions options = {});
    // Starts a session whose start-up is held by a box titled "Tallykeep":
    // sets `told` to the box's text, answers OK, then waits for the game and
    // the results window as start() does.
    void startThroughErrorBox(std::string& told, SessionOptions options = {});

    const ResultsWindow& results() const { return session->results; }
    const StandinLog& log() const { return session->log; }
    bool saved() const { return readFileBytes(session->iniPath()).has_value(); }

    Sandbox sandbox;
    std::optional<TallykeepSession> session;
};

}  // namespace e2e
