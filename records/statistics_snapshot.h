#pragma once

#include <array>
#include <cstdint>
#include <memory>

// Registry value types that the snapshot tells apart.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;

// The game's statistics key, open for one operation; closed when destroyed.
class StatisticsKey {
public:
    virtual ~StatisticsKey() = default;

    enum class Lookup { found, missing, failed };
    struct ValueInfo {
        Lookup lookup = Lookup::missing;
        uint32_t type = 0;
        uint32_t size = 0;
    };
    // A value's type and size in bytes, without reading it.
    virtual ValueInfo query(const char* name) = 0;
    // Reads `size` bytes of the value into `buffer`; false when the read fails.
    virtual bool read(const char* name, uint8_t* buffer, uint32_t size) = 0;
    // Writes four bytes as REG_BINARY, creating the value when missing; false
    // when the registry refuses.
    virtual bool write(const char* name, const std::array<uint8_t, 4>& bytes) = 0;
};

// Where the game keeps its statistics. The key is opened, never created: it
// belongs to the game.
class StatisticsRegistry {
public:
    virtual ~StatisticsRegistry() = default;

    struct Opening {
        std::unique_ptr<StatisticsKey> key;  // null when the key could not be opened
        bool keyMissing = false;             // it could not because it does not exist
    };
    virtual Opening openKey() = 0;
};

// The game's six statistics values as they were at start-up, raw bytes in the
// order of the ledger totals. A slot is known when it holds what the game had:
// read completely, or missing (the game counts a missing value as 0). Only
// known slots are written back, so that values the snapshot could not read
// keep the game's real statistics instead of zeros.
struct StatisticsSnapshot {
    static constexpr std::array<const char*, 6> kValueNames = {"wins", "won", "lost", "losses", "streak", "stype"};

    std::array<std::array<uint8_t, 4>, 6> slots{};
    std::array<bool, 6> known{};
};

// Takes the snapshot, value by value in slot order. A missing key or value
// gives zeros. A string or DWORD value, one longer than four bytes, or a failed
// read raises AppError ("'<name>' のデータ型が不正です", "'<name>' の取得に失敗しました");
// the slots read before it keep their bytes, that value and the ones after it
// stay unknown.
void readStatistics(StatisticsRegistry& registry, StatisticsSnapshot& snapshot);

// Writes the known slots back in slot order, each as four bytes of REG_BINARY.
// A key that cannot be opened is left alone silently. A refused write raises
// AppError "'<name>' の設定に失敗しました" and the values after it are not written.
void writeStatistics(StatisticsRegistry& registry, const StatisticsSnapshot& snapshot);
