#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/game_in_play.h"

// The dated log of every game, Tallykeep.csv beside the settings file: one
// line per result, pass, take-back and clear, in code page 932 with CR LF,
// so that Excel on a Japanese Windows opens it by a double click. Lines are
// only ever appended; the file is never rewritten or trimmed.

// The header line, without its line break. Logs begun by older versions have
// the first six columns only; their lines stay valid.
inline constexpr char kResultsLogHeader[] = "日付,時刻,ゲーム番号,回目,結果,集計,通番";

// The log of an executable: the settings file's name with ".csv" for ".Ini".
std::string resultsLogPathFor(const std::string& executablePath);

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The local date and time, read through an interface so that tests fix it.
class LocalClock {
public:
    virtual ~LocalClock() = default;
    virtual LocalTime now() = 0;
};

enum class LogEvent {
    win,    // 勝ち
    loss,   // 負け: a lost game, a restart or another choice during a game
    pass,   // パス: put on the pass list
    retry,  // 再挑戦: taken back from the pass list
    clear,  // クリア: the totals cleared
    skip,   // スキップ: a known impossible deal passed over
};

struct LogEntry {
    LocalTime when;
    int32_t gameNumber = 0;
    int32_t attempt = 1;
    LogEvent event = LogEvent::win;
    // The line changed the totals (集計 1).
    bool counted = false;
    // The line's place in the record (通番), counting up from 1 over every
    // line Tallykeep writes; the settings file says up to which one it holds
    // the record. 0: a line of an older version, which has none.
    uint32_t serial = 0;
};
bool operator==(const LocalTime& a, const LocalTime& b);
bool operator==(const LogEntry& a, const LogEntry& b);

// The lines a reading of the log could not read: how many, and where the
// first one is, so that a player can find it in the file.
struct SkippedLines {
    std::size_t count = 0;
    std::size_t firstLine = 0;  // 1 for the file's first line; 0: none skipped
};

// The word of the 結果 column, and the same word in UTF-8 (a log that a
// spreadsheet saved as "CSV UTF-8").
const char* logEventWord(LogEvent event);
const char* logEventWordUtf8(LogEvent event);

// One line of the log, its CR LF included:
// "2026/12/07,18:36:39,4711,1,勝ち,1,982"; its word in UTF-8 when asked.
std::string formatLogLine(const LogEntry& entry, bool utf8 = false);

// The entry of a game that ended.
LogEntry entryForResult(const GameResult& result, const LocalTime& when);

// The log file, appended to in one write. The file system's side lives in an
// adapter; tests use one in memory.
class AppendOnlyFile {
public:
    // How the file ends before the append.
    struct End {
        bool empty = true;              // missing or without a byte
        bool endsWithLineBreak = true;  // its last bytes are CR LF
        bool utf8 = false;              // it starts with UTF-8's byte-order mark
    };
    struct Outcome {
        bool written = false;
        std::string reason;  // why not, in the system's words
        uint64_t size = 0;   // the file's size after the write
    };

    virtual ~AppendOnlyFile() = default;
    // Opens the file (created when missing), asks `compose` for the bytes to
    // append given how the file ends, appends them in one write and forces
    // them to the disk. When the write does not go through whole, the file
    // is cut back to its length before, so that nothing is written twice by
    // the next attempt.
    virtual Outcome append(const std::function<std::string(const End&)>& compose) = 0;
};

// Where the lines the log refused are kept on disk until it takes them
// (Tallykeep.csv.wait beside the log), so that neither the program's end nor
// a crash loses them. The adapter replaces the whole file in one step that no
// crash leaves half done.
class WaitingLinesFile {
public:
    virtual ~WaitingLinesFile() = default;
    // The bytes kept; empty when none are.
    virtual std::string read() = 0;
    // Keeps these bytes in place of those kept before; false when it could not.
    virtual bool keep(const std::string& bytes) = 0;
    // Lets the kept bytes go; false when it could not.
    virtual bool forget() = 0;
};

// Lines waiting to be written, and the writing: every line is queued, then
// everything queued is appended in one write. Lines the file refused stay
// queued, in order, and go out with the next line or the next retry; they are
// kept in the waiting-lines file meanwhile, and taken back from it at the next
// start. A log that a spreadsheet saved in UTF-8 (with its byte-order mark) is
// appended to in UTF-8, so that the file keeps one encoding; bytes already in
// it never change.
class ResultsLog {
public:
    ResultsLog(AppendOnlyFile& file, LocalClock& clock, WaitingLinesFile* waitingFile = nullptr)
        : file_(file), clock_(clock), waitingFile_(waitingFile) {}

    // Start-up: the lines an earlier run left waiting, oldest first.
    std::vector<LogEntry> linesLeftWaiting();
    // Queues lines left waiting (those the log does not end with already),
    // before any new line.
    void takeBackWaiting(const std::vector<LogEntry>& lines);
    // The waiting lines are kept on disk (or there are none).
    bool waitingLinesKept() const { return waitingKept_; }

    // An entry stamped with the clock's time now.
    LogEntry stamped(LogEvent event, int32_t gameNumber, int32_t attempt, bool counted) const;

    // Queues the line and writes every queued line.
    AppendOnlyFile::Outcome add(const LogEntry& entry);
    // Writes the queued lines, if any.
    AppendOnlyFile::Outcome writePending();

    std::size_t pendingLines() const { return pending_.size(); }
    const std::deque<LogEntry>& pending() const { return pending_; }

private:
    void keepWaitingLines();

    AppendOnlyFile& file_;
    LocalClock& clock_;
    WaitingLinesFile* waitingFile_;
    std::deque<LogEntry> pending_;
    bool waitingOnDisk_ = false;  // the waiting-lines file may hold lines
    bool waitingKept_ = true;
    // Lines were queued since the waiting-lines file was last written: it is
    // written again only then, not at every retry.
    bool waitingChanged_ = false;
};

// Whether a new copy of the waiting lines left beside the file (a crash came
// before it took the file's place) is the one to read: it is whole (every
// line read, the last ending with its line break) and begins with the file's
// lines.
bool newerCopyWins(const std::string& kept, const std::string& newer);

// How many of `waiting`, from its start, the log already ends with: the
// last run ended after the log took them and before they were let go. For
// lines of older versions, which have no 通番.
std::size_t linesAlreadyLogged(const std::vector<LogEntry>& logTail, const std::vector<LogEntry>& waiting);
