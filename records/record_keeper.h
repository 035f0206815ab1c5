#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/game_in_play.h"
#include "records/counted_numbers.h"
#include "records/deal_difficulty.h"
#include "records/deal_table.h"
#include "records/results_log.h"
#include "records/settings.h"
#include "records/settings_save.h"
#include "records/statistics_snapshot.h"

// Reads the whole log, handing over each entry it can read.
using ReadLog = std::function<void(const std::function<void(const LogEntry&)>& onEntry)>;

// What the keeper reaches outside itself.
struct RecordFiles {
    SettingsFiles* settingsFiles = nullptr;
    std::string settingsPath;
    AppendOnlyFile* logFile = nullptr;
    std::string logPath;
    // Where the lines the log refused wait on disk. None: they wait in
    // memory only.
    WaitingLinesFile* waitingLinesFile = nullptr;
    LocalClock* clock = nullptr;
    StatisticsRegistry* gameStatistics = nullptr;
    // The log as it stands at start-up: which numbers were counted already.
    // None: every number counts as new.
    ReadLog readLog;
    // The deals' table beside the program, read once at start-up; and its
    // path, for the message when it is refused. None: no table.
    std::function<DealTableLoad()> readDealTable;
    std::string dealTablePath;
};

// What a change asks of the window, besides drawing the record again.
struct RecordChange {
    // The number box is to show this text.
    std::optional<std::string> boxText;
    // The lines written to the log (or waiting for it), for the progress window.
    std::vector<LogEntry> logged;
    // The pass list is full: nothing changed.
    bool passListFull = false;
};

// The keeper of the record: the game in play, the tally (counts, history,
// pass list, options), the results log with the lines that wait for it, and
// the settings file, saved when what it keeps changed. It takes what the
// watcher and the menu report and answers with what the window must show; it
// shows nothing itself. The problems of keeping (a file that cannot be
// written) wait in it until the window tells them, once each.
class RecordKeeper {
public:
    RecordKeeper(RecordFiles files, int32_t maxGameNumber);

    // Start-up: the settings file read (after a save cut off is put right),
    // and the game's statistics taken for the write-back at the end.
    RecordChange load();

    const Tally& tally() const { return settings_.tally; }
    const Options& options() const { return settings_.tally.options; }
    const GameInPlay& inPlay() const { return settings_.game; }
    // The attempt the window shows: the game on the board's, or the next
    // number's once a game is won. None for a deal nobody can vouch for (a
    // random deal, a command of the game's own answered by the player):
    // nothing is counted until the next number Tallykeep enters.
    std::optional<int32_t> attemptShown() const;
    int32_t maxGameNumber() const { return maxGameNumber_; }
    // Where the dated log lies, for the progress window and the messages.
    const std::string& logPath() const { return files_.logPath; }
    // The lines the log refused so far, oldest first: they are part of the
    // record all the same.
    std::vector<LogEntry> waitingLines() const { return {log_.pending().begin(), log_.pending().end()}; }
    std::size_t waitingLineCount() const { return log_.pendingLines(); }
    // Counts up with every change of what the window draws from the keeper.
    uint64_t revision() const { return revision_; }

    // The deals' table, when one was read whole at start-up.
    const DealTable* dealTable() const { return dealTable_ ? &*dealTable_ : nullptr; }
    // The deals that cannot be won within the game's range, ascending: the
    // table's, or the known ones without a table.
    const std::vector<int32_t>& impossibleDeals() const { return impossibleDeals_; }
    bool isImpossible(int32_t number) const;
    // How hard a deal is, from the table; unknown without one.
    DifficultyLevel difficultyOf(int32_t number) const;

    // The number the game is to deal when it asks, from the number box's
    // text: 1 to the highest number of the version in use. A text that is no
    // number, or a number outside that range, is refused with the reason.
    NumberToDeal numberToDeal(const std::string& boxText) const;
    // The number box's text as the player left it: its number is the next
    // one, kept for the next start (saved with saveIfChanged()).
    void boxChanged(const std::string& boxText);

