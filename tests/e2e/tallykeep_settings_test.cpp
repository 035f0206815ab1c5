// The settings file Tallykeep.Ini beside Tallykeep.exe, seen from outside:
// what a run leaves in it byte for byte, what a hand-edited file loads as,
// what a refused write does at shutdown, and how the history lines travel
// between the memo and the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "harness/harness.h"
#include "boxes_and_files.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

constexpr char kErrorBoxTitle[] = "Tallykeep";

bool writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    return static_cast<bool>(file);
}

// True when every needle occurs in `text`, each starting after the one before
// it starts (needles may share a line break).
bool occursInOrder(const std::string& text, const std::vector<std::string>& needles) {
    std::size_t from = 0;
    for (const std::string& needle : needles) {
        const std::size_t at = text.find(needle, from);
        if (at == std::string::npos) return false;
        from = at + 1;
    }
    return true;
}

// "\n<prefix>0=" ... "\n<prefix>9=": keys of one slot section, anchored at
// the line start so that "won=" does not match inside another key.
std::vector<std::string> slotKeys(const std::string& prefix) {
    std::vector<std::string> keys;
    for (int slot = 0; slot < 10; ++slot) keys.push_back("\n" + prefix + std::to_string(slot) + "=");
    return keys;
}

std::string slotKey(const char* prefix, int slot) { return prefix + std::to_string(slot); }

// A hand-written settings file: "[Game]" with GameNo, then `rest` as given.
std::string handWritten(const std::string& gameNo, const std::string& rest = "") {
    return "[Game]\r\nGameNo=" + gameNo + "\r\nTryCnt=1\r\n" + rest;
}

// Ten history lines for "[Hist]", hist0 the newest.
std::string histSection(const std::vector<std::string>& lines) {
    std::string section = "[Hist]\r\n";
    for (std::size_t slot = 0; slot < lines.size(); ++slot)
        section += "hist" + std::to_string(slot) + "=" + lines[slot] + "\r\n";
    return section;
}

// The most error boxes open at once while `duration` passes.
int mostErrorBoxesDuring(std::chrono::milliseconds duration) {
    int most = 0;
    waitUntil(
        [&] {
            most = std::max(most, countTopLevel("#32770", kErrorBoxTitle));
            return false;
        },
        duration);
    return most;
}

// What the results window shows of the persistent state.
struct Shown {
    std::string numberBox, attempt, totalPercent, won, lost, longestWins, longestLosses, streak;
    std::vector<std::string> history;
};

Shown shown(const ResultsWindow& results) {
    return {results.numberBox(),      results.label("Label1"),  results.label("Label9"),
            results.label("Label18"), results.label("Label19"), results.label("Label20"),
            results.label("Label21"), results.label("Label11"), results.history()};
}

// The first ten memo lines: what the file keeps of the history.
std::vector<std::string> savedPart(std::vector<std::string> history) {
    history.resize(10);
    return history;
}

class TallykeepSettings : public TallykeepTest {
protected:
    std::string iniPath() const { return sandbox.path("Tallykeep.Ini"); }
    std::string ini(const char* section, const std::string& key) const {
        return iniValue(iniPath(), section, key.c_str(), "<missing>");
    }
    void restart() {
        session->restart();
        ASSERT_NE(session->game, nullptr) << "the game did not appear";
        ASSERT_TRUE(session->results.found()) << "the results window did not appear";
    }
    // Closes as the user does and waits until Tallykeep (and the game) ended.
    void closeAndWait() {
        const HWND game = session->game;
        ASSERT_TRUE(session->closeAndWait()) << "Tallykeep did not end\n" << log().text();
        ASSERT_TRUE(waitUntilGone(game, 10s)) << "the game did not close";
    }
};

