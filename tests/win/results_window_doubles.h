#pragma once

// Stand-ins for the outside world of the results window in in-process tests:
// a game that is running and closes at once on WM_CLOSE, no launch, no
// statistics of the game's in the registry, and a clipboard in memory.
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gamelink/desktop.h"
#include "gamelink/game_contract.h"
#include "forms/control_bar.h"
#include "forms/results_window.h"
#include "gamelink/game_link.h"
#include "gamelink/game_session.h"
#include "toolkit/application.h"
#include "records/results_log_win.h"
#include "records/settings_file_win.h"
#include "records/statistics_snapshot.h"
#include "tests/unit/record_doubles.h"

namespace results_test {

// The game's main window, and a log of what was done to the windows:
// "foreground <window>", "top <window>", "post <window> <message> <wParam>",
// "pause <ms>" (window ids in decimal).
class RunningGame : public Desktop {
public:
    static constexpr WindowId kGame = 0x4711;
    bool open = true;
    std::vector<std::string> calls;

    WindowId findTopLevel(const char* className, const char* title) override {
        const bool gameClass = className && std::string(className) == game::kMainWindowClass;
        return (open && gameClass && !title) ? kGame : 0;
    }
    WindowId findChild(WindowId, const char*, const char*) override { return 0; }
    bool exists(WindowId window) override { return open && window == kGame; }
    std::string titleOf(WindowId window) override { return exists(window) ? "フリーセル" : ""; }
    bool shown(WindowId window) override { return exists(window); }
    void bringToForeground(WindowId window) override { calls.push_back("foreground " + std::to_string(window)); }
    void bringToTop(WindowId window) override { calls.push_back("top " + std::to_string(window)); }
    void post(WindowId window, uint32_t message, uintptr_t wParam) override {
        calls.push_back("post " + std::to_string(window) + ' ' + std::to_string(message) + ' ' +
                        std::to_string(wParam));
        if (window == kGame && message == game::kWmClose) open = false;
    }
    bool minimized(WindowId) override { return false; }
    std::optional<Rect> windowBox(WindowId window) override {
        if (!exists(window)) return std::nullopt;
        return box;
    }
    void moveWindow(WindowId window, const Rect& to) override {
        if (exists(window)) box = to;
    }
    Rect box{100, 150, 620, 460};
    void pause(uint32_t milliseconds) override {
        calls.push_back("pause " + std::to_string(milliseconds));
        Sleep(milliseconds);
    }
    uint64_t nowMs() override { return GetTickCount(); }
    bool sessionEnding() override { return false; }
};

class NoLaunch : public ProcessLauncher {
public:
    bool isFile(const std::string&) override { return false; }
    std::string windowsDirectory() override { return "C:\\windows"; }
    std::string systemDirectory() override { return "C:\\windows\\system32"; }
    bool launch(const std::string&) override { return false; }
};

using record_test::NoStatistics;

class MemoryClipboard : public Clipboard {
public:
    void setText(const std::string& text) override { text_ = text; }
    std::string text() override { return text_; }

private:
    std::string text_;
};

// The child windows of a window, in creation order.
inline std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

inline std::string textOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Tallykeep's two windows in-process, wired as the program wires them, over a
// running game; the settings file lies in the temporary folder.
class Program {
public:
    // The log lies beside the settings file, under its name with ".csv".
    Program(std::string settingsPath, RunningGame& game, OsVersion version = {2, 5, 1},
            SettingsFiles* settingsFiles = nullptr)
        : game(game), link(game, launcher, version), logFile(settingsPath.substr(0, settingsPath.rfind('.')) + ".csv") {
        Application::instance().setTitle("Tallykeep");
        RecordFiles recordFiles;
        recordFiles.gameStatistics = &statistics;
        recordFiles.settingsFiles = settingsFiles ? settingsFiles : &files;
        recordFiles.logPath = settingsPath.substr(0, settingsPath.rfind('.')) + ".csv";
        recordFiles.logFile = &logFile;
        recordFiles.clock = &clock;
        recordFiles.settingsPath = std::move(settingsPath);
        keeper = std::make_unique<RecordKeeper>(recordFiles, link.maxGameNumber());
        ResultsWindowPorts ports;
        ports.game = &link;
        ports.keeper = keeper.get();
        ports.makeClipboard = [](HWND) { return std::make_unique<MemoryClipboard>(); };
        results = std::make_unique<ResultsWindow>(ports);
        results->create();
        ControlBarCommands commands;
        commands.start = [this] { link.start(); };
        commands.restart = [this] { link.restart(); };
        commands.takeBack = [this] { link.takeBack(); };
        commands.exit = [this] { results->close(); };
        commands.hidden = [this] { results->controlBarHidden(); };
        controlBar = std::make_unique<ControlBar>(commands);
        results->attachControlBar(*controlBar);
    }
    ~Program() {
        controlBar.reset();
        results.reset();
    }

    HWND window() const { return results->handle(); }
    // The buttons of the control bar, from left to right.
    HWND button(size_t index) const { return childrenOf(controlBar->handle()).at(index); }
    // Tallykeep becomes the active program.
    void activate() const { Application::instance().fireEvent(ApplicationEvent::activate); }
    // A menu command, as choosing the item sends it; handled before returning.
    void choose(UINT command) const { SendMessageA(window(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }

    // The controls as they stand in the window: the panel holds the attempt
    // label, its caption and the number box; the group "成績" its 19 labels.
    HWND panelChild(size_t index) const {
        for (HWND child : childrenOf(window()))
            if (childrenOf(child).size() == 3) return childrenOf(child).at(index);
        return nullptr;
    }
    HWND numberBox() const { return panelChild(2); }
    std::string attempt() const { return textOf(panelChild(0)); }
    HWND memo() const {
        for (HWND child : childrenOf(window()))
            if (textOf(child) == "対戦履歴") return childrenOf(child).at(0);
        return nullptr;
    }
    // The value labels of "成績" by role: "run%", "runWon", "runLost",
    // "total%", "totalWon", "totalLost", "longestWin", "longestLoss", "current".
    std::string value(const std::string& role) const {
        static const std::map<std::string, size_t> kIndex = {
            {"total%", 1},    {"current", 8},    {"run%", 10},       {"runWon", 13},     {"runLost", 14},
            {"totalWon", 15}, {"totalLost", 16}, {"longestWin", 17}, {"longestLoss", 18}};
        for (HWND child : childrenOf(window()))
            if (textOf(child) == "成績") return textOf(childrenOf(child).at(kIndex.at(role)));
        return "<no group>";
    }

    RunningGame& game;
    NoLaunch launcher;
    NoStatistics statistics;
    Win32SettingsFiles files;
    GameLink link;
    Win32LogFile logFile;
    Win32LocalClock clock;
    std::unique_ptr<RecordKeeper> keeper;
    std::unique_ptr<ResultsWindow> results;
    std::unique_ptr<ControlBar> controlBar;
};

}  // namespace results_test
