#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/game_in_play.h"
#include "records/deal_difficulty.h"
#include "records/deal_table.h"
#include "records/played_numbers.h"
#include "records/results_log.h"
#include "records/settings.h"
#include "records/settings_save.h"
#include "records/statistics_snapshot.h"

// The log as the start reads it: from a byte offset on, each entry with the
// offset (from the file's start) at which its line ends. Answers the file's
// size; nothing when the log exists and cannot be read. A missing log reads
// as an empty one.
class LogSource {
public:
    virtual ~LogSource() = default;
    virtual std::optional<uint64_t> read(uint64_t from,
                                         const std::function<void(const LogEntry&, uint64_t lineEnd)>& onEntry) = 0;
};

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
    // The log as it stands at start-up: what came after the settings file's
    // checkpoint. None: nothing is read, and every number counts as new.
    LogSource* logSource = nullptr;
    // Tallykeep.csv.idx: the numbers played, as far as its own checkpoint.
    // None: they are read from the whole log at each start.
    WaitingLinesFile* playedNumbersFile = nullptr;
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
    // The command was refused, in these words: nothing changed.
    std::string refusal;
};

// The keeper of the record. The log is the record: a result counts once its
// line is on disk, in the log or among the lines waiting for it, and every
// line is applied to the tally (counts, history, pass list, the number box)
// by one function, the same at the moment it is written and when the next
// start replays it. The settings file is a checkpoint of the log: it says up
// to which line (通番) it holds the record, and the next start replays what
// came after. The board (what the game shows) is known from evidence only: a
// number the game took from its dialog, or one it told. The keeper takes what
// the watcher and the menu report and answers with what the window must show;
// it shows nothing itself. The problems of keeping (a file that cannot be
// written) wait in it until the window tells them, once each.
class RecordKeeper {
public:
    RecordKeeper(RecordFiles files, int32_t maxGameNumber);

    // Start-up: the settings file read (after a save cut off is put right),
    // the log replayed from its checkpoint on, and the game's statistics
    // taken for the write-back at the end.
    RecordChange load();

    const Tally& tally() const { return settings_.tally; }
    const Options& options() const { return settings_.tally.options; }
    // The box's number and the attempt it would be at.
    GameInPlay inPlay() const;
    // The attempt shown beside the box: the box's number's own. None while
    // the board holds a deal nobody can vouch for (a random one, one the
    // player asked of the game itself): nothing counts until a number is
    // dealt or told.
    std::optional<int32_t> attemptShown() const;
    // Where the box goes back to once the passed game it shows is won or
    // passed again; 0: nowhere.
    int32_t numberToGoBackTo() const { return settings_.afterRetry; }
    // The number of a game in progress on the board when it is not the box's.
    std::optional<int32_t> otherNumberOnBoard() const;
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

    // A game number from the number box's text (or any command's): 1 to the
    // highest number of the version in use. A text that is no number, or a
    // number outside that range, is refused with the reason.
    NumberToDeal numberToDeal(const std::string& boxText) const;
    // The number box's text as the player left it: its number is the next
    // one, kept for the next start (saved with saveIfChanged()).
    void boxChanged(const std::string& boxText);

    // What the watcher reports. The game took this number from its
    // game-number dialog.
    RecordChange gameDealt(int32_t number);
    // The game refused the number it was last given (it asked again at
    // once): the board is what it was before.
    void dealRefused(int32_t number);
    // The game on the board ended: a game in progress of a known number is
    // logged (counted when it was the number's first attempt) and applied;
    // anything else changes nothing but what the board is known to hold.
    // `nowMs` tells whether a command of the control bar brought it.
    RecordChange gameEnded(GameEnd end, uint64_t nowMs);
    // The game dealt a game of its own choosing (the won dialog answered
    // with its select box unticked).
    RecordChange unknownGameDealt();
    // The game told the number of the deal on its board (the game that ships
    // with Tallykeep does). A number other than the one dealt, once the game
    // has told that one, is a deal of the game's own; a number outside the
    // game's range is no number.
    void boardTold(int32_t number);
    // The control bar's やり直し and 開始 went to the game. Their end-this-game
    // box, when the game shows one within kCommandAnswerMs, is theirs: after
    // it やり直し deals the same number again and 開始 asks for one.
    void restartSent(uint64_t nowMs);
    void startSent(uint64_t nowMs);
    static constexpr uint64_t kCommandAnswerMs = 3000;