TEST_F(TallykeepSettings, PlayedRunComesBackAfterRestartAndTheNewFileHasTheWriteOrder) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();  // first-attempt win
    ASSERT_TRUE(session->loseAndRedeal("6")) << log().text();                   // counted loss
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "7")) << log().text();  // win at attempt 2
    ASSERT_TRUE(session->loseAndRedeal("7")) << log().text();                   // attempt 2 of game 7
    ASSERT_TRUE(results().waitForLabel("Label1", "2"));
    const Shown before = shown(results());
    closeAndWait();

    const std::string bytes = readFileBytes(iniPath()).value_or("");
    EXPECT_TRUE(occursInOrder(bytes, {"[Game]\r\n", "[Score]\r\n", "[Show]\r\n", "[Hist]\r\n", "[Rtry]\r\n"})) << bytes;
    EXPECT_TRUE(occursInOrder(bytes, {"[Game]", "\nGameNo=7\r\n", "\nTryCnt=2\r\n", "[Score]", "\nwon=1\r\n",
                                      "\nwins=1\r\n", "\nlost=2\r\n", "\nlosses=2\r\n", "\nstreak=2\r\n",
                                      "\nstype=0\r\n", "[Show]", "\nSskUp=0\r\n", "\nCtlBar=1\r\n", "\nRenMode=0\r\n"}))
        << bytes;
    std::vector<std::string> histKeys = slotKeys("hist");
    histKeys.insert(histKeys.begin(), "[Hist]");
    EXPECT_TRUE(occursInOrder(bytes, histKeys)) << bytes;
    std::vector<std::string> retryKeys = slotKeys("Retry");
    retryKeys.insert(retryKeys.begin(), "[Rtry]");
    EXPECT_TRUE(occursInOrder(bytes, retryKeys)) << bytes;
    // Code page 932 bytes as the literals are compiled: 勝 is 0x8F 0x9F.
    EXPECT_NE(bytes.find("\nhist0=6 負け（2回）\r\nhist1=5 勝ち\r\nhist2=\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\x8f\x9f\x82\xbf"), std::string::npos) << "勝ち is not in code page 932";

    restart();
    ASSERT_TRUE(results().waitForNumberBox("7")) << results().numberBox();
    const Shown after = shown(results());
    EXPECT_EQ(after.numberBox, before.numberBox);
    EXPECT_EQ(after.attempt, "2");
    EXPECT_EQ(after.totalPercent, "33.33%");
    EXPECT_EQ(after.won, before.won);
    EXPECT_EQ(after.lost, "2");
    EXPECT_EQ(after.longestWins, before.longestWins);
    EXPECT_EQ(after.longestLosses, before.longestLosses);
    EXPECT_EQ(after.streak, "2連敗中");
    EXPECT_EQ(after.streak, before.streak);
    EXPECT_EQ(savedPart(after.history), savedPart(before.history));
    EXPECT_EQ(after.history.at(0), "6 負け（2回）");
    // This run's counts start again from nothing.
    EXPECT_EQ(results().label("Label16"), "0");
    EXPECT_EQ(results().label("Label13"), "00.00%");
}

// "GameNo" as a person may write it, and the number it loads as: a number
// outside the game's range is brought into it.
struct GameNoCase {
    const char* name;
    const char* value;
    const char* shown;
};

void PrintTo(const GameNoCase& c, std::ostream* out) { *out << c.name; }

class TallykeepSettingsGameNo : public TallykeepSettings, public ::testing::WithParamInterface<GameNoCase> {};

TEST_P(TallykeepSettingsGameNo, HandWrittenGameNumberLoadsIntoTheNumberBox) {
    ASSERT_TRUE(writeFileBytes(iniPath(), handWritten(GetParam().value)));
    start();
    EXPECT_TRUE(results().waitForNumberBox(GetParam().shown)) << results().numberBox();
}

