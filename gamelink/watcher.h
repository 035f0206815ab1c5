#pragma once

#include <cstdint>
#include <exception>
#include <optional>
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
    // Asks the results window to close as the user would (runs the shutdown);
    // after a close that failed, the window waits for the user's own request.
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

    // Pause of each pass of a loop that waits for the game, and of the wait
    // for the user's answer to the won dialog.
    static constexpr uint32_t kGamePassPauseMs = 10;
    static constexpr uint32_t kUserPassPauseMs = 25;
    // A loop that waits for the game gives up when the game has not closed the
    // window it waits for within this time.
    static constexpr uint64_t kGameWaitLimitMs = 5000;
    // Writes of the game number to the clipboard before branch A gives up for
    // the tick (a clipboard watcher that keeps replacing the text).
    static constexpr int kClipboardTries = 10;
    // A refused number is offered again only after the game has shown no
    // game-number dialog for this long: between closing a refused dialog and
    // opening the next one the game shows none for a moment.
    static constexpr uint64_t kRefusalMemoryMs = 1000;
    // The game refuses a number by closing its dialog and opening a new one at
    // once. The same text entered this many times in a row, each time asked for
    // again within kRefusalMemoryMs, counts as refused.
    static constexpr int kEntriesBeforeRefusal = 3;

private:
    struct Lookups;
    class DisplayWrites;

    void runTick(WatcherContext& context, DisplayWrites& display);
    // True when the number was entered and the game closed the dialog.
    bool answerGameNumber(WatcherContext& context, DisplayWrites& display, WindowId dialog);
    void noteEntry(const std::string& boxText, uint64_t askedAtMs, uint64_t nowMs);
    bool putOnClipboard(WatcherContext& context, const std::string& text);
    void answerYes(WatcherContext& context, DisplayWrites& display, WindowId dialog, WindowId yesButton,
                   WindowId& counted);
    void recordWin(WatcherContext& context, DisplayWrites& display, WindowId dialog, WindowId selectBox);

    // Box text of a game-number dialog that the game kept refusing: not entered
    // again while the dialog stays and the box holds the same text.
    std::optional<std::string> refusedBoxText_;
    uint64_t gameNumberDialogLastSeenMs_ = 0;
    // The last text entered, when the game closed that dialog, and how many
    // times in a row the game asked again at once.
    std::string lastEnteredText_;
    uint64_t lastEnteredAtMs_ = 0;
    int quickEntries_ = 0;
    // The window that identifies a dialog already counted (the yes button of a
    // loss dialog or end-this-game box, the select-game box of a won dialog):
    // while it exists the dialog is not counted again, whatever ended its
    // handling early (a game that did not answer in time).
    WindowId countedLossButton_ = 0;
    WindowId countedConfirmButton_ = 0;
    WindowId countedWinBox_ = 0;
    // Message of the error the previous tick raised; the same error is raised
    // only once in a row.
    std::optional<std::string> lastError_;
};