    // What the watcher reports. The game took a number from its game-number
    // dialog: a number other than the one in play starts its first attempt
    // (a later one when it was counted before).
    RecordChange gameDealt(int32_t number);
    // The game on the board ended: counted (a first attempt not counted
    // before), logged, and the next number (after a win, past the known
    // impossible deals when asked) or the next attempt set up. A game that
    // Tallykeep cannot vouch for changes nothing. Saved with saveIfChanged().
    RecordChange gameEnded(GameEnd end);
    // The game dealt a game of its own choosing (the won dialog answered
    // with its select box unticked): nothing counts until the next number
    // Tallykeep enters.
    RecordChange unknownGameDealt();
    // The game told the number of the deal on its board (the game that ships
    // with Tallykeep does). A deal Tallykeep did not enter is counted under
    // that number, as the game's own; the box keeps the next number.
    void boardTold(int32_t number);
    // The control bar's やり直し went to the game: it deals the game on the
    // board again, after its end-this-game box while a game is in progress.
    void restartSent();
    // The control bar's 開始 went to the game: its end-this-game box, if it
    // shows one, is followed by the game-number dialog.
    void startSent() { startAsked_ = true; }

    // The menu's commands; each is saved at once.
    RecordChange pass(const std::string& boxText);
    // The box shows the passed game; it goes back to `boxText`'s number once
    // that game is won or passed again.
    RecordChange takeBackPass(int slot, const std::string& boxText);
    RecordChange clearTotals(const std::string& boxText);
    RecordChange setShowControlBar(bool show);
    RecordChange toggleRestoreGameStatistics();
    RecordChange toggleSkipImpossible();
    void setProgressPlace(const Options::Place& place);
    void setProgressByDifficulty(bool byDifficulty);

    // Saves the settings file when what it keeps changed since the last save
    // tried; a save that fails is tried again with the next change, or at the
    // end, the record staying in memory meanwhile.
    void saveIfChanged();
    // The lines the log refused, tried again.
    void retryLog();

    // The close: the game's statistics put back when asked and the game has
    // closed (a game that has not is told at the next start), the waiting
    // log lines written, the settings saved. Raises AppError when any of it
    // fails; what could be done is done.
    void finish(bool gameClosed);
    // The end of the Windows session: as finish, but never raising. A failure
    // is kept in the settings file and told at the next start.
    void finishAtSessionEnd();

    // The problems of keeping not yet told, as one text; empty when none.
    std::string takeProblems();

private:
    LogEntry stamped(LogEvent event, int32_t gameNumber, bool counted) const;
    void log(const LogEntry& entry, RecordChange& change);
    // The number the box moves on to: with the option on, past the known
    // impossible deals, each with its line in the log.
    int32_t moveOn(int32_t next, RecordChange& change);
    // The number in the box, as the settings file keeps it: the game in
    // play's where the file has none of its own (written by an older version).
    int32_t nextNumber() const;
    // The box is to show `number`, the next one.
    void showInBox(int32_t number, RecordChange& change);
    // The first attempt at a number is its first counted one, or a later
    // one (at least the second) when the number was counted before.
    int32_t firstAttemptAt(int32_t number) const { return counted_.contains(number) ? 2 : 1; }
    void takeBackWaitingLines();
    void countLine(const LogEntry& entry);
    void tellIfRefused(const AppendOnlyFile::Outcome& outcome);
    void readDealTable();
    RecordChange ownGameEnded(GameEnd end);
    GameResult record(GameEnd end, const GameInPlay& game, RecordChange& change);
    void saveNow();
    // What the window draws or the settings file keeps may have changed.
    void changed() {
        ++revision_;
        unsaved_ = true;
    }
    void changedAndSaved();

    RecordFiles files_;
    int32_t maxGameNumber_;
    Settings settings_;
    ResultsLog log_;
    StatisticsSnapshot gameStatisticsAtStart_;
    CountedNumbers counted_;
    std::optional<DealTable> dealTable_;
    std::vector<int32_t> impossibleDeals_;
    // What the game's board shows: the game in play, a game won whose board
    // stands still until the next deal (`over_`), or a deal nobody can vouch
    // for. A restart asked while a game is in progress keeps the game in
    // play through the end-this-game box it brings.
    // A deal of the game's own whose number the game told is `own_`.
    enum class Board { inPlay, own, over, unknown };
    Board board_ = Board::inPlay;
    GameInPlay own_;
    GameInPlay over_;
    bool overIsOwn_ = false;
    bool restartAsked_ = false;
    bool startAsked_ = false;
    // Set when what the settings file keeps may have changed; the whole list
    // of saved values is built only then.
    bool unsaved_ = false;
    std::vector<std::string> lastSaveTried_;
    bool settingsProblemTold_ = false;
    bool logProblemTold_ = false;
    std::vector<std::string> untoldProblems_;
    uint64_t revision_ = 1;
};
