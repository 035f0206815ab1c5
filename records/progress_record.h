#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "records/deal_difficulty.h"
#include "records/results_log.h"

// What the log tells about the road through the deals 1..maxGameNumber: the
// fate of every number, the counted games of every day, and the figures of the
// progress window. Fed one log entry at a time, from the file when the window
// opens and then with each new line, so that a new result never makes the
// whole log be read again. About three bytes per number.

// Days since 1970-01-01 in the proleptic Gregorian calendar, and back.
int32_t dayNumber(int year, int month, int day);
LocalTime dateOfDay(int32_t dayNumber);
// Monday is 0.
int weekdayOf(int32_t dayNumber);

enum class NumberFate : uint8_t {
    firstAttemptWin,
    laterWin,
    lost,    // lost, and not yet won
    passed,  // on the pass list
    notPlayed,
    impossible,  // a known impossible deal, not won
    noRecord,    // played before the log was kept (記録なし)
};
inline constexpr int kNumberFates = 7;

// First attempts at the numbers of one difficulty level.
struct LevelResults {
    int32_t played = 0;  // numbers of the level with a result
    int32_t firstAttemptWins = 0;
    std::optional<double> firstAttemptShare;  // of those played
};

struct ProgressSummary {
    int32_t maxGameNumber = 0;
    int32_t numbersPlayed = 0;    // numbers with a result or a pass in the log
    int32_t numbersNoRecord = 0;  // played before the log was kept
    int32_t highestReached = 0;   // 0: none
    int32_t firstAttemptWins = 0;
    int32_t stillLost = 0;
    int32_t passed = 0;
    // Of the numbers with a result, the share won at the first attempt.
    std::optional<double> firstAttemptShare;
    // Counted games per day over the last 30 days of play, and the day on
    // which the last number would be reached at that pace.
    std::optional<double> gamesPerDay;
    std::optional<int32_t> finishDay;
    std::optional<int32_t> firstDay;  // the log runs from this day
    std::optional<int32_t> lastDay;
    SkippedLines skipped;
    // By difficulty level (DifficultyLevel's order), when the deals' table
    // was read.
    std::optional<std::array<LevelResults, kDifficultyLevels>> byLevel;
};

// One bar of the chart: counted games won and lost in the day or week that
// begins on firstDay, and the all-time win percentage at its end.
struct ChartBin {
    int32_t firstDay = 0;
    uint32_t won = 0;
    uint32_t lost = 0;
    std::optional<double> winPercentSoFar;
};
struct Chart {
    int daysPerBin = 1;  // 1, or 7 when the log spans more than kDailyChartDays
    std::vector<ChartBin> bins;
};
inline constexpr int32_t kDailyChartDays = 60;
inline constexpr int32_t kPaceDays = 30;

class ProgressRecord {
public:
    // The deals that cannot be won and the difficulty of each come from the
    // deals' table, when there is one (it must outlive the record).
    explicit ProgressRecord(int32_t maxGameNumber, const DealTable* dealTable = nullptr);

    int32_t maxGameNumber() const { return maxGameNumber_; }
    void add(const LogEntry& entry);
    void setSkippedLines(const SkippedLines& skipped) { skipped_ = skipped; }
    // The game in play: the highest number reached when the log has none
    // higher, and the number below which unlogged numbers were played before
    // the log was kept, when the log has no game at all.
    void setNumberInPlay(int32_t number) { numberInPlay_ = number; }
    int32_t numberInPlay() const { return numberInPlay_; }

    NumberFate fate(int32_t number) const;
    // Unknown for every number without a table.
    DifficultyLevel level(int32_t number) const {
        return difficultyOf(dealTable_, impossible_, maxGameNumber_, number);
    }
    bool knowsDifficulty() const { return dealTable_ != nullptr; }
    // The day of the number's last line in the log.
    std::optional<int32_t> lastDayOf(int32_t number) const;

    ProgressSummary summary() const;
    Chart chart() const;

    // Memory held for the numbers and the days.
    std::size_t bytesUsed() const;

private:
    enum Flag : uint8_t { wonFirst = 1, wonLater = 2, lostFlag = 4, passedFlag = 8, played = 16, impossibleFlag = 32 };
    struct DayCount {
        uint32_t won = 0;
        uint32_t lost = 0;
    };
    // Days are kept in 16 bits from this day (0: none): 1990 to 2169.
    static constexpr int32_t kFirstStoredDay = 7305;  // 1990-01-01

    int32_t noRecordBelow() const;
    std::array<LevelResults, kDifficultyLevels> resultsByLevel() const;

    int32_t maxGameNumber_;
    const DealTable* dealTable_;
    std::vector<int32_t> impossible_;
    std::vector<uint8_t> flags_;      // index number - 1
    std::vector<uint16_t> lastDays_;  // index number - 1
    std::map<int32_t, DayCount> days_;
    std::optional<int32_t> firstLoggedNumber_;
    int32_t highestLogged_ = 0;
    int32_t numberInPlay_ = 0;
    SkippedLines skipped_;
};

// Where the map draws the numbers: cells of cellSize pixels in rows of
// `columns`, numbersPerCell numbers to a cell when the window is too small for
// one cell each, so that the map always fits the area it is given.
struct MapLayout {
    int cellSize = 0;  // width in pixels; 0: nothing to draw
    // Rows are made taller, up to three times the width, when the area has
    // height to spare.
    int cellHeight = 0;
    int32_t numbersPerCell = 1;
    int columns = 0;
    int rows = 0;
};
MapLayout layoutMap(int32_t numbers, int width, int height);

// The first number of the cell at that pixel of the map; nothing outside it.
std::optional<int32_t> cellAt(const MapLayout& layout, int32_t numbers, int x, int y);

// What a cell of several numbers shows: the fate that most wants the player's
// attention (lost before passed before not played ...), and the first number
// of the cell with that fate, the one a double click takes.
struct CellView {
    NumberFate fate = NumberFate::notPlayed;
    int32_t number = 0;
};
CellView viewCell(const ProgressRecord& record, int32_t firstNumber, int32_t count);

// What the map colours its cells by.
enum class MapColouring { byResult, byDifficulty };
// The level a cell of several numbers shows when coloured by difficulty: a
// deal that cannot be won if there is one, else the level most of its numbers
// have (of those as common, the harder); and the first number with it.
struct CellLevel {
    DifficultyLevel level = DifficultyLevel::unknown;
    int32_t number = 0;
};
CellLevel levelOfCell(const ProgressRecord& record, int32_t firstNumber, int32_t count);

// A number a double click on the map may put into the number box: one still
// to be won.
bool canBeChosenFromMap(NumberFate fate);

// The cell the mouse points at. Where cells are smaller than kEasyCellSize a
// lost or passed number within kMapReach pixels is taken before the pixel
// under the pointer (the nearest, lost before passed), so that a player finds
// the dot they aim at without pixel precision.
inline constexpr int kEasyCellSize = 3;
inline constexpr int kMapReach = 4;
std::optional<CellView> pointedCell(const ProgressRecord& record, const MapLayout& layout, int x, int y);