INSTANTIATE_TEST_SUITE_P(TallykeepSettings, TallykeepSettingsGameNo,
                         ::testing::Values(GameNoCase{"Letters", "abc", "1"}, GameNoCase{"HexWithZeroX", "0x10", "16"},
                                           GameNoCase{"HexWithDollar", "$10", "16"}, GameNoCase{"Negative", "-3", "1"},
                                           GameNoCase{"TrailingLetter", "12a", "1"},
                                           GameNoCase{"AboveInt32", "2147483648", "1"},
                                           // Quoted, so the profile services hand the blank on.
                                           GameNoCase{"LeadingBlank", "\" 5\"", "5"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TallykeepSettings, HandEditedValuesAreKeptOrNormalisedAndForeignSectionsSurvive) {
    const std::string foreign = "[Notes]\r\nowner=手書きのメモ\r\n";
    ASSERT_TRUE(writeFileBytes(iniPath(), handWritten("12",
                                                      "[Score]\r\nstreak=3\r\nstype=5\r\n"
                                                      "[Show]\r\nSskUp=2\r\nRenMode=7\r\n"
                                                      "[Rtry]\r\nRetry3=4711\r\n" +
                                                          foreign)));
    start();
    EXPECT_TRUE(results().waitForLabel("Label11", "3連敗中")) << results().label("Label11");
    closeAndWait();

    EXPECT_EQ(ini("Score", "stype"), "5");
    EXPECT_EQ(ini("Show", "SskUp"), "1");
    EXPECT_EQ(ini("Show", "RenMode"), "1");
    EXPECT_EQ(ini("Rtry", "Retry3"), "4711");
    for (int slot : {0, 1, 2, 4, 5, 6, 7, 8, 9}) EXPECT_EQ(ini("Rtry", slotKey("Retry", slot)), "") << slot;
    const std::string bytes = readFileBytes(iniPath()).value_or("");
    EXPECT_NE(bytes.find(foreign), std::string::npos) << bytes;
}

// The profile services fail a write while another program holds the file with
// no sharing (as root under Wine the read-only attribute would not stop it).
TEST_F(TallykeepSettings, RefusedSaveShowsOneErrorBoxKeepsTheWindowAndTheUsersNextCloseSavesEverything) {
    const std::string original = handWritten("5");
    ASSERT_TRUE(writeFileBytes(iniPath(), original));
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();
    // The win was saved when it was counted.
    const std::string savedAtTheWin = readFileBytes(iniPath()).value_or("");
    EXPECT_NE(savedAtTheWin.find("GameNo=6\r\n"), std::string::npos) << savedAtTheWin;

    HeldFile held(iniPath());
    ASSERT_TRUE(held.held()) << "open error " << held.openError();
    SetLastError(0);
    const BOOL written = WritePrivateProfileStringA("Game", "GameNo", "9", iniPath().c_str());
    const DWORD writeError = GetLastError();
    ASSERT_FALSE(written) << "the profile services write a held file; this test cannot make a save fail";
    // Wine reports ERROR_SHARING_VIOLATION (32).
    std::printf("WritePrivateProfileStringA on the held file fails with error %lu\n", writeError);

    results().close();
    const HWND box = waitForTopLevel("#32770", kErrorBoxTitle);
    ASSERT_NE(box, nullptr) << "no error box";
    EXPECT_EQ(messageBoxText(box), iniPath() + " に書き込めません");
    EXPECT_EQ(held.bytes(), savedAtTheWin);
    EXPECT_FALSE(readFileBytes(iniPath() + ".new").has_value()) << "the new copy was left behind";
    EXPECT_TRUE(waitUntilGone(session->game, 10s)) << "the shutdown did not close the game";
    EXPECT_NE(IsWindow(results().window()), FALSE);
    EXPECT_TRUE(session->tallykeep->running());
    // The game is gone; the ticks that go on inside the box add no box.
    EXPECT_EQ(mostErrorBoxesDuring(1500ms), 1);

    // Dismissed: the watcher leaves the next close to the user, so no box
    // comes back and the window is the user's again.
    clickButton(GetDlgItem(box, IDOK));
    ASSERT_TRUE(waitUntilGone(box));
    EXPECT_EQ(mostErrorBoxesDuring(2000ms), 0);
    EXPECT_NE(IsWindowEnabled(results().window()), FALSE);
    EXPECT_TRUE(session->tallykeep->running());

    held.release();
    results().close();
    ASSERT_TRUE(session->tallykeep->waitForExit(20s).has_value()) << "Tallykeep did not end after the close";
    EXPECT_EQ(ini("Game", "GameNo"), "6");
    EXPECT_EQ(ini("Score", "won"), "1");
    EXPECT_EQ(ini("Score", "stype"), "1");
    EXPECT_EQ(ini("Hist", "hist0"), "5 勝ち");
}

TEST_F(TallykeepSettings, OnlyTheTenNewestHistoryLinesAreSaved) {
    std::vector<std::string> lines;
    for (int game = 19; game >= 10; --game) lines.push_back(std::to_string(game) + " 勝ち");
    ASSERT_TRUE(writeFileBytes(iniPath(), handWritten("20", histSection(lines))));
    start();
    ASSERT_TRUE(results().waitForNumberBox("20"));
    ASSERT_TRUE(session->selectGame("20", "20")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "21")) << log().text();
    EXPECT_EQ(results().history().at(10), "10 勝ち") << "the memo keeps the oldest line for this run";
    closeAndWait();

    for (int slot = 0; slot < 10; ++slot)
        EXPECT_EQ(ini("Hist", slotKey("hist", slot)), std::to_string(20 - slot) + " 勝ち") << slot;
    const std::string bytes = readFileBytes(iniPath()).value_or("");
    EXPECT_EQ(bytes.find("=10 勝ち"), std::string::npos) << bytes;
}

TEST_F(TallykeepSettings, ClearEmptiesTheSavedHistoryAndTotalsButKeepsThisRunAndTheRest) {
    std::vector<std::string> lines;
    for (int game = 19; game >= 10; --game) lines.push_back(std::to_string(game) + " 勝ち");
    ASSERT_TRUE(writeFileBytes(iniPath(), handWritten("20",
                                                      "[Score]\r\nwon=7\r\nwins=3\r\nlost=2\r\nlosses=1\r\n"
                                                      "streak=3\r\nstype=1\r\n"
                                                      "[Rtry]\r\nRetry3=4711\r\n" +
                                                          histSection(lines))));
    start();
    ASSERT_TRUE(results().waitForNumberBox("20"));
    ASSERT_TRUE(session->selectGame("20", "20")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "21")) << log().text();
    ASSERT_TRUE(results().waitForLabel("Label20", "4"));

    results().menuCommand(kCmdSeisekiClear);
    const HWND question = waitForTopLevel("#32770", "Tallykeep");
    ASSERT_NE(question, nullptr) << "クリア asks first";
    clickButton(GetDlgItem(question, IDYES));
    ASSERT_TRUE(results().waitForLabel("Label9", "00.00%")) << results().label("Label9");
    for (const char* total : {"Label18", "Label19", "Label20", "Label21"})
        EXPECT_EQ(results().label(total), "0") << total;
    EXPECT_EQ(results().label("Label11"), "0連敗中");
    EXPECT_EQ(results().label("Label16"), "1");
    EXPECT_EQ(results().label("Label13"), "100.00%");
    EXPECT_EQ(results().history().at(13), "20 勝ち") << "older lines stay below the empty ones";
    closeAndWait();

    for (int slot = 0; slot < 10; ++slot) EXPECT_EQ(ini("Hist", slotKey("hist", slot)), "") << slot;
    for (const char* total : {"won", "wins", "lost", "losses", "streak", "stype"})
        EXPECT_EQ(ini("Score", total), "0") << total;
    EXPECT_EQ(ini("Game", "GameNo"), "21");
    EXPECT_EQ(ini("Rtry", "Retry3"), "4711");
}

