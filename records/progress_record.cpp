#include "records/progress_record.h"

#include <algorithm>
#include <cmath>

#include "records/impossible_deals.h"

// The civil calendar by Howard Hinnant's days-from-civil algorithm.
int32_t dayNumber(int year, int month, int day) {
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

LocalTime dateOfDay(int32_t dayNumber) {
    const int32_t z = dayNumber + 719468;
    const int32_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int32_t dayOfEra = z - era * 146097;
    const int32_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int32_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int32_t mp = (5 * dayOfYear + 2) / 153;
    LocalTime date;
    date.day = dayOfYear - (153 * mp + 2) / 5 + 1;
    date.month = mp < 10 ? mp + 3 : mp - 9;
    date.year = yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

// 1970-01-01 was a Thursday.
int weekdayOf(int32_t dayNumber) { return static_cast<int>(((dayNumber % 7) + 7 + 3) % 7); }

ProgressRecord::ProgressRecord(int32_t maxGameNumber, const DealTable* dealTable)
    : maxGameNumber_(std::max<int32_t>(maxGameNumber, 0)),
      dealTable_(dealTable),
      impossible_(impossibleDealsUpTo(dealTable, maxGameNumber_)),
      flags_(static_cast<std::size_t>(maxGameNumber_), 0),
      lastDays_(static_cast<std::size_t>(maxGameNumber_), 0) {
    for (const int32_t number : impossible_) flags_[static_cast<std::size_t>(number - 1)] |= impossibleFlag;
}

void ProgressRecord::add(const LogEntry& entry) {
    const int32_t day = dayNumber(entry.when.year, entry.when.month, entry.when.day);
    const bool result = entry.event == LogEvent::win || entry.event == LogEvent::loss;
    if (result && entry.counted) {
        DayCount& count = days_[day];
        if (entry.event == LogEvent::win)
            ++count.won;
        else
            ++count.lost;
    } else if (entry.event != LogEvent::clear) {
        // A day with only passes or take-backs is still a day of the log.
        days_.emplace(day, DayCount{});
    }

    const int32_t number = entry.gameNumber;
    if (number < 1 || number > maxGameNumber_) return;
    if (entry.event == LogEvent::clear) return;
    const bool playedLine = result || entry.event == LogEvent::pass;
    if (playedLine && !firstLoggedNumber_) firstLoggedNumber_ = number;
    if (result) highestLogged_ = std::max(highestLogged_, number);

    uint8_t& flags = flags_[static_cast<std::size_t>(number - 1)];
    switch (entry.event) {
        case LogEvent::win:
            flags = static_cast<uint8_t>((flags & ~passedFlag) | played | (entry.attempt == 1 ? wonFirst : wonLater));
            break;
        case LogEvent::loss:
            flags |= lostFlag | played;
            break;
        case LogEvent::pass:
            flags |= passedFlag | played;
            break;
        case LogEvent::retry:
            flags &= static_cast<uint8_t>(~passedFlag);
            break;
        case LogEvent::skip:
        case LogEvent::clear:
            break;
    }
    const int32_t stored = day - kFirstStoredDay + 1;
    lastDays_[static_cast<std::size_t>(number - 1)] = static_cast<uint16_t>(std::clamp<int32_t>(stored, 0, 65535));
}

// Going through the deals in order, the player passed every number below the
// first one the log records: those were played before the log was kept.
int32_t ProgressRecord::noRecordBelow() const {
    if (firstLoggedNumber_) return *firstLoggedNumber_;
    return numberInPlay_;
}

NumberFate ProgressRecord::fate(int32_t number) const {
    if (number < 1 || number > maxGameNumber_) return NumberFate::notPlayed;
    const uint8_t flags = flags_[static_cast<std::size_t>(number - 1)];
    if (flags & wonFirst) return NumberFate::firstAttemptWin;
    if (flags & wonLater) return NumberFate::laterWin;
    if (flags & impossibleFlag) return NumberFate::impossible;
    if (flags & passedFlag) return NumberFate::passed;
    if (flags & lostFlag) return NumberFate::lost;
    if (!(flags & played) && number < noRecordBelow()) return NumberFate::noRecord;
    return NumberFate::notPlayed;
}

std::optional<int32_t> ProgressRecord::lastDayOf(int32_t number) const {
    if (number < 1 || number > maxGameNumber_) return std::nullopt;
    const uint16_t stored = lastDays_[static_cast<std::size_t>(number - 1)];
    if (stored == 0) return std::nullopt;
    return kFirstStoredDay + stored - 1;
}

ProgressSummary ProgressRecord::summary() const {
    ProgressSummary s;
    s.maxGameNumber = maxGameNumber_;
    s.skipped = skipped_;
    int32_t withResult = 0;
    for (int32_t number = 1; number <= maxGameNumber_; ++number) {
        const uint8_t flags = flags_[static_cast<std::size_t>(number - 1)];
        if (flags & played) ++s.numbersPlayed;
        if (flags & (wonFirst | wonLater | lostFlag)) ++withResult;
        switch (fate(number)) {
            case NumberFate::firstAttemptWin:
                ++s.firstAttemptWins;
                break;
            case NumberFate::lost:
                ++s.stillLost;
                break;
            case NumberFate::passed:
                ++s.passed;
                break;
            case NumberFate::noRecord:
                ++s.numbersNoRecord;
                break;
            default:
                break;
        }
    }
    if (withResult > 0) s.firstAttemptShare = 100.0 * s.firstAttemptWins / withResult;
    if (dealTable_) s.byLevel = resultsByLevel();
    s.highestReached = std::min(std::max(highestLogged_, numberInPlay_), maxGameNumber_);
    if (days_.empty()) return s;

    s.firstDay = days_.begin()->first;
    s.lastDay = days_.rbegin()->first;
    const int32_t paceFrom = *s.lastDay - (kPaceDays - 1);
    uint64_t games = 0;
    for (auto day = days_.lower_bound(paceFrom); day != days_.end(); ++day) games += day->second.won + day->second.lost;
    const int32_t span = std::min(kPaceDays, *s.lastDay - *s.firstDay + 1);
    s.gamesPerDay = static_cast<double>(games) / span;
    const int32_t remaining = maxGameNumber_ - s.highestReached;
    if (remaining <= 0)
        s.finishDay = *s.lastDay;
    else if (games > 0)
        s.finishDay = *s.lastDay + static_cast<int32_t>(std::ceil(remaining / *s.gamesPerDay));
    return s;
}

// A number with a result counts at its level; a first-attempt win as won.
std::array<LevelResults, kDifficultyLevels> ProgressRecord::resultsByLevel() const {
    std::array<LevelResults, kDifficultyLevels> levels{};
    for (int32_t number = 1; number <= maxGameNumber_; ++number) {
        const uint8_t flags = flags_[static_cast<std::size_t>(number - 1)];
        if (!(flags & (wonFirst | wonLater | lostFlag))) continue;
        LevelResults& results = levels[static_cast<std::size_t>(level(number))];
        ++results.played;
        if (flags & wonFirst) ++results.firstAttemptWins;
    }
    for (LevelResults& results : levels)
        if (results.played > 0) results.firstAttemptShare = 100.0 * results.firstAttemptWins / results.played;
    return levels;
}

Chart ProgressRecord::chart() const {
    Chart chart;
    if (days_.empty()) return chart;
    const int32_t first = days_.begin()->first;
    const int32_t last = days_.rbegin()->first;
    int32_t start = first;
    if (last - first + 1 > kDailyChartDays) {
        chart.daysPerBin = 7;
        start = first - weekdayOf(first);
    }
    const int32_t binCount = (last - start) / chart.daysPerBin + 1;
    chart.bins.resize(static_cast<std::size_t>(binCount));
    for (int32_t bin = 0; bin < binCount; ++bin)
        chart.bins[static_cast<std::size_t>(bin)].firstDay = start + bin * chart.daysPerBin;
    for (const auto& [day, count] : days_) {
        ChartBin& bin = chart.bins[static_cast<std::size_t>((day - start) / chart.daysPerBin)];
        bin.won += count.won;
        bin.lost += count.lost;
    }
    uint64_t won = 0;
    uint64_t games = 0;
    for (ChartBin& bin : chart.bins) {
        won += bin.won;
        games += bin.won + bin.lost;
        if (games > 0) bin.winPercentSoFar = 100.0 * static_cast<double>(won) / static_cast<double>(games);
    }
    return chart;
}

std::size_t ProgressRecord::bytesUsed() const {
    return flags_.capacity() * sizeof(uint8_t) + lastDays_.capacity() * sizeof(uint16_t) +
           days_.size() * (sizeof(std::pair<const int32_t, DayCount>) + 4 * sizeof(void*));
}

MapLayout layoutMap(int32_t numbers, int width, int height) {
    MapLayout layout;
    if (numbers <= 0 || width <= 0 || height <= 0) return layout;
    constexpr int kLargestCell = 24;
    for (int size = kLargestCell; size >= 1; --size) {
        const int columns = width / size;
        if (columns == 0) continue;
        const int64_t rows = (numbers + columns - 1) / columns;
        if (rows * size <= height) {
            layout.cellSize = size;
            layout.cellHeight = static_cast<int>(std::min<int64_t>(height / rows, 3 * size));
            layout.columns = columns;
            layout.rows = static_cast<int>(rows);
            return layout;
        }
    }
    // One pixel per cell and several numbers to a cell.
    const int64_t pixels = static_cast<int64_t>(width) * height;
    layout.cellSize = 1;
    layout.cellHeight = 1;
    layout.numbersPerCell = static_cast<int32_t>((numbers + pixels - 1) / pixels);
    const int64_t cells = (numbers + layout.numbersPerCell - 1) / layout.numbersPerCell;
    layout.columns = width;
    layout.rows = static_cast<int>((cells + width - 1) / width);
    return layout;
}

std::optional<int32_t> cellAt(const MapLayout& layout, int32_t numbers, int x, int y) {
    if (layout.cellSize <= 0 || x < 0 || y < 0) return std::nullopt;
    const int column = x / layout.cellSize;
    const int row = y / layout.cellHeight;
    if (column >= layout.columns || row >= layout.rows) return std::nullopt;
    const int64_t first = (static_cast<int64_t>(row) * layout.columns + column) * layout.numbersPerCell + 1;
    if (first > numbers) return std::nullopt;
    return static_cast<int32_t>(first);
}

namespace {

// Lower first: what a cell of several numbers shows.
int attentionRank(NumberFate fate) {
    switch (fate) {
        case NumberFate::lost:
            return 0;
        case NumberFate::passed:
            return 1;
        case NumberFate::notPlayed:
            return 2;
        case NumberFate::impossible:
            return 3;
        case NumberFate::noRecord:
            return 4;
        case NumberFate::laterWin:
            return 5;
        case NumberFate::firstAttemptWin:
            return 6;
    }
    return 7;
}

}  // namespace

CellView viewCell(const ProgressRecord& record, int32_t firstNumber, int32_t count) {
    CellView view;
    view.number = firstNumber;
    view.fate = record.fate(firstNumber);
    const int64_t end =
        std::min<int64_t>(static_cast<int64_t>(firstNumber) + count, int64_t{record.maxGameNumber()} + 1);
    for (int64_t number = static_cast<int64_t>(firstNumber) + 1; number < end && attentionRank(view.fate) > 0;
         ++number) {
        const NumberFate fate = record.fate(static_cast<int32_t>(number));
        if (attentionRank(fate) < attentionRank(view.fate)) {
            view.fate = fate;
            view.number = static_cast<int32_t>(number);
        }
    }
    return view;
}

namespace {

// Higher first: of levels as common in a cell of several numbers, the one it
// shows. A deal whose fewest free cells are unknown tells least.
int hardness(DifficultyLevel level) {
    switch (level) {
        case DifficultyLevel::cannotBeWon:
            return 7;
        case DifficultyLevel::freeCells4:
        case DifficultyLevel::freeCells3:
        case DifficultyLevel::freeCells2:
        case DifficultyLevel::freeCells1:
        case DifficultyLevel::freeCells0:
            return 2 + static_cast<int>(level) - static_cast<int>(DifficultyLevel::freeCells0);
        case DifficultyLevel::fourCellsAtMost:
            return 1;
        case DifficultyLevel::unknown:
            break;
    }
    return 0;
}

}  // namespace

// A deal that cannot be won is never hidden; otherwise the level most of the
// cell's numbers have, so that the map shows how hard a stretch of deals is.
CellLevel levelOfCell(const ProgressRecord& record, int32_t firstNumber, int32_t count) {
    const int64_t end =
        std::min<int64_t>(static_cast<int64_t>(firstNumber) + count, int64_t{record.maxGameNumber()} + 1);
    std::array<int32_t, kDifficultyLevels> counts{};
    std::array<int32_t, kDifficultyLevels> firstWith{};
    for (int64_t number = firstNumber; number < end; ++number) {
        const auto level = static_cast<std::size_t>(record.level(static_cast<int32_t>(number)));
        if (counts[level]++ == 0) firstWith[level] = static_cast<int32_t>(number);
        if (static_cast<DifficultyLevel>(level) == DifficultyLevel::cannotBeWon)
            return {DifficultyLevel::cannotBeWon, static_cast<int32_t>(number)};
    }
    CellLevel cell{record.level(firstNumber), firstNumber};
    int32_t most = 0;
    for (std::size_t level = 0; level < counts.size(); ++level) {
        const auto candidate = static_cast<DifficultyLevel>(level);
        // Of levels as common, the harder.
        if (counts[level] > most || (counts[level] == most && most > 0 && hardness(candidate) > hardness(cell.level))) {
            most = counts[level];
            cell = {candidate, firstWith[level]};
        }
    }
    return cell;
}

bool canBeChosenFromMap(NumberFate fate) {
    return fate == NumberFate::lost || fate == NumberFate::passed || fate == NumberFate::notPlayed;
}

std::optional<CellView> pointedCell(const ProgressRecord& record, const MapLayout& layout, int x, int y) {
    const int32_t numbers = record.maxGameNumber();
    const auto viewAt = [&](int atX, int atY) -> std::optional<CellView> {
        const std::optional<int32_t> first = cellAt(layout, numbers, atX, atY);
        if (!first) return std::nullopt;
        return layout.numbersPerCell == 1 ? CellView{record.fate(*first), *first}
                                          : viewCell(record, *first, layout.numbersPerCell);
    };
    const std::optional<CellView> under = viewAt(x, y);
    const auto waits = [](NumberFate fate) { return fate == NumberFate::lost || fate == NumberFate::passed; };
    if ((layout.cellSize >= kEasyCellSize && layout.cellHeight >= kEasyCellSize) || (under && waits(under->fate)))
        return under;
    std::optional<CellView> best;
    int bestRank = 0;
    for (int dy = -kMapReach; dy <= kMapReach; ++dy)
        for (int dx = -kMapReach; dx <= kMapReach; ++dx) {
            const std::optional<CellView> near = viewAt(x + dx, y + dy);
            if (!near || !waits(near->fate)) continue;
            const int rank = (near->fate == NumberFate::lost ? 0 : 1000) + dx * dx + dy * dy;
            if (!best || rank < bestRank) {
                best = near;
                bestRank = rank;
            }
        }
    return best ? best : under;
}
