#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "records/results_log.h"

// What a reader of the log (the progress view) makes of it. The log may have
// been edited by hand or cut short by a power cut: a line that cannot be read
// is skipped and counted, never an error.
struct LogReading {
    std::vector<LogEntry> entries;  // in the order of the file
    std::size_t skippedLines = 0;
    std::size_t firstSkippedLine = 0;  // its line number, 1 for the file's first; 0: none
};


// A line longer than this is no line of the log; it is skipped without being
// held in memory.
inline constexpr std::size_t kLongestLogLine = 256;

// One line without its line break; nothing when it is not a line of the log.
// The header is not an entry either.
std::optional<LogEntry> parseResultsLogLine(const std::string& line);

// Reads the whole log. The header and empty lines are passed over; a last line
// without its line break was cut off while being written and is skipped.
LogReading readResultsLog(std::istream& in);

// Reads the whole log through `read` (which fills the buffer and returns how
// many bytes it gave, 0 at the end), handing each entry to onEntry as it is
// read; returns the lines skipped. readResultsLog reads the same way.
SkippedLines readResultsLogChunks(const std::function<std::size_t(char* buffer, std::size_t size)>& read,
                                 const std::function<void(const LogEntry&)>& onEntry);

// As readResultsLogChunks, with the offset (from the first byte read) at which
// each entry's line ends, its line break included.
SkippedLines readResultsLogLines(const std::function<std::size_t(char* buffer, std::size_t size)>& read,
                                 const std::function<void(const LogEntry&, uint64_t lineEnd)>& onEntry);

// Reads the whole log as readResultsLog does, handing each entry over as it is
// read instead of keeping them: a log of a million games is never held in
// memory. Returns the lines skipped.
SkippedLines readResultsLogEach(std::istream& in, const std::function<void(const LogEntry&)>& onEntry);
