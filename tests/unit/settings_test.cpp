#include "records/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    std::vector<std::string> writes;  // "Section/Key=value"
    std::string refusedKey;           // "Section/Key" whose write fails
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
    EXPECT_EQ(s.game.number, 1);
    EXPECT_EQ(s.game.attempt, 1);
    EXPECT_FALSE(s.tally.options.restoreGameStatistics);
    EXPECT_TRUE(s.tally.options.showControlBar);
    EXPECT_FALSE(s.tally.options.renMode);
    const ScoreLedger& l = s.tally.ledger;
    EXPECT_EQ((std::vector<int32_t>{l.won, l.wins, l.lost, l.losses, l.streak, l.stype}), (std::vector<int32_t>(6, 0)));
    // Ten empty history lines take their places in the window.
    EXPECT_EQ(s.tally.history.lines(), std::vector<std::string>(10, ""));
    EXPECT_EQ(std::count(s.tally.passes.begin(), s.tally.passes.end(), ""), 10);
}

// A key read under another name than it is written under would lose its
// value at every start.
TEST(ReadSettings, ReadsEveryKeyItWrites) {
    FakeProfileStore store;
    writeSettings(store, Settings{}, kIniPath);
    readSettings(store);
    std::vector<std::string> written = keysOf(store.writes);
    std::vector<std::string> read = store.reads;
    std::sort(written.begin(), written.end());
    std::sort(read.begin(), read.end());
    EXPECT_EQ(read, written);
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
    EXPECT_EQ(readSettings(store).game.number, GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(EdgeValues, GameNoValue,
                         ::testing::Values(GameNoCase{"abc", 1}, GameNoCase{"0x10", 16}, GameNoCase{"$10", 16},
                                           GameNoCase{"-3", -3}, GameNoCase{"12a", 1}, GameNoCase{"2147483648", 1},
                                           GameNoCase{" 5", 5}, GameNoCase{"", 1}, GameNoCase{"1234567", 1234567},
                                           GameNoCase{"$FFFFFFFF", -1}));

TEST(ReadSettings, ZeroCountIsReadNotDefaulted) {
    FakeProfileStore store;
    store.set("Game", "TryCnt", "0");
    EXPECT_EQ(readSettings(store).game.attempt, 0);
}

TEST(BooleanSettings, NonZeroIsTrue) {
    FakeProfileStore store;
    store.set("Show", "SskUp", "2");
    EXPECT_TRUE(readSettings(store).tally.options.restoreGameStatistics);
}

TEST(BooleanSettings, UnreadableFallsBackToItsDefault) {
    FakeProfileStore store;
    store.set("Show", "SskUp", "yes");
    store.set("Show", "CtlBar", "no");
    const Settings s = readSettings(store);
    EXPECT_FALSE(s.tally.options.restoreGameStatistics);
    EXPECT_TRUE(s.tally.options.showControlBar);
}

TEST(BooleanSettings, ZeroClearsATrueDefault) {
    FakeProfileStore store;
    store.set("Show", "CtlBar", "0");
    EXPECT_FALSE(readSettings(store).tally.options.showControlBar);
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
    EXPECT_EQ(s.tally.ledger.stype, 5);
    writeSettings(store, s, kIniPath);
    EXPECT_EQ(store.get("Score", "stype"), "5");
}

TEST(WriteSettings, WritesEveryKeyOnceThenFlushes) {
    FakeProfileStore store;
    writeSettings(store, Settings{}, kIniPath);
    std::vector<std::string> written = keysOf(store.writes);
    std::vector<std::string> expected =
        slotKeys({"Game/GameNo", "Game/TryCnt", "Score/won", "Score/wins", "Score/lost", "Score/losses", "Score/streak",
                  "Score/stype", "Show/SskUp", "Show/CtlBar", "Show/RenMode"});
    for (const char* extra : {"Extra/SkipImpossible", "Extra/ProgressByDifficulty", "Extra/ProgressLeft", "Extra/ProgressTop", "Extra/ProgressWidth",
                              "Extra/ProgressHeight", "Extra/NextGame", "Extra/AfterRetry", "Extra/LogSerial", "Extra/LogLast",
                              "Extra/LogSize", "Extra/Untold"})
        expected.push_back(extra);
    std::sort(written.begin(), written.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(written, expected);
    EXPECT_EQ(store.flushes, 1);
}

TEST(WriteSettings, IntegersArePlainDecimal) {
    FakeProfileStore store;
    Settings s;
    s.game.number = 1000000;
    s.tally.ledger.streak = -2147483647 - 1;
    writeSettings(store, s, kIniPath);
    EXPECT_EQ(store.get("Game", "GameNo"), "1000000");
    EXPECT_EQ(store.get("Score", "streak"), "-2147483648");
}

TEST(WriteSettings, EverythingReadsBackUnchanged) {
    Settings s;
    s.game = {31999, 3};
    s.tally.options = {true, false, true};
    s.tally.ledger.won = 10;
    s.tally.ledger.wins = 4;
    s.tally.ledger.lost = 7;
    s.tally.ledger.losses = 2;
    s.tally.ledger.streak = 1;
    s.tally.ledger.stype = 1;
    for (int i = 9; i >= 0; --i) s.tally.history.addNewest("No." + std::to_string(31998 - i) + " 勝ち");
    s.tally.passes[3] = "4711";
    FakeProfileStore store;
    writeSettings(store, s, kIniPath);
    const Settings back = readSettings(store);
    EXPECT_EQ(back.game.number, 31999);
    EXPECT_EQ(back.game.attempt, 3);
    EXPECT_TRUE(back.tally.options.restoreGameStatistics);
    EXPECT_FALSE(back.tally.options.showControlBar);
    EXPECT_TRUE(back.tally.options.renMode);
    const ScoreLedger& l = back.tally.ledger;
    EXPECT_EQ((std::vector<int32_t>{l.won, l.wins, l.lost, l.losses, l.streak, l.stype}),
              (std::vector<int32_t>{10, 4, 7, 2, 1, 1}));
    EXPECT_EQ(back.tally.history.saved(), s.tally.history.saved());
    EXPECT_EQ(back.tally.history.lines().front(), "No.31998 勝ち");
    EXPECT_EQ(back.tally.passes, s.tally.passes);
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
    s.tally.history.addNewest("next");
    s.tally.history.addNewest(std::string(300, 'x'));
    FakeProfileStore store;
    writeSettings(store, s, kIniPath);
    EXPECT_EQ(store.get("Hist", "hist0"), std::string(300, 'x'));
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

TEST_P(IniPathFor, ReplacesTheFileNamesExtension) { EXPECT_EQ(iniPathFor(GetParam().executable), GetParam().ini); }

INSTANTIATE_TEST_SUITE_P(Paths, IniPathFor,
                         ::testing::Values(PathCase{"C:\\Games\\Tallykeep.exe", "C:\\Games\\Tallykeep.Ini"},
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

// The window saves when what a save writes has changed: every kept value
// counts, this run's counts and history lines beyond the saved ten do not.
TEST(SavedValues, ChangeWhenAnythingKeptChanges) {
    Settings before;
    for (int game = 1; game <= 12; ++game) before.tally.history.addNewest(std::to_string(game) + " 勝ち");
    const std::vector<std::string> saved = savedValues(before);

    Settings runOnly = before;
    runOnly.tally.ledger.runWins = 5;
    runOnly.tally.ledger.runLosses = 2;
    EXPECT_EQ(savedValues(runOnly), saved);

    const std::vector<void (*)(Settings&)> changes = {
        [](Settings& s) { s.game.attempt = 2; },
        [](Settings& s) { s.game.number = 13; },
        [](Settings& s) {
            s.tally.record({false, 13, 1});
        },
        [](Settings& s) {
            s.tally.record({true, 13, 2});
        },
        [](Settings& s) { s.tally.passes[0] = "13"; },
        [](Settings& s) { s.tally.options.restoreGameStatistics = true; },
        [](Settings& s) { s.tally.options.showControlBar = false; },
        [](Settings& s) { s.tally.clearTotals(); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        Settings changed = before;
        changes[i](changed);
        EXPECT_NE(savedValues(changed), saved) << "change " << i;
    }
}

// The keys of this version sit in a section of their own, written after all
// the others, so that an older Tallykeep reads the file as before; the option
// is off where the file has none.
TEST(ExtraSettings, SkipOptionAndProgressPlaceLiveInTheirOwnLastSection) {
    FakeProfileStore store;
    EXPECT_FALSE(readSettings(store).tally.options.skipImpossible);
    Settings s;
    s.tally.options.skipImpossible = true;
    s.tally.options.progressByDifficulty = true;
    s.tally.options.progressWindow = {40, 50, 600, 420};
    writeSettings(store, s, kIniPath);
    const std::vector<std::string> written = keysOf(store.writes);
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written.back().rfind("Extra/", 0), 0u);
    EXPECT_EQ(written[written.size() - 13], "Rtry/Retry9");
    EXPECT_EQ(store.get("Extra", "SkipImpossible"), "1");
    const Settings loaded = readSettings(store);
    EXPECT_TRUE(loaded.tally.options.skipImpossible);
    EXPECT_TRUE(loaded.tally.options.progressByDifficulty);
    EXPECT_EQ(loaded.tally.options.progressWindow.left, 40);
    EXPECT_EQ(loaded.tally.options.progressWindow.top, 50);
    EXPECT_EQ(loaded.tally.options.progressWindow.width, 600);
    EXPECT_EQ(loaded.tally.options.progressWindow.height, 420);
}

}  // namespace
