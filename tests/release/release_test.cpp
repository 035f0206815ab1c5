// The release archive as a user unpacks it: into a folder whose name holds 表
// (0x95 0x5C) and ends in ソ (0x83 0x5C), second bytes that read as "\" to
// code unaware of code page 932. check_release.py unpacked it there.
#include <gtest/gtest.h>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "system_snapshot.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;

std::string releaseFolder() {
    const std::string bin = binDir();
    return bin.substr(0, bin.rfind('\\')) + "\\release-test\\成績表ソ";
}

class Release : public ::testing::Test {
protected:
    void SetUp() override {
        killStrayPrograms();
        ASSERT_TRUE(deleteStatisticsKey());
    }
    void TearDown() override { killStrayPrograms(); }
};

TEST_F(Release, RunsFromTheUnpackedFolderAndWritesNothingButItsSettingsFileAndLog) {
    const Sandbox folder = Sandbox::existing(releaseFolder());
    ASSERT_TRUE(readFileBytes(folder.path("Tallykeep.exe"))) << folder.dir();
    // Left by an earlier attempt of this test.
    DeleteFileA(folder.path("Tallykeep.Ini").c_str());
    DeleteFileA(folder.path("Tallykeep.csv").c_str());
    folder.copyProgram("FREECELL.EXE");                 // the game beside it, as in a user's folder
    // Wine registers its display when its desktop first starts, and creates a
    // key for the session's mouse settings when a program first reads one
    // (the double-click time, say): both happen here, before the first
    // snapshot, rather than in whichever program comes first.
    GetDesktopWindow();
    GetDoubleClickTime();

    // The prefix's whole C: drive (the user's folders included), the release
    // folder and the registry. The game keeps its statistics under its own
    // key. The stand-in's log, a test hook, goes to a folder of its own, out
    // of what is compared.
    const std::vector<std::string> folders = {"C:", folder.dir()};
    const std::vector<std::string> ignored = {"HKCU\\" + std::string(game::kStatisticsKey)};
    const release::Snapshot before = release::takeSnapshot(folders);

    const Sandbox logFolder;
    SessionOptions options;
    options.logPath = logFolder.path("freecell.log");
    TallykeepSession session(folder, options);
    ASSERT_NE(session.game, nullptr) << "the game did not appear";
    ASSERT_TRUE(session.results.found()) << "the results window did not appear";
    ASSERT_TRUE(session.selectGame("5", "5")) << session.log.text();
    ASSERT_TRUE(session.winAndAnswerYes(kDefaultTexts, "6")) << session.log.text();
    ASSERT_TRUE(session.closeAndWait());

    EXPECT_EQ(iniValue(session.iniPath(), "Game", "GameNo"), "6");
    EXPECT_EQ(iniValue(session.iniPath(), "Score", "won"), "1");
    EXPECT_EQ(iniValue(session.iniPath(), "Hist", "hist0"), "5 勝ち");
    const std::string logPath = folder.path("Tallykeep.csv");
    EXPECT_NE(readFileBytes(logPath).value_or("").find(",5,1,勝ち,1\r\n"), std::string::npos) << "no line for the win";
    const std::vector<std::string> expected = {"added file " + session.iniPath(), "added file " + logPath};
    EXPECT_EQ(release::changes(before, release::takeSnapshot(folders), ignored), expected);

    session.restart(options);
    ASSERT_TRUE(session.results.found()) << "the results window did not appear again";
    EXPECT_EQ(session.results.numberBox(), "6");
    EXPECT_EQ(session.results.label("Label18"), "1");
    EXPECT_EQ(session.results.history().front(), "5 勝ち");
    EXPECT_TRUE(session.closeAndWait());
}

}  // namespace
