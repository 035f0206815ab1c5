#pragma once

#include <cstdint>
#include <string>

#include "gamelink/desktop.h"
#include "gamelink/os_profile.h"

// What the watcher reads and changes in the results window.
class WatcherHost {
public:
    virtual ~WatcherHost() = default;
    virtual std::string numberBoxText() = 0;                  // EditEx1.Text, plain digits
    virtual void setNumberBoxText(const std::string& text) = 0;
    virtual void setAttemptText(const std::string& text) = 0;  // Label1 caption
    virtual void insertHistoryLine(const std::string& line) = 0;  // before Memo1's first line
    virtual void RecordWin() = 0;
    virtual void RecordLoss() = 0;
    virtual void HyoujiUpdate() = 0;
    // Asks the results window to close as the user would (runs the shutdown).
    virtual void closeResultsWindow() = 0;
};

struct WatcherContext {
    Desktop& desktop;
    Clipboard& clipboard;
    const OsProfile& profile;
    WatcherHost& host;
    int32_t& GameNo;
    int32_t& TryCnt;
};

// Answers the game's dialogs; one call of tick() is one 100 ms timer tick.
class GameWatcher {
public:
    void tick(WatcherContext& context);
    // (implementation details: see watcher.cpp)
};
