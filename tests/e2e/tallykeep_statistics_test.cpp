// The game's own statistics in the registry around a run of Tallykeep beside
// the stand-in, which records its results there: what the option
// "Tallykeepの成績だけ更新" leaves of them at shutdown, and values Tallykeep
// cannot read at start-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using Bytes = std::vector<uint8_t>;

constexpr std::array<const char*, 6> kNames = {"wins", "won", "lost", "losses", "streak", "stype"};
// wins 3, won 300, lost 260, losses 2, a winning streak of 1.
const std::array<Bytes, 6> kStartBytes = {Bytes{3, 0, 0, 0}, Bytes{0x2C, 1, 0, 0}, Bytes{4, 1, 0, 0},
                                          Bytes{2, 0, 0, 0}, Bytes{1, 0, 0, 0},    Bytes{1, 0, 0, 0}};

struct SnapshotCase {
    const char* name = "";
    bool optionAtStart = true;
    bool optionSwitched = false;
    std::array<std::optional<RegistryValue>, 6> atStart;  // none: the value is missing
    const char* startupError = nullptr;                   // the error box Tallykeep shows first
    // After shutdown: REG_BINARY with these bytes; none: as the game left it.
    std::array<std::optional<Bytes>, 6> expected;
};

void PrintTo(const SnapshotCase& c, std::ostream* out) { *out << c.name; }

std::vector<SnapshotCase> snapshotCases() {
    SnapshotCase restored;
    restored.name = "OptionOn";
    for (std::size_t i = 0; i < 6; ++i) {
        restored.atStart[i] = RegistryValue{REG_BINARY, kStartBytes[i]};
        restored.expected[i] = kStartBytes[i];
    }
    SnapshotCase switchedOff = restored;
    switchedOff.name = "OptionSwitchedOff";
    switchedOff.optionSwitched = true;
    switchedOff.expected = {};
    SnapshotCase switchedOn = restored;
    switchedOn.name = "OptionSwitchedOn";
    switchedOn.optionAtStart = false;
    switchedOn.optionSwitched = true;
    SnapshotCase shortWonNoStreak = restored;
    shortWonNoStreak.name = "TwoByteWonAndMissingStreak";
    shortWonNoStreak.atStart[1] = RegistryValue{REG_BINARY, {0x2C, 1}};
    shortWonNoStreak.atStart[4].reset();
    shortWonNoStreak.expected[4] = Bytes{0, 0, 0, 0};
    SnapshotCase dwordLost = restored;
    dwordLost.name = "DwordLost";
    dwordLost.atStart[2] = RegistryValue{REG_DWORD, kStartBytes[2]};
    dwordLost.startupError = "'lost' のデータ型が不正です";
    for (std::size_t i = 2; i < 6; ++i) dwordLost.expected[i].reset();
    return {restored, switchedOff, switchedOn, shortWonNoStreak, dwordLost};
}

class TallykeepStatistics : public TallykeepTest {
protected:
    void TearDown() override {
        TallykeepTest::TearDown();
        deleteStatisticsKey();  // a refused value must not reach later tests
    }
    std::string iniPath() const { return sandbox.path("Tallykeep.Ini"); }
    bool setOption(bool on) const {
        return WritePrivateProfileStringA("Show", "SskUp", on ? "1" : "0", iniPath().c_str()) != FALSE;
    }
    // Start-up held by its error box: checks the text, answers OK, then waits
    // for the game and the results window as a plain start does.
    void startThroughErrorBox(const std::string& text) {
        std::string told;
        ASSERT_NO_FATAL_FAILURE(TallykeepTest::startThroughErrorBox(told));
        EXPECT_EQ(told, text);
    }
};

class GameStatistics : public TallykeepStatistics, public ::testing::WithParamInterface<SnapshotCase> {};

