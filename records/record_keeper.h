#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/game_in_play.h"
#include "records/results_log.h"
#include "records/settings.h"
#include "records/settings_save.h"
#include "records/statistics_snapshot.h"

// What the keeper reaches outside itself.
struct RecordFiles {
    SettingsFiles* settingsFiles = nullptr;
    std::string settingsPath;
    AppendOnlyFile* logFile = nullptr;
    std::string logPath;
    LocalClock* clock = nullptr;
    StatisticsRegistry* gameStatistics = nullptr;
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
    int32_t maxGameNumber() const { return maxGameNumber_; }
    // Where the dated log lies, for the progress window and the messages.
    const std::string& logPath() const { return files_.logPath; }
    // Counts up with every change of what the window draws from the keeper.
    uint64_t revision() const { return revision_; }

    // The number the game is to deal when it asks, from the number box's
    // text: 1 to the highest number of the version in use. A number above it
    // deals game 1 (the box follows once it is dealt); one below 1, or a text
    // that is no number, is refused with the reason.
    NumberToDeal numberToDeal(const std::string& boxText) const;

    // What the watcher reports. The game took a number from its game-number
    // dialog: a number other than the one in play starts its first attempt,
    // and a box that gave another number (one past the highest) shows it.
    RecordChange gameDealt(int32_t number, const std::string& boxText);
    // The game in play ended: counted (first attempts only), logged, and the
    // next number (after a win, past the known impossible deals when asked)
    // or the next attempt set up. Saved with saveIfChanged().
    RecordChange gameEnded(GameEnd end);

    // The menu's commands; each is saved at once.
    RecordChange pass(const std::string& boxText);
    RecordChange takeBackPass(int slot);
    RecordChange clearTotals(const std::string& boxText);
    RecordChange setShowControlBar(bool show);
    RecordChange toggleRestoreGameStatistics();
    RecordChange toggleSkipImpossible();
    void setProgressPlace(const Options::Place& place);

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
    // Set when what the settings file keeps may have changed; the whole list
    // of saved values is built only then.
    bool unsaved_ = false;
    std::vector<std::string> lastSaveTried_;
    bool settingsProblemTold_ = false;
    bool logProblemTold_ = false;
    std::vector<std::string> untoldProblems_;
    uint64_t revision_ = 1;
};
