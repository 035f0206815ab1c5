#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/number_box.h"
#include "forms/control_bar_view.h"
#include "forms/progress_window.h"
#include "forms/early_ticks.h"
#include "gamelink/game_link.h"
#include "records/results_log.h"
#include "records/settings_save.h"
#include "records/statistics_snapshot.h"
#include "records/tally.h"
#include "toolkit/bevel.h"
#include "toolkit/form.h"
#include "toolkit/group_box.h"
#include "toolkit/label.h"
#include "toolkit/main_menu.h"
#include "toolkit/memo.h"
#include "toolkit/panel.h"
#include "toolkit/timer.h"

// What the results window reaches outside itself.
struct ResultsWindowPorts {
    GameLink* game = nullptr;
    StatisticsRegistry* gameStatistics = nullptr;
    SettingsFiles* settingsFiles = nullptr;
    std::string settingsPath;
    // The dated log of every game, and the clock that dates its lines.
    AppendOnlyFile* logFile = nullptr;
    LocalClock* clock = nullptr;
    std::string logPath;
    // The clipboard, owned by the window once it exists.
    std::function<std::unique_ptr<Clipboard>(HWND owner)> makeClipboard;
};

// Command ids of the results window's menu. The ten pass-list slots share one
// handler and are told apart by their place in one contiguous range.
enum ResultsCommand : UINT {
    cmOptionsMenu = 100,
    cmControlBar,
    cmRestoreGameStatistics,
    cmClearTotals,
    cmPassMenu,
    cmPass,
    cmRetryMenu,
    cmRetryFirst,
    cmRetryLast = cmRetryFirst + 9,
    cmSkipImpossible,
    cmProgressSeparator,
    cmProgress,
};
static_assert(cmRetryLast - cmRetryFirst + 1 == 10, "one command id for each pass-list slot");

// The results window "成績", the program's main window. It keeps the tally
// (counts, history, pass list, options), draws it, and saves it; the game in
// play belongs to the watcher, which it runs on its timer and whose outcomes
// it applies. Creating it runs the start-up: the settings are loaded, the
// game's statistics taken, and the game found or started.
class ResultsWindow final : public Form {
public:
    explicit ResultsWindow(ResultsWindowPorts ports);
    ~ResultsWindow() override;

    void create();
    void attachControlBar(ControlBarView& bar) { controlBar_ = &bar; }
    // The control bar became hidden, its own close box included: the menu's
    // check mark follows, the option stays, so that the next arrangement
    // brings the bar back.
    void controlBarHidden();

    // The bound of the close wait of the shutdown.
    static constexpr uint32_t kCloseWaitLimitMs = 10000;
    // The number box counts as being typed into for this long after its text
    // changed while it has the keyboard focus.
    static constexpr uint32_t kTypingPauseMs = 1000;

private:
    // Start-up and shutdown.
    void startUp();
    void findOrStartGame();
    void shutDown(bool& canClose);
    void endSession();
    void loadSettings();
    void saveSettings();
    // Saves the settings file when what it keeps has changed since the last
    // save tried; an unchanged tally is not saved again.
    void saveWhenChanged();
    // Appends a line to the log; lines it cannot take wait for the next one.
    void writeToLog(const LogEntry& entry);
    LogEntry stampedEntry(LogEvent event, int32_t gameNumber, bool counted) const;
    // The problems of keeping (settings file, log) not yet told: one box.
    void tellKeepingProblems();

    // The watcher's tick and what it reports.
    void onTick();
    void apply(const TickOutcome& outcome);
    TickInput readNumberBox();
    void showInNumberBox(const std::string& text);

    // Menu commands.
    void toggleControlBar();
    void toggleRestoreGameStatistics();
    void clearTotals();
    void passGame();
    void retryPassedGame(int slot);
    void toggleSkipImpossible();
    void openProgress();

    // The number the box moves on to: with the option on, past the known
    // impossible deals, each with its line in the log.
    int32_t moveOnFromImpossible(int32_t next);

    // The application's events.
    void onActivate();
    void arrangeAroundGame();  // in results_window_arrangement.cpp

    // Labels, history, menu and check marks, drawn from the tally and the
    // game in play.
    void draw();

    void createControls();  // the layout, in results_window_layout.cpp
    void createMenu();
    MenuItem& menuItem(UINT command) { return menu_.item(command); }

    ResultsWindowPorts ports_;
    Tally tally_;
    ResultsLog log_;
    // What the last save tried to write, and the problems of keeping: each
    // is told once per session, when it first happens.
    std::vector<std::string> lastSaveTried_;
    bool settingsProblemTold_ = false;
    bool logProblemTold_ = false;
    std::vector<std::string> untoldProblems_;
    StatisticsSnapshot gameStatisticsAtStart_;
    std::unique_ptr<Clipboard> clipboard_;
    ControlBarView* controlBar_ = nullptr;
    bool controlBarVisible_ = true;
    bool closeInProgress_ = false;
    // Since when the drawing and saving of a tick wait for the game's next
    // dialog to be answered.
    std::optional<uint64_t> drawOwedSinceMs_;
    static constexpr uint64_t kLongestDrawOwedMs = 100;
    // The last close attempt failed at the write-back or the save.
    bool lastCloseFailed_ = false;
    std::vector<std::string> historyDrawn_;

    // The controls, parents before children (the layout table maps each to
    // its place in the window).
    Bevel frame_;
    Panel numberPanel_;
    Label attemptLabel_;
    NumberBox numberBox_;
    GroupBox resultsGroup_;
    Label runPercentLabel_, runWonLabel_, runLostLabel_;
    Label totalPercentLabel_, totalWonLabel_, totalLostLabel_;
    Label longestWinLabel_, longestLossLabel_, currentStreakLabel_;
    GroupBox historyGroup_;
    Memo historyMemo_;
    // Captions that never change.
    std::vector<std::unique_ptr<Label>> captions_;
    Timer watchTimer_;
    MainMenu menu_;
    // The window "進捗", made when first opened.
    std::unique_ptr<ProgressWindow> progress_;
    // Gone before the timer that it asks for ticks.
    EarlyTicks earlyTicks_{watchTimer_};
};
