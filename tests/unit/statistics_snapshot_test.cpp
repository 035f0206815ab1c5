#include "records/statistics_snapshot.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/app_error.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct StoredValue {
    uint32_t type = kRegBinary;
    Bytes bytes;
};

// The game's key in memory: values by name, and the faults the system can give.
class FakeRegistry : public StatisticsRegistry {
public:
    enum class KeyState { present, missing, denied } keyState = KeyState::present;
    std::map<std::string, StoredValue> values;
    std::string failedQuery, failedRead, refusedWrite;
    std::vector<std::string> writes;

    Opening openKey() override {
        Opening opening;
        if (keyState == KeyState::present) opening.key = std::make_unique<Key>(*this);
        opening.keyMissing = keyState == KeyState::missing;
        return opening;
    }

private:
    class Key : public StatisticsKey {
    public:
        explicit Key(FakeRegistry& registry) : r_(registry) {}
        ValueInfo query(const char* name) override {
            if (name == r_.failedQuery) return {Lookup::failed, 0, 0};
            const auto it = r_.values.find(name);
            if (it == r_.values.end()) return {Lookup::missing, 0, 0};
            return {Lookup::found, it->second.type, static_cast<uint32_t>(it->second.bytes.size())};
        }
        bool read(const char* name, uint8_t* buffer, uint32_t size) override {
            const Bytes& bytes = r_.values.at(name).bytes;
            if (name == r_.failedRead || size < bytes.size()) return false;
            std::copy(bytes.begin(), bytes.end(), buffer);
            return true;
        }
        bool write(const char* name, const std::array<uint8_t, 4>& bytes) override {
            if (name == r_.refusedWrite) return false;
            r_.writes.push_back(name);
            r_.values[name] = {kRegBinary, Bytes(bytes.begin(), bytes.end())};
            return true;
        }

    private:
        FakeRegistry& r_;
    };
};

// Six 4-byte binary values, slot n holding n, 1, 0, 0.
FakeRegistry gameWithSixValues() {
    FakeRegistry registry;
    for (uint8_t i = 0; i < 6; ++i) registry.values[StatisticsSnapshot::kValueNames[i]] = {kRegBinary, {i, 1, 0, 0}};
    return registry;
}

class StatisticsSnapshotTest : public ::testing::Test {
protected:
    // What readStatistics raised, empty when nothing.
    std::string read() {
        try {
            readStatistics(registry, snapshot);
        } catch (const AppError& error) {
            return error.what();
        }
        return "";
    }
    // Start-up, then the game overwrites every value, then shutdown.
    std::string readGamePlayedAndWriteBack() {
        const std::string error = read();
        for (auto& [name, value] : registry.values) value = {kRegBinary, {9, 9, 9, 9}};
        registry.writes.clear();
        writeStatistics(registry, snapshot);
        return error;
    }
    Bytes value(const char* name) const { return registry.values.at(name).bytes; }

    FakeRegistry registry = gameWithSixValues();
    StatisticsSnapshot snapshot;
};

TEST_F(StatisticsSnapshotTest, ReadValuesComeBackAsFourBinaryBytesAndMissingOnesAsZeros) {
    registry.values["won"] = {0, {0x2C, 0x01}};  // an odd type, two bytes
    registry.values.erase("streak");
    EXPECT_EQ(readGamePlayedAndWriteBack(), "");
    EXPECT_EQ(registry.writes, (std::vector<std::string>{"wins", "won", "lost", "losses", "streak", "stype"}));
    EXPECT_EQ(value("wins"), (Bytes{0, 1, 0, 0}));
    EXPECT_EQ(value("won"), (Bytes{0x2C, 0x01, 0, 0}));
    EXPECT_EQ(value("streak"), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(registry.values.at("won").type, kRegBinary);
}

TEST_F(StatisticsSnapshotTest, ValueNotReadCompletelyAndTheOnesAfterItKeepTheGamesValues) {
    const struct {
        void (*fault)(FakeRegistry&);
        const char* error;
    } cases[] = {
        {[](FakeRegistry& r) { r.values["lost"].type = kRegSz; }, "'lost' のデータ型が不正です"},
        {[](FakeRegistry& r) { r.values["lost"].type = kRegExpandSz; }, "'lost' のデータ型が不正です"},
        {[](FakeRegistry& r) { r.values["lost"].type = kRegDword; }, "'lost' のデータ型が不正です"},
        {[](FakeRegistry& r) { r.values["lost"].bytes.push_back(0); }, "'lost' のデータ型が不正です"},
        {[](FakeRegistry& r) { r.failedRead = "lost"; }, "'lost' の取得に失敗しました"},
        {[](FakeRegistry& r) { r.failedQuery = "lost"; }, "'lost' の取得に失敗しました"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        registry = gameWithSixValues();
        c.fault(registry);
        EXPECT_EQ(readGamePlayedAndWriteBack(), c.error);
        EXPECT_EQ(registry.writes, (std::vector<std::string>{"wins", "won"}));
        EXPECT_EQ(value("won"), (Bytes{1, 1, 0, 0}));
        EXPECT_EQ(value("lost"), (Bytes{9, 9, 9, 9}));
    }
}

TEST_F(StatisticsSnapshotTest, MissingKeyMeansZerosAndAKeyThatCannotBeOpenedMeansNothingIsKnown) {
    registry.keyState = FakeRegistry::KeyState::missing;
    EXPECT_EQ(read(), "");
    registry.keyState = FakeRegistry::KeyState::present;  // the game created it during the run
    writeStatistics(registry, snapshot);
    EXPECT_EQ(registry.writes.size(), 6u);
    EXPECT_EQ(value("stype"), (Bytes{0, 0, 0, 0}));

    registry.keyState = FakeRegistry::KeyState::denied;
    EXPECT_EQ(read(), "");
    registry.keyState = FakeRegistry::KeyState::present;
    registry.writes.clear();
    writeStatistics(registry, snapshot);
    EXPECT_TRUE(registry.writes.empty());
}

TEST_F(StatisticsSnapshotTest, RefusedWriteStopsTheWriteBackWithItsName) {
    ASSERT_EQ(read(), "");
    registry.refusedWrite = "losses";
    try {
        writeStatistics(registry, snapshot);
        ADD_FAILURE() << "no error";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(), "'losses' の設定に失敗しました");
    }
    EXPECT_EQ(registry.writes, (std::vector<std::string>{"wins", "won", "lost"}));
}

}  // namespace
