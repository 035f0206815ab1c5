#include "records/results_log_reader.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Exactly `digits` decimal digits at `from`.
std::optional<int> fixedNumber(const std::string& text, std::size_t from, std::size_t digits) {
    if (from + digits > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = from; i < from + digits; ++i) {
        if (!isDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Plain decimal as the log writes it: an optional "-", then digits, within
// 32 bits.
std::optional<int32_t> plainNumber(const std::string& text) {
    std::size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
    if (i == text.size() || text.size() - i > 10) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    if (text[0] == '-') value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

// The years a line of the log can be dated: a PC's clock never showed an
// earlier one, and a year far ahead is a line edited or damaged. The
// progress view makes a bar for every day or week between the first and the
// last date, so one line dated year 0 would make half a million of them.
constexpr int kFirstYear = 1980;
constexpr int kLastYear = 2200;

// 1 to `most` decimal digits, the whole of [from, to).
std::optional<int> shortNumber(const std::string& text, std::size_t from, std::size_t to, std::size_t most) {
    if (to <= from || to - from > most) return std::nullopt;
    return fixedNumber(text, from, to - from);
}

// "2026/03/09" as the log writes it; "2026/3/9" and "2026-03-09" as
// spreadsheets save it back.
bool readDate(const std::string& text, LocalTime& when) {
    if (text.size() < 8 || (text[4] != '/' && text[4] != '-')) return false;
    const std::size_t second = text.find(text[4], 5);
    if (second == std::string::npos) return false;
    const std::optional<int> year = fixedNumber(text, 0, 4);
    const std::optional<int> month = shortNumber(text, 5, second, 2);
    const std::optional<int> day = shortNumber(text, second + 1, text.size(), 2);
    if (!year || !month || !day || *year < kFirstYear || *year > kLastYear) return false;
    if (*month < 1 || *month > 12 || *day < 1 || *day > 31) return false;
    when.year = *year;
    when.month = *month;
    when.day = *day;
    return true;
}

// "07:05:03" as the log writes it; "7:05:03" and "7:05" as spreadsheets save
// it back.
bool readTime(const std::string& text, LocalTime& when) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 2) return false;
    const bool withSeconds = text.size() == colon + 6 && text[colon + 3] == ':';
    if (!withSeconds && text.size() != colon + 3) return false;
    const std::optional<int> hour = fixedNumber(text, 0, colon);
    const std::optional<int> minute = fixedNumber(text, colon + 1, 2);
    const std::optional<int> second = withSeconds ? fixedNumber(text, colon + 4, 2) : std::optional<int>(0);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) return false;
    when.hour = *hour;
    when.minute = *minute;
    when.second = *second;
    return true;
}

std::optional<LogEvent> readEvent(const std::string& word) {
    for (LogEvent event :
         {LogEvent::win, LogEvent::loss, LogEvent::pass, LogEvent::retry, LogEvent::clear, LogEvent::skip})
        if (word == logEventWord(event) || word == logEventWordUtf8(event)) return event;
    return std::nullopt;
}

// The columns of a line, as a spreadsheet writes them: a field in double
// quotes may hold commas, and "" stands for one quote. Code page 932 has no
// trail byte below 0x40, so neither the comma nor the quote is ever half a
// character. Empty columns after the seventh (a spreadsheet's wider table) are
// dropped.
std::vector<std::string> splitColumns(const std::string& line) {
    std::vector<std::string> columns(1);
    columns.reserve(8);  // a line of the log has six: one allocation per line
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            columns.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            columns.emplace_back();
        } else {
            columns.back() += c;
        }
    }
    while (columns.size() > 7 && columns.back().empty()) columns.pop_back();
    return columns;
}

constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// The columns of a line without the byte-order mark a UTF-8 file starts with.
std::vector<std::string> columnsOf(const std::string& line) {
    const bool marked = line.compare(0, 3, kUtf8ByteOrderMark) == 0;
    return splitColumns(marked ? line.substr(3) : line);
}

