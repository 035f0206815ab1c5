#include "records/progress_record.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "deal_table_bytes.h"
#include "records/impossible_deals.h"
#include "records/results_log_reader.h"

namespace {

LogEntry line(int year, int month, int day, int32_t number, int32_t attempt, LogEvent event, bool counted) {
    LogEntry entry;
    entry.when = LocalTime{year, month, day, 12, 0, 0};
    entry.gameNumber = number;
    entry.attempt = attempt;
    entry.event = event;
    entry.counted = counted;
    return entry;
}

LogEntry win(int day, int32_t number, int32_t attempt = 1) {
    return line(2026, 11, day, number, attempt, LogEvent::win, attempt == 1);
}
LogEntry loss(int day, int32_t number, int32_t attempt = 1) {
    return line(2026, 11, day, number, attempt, LogEvent::loss, attempt == 1);
}

TEST(Calendar, DayNumbersRunThroughMonthsLeapDaysAndWeekdays) {
    EXPECT_EQ(dayNumber(1970, 1, 1), 0);
    EXPECT_EQ(dayNumber(2024, 3, 1) - dayNumber(2024, 2, 28), 2);
    EXPECT_EQ(dayNumber(2100, 3, 1) - dayNumber(2100, 2, 28), 1);
    const LocalTime date = dateOfDay(dayNumber(2026, 12, 7));
    EXPECT_EQ(date.year, 2026);
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.day, 7);
    EXPECT_EQ(weekdayOf(dayNumber(2026, 12, 7)), 0);  // a Monday
    EXPECT_EQ(weekdayOf(dayNumber(2026, 12, 6)), 6);
}

TEST(ImpossibleDeals, OnlyThoseTheGameInUseDeals) {
    EXPECT_TRUE(isKnownImpossible(11982, 32000));
    EXPECT_FALSE(isKnownImpossible(146692, 32000));
    EXPECT_TRUE(isKnownImpossible(146692, 1000000));
    EXPECT_FALSE(isKnownImpossible(11983, 1000000));
    int32_t count = 0;
    for (int32_t number = 1; number <= 1000000; ++number) count += isKnownImpossible(number, 1000000) ? 1 : 0;
    EXPECT_EQ(count, 8);
}

TEST(ImpossibleDeals, TheNextNumberMovesPastAnImpossibleDeal) {
    const ImpossibleSkip skip = skipKnownImpossible(11982, 32000);
    EXPECT_EQ(skip.next, 11983);
    EXPECT_EQ(skip.skipped, std::vector<int32_t>{11982});
    EXPECT_TRUE(skipKnownImpossible(11983, 32000).skipped.empty());
    EXPECT_EQ(skipKnownImpossible(11983, 32000).next, 11983);
    EXPECT_EQ(skipKnownImpossible(146692, 32000).next, 146692) << "beyond the game's range, nothing is known";
}

TEST(NumberFates, EachNumberShowsWhatBecameOfIt) {
    ProgressRecord record(32000);
    record.add(win(1, 1));
    record.add(loss(1, 2));
    record.add(win(1, 2, 2));
    record.add(loss(1, 3));
    record.add(loss(1, 3, 2));
    record.add(line(2026, 11, 1, 4, 1, LogEvent::pass, false));
    record.add(line(2026, 11, 1, 5, 1, LogEvent::pass, false));
    record.add(line(2026, 11, 2, 5, 1, LogEvent::retry, false));
    record.add(win(2, 5));
    record.add(loss(2, 11982));
    EXPECT_EQ(record.fate(1), NumberFate::firstAttemptWin);
    EXPECT_EQ(record.fate(2), NumberFate::laterWin);
    EXPECT_EQ(record.fate(3), NumberFate::lost);
    EXPECT_EQ(record.fate(4), NumberFate::passed);
    EXPECT_EQ(record.fate(5), NumberFate::firstAttemptWin) << "taken back and won";
    EXPECT_EQ(record.fate(6), NumberFate::notPlayed);
    EXPECT_EQ(record.fate(11982), NumberFate::impossible) << "lost, but nobody could win it";
    EXPECT_EQ(record.fate(11981), NumberFate::notPlayed);
    EXPECT_EQ(record.lastDayOf(5), dayNumber(2026, 11, 2));
    EXPECT_EQ(record.lastDayOf(6), std::nullopt);
}

