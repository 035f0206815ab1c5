#include "records/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "common/app_error.h"

namespace {

// Stands in for the private-profile services. Names match exactly, so these
// tests also pin the spelling of every section and key; that the system
// matches them without regard to case is the Windows tests' to show. Every
// call is logged in order.
class FakeProfileStore : public ProfileStore {
public:
    std::map<std::string, std::string> values;  // "section/key"
    std::vector<std::string> reads;
    std::vector<std::string> writes;            // "Section/Key=value"
    std::string refusedKey;                     // "Section/Key" whose write fails
    int flushes = 0;

    void set(const std::string& section, const std::string& key, const std::string& value) {
        values[section + "/" + key] = value;
    }
    std::string get(const std::string& section, const std::string& key) const {
        const auto it = values.find(section + "/" + key);
        return it == values.end() ? std::string() : it->second;
    }

    std::string read(const char* section, const char* key) override {
        reads.push_back(std::string(section) + "/" + key);
        return get(section, key);
    }
    bool write(const char* section, const char* key, const std::string& value) override {
        writes.push_back(std::string(section) + "/" + key + "=" + value);
        if (refusedKey == std::string(section) + "/" + key) return false;
        set(section, key, value);
        return true;
    }
    void flush() override { ++flushes; }
};

std::vector<std::string> keysOf(const std::vector<std::string>& writes) {
    std::vector<std::string> keys;
    for (const auto& w : writes) keys.push_back(w.substr(0, w.find('=')));
    return keys;
}

std::vector<std::string> slotKeys(std::vector<std::string> keys) {
    for (int i = 0; i < 10; ++i) {
        keys.push_back("Hist/hist" + std::to_string(i));
        keys.push_back("Rtry/Retry" + std::to_string(i));
    }
    return keys;
}

const std::string kIniPath = "C:\\Games\\Tallykeep.Ini";

TEST(ReadSettings, EmptyFileGivesDefaults) {
    FakeProfileStore store;
    const Settings s = readSettings(store);
    EXPECT_EQ(s.GameNo, 1);
    EXPECT_EQ(s.TryCnt, 1);
    EXPECT_FALSE(s.SskUp);
    EXPECT_TRUE(s.CtlBar);
    EXPECT_FALSE(s.RenMode);
    EXPECT_EQ(s.won, 0);
    EXPECT_EQ(s.wins, 0);
    EXPECT_EQ(s.lost, 0);
    EXPECT_EQ(s.losses, 0);
    EXPECT_EQ(s.streak, 0);
    EXPECT_EQ(s.stype, 0);
    EXPECT_EQ(std::count(s.hist.begin(), s.hist.end(), ""), 10);
    EXPECT_EQ(std::count(s.retry.begin(), s.retry.end(), ""), 10);
}

TEST(ReadSettings, ReadsInTheProgramsOrder) {
    FakeProfileStore store;
    readSettings(store);
    EXPECT_EQ(store.reads, slotKeys({"Game/GameNo", "Game/TryCnt", "Show/SskUp", "Show/CtlBar", "Show/RenMode",
                                     "Score/won", "Score/wins", "Score/lost", "Score/losses", "Score/streak",
                                     "Score/stype"}));
}

struct GameNoCase {
    const char* stored;
    int32_t loaded;
};

void PrintTo(const GameNoCase& c, std::ostream* os) { *os << '"' << c.stored << '"'; }

class GameNoValue : public ::testing::TestWithParam<GameNoCase> {};

TEST_P(GameNoValue, LoadsOrFallsBackToDefault) {
    FakeProfileStore store;
    store.set("Game", "GameNo", GetParam().stored);
    EXPECT_EQ(readSettings(store).GameNo, GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(EdgeValues, GameNoValue, ::testing::Values(
    GameNoCase{"abc", 1}, GameNoCase{"0x10", 16}, GameNoCase{"$10", 16}, GameNoCase{"-3", -3},
    GameNoCase{"12a", 1}, GameNoCase{"2147483648", 1}, GameNoCase{" 5", 5}, GameNoCase{"", 1},
    GameNoCase{"1234567", 1234567}, GameNoCase{"$FFFFFFFF", -1}));

TEST(ReadSettings, ZeroCountIsReadNotDefaulted) {
    FakeProfileStore store;
    store.set("Game", "TryCnt", "0");
    EXPECT_EQ(readSettings(store).TryCnt, 0);
}

TEST(BooleanSettings, NonZeroIsTrue) {
    FakeProfileStore store;
    store.set("Show", "SskUp", "2");
    EXPECT_TRUE(readSettings(store).SskUp);
}

TEST(BooleanSettings, UnreadableFallsBackToItsDefault) {
    FakeProfileStore store;
    store.set("Show", "SskUp", "yes");
    store.set("Show", "CtlBar", "no");
    const Settings s = readSettings(store);
    EXPECT_FALSE(s.SskUp);
    EXPECT_TRUE(s.CtlBar);
}

TEST(BooleanSettings, ZeroClearsATrueDefault) {
    FakeProfileStore store;
    store.set("Show", "CtlBar", "0");
    EXPECT_FALSE(readSettings(store).CtlBar);
}

TEST(BooleanSettings, SavedBackAsOneOrZero) {
    FakeProfileStore store;
    store.set("Show", "SskUp", "2");
    store.set("Show", "RenMode", "7");
    store.set("Show", "CtlBar", "$0");
    writeSettings(store, readSettings(store), kIniPath);
    EXPECT_EQ(store.get("Show", "SskUp"), "1");
    EXPECT_EQ(store.get("Show", "RenMode"), "1");
    EXPECT_EQ(store.get("Show", "CtlBar"), "0");
}

TEST(ScoreSettings, HandEditedStreakKindIsKept) {
    FakeProfileStore store;
    store.set("Score", "stype", "5");
    const Settings s = readSettings(store);
    EXPECT_EQ(s.stype, 5);
    writeSettings(store, s, kIniPath);
    EXPECT_EQ(store.get("Score", "stype"), "5");
}

TEST(WriteSettings, WritesInTheProgramsOrderThenFlushes) {
    FakeProfileStore store;
    writeSettings(store, Settings{}, kIniPath);
    EXPECT_EQ(keysOf(store.writes),
              slotKeys({"Game/GameNo", "Game/TryCnt", "Score/won", "Score/wins", "Score/lost", "Score/losses",
                        "Score/streak", "Score/stype", "Show/SskUp", "Show/CtlBar", "Show/RenMode"}));
    EXPECT_EQ(store.flushes, 1);
}

TEST(WriteSettings, IntegersArePlainDecimal) {
    FakeProfileStore store;
    Settings s;
    s.GameNo = 1000000;
    s.streak = -2147483647 - 1;
    writeSettings(store, s, kIniPath);
    EXPECT_EQ(store.get("Game", "GameNo"), "1000000");
    EXPECT_EQ(store.get("Score", "streak"), "-2147483648");
}

TEST(WriteSettings, EverythingReadsBackUnchanged) {
    Settings s;
    s.GameNo = 31999;
    s.TryCnt = 3;
    s.SskUp = true;
    s.CtlBar = false;
    s.RenMode = true;
    s.won = 10;
    s.wins = 4;
    s.lost = 7;
    s.losses = 2;
    s.streak = 1;
    s.stype = 1;
    for (int i = 0; i < 10; ++i) s.hist[i] = "No." + std::to_string(31998 - i) + " 勝ち";
    s.retry[3] = "4711";
    FakeProfileStore store;
    writeSettings(store, s, kIniPath);
    const Settings back = readSettings(store);
    EXPECT_EQ(back.GameNo, s.GameNo);
    EXPECT_EQ(back.TryCnt, s.TryCnt);
    EXPECT_EQ(back.SskUp, s.SskUp);
    EXPECT_EQ(back.CtlBar, s.CtlBar);
    EXPECT_EQ(back.RenMode, s.RenMode);
    EXPECT_EQ(back.won, s.won);
    EXPECT_EQ(back.wins, s.wins);
    EXPECT_EQ(back.lost, s.lost);
    EXPECT_EQ(back.losses, s.losses);
    EXPECT_EQ(back.streak, s.streak);
    EXPECT_EQ(back.stype, s.stype);
    EXPECT_EQ(back.hist, s.hist);
    EXPECT_EQ(back.retry, s.retry);
}

TEST(WriteSettings, PassListGapsAreKept) {
    FakeProfileStore store;
    store.set("Rtry", "Retry3", "4711");
    writeSettings(store, readSettings(store), kIniPath);
    EXPECT_EQ(store.get("Rtry", "Retry3"), "4711");
    EXPECT_EQ(store.get("Rtry", "Retry0"), "");
    EXPECT_EQ(store.values.count("Rtry/Retry0"), 1u);
}

// History lines are kept whole, whatever width the memo shows them at.
TEST(WriteSettings, LongHistoryLineIsOneKey) {
    Settings s;
    s.hist[0] = std::string(300, 'x');
    s.hist[1] = "next";
    FakeProfileStore store;
    writeSettings(store, s, kIniPath);
    EXPECT_EQ(store.get("Hist", "hist0"), s.hist[0]);
    EXPECT_EQ(store.get("Hist", "hist1"), "next");
}

TEST(WriteSettings, RefusedWriteStopsAtThatKey) {
    FakeProfileStore store;
    store.refusedKey = "Score/lost";
    EXPECT_THROW(writeSettings(store, Settings{}, kIniPath), AppError);
    EXPECT_EQ(keysOf(store.writes),
              (std::vector<std::string>{"Game/GameNo", "Game/TryCnt", "Score/won", "Score/wins", "Score/lost"}));
}

TEST(WriteSettings, RefusedWriteNamesTheFile) {
    FakeProfileStore store;
    store.refusedKey = "Rtry/Retry9";
    try {
        writeSettings(store, Settings{}, kIniPath);
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(std::string(e.what()), kIniPath + " に書き込めません");
    }
}

TEST(WriteSettings, RefusedWriteStillFlushesTheEarlierKeys) {
    FakeProfileStore store;
    store.refusedKey = "Show/SskUp";
    EXPECT_THROW(writeSettings(store, Settings{}, kIniPath), AppError);
    EXPECT_EQ(store.flushes, 1);
}

struct PathCase {
    const char* executable;
    const char* ini;
};

// Test names keep letters, digits and dots; other bytes are shown in hex, so
// that no trail byte of a double-byte character reaches the test runner.
void PrintTo(const PathCase& c, std::ostream* os) {
    const char digits[] = "0123456789ABCDEF";
    for (const char* p = c.executable; *p; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        if (std::isalnum(b) || b == '.')
            *os << *p;
        else
            *os << '_' << digits[b >> 4] << digits[b & 15];
    }
}

class IniPathFor : public ::testing::TestWithParam<PathCase> {};

TEST_P(IniPathFor, ReplacesTheFileNamesExtension) {
    EXPECT_EQ(iniPathFor(GetParam().executable), GetParam().ini);
}

INSTANTIATE_TEST_SUITE_P(Paths, IniPathFor, ::testing::Values(
    PathCase{"C:\\Games\\Tallykeep.exe", "C:\\Games\\Tallykeep.Ini"},
    PathCase{"C:\\Games\\Tally.keep.EXE", "C:\\Games\\Tally.keep.Ini"},
    PathCase{"C:\\my.games\\Tallykeep", "C:\\my.games\\Tallykeep.Ini"},
    PathCase{"C:/my.games/Tallykeep", "C:/my.games/Tallykeep.Ini"},
    PathCase{"Tallykeep.exe", "Tallykeep.Ini"},
    PathCase{"Tallykeep", "Tallykeep.Ini"},
    PathCase{"C:\\Games\\.exe", "C:\\Games\\.Ini"},
    PathCase{"C:Tallykeep", "C:Tallykeep.Ini"},
    // 表 and ソ end in the byte of "\": it is no separator inside a character.
    PathCase{"C:\\Games\\name.表", "C:\\Games\\name.Ini"},
    PathCase{"C:\\ソフト.d\\Tallykeep", "C:\\ソフト.d\\Tallykeep.Ini"},
    PathCase{"C:\\ゲーム表\\成績.exe", "C:\\ゲーム表\\成績.Ini"}));

}  // namespace