TEST_P(GameStatistics, GamesPlayedThenShutdown) {
    const SnapshotCase& c = GetParam();
    for (std::size_t i = 0; i < 6; ++i) {
        if (!c.atStart[i]) continue;
        ASSERT_TRUE(writeStatisticsValue(kNames[i], c.atStart[i]->type, c.atStart[i]->bytes));
    }
    ASSERT_TRUE(setOption(c.optionAtStart));
    if (c.startupError) {
        ASSERT_NO_FATAL_FAILURE(startThroughErrorBox(c.startupError));
    } else {
        ASSERT_NO_FATAL_FAILURE(start());
    }
    if (c.optionSwitched) results().menuCommand(kCmdSeisekiUp);

    // Game 5 won, game 6 lost: the game records both. Closing resigns game 6
    // again, which the game does not record twice in a row.
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();
    ASSERT_TRUE(session->loseAndRedeal("6")) << log().text();
    std::array<std::optional<RegistryValue>, 6> byGame;
    for (std::size_t i = 0; i < 6; ++i) byGame[i] = readStatisticsValue(kNames[i]);
    ASSERT_TRUE(byGame[1] && byGame[1]->bytes != kStartBytes[1]) << "the game recorded no win";
    const int recorded = log().count("recorded");
    ASSERT_TRUE(session->closeAndWait()) << log().text();
    ASSERT_EQ(log().count("recorded"), recorded) << log().text();
    EXPECT_EQ(iniValue(iniPath(), "Show", "SskUp"), c.optionAtStart != c.optionSwitched ? "1" : "0");

    for (std::size_t i = 0; i < 6; ++i) {
        const std::optional<RegistryValue> now = readStatisticsValue(kNames[i]);
        const std::optional<RegistryValue> expected =
            c.expected[i] ? RegistryValue{REG_BINARY, *c.expected[i]} : byGame[i];
        ASSERT_TRUE(now && expected) << kNames[i];
        EXPECT_EQ(now->type, expected->type) << kNames[i];
        EXPECT_EQ(now->bytes, expected->bytes) << kNames[i];
    }
}

INSTANTIATE_TEST_SUITE_P(TallykeepStatistics, GameStatistics, ::testing::ValuesIn(snapshotCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TallykeepStatistics, NoKeyGivesNoErrorAndIsNotCreated) {
    ASSERT_TRUE(setOption(true));
    start();
    EXPECT_EQ(findTopLevel(game::kDialogClass, "Tallykeep"), nullptr);
    ASSERT_TRUE(session->closeAndWait()) << "an error box keeps Tallykeep open";
    EXPECT_EQ(iniValue(iniPath(), "Show", "SskUp"), "1");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, game::kStatisticsKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    if (key) RegCloseKey(key);
}

}  // namespace

namespace {

// The game does not close within the close's limit (its end-this-game box
// hangs): Tallykeep ends all the same, leaves the game's statistics as the
// game keeps them, and tells so at its next start.
TEST_F(TallykeepStatistics, AGameThatDoesNotCloseKeepsItsStatisticsAndTheNextStartSaysSo) {
    for (std::size_t i = 0; i < 6; ++i) ASSERT_TRUE(writeStatisticsValue(kNames[i], REG_BINARY, kStartBytes[i]));
    ASSERT_TRUE(setOption(true));
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();
    const std::optional<RegistryValue> wonByGame = readStatisticsValue("won");
    ASSERT_TRUE(wonByGame && wonByGame->bytes != kStartBytes[1]);

    standinHangNextConfirm(session->game, std::chrono::milliseconds(60000));
    ASSERT_TRUE(standinSync(session->game, log()));
    ASSERT_TRUE(session->closeAndWait(std::chrono::seconds(40))) << log().text();
    EXPECT_EQ(readStatisticsValue("won")->bytes, wonByGame->bytes) << "written back under a running game";
    killStrayPrograms();

    ASSERT_NO_FATAL_FAILURE(startThroughErrorBox(
        "前回 Tallykeep を閉じたとき、フリーセルが終了しませんでした。ゲームの成績は元に戻していません。"));
    EXPECT_TRUE(waitUntil([&] { return iniValue(iniPath(), "Extra", "Untold").empty(); })) << "told once";
}

}  // namespace
