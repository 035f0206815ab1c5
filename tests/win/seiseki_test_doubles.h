#pragma once

// Stand-ins for the outside world of the results window in in-process tests:
// a game that is running and closes at once on WM_CLOSE, no launch, no
// statistics of the game's in the registry, and a clipboard in memory.
#include <windows.h>

#include <string>
#include <vector>

#include "gamelink/desktop.h"
#include "gamelink/game_contract.h"
#include "gamelink/game_session.h"
#include "records/statistics_snapshot.h"

namespace seiseki_test {

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
    void bringToForeground(WindowId window) override { calls.push_back("foreground " + std::to_string(window)); }
    void bringToTop(WindowId window) override { calls.push_back("top " + std::to_string(window)); }
    void post(WindowId window, uint32_t message, uintptr_t wParam) override {
        calls.push_back("post " + std::to_string(window) + ' ' + std::to_string(message) + ' ' +
                        std::to_string(wParam));
        if (window == kGame && message == game::kWmClose) open = false;
    }
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

class NoStatistics : public StatisticsRegistry {
public:
    Opening openKey() override {
        Opening opening;
        opening.keyMissing = true;
        return opening;
    }
};

class MemoryClipboard : public Clipboard {
public:
    void setText(const std::string& text) override { text_ = text; }
    std::string text() override { return text_; }

private:
    std::string text_;
};

}  // namespace seiseki_test