// The memo wraps a line wider than itself on screen; the file keeps it whole.
TEST_F(TallykeepSettings, WrappedHistoryLineIsSavedAsOneKeyAndComesBackWhole) {
    const std::string longLine = "1234567 負け（12回）";
    ASSERT_TRUE(writeFileBytes(iniPath(), handWritten("8", histSection({longLine, "7 勝ち"}))));
    start();
    ASSERT_TRUE(results().waitForNumberBox("8"));
    EXPECT_EQ(results().history().at(0), longLine);
    const int logicalLines = static_cast<int>(results().history().size());
    // One screen line more than the memo has lines is the empty rest after the
    // last line break; any more is the wrapped line.
    EXPECT_GT(results().historyDisplayedLineCount(), logicalLines + 1) << "the long line does not wrap on screen";
    ASSERT_TRUE(session->selectGame("8", "8")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "9")) << log().text();
    closeAndWait();

    EXPECT_EQ(ini("Hist", "hist0"), "8 勝ち");
    EXPECT_EQ(ini("Hist", "hist1"), longLine);
    EXPECT_EQ(ini("Hist", "hist2"), "7 勝ち");

    restart();
    ASSERT_TRUE(results().waitForNumberBox("9"));
    EXPECT_EQ(results().history().at(1), longLine);
    EXPECT_EQ(results().history().at(2), "7 勝ち");
}

}  // namespace
