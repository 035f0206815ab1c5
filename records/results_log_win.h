#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "records/record_keeper.h"
#include "records/results_log.h"

// The log file on disk, opened for each append and closed again, so that a
// program that held it (Excel) lets it go between two games.
class Win32LogFile : public AppendOnlyFile {
public:
    explicit Win32LogFile(std::string path) : path_(std::move(path)) {}
    Outcome append(const std::function<std::string(const End&)>& compose) override;

private:
    std::string path_;
};

// The lines the log refused, kept beside it in `<log>.wait` (the log's own
// lines, code page 932, CR LF): written whole to `<log>.wait.new`, forced to
// the disk, then put in the file's place in one step (Windows NT family);
// where that step is missing (the Windows 95 family) the old file goes first.
// A start reads the new copy only where it is whole and holds the file's lines.
class Win32WaitingLinesFile : public WaitingLinesFile {
public:
    explicit Win32WaitingLinesFile(const std::string& logPath) : path_(logPath + ".wait"), newPath_(path_ + ".new") {}
    std::string read() override;
    bool keep(const std::string& bytes) override;
    bool forget() override;

private:
    std::string path_;
    std::string newPath_;
};

// Tallykeep.csv.idx beside the log: the numbers played, written as the
// waiting lines are (a new copy put in the file's place).
class Win32PlayedNumbersFile : public WaitingLinesFile {
public:
    explicit Win32PlayedNumbersFile(const std::string& logPath) : path_(logPath + ".idx") {}
    std::string read() override;
    bool keep(const std::string& bytes) override;
    bool forget() override;

private:
    std::string path_;
};

// The log read at start-up from an offset on (shared for writing).
class Win32LogSource : public LogSource {
public:
    explicit Win32LogSource(std::string path) : path_(std::move(path)) {}
    std::optional<uint64_t> read(uint64_t from,
                                 const std::function<void(const LogEntry&, uint64_t lineEnd)>& onEntry) override;

private:
    std::string path_;
};

// The local date and time from GetLocalTime.
class Win32LocalClock : public LocalClock {
public:
    LocalTime now() override;
};

// Reads the log at `path` (shared for writing, so that it can be read while
// it is appended to), handing each entry over as it is read; returns the
// lines skipped. A log that cannot be opened (none yet) is empty.
SkippedLines readLogFile(const std::string& path, const std::function<void(const LogEntry&)>& onEntry);
