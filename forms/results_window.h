#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/number_box.h"
#include "forms/control_bar_view.h"
#include "forms/progress_window.h"
#include "gamelink/early_tick_thread_win.h"
#include "gamelink/game_link.h"
#include "records/record_keeper.h"
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
    // Where Windows tells of the game's window changes, ticks come at once.
    EarlyTickThread* earlyTicks = nullptr;
    // The record: counts, history, pass list, options, the log, the saving.
    RecordKeeper* keeper = nullptr;
    // The clipboard, owned by the window once it exists.
    std::function<std::unique_ptr<Clipboard>(HWND owner)> makeClipboard;
    // The manual, Tallykeep.txt beside the program.
    std::string manualPath;
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
    cmHelpSeparator = 140,
    cmManual,
    cmVersion,
};
static_assert(cmRetryLast - cmRetryFirst + 1 == 10, "one command id for each pass-list slot");

// The results window "成績", the program's main window. It runs the watcher
// on its timer, hands what the watcher saw to the keeper of the record, and
// draws what the keeper keeps; its menu's commands go to the keeper too.
// Creating it runs the start-up: the record is loaded, and the game found or
// started.
class ResultsWindow final : public Form {
public:
    explicit ResultsWindow(ResultsWindowPorts ports);
    ~ResultsWindow() override;

    void create();
    void attachControlBar(ControlBarView& bar) { controlBar_ = &bar; }
    // The control bar became hidden (with the group minimised): the menu's
    // check mark follows, the option stays, so that the next arrangement
    // brings the bar back.
    void controlBarHidden();
    // The control bar's 開始 and やり直し: the keeper knows what the game
    // deals next.
    void startGame();
    void restartGame();

    // The bound of the close wait of the shutdown.
    static constexpr uint32_t kCloseWaitLimitMs = 10000;
    // The number box counts as being typed into for this long after its text
    // changed while it has the keyboard focus.
    static constexpr uint32_t kTypingPauseMs = 1000;
    // The watcher's timer, while a dialog of the game is open or the game's
    // window events are not known to come; and while neither, when the
    // events bring the ticks and the timer only stands behind them.
    static constexpr uint32_t kTickMs = 100;
    static constexpr uint32_t kIdleTickMs = 1000;

private:
    // Start-up and shutdown.
    void startUp();
    void findOrStartGame();
    void shutDown(bool& canClose);
    void endSession();
    void startEarlyTicks();

    // The watcher's tick, and what it saw taken to the keeper.
    void onTick();
    void take(const TickOutcome& outcome);
    // What a change of the record asks of the window; the record itself is
    // drawn by draw().
    void show(const RecordChange& change);
    // The problems of keeping not yet told: one box.
    void tellKeepingProblems();
    TickInput readNumberBox();
    std::string boxText() const { return numberBox_.text(); }

    // Menu commands.
    void toggleControlBar();
    void toggleRestoreGameStatistics() { apply(keeper_.toggleRestoreGameStatistics()); }
    void clearTotals();
    bool boxHoldsANumber();
    void passGame();
    void retryPassedGame(int slot);
    void toggleSkipImpossible() { apply(keeper_.toggleSkipImpossible()); }
    void openProgress();
    void openManual();
    void showVersion();
    void dropDifficultyRow();
    std::optional<Rect> groupBox();
    // A command of the keeper's: what it changed shown, drawn and told.
    void apply(const RecordChange& change);

    // The application's events.
    void onActivate();
    void arrangeAroundGame();  // in results_window_arrangement.cpp
    // The game minimised or restored by itself: the group follows it (in
    // results_window_arrangement.cpp).
    void followTheGamesMinimize();

    // Labels, history, menu and check marks, drawn from the record; only
    // what changed since the last drawing.
    void draw();
    void placeAttemptSuffix(bool numberKnown);
    // The number box's colour and the difficulty beside it, for the number
    // the box holds; at once as the player types.
    void drawBoxNumber(const std::string& box);
    static void dropClicksMadeWhileTheGameAsked();

    void createControls();  // the layout, in results_window_layout.cpp
    void createMenu();
    MenuItem& menuItem(UINT command) { return menu_.item(command); }

    ResultsWindowPorts ports_;
    RecordKeeper& keeper_;
    std::unique_ptr<Clipboard> clipboard_;
    ControlBarView* controlBar_ = nullptr;
    GroupMinimizing groupMinimizing_;
    bool controlBarVisible_ = true;
    bool closeInProgress_ = false;
    bool earlyTicksRunning_ = false;
    // An early tick was asked for (on any thread): the game's window events
    // are known to come.
    std::atomic<bool> earlyTickSeen_{false};
    // Since when the drawing and saving of a tick wait for the game's next
    // dialog to be answered.
    std::optional<uint64_t> drawOwedSinceMs_;
    static constexpr uint64_t kLongestDrawOwedMs = 100;
    // The last close attempt failed at the write-back or the save.
    bool lastCloseFailed_ = false;
    // What the window shows was drawn from this revision of the record.
    uint64_t drawnRevision_ = 0;
    std::vector<std::string> historyDrawn_;
    bool drawnControlBarVisible_ = false;
    std::string drawnBoxText_;
    std::size_t drawnWaitingLines_ = 0;

    // The controls, parents before children (the layout table maps each to
    // its place in the window).
    Bevel frame_;
    Panel numberPanel_;
    Label attemptLabel_;
    Label attemptSuffixLabel_;
    // Where "回目" ends, as laid out.
    std::optional<int> attemptSuffixRight_;
    NumberBox numberBox_;
    Label difficultyLabel_;
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
};
