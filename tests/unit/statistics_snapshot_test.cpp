#include "records/statistics_snapshot.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/app_error.h"

// The faults of the registry that a run beside the game cannot produce; the
// end-to-end tests cover the values the game itself can hold.
namespace {

using Bytes = std::vector<uint8_t>;

class FakeRegistry : public StatisticsRegistry, public StatisticsKey {
public:
    enum class KeyState { present, missing, denied } keyState = KeyState::present;
    std::map<std::string, std::pair<uint32_t, Bytes>> values;  // type, bytes
    std::string failedQuery, failedRead, refusedWrite;
    std::vector<std::string> writes;

    FakeRegistry() {
        for (uint8_t i = 0; i < 6; ++i) values[StatisticsSnapshot::kValueNames[i]] = {kRegBinary, {i, 1, 0, 0}};
    }
    Opening openKey() override {
        Opening opening;
        // The key handed out forwards to this registry.
        struct Forward : StatisticsKey {
            FakeRegistry& r;
            explicit Forward(FakeRegistry& registry) : r(registry) {}
            ValueInfo query(const char* name) override { return r.query(name); }
            bool read(const char* name, uint8_t* b, uint32_t size) override { return r.read(name, b, size); }
            bool write(const char* name, const std::array<uint8_t, 4>& b) override { return r.write(name, b); }
        };
        if (keyState == KeyState::present) opening.key = std::make_unique<Forward>(*this);
        opening.keyMissing = keyState == KeyState::missing;
        return opening;
    }
    ValueInfo query(const char* name) override {
        const auto it = values.find(name);
        if (name == failedQuery) return {Lookup::failed, 0, 0};
        if (it == values.end()) return {Lookup::missing, 0, 0};
        return {Lookup::found, it->second.first, static_cast<uint32_t>(it->second.second.size())};
    }
    bool read(const char* name, uint8_t* buffer, uint32_t) override {
        std::copy(values[name].second.begin(), values[name].second.end(), buffer);
        return name != failedRead;
    }
    bool write(const char* name, const std::array<uint8_t, 4>& bytes) override {
        if (name == refusedWrite) return false;
        writes.push_back(name);
        values[name] = {kRegBinary, Bytes(bytes.begin(), bytes.end())};
        return true;
    }
};

// What readStatistics raised, empty when nothing.
std::string read(FakeRegistry& registry, StatisticsSnapshot& snapshot) {
    try {
        readStatistics(registry, snapshot);
    } catch (const AppError& error) {
        return error.what();
    }
    return "";
}

TEST(StatisticsSnapshot, ValueNotReadCompletelyAndTheOnesAfterItAreLeftToTheGame) {
    const struct {
        void (*fault)(FakeRegistry&);
        const char* error;
    } cases[] = {
        {[](FakeRegistry& r) { r.values["lost"].first = kRegSz; }, "'lost' のデータ型が不正です"},
        {[](FakeRegistry& r) { r.values["lost"].first = kRegExpandSz; }, "'lost' のデータ型が不正です"},
        {[](FakeRegistry& r) { r.values["lost"].second.push_back(0); }, "'lost' のデータ型が不正です"},
        {[](FakeRegistry& r) { r.failedRead = "lost"; }, "'lost' の取得に失敗しました"},
        {[](FakeRegistry& r) { r.failedQuery = "lost"; }, "'lost' の取得に失敗しました"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        FakeRegistry registry;
        StatisticsSnapshot snapshot;
        c.fault(registry);
        EXPECT_EQ(read(registry, snapshot), c.error);
        writeStatistics(registry, snapshot);
        EXPECT_EQ(registry.writes, (std::vector<std::string>{"wins", "won"}));
        EXPECT_EQ(registry.values["won"].second, (Bytes{1, 1, 0, 0}));
    }
}

TEST(StatisticsSnapshot, MissingKeyIsZerosAKeyDeniedIsNothingAndARefusedWriteStops) {
    FakeRegistry registry;
    StatisticsSnapshot snapshot;
    registry.keyState = FakeRegistry::KeyState::missing;
    EXPECT_EQ(read(registry, snapshot), "");
    registry.keyState = FakeRegistry::KeyState::present;  // the game created it during the run
    registry.refusedWrite = "losses";
    try {
        writeStatistics(registry, snapshot);
        ADD_FAILURE() << "no error";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(), "'losses' の設定に失敗しました");
    }
    EXPECT_EQ(registry.writes, (std::vector<std::string>{"wins", "won", "lost"}));
    EXPECT_EQ(registry.values["lost"].second, (Bytes{0, 0, 0, 0}));

    registry.keyState = FakeRegistry::KeyState::denied;
    EXPECT_EQ(read(registry, snapshot), "");
    registry.keyState = FakeRegistry::KeyState::present;
    registry.writes.clear();
    writeStatistics(registry, snapshot);
    EXPECT_TRUE(registry.writes.empty());
}

}  // namespace