TEST(NumberFates, NumbersBelowTheFirstLoggedOneWerePlayedBeforeTheLog) {
    ProgressRecord record(32000);
    record.add(win(1, 500));
    record.add(win(1, 501));
    EXPECT_EQ(record.fate(1), NumberFate::noRecord);
    EXPECT_EQ(record.fate(499), NumberFate::noRecord);
    EXPECT_EQ(record.fate(500), NumberFate::firstAttemptWin);
    EXPECT_EQ(record.fate(502), NumberFate::notPlayed);
    EXPECT_EQ(record.summary().numbersNoRecord, 499);

    ProgressRecord empty(32000);
    empty.setNumberInPlay(300);
    EXPECT_EQ(empty.fate(299), NumberFate::noRecord) << "with no log yet, the game in play tells";
    EXPECT_EQ(empty.fate(300), NumberFate::notPlayed);
}

TEST(ProgressSummaryFigures, CountsSharesAndTheRange) {
    ProgressRecord record(32000);
    record.add(win(1, 1));
    record.add(win(1, 2));
    record.add(win(1, 3));
    record.add(loss(2, 4));
    record.add(win(2, 4, 2));
    record.add(loss(2, 5));
    record.add(line(2026, 11, 2, 6, 1, LogEvent::pass, false));
    record.add(line(2026, 11, 2, 6, 1, LogEvent::clear, true));
    record.setNumberInPlay(7);
    record.setSkippedLines({3, 17});
    const ProgressSummary s = record.summary();
    EXPECT_EQ(s.numbersPlayed, 6);
    EXPECT_EQ(s.highestReached, 7);
    EXPECT_EQ(s.firstAttemptWins, 3);
    EXPECT_EQ(s.stillLost, 1);
    EXPECT_EQ(s.passed, 1);
    ASSERT_TRUE(s.firstAttemptShare);
    EXPECT_DOUBLE_EQ(*s.firstAttemptShare, 60.0) << "3 of the 5 numbers with a result";
    EXPECT_EQ(s.firstDay, dayNumber(2026, 11, 1));
    EXPECT_EQ(s.skipped.count, 3u);
}

TEST(ProgressSummaryFigures, PaceOfTheLastThirtyDaysGivesTheFinishDate) {
    ProgressRecord record(32000);
    // 100 counted games on the 1st of October, then 20 a day for 30 days.
    for (int32_t number = 1; number <= 100; ++number) record.add(line(2026, 10, 1, number, 1, LogEvent::win, true));
    int32_t number = 101;
    for (int day = 0; day < 30; ++day) {
        const LocalTime date = dateOfDay(dayNumber(2026, 11, 1) + day);
        for (int game = 0; game < 20; ++game)
            record.add(line(date.year, date.month, date.day, number++, 1, LogEvent::win, true));
    }
    const ProgressSummary s = record.summary();
    ASSERT_TRUE(s.gamesPerDay);
    EXPECT_DOUBLE_EQ(*s.gamesPerDay, 20.0) << "October lies outside the last 30 days";
    // 700 reached, 31,300 to go at 20 a day: 1,565 days after the 30th of November.
    EXPECT_EQ(s.highestReached, 700);
    EXPECT_EQ(s.finishDay, dayNumber(2026, 11, 30) + 1565);
}

TEST(ProgressSummaryFigures, AShortLogIsPacedOverTheDaysItSpans) {
    ProgressRecord record(100);
    for (int32_t number = 1; number <= 30; ++number) record.add(win(number <= 10 ? 1 : 2, number));
    const ProgressSummary s = record.summary();
    EXPECT_DOUBLE_EQ(*s.gamesPerDay, 15.0);
    EXPECT_EQ(s.finishDay, dayNumber(2026, 11, 2) + 5) << "70 numbers at 15 a day";
}

TEST(ResultsChart, DailyBarsWithTheAllTimeWinPercentage) {
    ProgressRecord record(32000);
    record.add(win(1, 1));
    record.add(loss(1, 2));
    record.add(win(1, 2, 2));  // not counted
    record.add(win(3, 3));
    const Chart chart = record.chart();
    EXPECT_EQ(chart.daysPerBin, 1);
    ASSERT_EQ(chart.bins.size(), 3u) << "the day without games keeps its place";
    EXPECT_EQ(chart.bins[0].won, 1u);
    EXPECT_EQ(chart.bins[0].lost, 1u);
    EXPECT_DOUBLE_EQ(*chart.bins[0].winPercentSoFar, 50.0);
    EXPECT_EQ(chart.bins[1].won + chart.bins[1].lost, 0u);
    EXPECT_DOUBLE_EQ(*chart.bins[2].winPercentSoFar, 2.0 / 3.0 * 100.0);
}

