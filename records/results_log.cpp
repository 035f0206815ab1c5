#include "records/results_log.h"

#include <algorithm>
#include <cstdio>

#include "common/number_text.h"
#include "records/results_log_reader.h"
#include "records/settings.h"

namespace {

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string fourDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d", value);
    return text;
}

}  // namespace

std::string resultsLogPathFor(const std::string& executablePath) {
    const std::string iniPath = iniPathFor(executablePath);
    return iniPath.substr(0, iniPath.size() - 4) + ".csv";
}

namespace {

// The 結果 word in code page 932 (this file's narrow literals) and in UTF-8.
struct EventWords {
    const char* codePage932;
    const char* utf8;
};

EventWords wordsOf(LogEvent event) {
    switch (event) {
        case LogEvent::win:
            return {"勝ち", u8"勝ち"};
        case LogEvent::loss:
            return {"負け", u8"負け"};
        case LogEvent::pass:
            return {"パス", u8"パス"};
        case LogEvent::retry:
            return {"再挑戦", u8"再挑戦"};
        case LogEvent::clear:
            return {"クリア", u8"クリア"};
        case LogEvent::skip:
            return {"スキップ", u8"スキップ"};
    }
    return {"", ""};
}

}  // namespace

const char* logEventWord(LogEvent event) { return wordsOf(event).codePage932; }

const char* logEventWordUtf8(LogEvent event) { return wordsOf(event).utf8; }

std::string formatLogLine(const LogEntry& entry, bool utf8) {
    const LocalTime& t = entry.when;
    return fourDigits(t.year) + '/' + twoDigits(t.month) + '/' + twoDigits(t.day) + ',' + twoDigits(t.hour) + ':' +
           twoDigits(t.minute) + ':' + twoDigits(t.second) + ',' + intToText(entry.gameNumber) + ',' +
           intToText(entry.attempt) + ',' + (utf8 ? logEventWordUtf8(entry.event) : logEventWord(entry.event)) + ',' +
           (entry.counted ? '1' : '0') + (entry.serial ? ',' + std::to_string(entry.serial) : std::string()) + "\r\n";
}

bool operator==(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}

bool operator==(const LogEntry& a, const LogEntry& b) {
    return a.when == b.when && a.gameNumber == b.gameNumber && a.attempt == b.attempt && a.event == b.event &&
           a.counted == b.counted && a.serial == b.serial;
}

LogEntry entryForResult(const GameResult& result, const LocalTime& when) {
    LogEntry entry;
    entry.when = when;
    entry.gameNumber = result.gameNumber;
    entry.attempt = result.attempt;
    entry.event = result.won ? LogEvent::win : LogEvent::loss;
    entry.counted = result.counted();
    return entry;
}

LogEntry ResultsLog::stamped(LogEvent event, int32_t gameNumber, int32_t attempt, bool counted) const {
    LogEntry entry;
    entry.when = clock_.now();
    entry.gameNumber = gameNumber;
    entry.attempt = attempt;
    entry.event = event;
    entry.counted = counted;
    return entry;
}

AppendOnlyFile::Outcome ResultsLog::add(const LogEntry& entry) {
    pending_.push_back(entry);
    waitingChanged_ = true;
    return writePending();
}

AppendOnlyFile::Outcome ResultsLog::writePending() {
    if (pending_.empty()) return {true, {}};
    const AppendOnlyFile::Outcome outcome = file_.append([this](const AppendOnlyFile::End& end) {
        std::string bytes;
        if (end.empty) bytes = std::string(kResultsLogHeader) + "\r\n";
        // A line cut short by a power cut stays as it is; the next line
        // starts on a line of its own.
        else if (!end.endsWithLineBreak)
            bytes = "\r\n";
        for (const LogEntry& entry : pending_) bytes += formatLogLine(entry, end.utf8);
        return bytes;
    });
    if (outcome.written) {
        pending_.clear();
        // Should the file not go, the next start finds the log ending with
        // its lines and lets them go then.
        if (waitingOnDisk_ && waitingFile_) waitingOnDisk_ = !waitingFile_->forget();
        waitingKept_ = true;
        waitingChanged_ = false;
    } else if (waitingChanged_ || !waitingKept_) {
        keepWaitingLines();
    }
    return outcome;
}

void ResultsLog::keepWaitingLines() {
    if (!waitingFile_) return;
    std::string bytes;
    for (const LogEntry& entry : pending_) bytes += formatLogLine(entry);
    waitingKept_ = waitingFile_->keep(bytes);
    waitingOnDisk_ = true;
    waitingChanged_ = !waitingKept_;
}

std::vector<LogEntry> ResultsLog::linesLeftWaiting() {
    if (!waitingFile_) return {};
    const std::string bytes = waitingFile_->read();
    std::size_t at = 0;
    std::vector<LogEntry> lines;
    readResultsLogChunks(
        [&](char* buffer, std::size_t size) {
            const std::size_t count = std::min(size, bytes.size() - at);
            bytes.copy(buffer, count, at);
            at += count;
            return count;
        },
        [&lines](const LogEntry& entry) { lines.push_back(entry); });
    waitingOnDisk_ = waitingOnDisk_ || !lines.empty();
    return lines;
}

void ResultsLog::takeBackWaiting(const std::vector<LogEntry>& lines) {
    pending_.insert(pending_.begin(), lines.begin(), lines.end());
    waitingChanged_ = waitingChanged_ || !lines.empty();
    if (lines.empty() && waitingOnDisk_ && waitingFile_) waitingOnDisk_ = !waitingFile_->forget();
}

std::size_t linesAlreadyLogged(const std::vector<LogEntry>& logTail, const std::vector<LogEntry>& waiting) {
    for (std::size_t count = std::min(logTail.size(), waiting.size()); count > 0; --count)
        if (std::equal(waiting.begin(), waiting.begin() + static_cast<std::ptrdiff_t>(count),
                       logTail.end() - static_cast<std::ptrdiff_t>(count)))
            return count;
    return 0;
}

bool newerCopyWins(const std::string& kept, const std::string& newer) {
    if (newer.size() <= kept.size() || newer.compare(0, kept.size(), kept) != 0) return false;
    if (newer.size() < 2 || newer.compare(newer.size() - 2, 2, "\r\n") != 0) return false;
    std::size_t at = 0;
    std::size_t lines = 0;
    const SkippedLines skipped = readResultsLogChunks(
        [&](char* buffer, std::size_t size) {
            const std::size_t count = std::min(size, newer.size() - at);
            newer.copy(buffer, count, at);
            at += count;
            return count;
        },
        [&lines](const LogEntry&) { ++lines; });
    return skipped.count == 0 && lines > 0;
}
