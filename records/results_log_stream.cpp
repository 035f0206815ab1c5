// The log read from a stream: kept apart from the rest of the reader, so that
// Tallykeep.exe, which reads the file through the system, carries no streams.
#include <istream>

#include "records/results_log_reader.h"

SkippedLines readResultsLogEach(std::istream& in, const std::function<void(const LogEntry&)>& onEntry) {
    return readResultsLogChunks(
        [&in](char* buffer, std::size_t size) {
            in.read(buffer, static_cast<std::streamsize>(size));
            return static_cast<std::size_t>(in.gcount());
        },
        onEntry);
}

LogReading readResultsLog(std::istream& in) {
    LogReading reading;
    const SkippedLines skipped =
        readResultsLogEach(in, [&](const LogEntry& entry) { reading.entries.push_back(entry); });
    reading.skippedLines = skipped.count;
    reading.firstSkippedLine = skipped.firstLine;
    return reading;
}
