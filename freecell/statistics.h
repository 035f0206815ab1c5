#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace freecell {

// The game's six statistics values, as it keeps them in the registry.
struct Statistics {
    int32_t won = 0;
    int32_t lost = 0;
    int32_t wins = 0;    // longest winning streak
    int32_t losses = 0;  // longest losing streak
    int32_t streak = 0;  // length of the current streak
    int32_t stype = 0;   // 1 winning, 0 losing
};

void addWin(Statistics& statistics);
void addLoss(Statistics& statistics);

// "won=1 lost=0 wins=1 losses=0 streak=1 stype=1", for the log.
std::string describe(const Statistics& statistics);

// Where the values live; the game reads them afresh before every update and
// writes them straight back.
class StatisticsStore {
public:
    virtual ~StatisticsStore() = default;
    virtual Statistics load() = 0;
    virtual void save(const Statistics& statistics) = 0;
};

// Which results count: the same game number is never recorded twice in a
// row, and the losses of the fixed games -1 and -2 are not recorded.
class ResultRules {
public:
    bool shouldRecordWin(int32_t gameNumber) const;
    bool shouldRecordLoss(int32_t gameNumber) const;
    void recorded(int32_t gameNumber) { lastRecorded_ = gameNumber; }

private:
    std::optional<int32_t> lastRecorded_;
};

}  // namespace freecell
