#pragma once

#include "freecell/event_log.h"
#include "freecell/statistics.h"

namespace freecell {

// The six values under the game's key in HKEY_CURRENT_USER (game_identity.h),
// each REG_BINARY of 4 bytes, little-endian. The key is opened
// (created when missing) for every read and every write, as the game does.
class RegistryStatisticsStore : public StatisticsStore {
public:
    explicit RegistryStatisticsStore(EventLog& log) : log_(log) {}
    Statistics load() override;
    void save(const Statistics& statistics) override;

private:
    EventLog& log_;
};

}  // namespace freecell