TEST(ResultsChart, WeeklyBarsFromMondayWhenTheLogSpansMoreThanSixtyDays) {
    ProgressRecord record(32000);
    record.add(line(2026, 9, 2, 1, 1, LogEvent::win, true));   // a Wednesday
    record.add(line(2026, 9, 6, 2, 1, LogEvent::loss, true));  // the Sunday of that week
    record.add(line(2026, 11, 30, 3, 1, LogEvent::win, true));
    const Chart chart = record.chart();
    EXPECT_EQ(chart.daysPerBin, 7);
    ASSERT_FALSE(chart.bins.empty());
    EXPECT_EQ(chart.bins[0].firstDay, dayNumber(2026, 8, 31));
    EXPECT_EQ(chart.bins[0].won, 1u);
    EXPECT_EQ(chart.bins[0].lost, 1u);
    EXPECT_EQ(chart.bins.back().firstDay, dayNumber(2026, 11, 30));
    EXPECT_EQ(chart.bins.back().won, 1u);
}

TEST(NumberMap, FitsEveryNumberIntoTheAreaItIsGiven) {
    for (int32_t numbers : {32000, 1000000}) {
        for (auto [width, height] : {std::pair{300, 120}, std::pair{800, 400}, std::pair{1, 1}}) {
            const MapLayout layout = layoutMap(numbers, width, height);
            ASSERT_GT(layout.cellSize, 0);
            EXPECT_LE(layout.columns * layout.cellSize, width);
            EXPECT_LE(layout.rows * layout.cellHeight, height);
            EXPECT_GE(layout.cellHeight, layout.cellSize);
            EXPECT_GE(int64_t{layout.columns} * layout.rows * layout.numbersPerCell, numbers);
        }
    }
    const MapLayout roomy = layoutMap(32000, 800, 400);
    EXPECT_EQ(roomy.numbersPerCell, 1);
    EXPECT_GE(roomy.cellSize, 2);
    const MapLayout wide = layoutMap(32000, 640, 180);  // one pixel wide, rows three high
    EXPECT_EQ(wide.cellSize, 1);
    EXPECT_EQ(wide.cellHeight, 3);
    EXPECT_EQ(cellAt(wide, 32000, 0, 3), 641) << "the second row";
}

TEST(NumberMap, PointingFindsTheCellsFirstNumber) {
    const MapLayout layout = layoutMap(100, 100, 100);  // ten cells of ten pixels a row
    ASSERT_EQ(layout.cellSize, 10);
    EXPECT_EQ(cellAt(layout, 100, 0, 0), 1);
    EXPECT_EQ(cellAt(layout, 100, 15, 0), 2);
    EXPECT_EQ(cellAt(layout, 100, 99, 99), 100);
    EXPECT_EQ(cellAt(layout, 95, 99, 99), std::nullopt) << "past the last number";
    EXPECT_EQ(cellAt(layout, 100, -1, 0), std::nullopt);
}

// On a map of one-pixel cells the pointer finds a lost or passed number near
// it; where cells are large enough it takes the cell under it.
TEST(NumberMap, PointingNearALostNumberOnASmallMapFindsIt) {
    ProgressRecord record(32000);
    record.add(loss(1, 645));                                      // row 1, column 4 of 640 columns of one pixel
    record.add(line(2026, 11, 1, 650, 1, LogEvent::pass, false));  // row 1, column 9
    const MapLayout tiny = layoutMap(32000, 640, 50);
    ASSERT_EQ(tiny.cellSize, 1);
    ASSERT_EQ(tiny.columns, 640);
    const auto pointed = [&](const MapLayout& layout, int x, int y) {
        const std::optional<CellView> view = pointedCell(record, layout, x, y);
        return view ? view->number : 0;
    };
    EXPECT_EQ(pointed(tiny, 6, 1 * tiny.cellHeight + 2), 645) << "two pixels off";
    EXPECT_EQ(pointed(tiny, 7, 1 * tiny.cellHeight), 645) << "the lost one before the passed one";
    EXPECT_EQ(pointed(tiny, 12, 1 * tiny.cellHeight), 650) << "only the passed one in reach";
    EXPECT_EQ(pointed(tiny, 30, 0), 31) << "nothing waits near: the number under the pointer";
    const MapLayout roomy = layoutMap(100, 100, 100);
    ProgressRecord few(100);
    few.add(loss(1, 2));
    const std::optional<CellView> under = pointedCell(few, roomy, 5, 5);
    ASSERT_TRUE(under);
    EXPECT_EQ(under->number, 1) << "cells of ten pixels: no reaching";
}