    // The menu's commands; each is saved at once. The box's number goes on
    // the pass list; passing the game on the board means "not now": its
    // end-this-game box counts nothing.
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

    // Saves the settings file (and the played numbers) when what it keeps
    // changed since the last save tried; a save that fails is tried again
    // with the next change, or at the end, the record staying in memory and
    // in the log meanwhile.
    void saveIfChanged();
    // The lines the log refused, tried again.
    void retryLog();

    // The close: the game's statistics put back when asked and the game has
    // closed (a game that has not is told at the next start), the waiting
    // log lines written, the settings saved. Raises AppError when any of it
    // fails, and when lines the log refused could be kept nowhere (the close
    // would lose them); what could be done is done.
    void finish(bool gameClosed);
    // The end of the Windows session: as finish, but never raising. A failure
    // is kept in the settings file and told at the next start.
    void finishAtSessionEnd();

    // The problems of keeping not yet told, as one text; empty when none.
    std::string takeProblems();

private:
    // What the game's board holds: nothing known yet (start-up, or the
    // game-number dialog is to follow), a number in play, a number won whose
    // board stands still, or a deal nobody can vouch for.
    enum class Board { none, dealt, over, unknown };
    enum class Command { none, start, restart };

    void replayTheLog();
    void bringIntoRange();
    LogEntry stamped(LogEvent event, int32_t gameNumber, bool counted) const;
    int32_t attemptOf(int32_t number) const;
    void keepPlayedNumbers();
    // Writes the line (or keeps it waiting) and applies it.
    void log(LogEntry entry, RecordChange& change);
    // With the option on, the box (and the number it goes back to) moved on
    // past the known impossible deals, each with its line in the log.
    void skipPastImpossible(bool box, bool afterRetry, RecordChange& change);
    void dealOnBoard(int32_t number);
    void keepLogMark(const AppendOnlyFile::Outcome& outcome);
    int32_t nextNumber() const;
    void tellIfRefused(const AppendOnlyFile::Outcome& outcome);
    void readDealTable();
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
    PlayedNumbers played_;
    std::optional<DealTable> dealTable_;
    std::vector<int32_t> impossibleDeals_;

    Board board_ = Board::none;
    GameInPlay onBoard_;
    // The board before the last deal, for a deal the game refused.
    Board boardBeforeDeal_ = Board::none;
    GameInPlay onBoardBeforeDeal_;
    // The number on the board was passed: its end-this-game box counts nothing.
    bool boardPassed_ = false;
    // The game told the number dealt since it was dealt: from then on a
    // number it tells that differs is a deal of its own.
    bool boardConfirmed_ = false;
    std::optional<int32_t> lastTold_;
    Command command_ = Command::none;
    uint64_t commandAtMs_ = 0;
    // やり直し after a win took the game won to be dealt again.
    bool redealAssumed_ = false;
    // The board is known from what the game told alone.
    bool attemptAtEnd_ = false;

    // The 通番 of the next line.
    uint32_t nextSerial_ = 1;
    bool playedChanged_ = false;
    // Set when what the settings file keeps may have changed; the whole list
    // of saved values is built only then.
    bool unsaved_ = false;
    std::vector<std::string> lastSaveTried_;
    bool settingsProblemTold_ = false;
    bool logProblemTold_ = false;
    std::vector<std::string> untoldProblems_;
    uint64_t revision_ = 1;
};
