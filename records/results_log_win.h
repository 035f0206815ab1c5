#pragma once

#include <cstddef>
#include <functional>
#include <string>

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

// The local date and time from GetLocalTime.
class Win32LocalClock : public LocalClock {
public:
    LocalTime now() override;
};

// Reads the log at `path` (shared for writing, so that it can be read while
// it is appended to), handing each entry over as it is read; returns the
// lines skipped. A log that cannot be opened (none yet) is empty.
SkippedLines readLogFile(const std::string& path, const std::function<void(const LogEntry&)>& onEntry);