TEST(NumberMap, ACellOfManyNumbersShowsTheOneThatWaits) {
    ProgressRecord record(20);
    for (int32_t number = 1; number <= 10; ++number) record.add(win(1, number));
    record.add(loss(1, 7));
    record.add(win(1, 7, 2));
    record.add(loss(1, 4));
    record.add(win(1, 12));
    const CellView won = viewCell(record, 1, 3);
    EXPECT_EQ(won.fate, NumberFate::firstAttemptWin);
    EXPECT_EQ(won.number, 1);
    ProgressRecord mixed(20);
    mixed.add(win(1, 1));
    mixed.add(loss(1, 3));
    const CellView waiting = viewCell(mixed, 1, 5);
    EXPECT_EQ(waiting.fate, NumberFate::lost);
    EXPECT_EQ(waiting.number, 3);
    EXPECT_TRUE(canBeChosenFromMap(waiting.fate));
    EXPECT_FALSE(canBeChosenFromMap(NumberFate::impossible));
    EXPECT_FALSE(canBeChosenFromMap(NumberFate::laterWin));
}

TEST(ProgressFromTheLog, BrokenLinesAreSkippedAndCountedAndSkipLinesRead) {
    const std::string log = std::string(kResultsLogHeader) +
                            "\r\n2026/11/01,10:00:00,11981,1,勝ち,1\r\n"
                            "2026/11/01,10:00:01,11982,1,スキップ,0\r\n"
                            "garbage\r\n2026/13/01,10:00:00,5,1,勝ち,1\r\n"
                            "2026/11/01,10:05:00,11983,1,負け,1\r\n2026/11/01,10:0";
    std::istringstream in(log);
    ProgressRecord record(32000);
    record.setSkippedLines(readResultsLogEach(in, [&](const LogEntry& entry) { record.add(entry); }));
    const ProgressSummary s = record.summary();
    EXPECT_EQ(s.skipped.count, 3u);
    EXPECT_EQ(s.skipped.firstLine, 4u) << "garbage, after the header and two entries";
    EXPECT_EQ(s.numbersPlayed, 2);
    EXPECT_EQ(record.fate(11982), NumberFate::impossible);
    EXPECT_EQ(record.fate(11983), NumberFate::lost);
}

TEST(ProgressFromTheLog, LinesDatedOutsideThePcsYearsAreSkippedAndTheChartKeepsToTheRest) {
    const std::string log = std::string(kResultsLogHeader) +
                            "\r\n0000/01/01,10:00:00,7,1,勝ち,1\r\n"
                            "1979/12/31,10:00:00,8,1,勝ち,1\r\n"
                            "1980/01/01,10:00:00,9,1,負け,1\r\n"
                            "2200/12/31,10:00:00,10,1,負け,1\r\n"
                            "2201/01/01,10:00:00,11,1,勝ち,1\r\n"
                            "2026/11/01,10:00:00,12,1,勝ち,1\r\n";
    std::istringstream in(log);
    ProgressRecord record(32000);
    record.setSkippedLines(readResultsLogEach(in, [&](const LogEntry& entry) { record.add(entry); }));
    EXPECT_EQ(record.summary().skipped.count, 3u);
    EXPECT_EQ(record.summary().skipped.firstLine, 2u);
    EXPECT_EQ(record.fate(7), NumberFate::noRecord);
    EXPECT_EQ(record.fate(10), NumberFate::lost) << "the last year read";
    // 1980 to 2200 in weekly bars.
    EXPECT_LT(record.chart().bins.size(), 12000u);
}

TEST(ProgressMemory, AMillionNumbersTakeAboutThreeMegabytes) {
    ProgressRecord record(1000000);
    for (int32_t number = 1; number <= 1000000; number += 7) record.add(win(1 + number % 28, number));
    EXPECT_LE(record.bytesUsed(), 4u * 1024 * 1024);
}

}  // namespace