// A line with nothing in it: a spreadsheet writes an empty row as commas.
bool isBlank(const std::string& line) { return line.find_first_not_of(",\"") == std::string::npos; }

// The header, in either encoding, wherever it stands: no line of the log.
// Asked only of a line that is no entry, so that an entry is split once.
bool isHeader(const std::string& line) {
    if (line.size() > kLongestLogLine) return false;
    const std::string first = columnsOf(line)[0];
    return first == "日付" || first == u8"日付";
}

}  // namespace

std::optional<LogEntry> parseResultsLogLine(const std::string& line) {
    if (line.size() > kLongestLogLine) return std::nullopt;
    const std::vector<std::string> columns = columnsOf(line);
    if (columns.size() != 6 && columns.size() != 7) return std::nullopt;
    LogEntry entry;
    if (!readDate(columns[0], entry.when) || !readTime(columns[1], entry.when)) return std::nullopt;
    const std::optional<int32_t> number = plainNumber(columns[2]);
    const std::optional<int32_t> attempt = plainNumber(columns[3]);
    const std::optional<LogEvent> event = readEvent(columns[4]);
    if (!number || !attempt || !event || (columns[5] != "0" && columns[5] != "1")) return std::nullopt;
    entry.gameNumber = *number;
    entry.attempt = *attempt;
    entry.event = *event;
    entry.counted = columns[5] == "1";
    // 通番, empty where a spreadsheet dropped it or the line has none.
    if (columns.size() == 7 && !columns[6].empty()) {
        const std::optional<int32_t> serial = plainNumber(columns[6]);
        if (!serial || *serial < 1) return std::nullopt;
        entry.serial = static_cast<uint32_t>(*serial);
    }
    return entry;
}

SkippedLines readResultsLogChunks(const std::function<std::size_t(char* buffer, std::size_t size)>& read,
                                  const std::function<void(const LogEntry&)>& onEntry) {
    return readResultsLogLines(read, [&onEntry](const LogEntry& entry, uint64_t) { onEntry(entry); });
}

SkippedLines readResultsLogLines(const std::function<std::size_t(char* buffer, std::size_t size)>& read,
                                 const std::function<void(const LogEntry&, uint64_t lineEnd)>& onEntry) {
    SkippedLines skipped;
    std::size_t lineNumber = 0;
    const auto skip = [&] {
        if (skipped.count++ == 0) skipped.firstLine = lineNumber;
    };
    std::string line;
    bool tooLong = false;
    uint64_t offset = 0;  // where the bytes read so far end
    const auto endLine = [&](bool complete) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!complete) {
            if (!line.empty() || tooLong) skip();
        } else if (tooLong) {
            skip();
        } else if (!isBlank(line)) {
            if (std::optional<LogEntry> entry = parseResultsLogLine(line))
                onEntry(*entry, offset);
            else if (!isHeader(line))
                skip();
        }
        line.clear();
        tooLong = false;
    };
    std::vector<char> buffer(64 * 1024);
    for (std::size_t got; (got = read(buffer.data(), buffer.size())) > 0;) {
        const char* next = buffer.data();
        const char* const end = next + got;
        while (next < end) {
            const char* lineFeed =
                static_cast<const char*>(std::memchr(next, '\n', static_cast<std::size_t>(end - next)));
            const char* const stop = lineFeed ? lineFeed : end;
            if (!tooLong) {
                line.append(next, stop);
                // One byte of room for the CR before the line feed.
                if (line.size() > kLongestLogLine + 1) {
                    tooLong = true;
                    line.clear();
                }
            }
            offset += static_cast<uint64_t>(stop - next) + (lineFeed ? 1 : 0);
            if (lineFeed) endLine(true);
            next = stop + (lineFeed ? 1 : 0);
        }
    }
    endLine(false);
    return skipped;
}
