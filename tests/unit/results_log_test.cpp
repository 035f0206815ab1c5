#include "records/results_log.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "record_doubles.h"
#include "records/results_log_reader.h"

namespace {

using record_test::FixedClock;
using record_test::MemoryLog;

LogReading read(const std::string& bytes) {
    std::istringstream in(bytes);
    return readResultsLog(in);
}

// What a spreadsheet or another program reads: the exact bytes of a line.
TEST(ResultsLogLine, ColumnsAreDateTimeNumberAttemptWordAndCounted) {
    const LocalTime when{2026, 3, 9, 7, 5, 3};
    EXPECT_EQ(formatLogLine(entryForResult({true, 4711, 1}, when)), "2026/03/09,07:05:03,4711,1,勝ち,1\r\n");
    EXPECT_EQ(formatLogLine(entryForResult({false, 4711, 1}, when)), "2026/03/09,07:05:03,4711,1,負け,1\r\n");
    EXPECT_EQ(formatLogLine(entryForResult({true, 4711, 3}, when)), "2026/03/09,07:05:03,4711,3,勝ち,0\r\n")
        << "a win at a later attempt changes no total";
    EXPECT_EQ(formatLogLine(entryForResult({false, -2147483647 - 1, 2}, when)),
              "2026/03/09,07:05:03,-2147483648,2,負け,0\r\n");
    LogEntry clear;
    clear.when = {1999, 12, 31, 23, 59, 59};
    clear.gameNumber = 1000000;
    clear.attempt = 2;
    clear.event = LogEvent::clear;
    clear.counted = true;
    EXPECT_EQ(formatLogLine(clear), "1999/12/31,23:59:59,1000000,2,クリア,1\r\n");
    EXPECT_STREQ(logEventWord(LogEvent::pass), "パス");
    EXPECT_STREQ(logEventWord(LogEvent::retry), "再挑戦");
}

TEST(ResultsLogLine, LiesBesideTheSettingsFileUnderTheExecutablesName) {
    EXPECT_EQ(resultsLogPathFor("C:\\Games\\Tallykeep.exe"), "C:\\Games\\Tallykeep.csv");
    EXPECT_EQ(resultsLogPathFor("C:\\v1.2\\Tally"), "C:\\v1.2\\Tally.csv");
}

TEST(ResultsLogWriting, NewFileStartsWithTheHeaderAndEachLineIsOneWrite) {
    MemoryLog file;
    FixedClock clock;
    ResultsLog log(file, clock);
    EXPECT_TRUE(log.add(entryForResult({true, 1, 1}, clock.now())).written);
    clock.time.second = 4;
    EXPECT_TRUE(log.add(log.stamped(LogEvent::pass, 2, 1, false)).written);
    EXPECT_EQ(file.bytes,
              "日付,時刻,ゲーム番号,回目,結果,集計,通番\r\n"
              "2026/03/09,07:05:03,1,1,勝ち,1\r\n"
              "2026/03/09,07:05:04,2,1,パス,0\r\n");
    EXPECT_EQ(file.writes, 2);
}

TEST(ResultsLogWriting, LineAfterATornLastLineStartsOnALineOfItsOwn) {
    MemoryLog file;
    file.bytes = "日付,時刻,ゲーム番号,回目,結果,集計\r\n2026/03/09,07:0";
    FixedClock clock;
    ResultsLog log(file, clock);
    log.add(entryForResult({false, 9, 1}, clock.now()));
    const LogReading reading = read(file.bytes);
    ASSERT_EQ(reading.entries.size(), 1u);
    EXPECT_EQ(reading.entries[0].gameNumber, 9);
    EXPECT_EQ(reading.skippedLines, 1u) << "the torn line";
}

// A log saved back by a spreadsheet as "CSV UTF-8" (a byte-order mark, quoted
// fields, no line break at its end) keeps one encoding: the next line is
// UTF-8, and every byte already there stays.
TEST(ResultsLogWriting, ALogSavedInUtf8GetsUtf8Lines) {
    MemoryLog file;
    const std::string saved =
        "\xEF\xBB\xBF\xE6\x97\xA5\xE4\xBB\x98\r\n\"2026/3/"
        "9\",\"7:05:03\",\"1\",\"1\",\"\xE8\xB2\xA0\xE3\x81\x91\",\"1\"";
    file.bytes = saved;
    FixedClock clock;
    ResultsLog log(file, clock);
    log.add(entryForResult({true, 1, 2}, clock.now()));
    EXPECT_EQ(file.bytes, saved + "\r\n2026/03/09,07:05:03,1,2,\xE5\x8B\x9D\xE3\x81\xA1,0\r\n");
    const LogReading reading = read(file.bytes);
    ASSERT_EQ(reading.entries.size(), 2u);
    EXPECT_EQ(reading.entries[1].event, LogEvent::win);
    EXPECT_EQ(reading.skippedLines, 0u);
}

// Excel holds the file open: the lines wait in memory and go out, in order and
// once each, with the first write that succeeds.
TEST(ResultsLogWriting, RefusedLinesWaitAndAreWrittenOnceInOrder) {
    MemoryLog file;
    FixedClock clock;
    ResultsLog log(file, clock);
    log.add(entryForResult({true, 1, 1}, clock.now()));
    file.refusing = true;
    const AppendOnlyFile::Outcome refused = log.add(entryForResult({false, 2, 1}, clock.now()));
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(refused.reason, "used by another process");
    log.add(entryForResult({false, 2, 2}, clock.now()));
    EXPECT_FALSE(log.writePending().written);
    EXPECT_EQ(log.pendingLines(), 2u);

    file.refusing = false;
    EXPECT_TRUE(log.add(entryForResult({true, 2, 3}, clock.now())).written);
    EXPECT_EQ(log.pendingLines(), 0u);
    EXPECT_TRUE(log.writePending().written) << "nothing left to write";
    const LogReading reading = read(file.bytes);
    ASSERT_EQ(reading.entries.size(), 4u);
    EXPECT_EQ(reading.entries[1].attempt, 1);
    EXPECT_EQ(reading.entries[2].attempt, 2);
    EXPECT_EQ(reading.entries[3].event, LogEvent::win);
    EXPECT_EQ(reading.skippedLines, 0u);
}

TEST(ResultsLogReading, ReadsBackWhatWasWritten) {
    MemoryLog file;
    FixedClock clock;
    ResultsLog log(file, clock);
    log.add(log.stamped(LogEvent::retry, 300, 1, false));
    log.add(log.stamped(LogEvent::clear, 301, 4, true));
    const LogReading reading = read(file.bytes);
    ASSERT_EQ(reading.entries.size(), 2u);
    const LogEntry& clear = reading.entries[1];
    EXPECT_EQ(clear.event, LogEvent::clear);
    EXPECT_EQ(clear.gameNumber, 301);
    EXPECT_EQ(clear.attempt, 4);
    EXPECT_TRUE(clear.counted);
    EXPECT_EQ(clear.when.year, 2026);
    EXPECT_EQ(clear.when.second, 3);
    EXPECT_EQ(reading.skippedLines, 0u);
}

// A log edited by hand: each line that cannot be read is skipped and counted,
// and the lines around it are read.
TEST(ResultsLogReading, SkipsAndCountsLinesItCannotRead) {
    const std::string good = "2026/03/09,07:05:03,5,1,勝ち,1\r\n";
    const std::string bad[] = {
        "2026/03/09,07:05:03,5,1,勝ち\r\n",              // a column missing
        "2026/03/09,07:05:03,5,1,勝ち,1,x\r\n",          // a column too many
        "2026/03/09,07:05:03,five,1,勝ち,1\r\n",         // text for the number
        "2026/03/09,07:05:03,5,1st,勝ち,1\r\n",          // text for the attempt
        "2026/03/09,07:05:03,99999999999,1,勝ち,1\r\n",  // beyond 32 bits
        "2026/13/09,07:05:03,5,1,勝ち,1\r\n",            // no such month
        "2026/03/09,24:00:00,5,1,勝ち,1\r\n",            // no such hour
        "2026/03/09,07:05:03,5,1,引き分け,1\r\n",        // no such result
        "2026/03/09,07:05:03,5,1,勝ち,2\r\n",            // 集計 is 0 or 1
        "2026/3/9,7:5:03,5,1,勝ち,1\r\n",                // a minute of one digit
        "2026/03/09,07:05:03,5,1,\"勝ち,1\r\n",          // a quote left open
        std::string(10 * 1024 * 1024, 'x') + "\r\n",     // a 10 MB line
    };
    std::string file = std::string(kResultsLogHeader) + "\r\n" + good;
    for (const std::string& line : bad) file += line + good;
    const LogReading reading = read(file);
    EXPECT_EQ(reading.entries.size(), std::size(bad) + 1);
    EXPECT_EQ(reading.skippedLines, std::size(bad));
}

TEST(ResultsLogReading, FileWithoutHeaderOrWithLineFeedsAloneIsRead) {
    const LogReading reading = read("2026/03/09,07:05:03,5,1,勝ち,1\n\n2026/03/09,07:05:04,6,1,負け,1\n");
    EXPECT_EQ(reading.entries.size(), 2u);
    EXPECT_EQ(reading.skippedLines, 0u);
}

// Excel and LibreOffice save the log back with their own dates, times and
// quotes, in code page 932 or as "CSV UTF-8": every such line reads as the
// line the log wrote. UTF-16 is no text the log is written in.
TEST(ResultsLogReading, WhatSpreadsheetsSaveBackIsRead) {
    const std::string lines[] = {
        "2026/03/09,07:05:03,5,1,勝ち,1",
        "2026/3/9,7:05:03,5,1,勝ち,1",
        "2026-03-09,07:05:03,5,1,勝ち,1",
        "2026/3/9,7:05,5,1,勝ち,1",
        "\"2026/03/09\",\"07:05:03\",\"5\",\"1\",\"勝ち\",\"1\"",
        "2026/03/09,07:05:03,5,1,勝ち,1,,,",
        "\xEF\xBB\xBF"
        "2026/03/09,07:05:03,5,1,\xE5\x8B\x9D\xE3\x81\xA1,1",
        "2026/3/9,7:05:03,5,1,\xE5\x8B\x9D\xE3\x81\xA1,1",
    };
    for (const std::string& line : lines) {
        const std::optional<LogEntry> entry = parseResultsLogLine(line);
        ASSERT_TRUE(entry) << line;
        EXPECT_EQ(entry->event, LogEvent::win) << line;
        EXPECT_EQ(entry->gameNumber, 5) << line;
        EXPECT_TRUE(entry->counted) << line;
        EXPECT_EQ(entry->when.month * 100 + entry->when.day, 309) << line;
        EXPECT_EQ(entry->when.hour * 100 + entry->when.minute, 705) << line;
    }
    // The header in UTF-8 with its byte-order mark, a blank row of commas
    // and the header again in the middle are no lines to skip.
    const LogReading utf8 = read("\xEF\xBB\xBF\xE6\x97\xA5\xE4\xBB\x98,\xE6\x99\x82\xE5\x88\xBB\n,,,,,\n" +
                                 lines[6].substr(3) + "\n" + std::string(kResultsLogHeader) + "\n");
    EXPECT_EQ(utf8.entries.size(), 1u);
    EXPECT_EQ(utf8.skippedLines, 0u);
    std::string utf16;
    for (char c : std::string("2026/03/09,07:05:03,5,1,x,1\r\n")) utf16 += std::string{c, '\0'};
    EXPECT_EQ(read(utf16).entries.size(), 0u);
    EXPECT_GE(read(utf16).skippedLines, 1u);
}

TEST(ResultsLogReading, TornLastLineIsSkipped) {
    const LogReading reading = read("2026/03/09,07:05:03,5,1,勝ち,1\r\n2026/03/09,07:05:04,6,1,負け,1");
    EXPECT_EQ(reading.entries.size(), 1u);
    EXPECT_EQ(reading.skippedLines, 1u);
}

}  // namespace

// A copy of the waiting lines left beside their file by a crash is read only
// when it is whole and holds the file's lines: a power cut can leave it cut
// short or filled with zeros.
TEST(WaitingLines, ANewerCopyIsReadOnlyWhenWholeAndBeginningWithTheFile) {
    const std::string kept = "2026/03/09,07:05:03,5,1,勝ち,1,7\r\n";
    const std::string more = kept + "2026/03/09,07:05:09,6,1,負け,1,8\r\n";
    EXPECT_TRUE(newerCopyWins(kept, more));
    EXPECT_TRUE(newerCopyWins("", more));
    EXPECT_FALSE(newerCopyWins(kept, std::string(more.size(), '\0')));
    EXPECT_FALSE(newerCopyWins(kept, more.substr(0, more.size() - 3)));
    EXPECT_FALSE(newerCopyWins(more, kept));
    EXPECT_FALSE(newerCopyWins(kept, "2026/03/09,07:05:01,4,1,勝ち,1,6\r\n" + more));
}