namespace {

constexpr uint8_t dealRecord(int code, int band) { return static_cast<uint8_t>(band << 3 | code); }

// Deals 1-2: no free cell; 3-4: two; 5: cannot be won; 6: won, fewest unknown;
// 7: undecided; 8: two.
const DealTableLoad& smallTable() {
    static const DealTableLoad load = parseDealTable(
        deal_table_test::tableOf({dealRecord(0, 12), dealRecord(0, 13), dealRecord(2, 14), dealRecord(2, 14),
                                  dealRecord(5, 0), dealRecord(6, 15), dealRecord(7, 1), dealRecord(2, 14)}));
    return load;
}

TEST(ProgressByDifficulty, FirstAttemptWinsAreCountedByLevelWithTheirShare) {
    ASSERT_TRUE(smallTable().table);
    ProgressRecord record(20, &*smallTable().table);
    record.add(win(1, 1));
    record.add(loss(1, 2));  // lost, then won later: played, not a first-attempt win
    record.add(win(1, 2, 2));
    record.add(win(1, 3));
    record.add(loss(1, 4));
    record.add(line(2026, 11, 1, 8, 1, LogEvent::pass, false));  // passed: no result
    record.add(win(1, 6));
    record.add(loss(1, 7));
    record.add(win(1, 12));  // beyond the table
    const ProgressSummary s = record.summary();
    ASSERT_TRUE(s.byLevel);
    const auto at = [&](DifficultyLevel level) { return (*s.byLevel)[static_cast<std::size_t>(level)]; };
    EXPECT_EQ(at(DifficultyLevel::freeCells0).played, 2);
    EXPECT_EQ(at(DifficultyLevel::freeCells0).firstAttemptWins, 1);
    EXPECT_DOUBLE_EQ(at(DifficultyLevel::freeCells0).firstAttemptShare.value_or(-1), 50.0);
    EXPECT_EQ(at(DifficultyLevel::freeCells2).played, 2);
    EXPECT_DOUBLE_EQ(at(DifficultyLevel::freeCells2).firstAttemptShare.value_or(-1), 50.0);
    EXPECT_EQ(at(DifficultyLevel::fourCellsAtMost).firstAttemptWins, 1);
    EXPECT_EQ(at(DifficultyLevel::unknown).played, 2) << "undecided 7 and 12 beyond the table";
    EXPECT_EQ(at(DifficultyLevel::freeCells3).played, 0);
    EXPECT_FALSE(at(DifficultyLevel::freeCells3).firstAttemptShare);
    int32_t played = 0;
    for (const LevelResults& level : *s.byLevel) played += level.played;
    EXPECT_EQ(played, 7) << "every number with a result at one level";

    EXPECT_FALSE(ProgressRecord(20).summary().byLevel) << "no table, no levels";
}

TEST(ProgressByDifficulty, TheTablesImpossibleDealsAreTheMapsAndACellShowsItsCommonestLevel) {
    ASSERT_TRUE(smallTable().table);
    const ProgressRecord record(32000, &*smallTable().table);
    EXPECT_EQ(record.fate(5), NumberFate::impossible);
    EXPECT_EQ(record.fate(11982), NumberFate::impossible) << "known, and beyond the table";
    EXPECT_EQ(record.level(11982), DifficultyLevel::cannotBeWon);

    const CellLevel easy = levelOfCell(record, 1, 3);
    EXPECT_EQ(easy.level, DifficultyLevel::freeCells0) << "two of none over one of two";
    EXPECT_EQ(easy.number, 1);
    const CellLevel tie = levelOfCell(record, 2, 2);
    EXPECT_EQ(tie.level, DifficultyLevel::freeCells2) << "as common: the harder";
    EXPECT_EQ(tie.number, 3);
    const CellLevel mixed = levelOfCell(record, 3, 4);
    EXPECT_EQ(mixed.level, DifficultyLevel::cannotBeWon);
    EXPECT_EQ(mixed.number, 5);
    EXPECT_EQ(levelOfCell(record, 6, 3).level, DifficultyLevel::freeCells2) << "a known count tells more than 以内";
    EXPECT_EQ(levelOfCell(record, 6, 2).level, DifficultyLevel::fourCellsAtMost);
    EXPECT_EQ(levelOfCell(record, 9, 100).level, DifficultyLevel::unknown);
    EXPECT_EQ(levelOfCell(record, 31999, 10).number, 31999) << "the cell ends with the game's numbers";
}

}  // namespace
