#include "records/statistics_snapshot.h"

#include <string>

#include "common/app_error.h"

namespace {

AppError valueError(const char* name, const char* text) { return AppError("'" + std::string(name) + "' " + text); }

bool acceptedForReading(const StatisticsKey::ValueInfo& info) {
    const bool textOrNumber = info.type == kRegSz || info.type == kRegExpandSz || info.type == kRegDword;
    return !textOrNumber && info.size <= 4;
}

}  // namespace

void readStatistics(StatisticsRegistry& registry, StatisticsSnapshot& snapshot) {
    snapshot = StatisticsSnapshot{};
    const StatisticsRegistry::Opening opening = registry.openKey();
    if (!opening.key) {
        // A game that never stored its statistics has none: all zero. A key
        // that exists but cannot be opened tells nothing.
        if (opening.keyMissing) snapshot.known.fill(true);
        return;
    }
    StatisticsKey& key = *opening.key;
    for (std::size_t slot = 0; slot < snapshot.slots.size(); ++slot) {
        const char* name = StatisticsSnapshot::kValueNames[slot];
        const StatisticsKey::ValueInfo info = key.query(name);
        if (info.lookup == StatisticsKey::Lookup::missing) {
            snapshot.known[slot] = true;
            continue;
        }
        if (info.lookup == StatisticsKey::Lookup::failed) throw valueError(name, "の取得に失敗しました");
        if (!acceptedForReading(info)) throw valueError(name, "のデータ型が不正です");
        std::array<uint8_t, 4> bytes{};
        if (!key.read(name, bytes.data(), info.size)) throw valueError(name, "の取得に失敗しました");
        snapshot.slots[slot] = bytes;
        snapshot.known[slot] = true;
    }
}

void writeStatistics(StatisticsRegistry& registry, const StatisticsSnapshot& snapshot) {
    const StatisticsRegistry::Opening opening = registry.openKey();
    if (!opening.key) return;
    for (std::size_t slot = 0; slot < snapshot.slots.size(); ++slot) {
        if (!snapshot.known[slot]) continue;
        const char* name = StatisticsSnapshot::kValueNames[slot];
        if (!opening.key->write(name, snapshot.slots[slot])) throw valueError(name, "の設定に失敗しました");
    }
}
