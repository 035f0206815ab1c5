#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fake_desktop.h"
#include "gamelink/game_contract.h"
#include "gamelink/game_session.h"

namespace {

const ProfileTexts kTestTexts = {
    "ゲーム番号",           "ゲーム終了", "同じゲームを繰り返す(&S)",  "はい(&Y)",
    "ゲームを選択する(&S)", "フリーセル", "このゲームを終了しますか?",
};

class FakeLauncher : public ProcessLauncher {
public:
    bool isFile(const std::string& path) override {
        looked.push_back(path);
        return files.count(path) > 0;
    }
    std::string windowsDirectory() override { return windowsDir; }
    std::string systemDirectory() override { return systemDir; }
    bool launch(const std::string& programPath) override {
        launched.push_back(programPath);
        if (launchSucceeds && onLaunch) onLaunch();
        return launchSucceeds;
    }

    std::set<std::string> files;
    std::string windowsDir = "C:\\WINDOWS";
    std::string systemDir = "C:\\WINDOWS\\system32";
    bool launchSucceeds = true;
    std::function<void()> onLaunch;
    std::vector<std::string> looked;
    std::vector<std::string> launched;
};

// Where Tallykeep.exe runs from; the game that ships with it lies beside it.
const std::string kTallykeepPath = "C:\\Games\\Tallykeep\\Tallykeep.exe";
const std::string kBundledGame = "C:\\Games\\Tallykeep\\freecell\\FREECELL.EXE";

OsVersion platform(uint32_t id) {
    OsVersion version;
    version.platformId = id;
    version.major = 4;
    return version;
}

// Finding the executable

TEST(FindGameCommandLine, CurrentDirectoryComesFirstByRelativeName) {
    FakeLauncher launcher;
    launcher.files = {"FREECELL.EXE", "C:\\WINDOWS\\system32\\FREECELL.EXE"};
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), kTallykeepPath), "FREECELL.EXE");
    EXPECT_EQ(launcher.looked.size(), 1u);
}

TEST(FindGameCommandLine, Windows95FamilyLooksInTheWindowsDirectory) {
    FakeLauncher launcher;
    launcher.files = {"C:\\WINDOWS\\FREECELL.EXE", "C:\\WINDOWS\\system32\\FREECELL.EXE"};
    EXPECT_EQ(findGameCommandLine(launcher, platform(1), kTallykeepPath), "C:\\WINDOWS\\FREECELL.EXE");
}

TEST(FindGameCommandLine, OtherPlatformsLookInTheSystemDirectory) {
    FakeLauncher launcher;
    launcher.files = {"C:\\WINDOWS\\FREECELL.EXE", "C:\\WINDOWS\\system32\\FREECELL.EXE"};
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), kTallykeepPath), "C:\\WINDOWS\\system32\\FREECELL.EXE");
    EXPECT_EQ(findGameCommandLine(launcher, platform(0), kTallykeepPath), "C:\\WINDOWS\\system32\\FREECELL.EXE");
}

TEST(FindGameCommandLine, NothingFoundGivesEmpty) {
    FakeLauncher launcher;
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), kTallykeepPath), "");
}

TEST(FindGameCommandLine, FailedDirectoryQueryDoesNotTryTheDriveRoot) {
    FakeLauncher launcher;
    launcher.systemDir = "";
    launcher.files = {"\\FREECELL.EXE"};
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), kTallykeepPath), "");
}

TEST(FindGameCommandLine, BundledGameIsLookedAtOnlyAfterTheOtherPlaces) {
    FakeLauncher launcher;
    launcher.files = {kBundledGame};
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), kTallykeepPath), kBundledGame);
    const std::vector<std::string> order = {"FREECELL.EXE", "C:\\WINDOWS\\system32\\FREECELL.EXE", kBundledGame};
    EXPECT_EQ(launcher.looked, order);
}

TEST(FindGameCommandLine, WindowsOwnGameIsPreferredToTheBundledOne) {
    FakeLauncher launcher;
    launcher.files = {"C:\\WINDOWS\\system32\\FREECELL.EXE", kBundledGame};
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), kTallykeepPath), "C:\\WINDOWS\\system32\\FREECELL.EXE");
    launcher.files = {"FREECELL.EXE", kBundledGame};
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), kTallykeepPath), "FREECELL.EXE");
}

TEST(FindGameCommandLine, BundledGameIsFoundWhenTheDirectoryQueryFails) {
    FakeLauncher launcher;
    launcher.systemDir = "";
    launcher.files = {kBundledGame};
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), kTallykeepPath), kBundledGame);
}

TEST(FindGameCommandLine, BundledGameBesideAFolderWhoseNameEndsInByte5C) {
    // 表 is 0x95 0x5C and ソ 0x83 0x5C in code page 932: their second bytes are
    // no separators, and the folder keeps its space.
    FakeLauncher launcher;
    launcher.files = {"C:\\成績 表ソ\\freecell\\FREECELL.EXE"};
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), "C:\\成績 表ソ\\Tallykeep.exe"),
              "C:\\成績 表ソ\\freecell\\FREECELL.EXE");
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), "C:\\成績 表ソ\\表ソ.exe"),
              "C:\\成績 表ソ\\freecell\\FREECELL.EXE");
}

TEST(FindGameCommandLine, PathWithoutFolderHasNoBundledGame) {
    FakeLauncher launcher;
    launcher.files = {"\\freecell\\FREECELL.EXE", "freecell\\FREECELL.EXE"};
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), "Tallykeep.exe"), "");
    EXPECT_EQ(findGameCommandLine(launcher, platform(2), ""), "");
}

// Starting

class StartGameTest : public ::testing::Test {
protected:
    FakeDesktop desktop;
    FakeLauncher launcher;
};

TEST_F(StartGameTest, RunningGameIsTakenWithoutLaunch) {
    const WindowId running = desktop.createWindow(0, game::kMainWindowClass, "フリーセル");
    launcher.files = {"FREECELL.EXE"};
    const StartResult result = startGame(desktop, launcher, platform(2), kTallykeepPath);
    EXPECT_EQ(result.window, running);
    EXPECT_TRUE(launcher.launched.empty());
}

TEST_F(StartGameTest, LaunchedGameIsFoundAfterwards) {
    WindowId started = 0;
    launcher.files = {"FREECELL.EXE"};
    launcher.onLaunch = [&] { started = desktop.createWindow(0, game::kMainWindowClass, "フリーセル"); };
    const StartResult result = startGame(desktop, launcher, platform(2), kTallykeepPath);
    EXPECT_EQ(launcher.launched, std::vector<std::string>{"FREECELL.EXE"});
    EXPECT_EQ(result.window, started);
    EXPECT_FALSE(result.executableNotFound);
}

TEST_F(StartGameTest, MissingExecutableIsReportedWithoutLaunch) {
    const StartResult result = startGame(desktop, launcher, platform(2), kTallykeepPath);
    EXPECT_TRUE(result.executableNotFound);
    EXPECT_EQ(result.window, 0u);
    EXPECT_TRUE(launcher.launched.empty());
}

TEST_F(StartGameTest, BundledGameIsLaunchedWhenWindowsHasNone) {
    WindowId started = 0;
    launcher.files = {kBundledGame};
    launcher.onLaunch = [&] { started = desktop.createWindow(0, game::kMainWindowClass, "フリーセル"); };
    const StartResult result = startGame(desktop, launcher, platform(2), kTallykeepPath);
    EXPECT_EQ(launcher.launched, std::vector<std::string>{kBundledGame});
    EXPECT_EQ(result.window, started);
    EXPECT_FALSE(result.executableNotFound);
}

TEST_F(StartGameTest, FailedLaunchGivesNoWindowAndNoReport) {
    launcher.files = {"FREECELL.EXE"};
    launcher.launchSucceeds = false;
    const StartResult result = startGame(desktop, launcher, platform(2), kTallykeepPath);
    EXPECT_EQ(result.window, 0u);
    EXPECT_FALSE(result.executableNotFound);
}

// Closing

class CloseGameTest : public ::testing::Test {
protected:
    void SetUp() override { game.start(); }
    std::vector<FakeDesktop::Call> posts() const { return desktop.callsOf(FakeDesktop::Call::Post); }

    FakeDesktop desktop;
    FakeClipboard clipboard;
    FakeGame game{desktop, clipboard, kTestTexts};
};

TEST_F(CloseGameTest, GameClosingAtOnceGetsOnlyWmClose) {
    EXPECT_TRUE(closeGame(desktop, kTestTexts, game.mainWindow, 10000));
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(posts()[0].window, game.mainWindow);
    EXPECT_EQ(posts()[0].message, game::kWmClose);
    EXPECT_EQ(desktop.calls.front().kind, FakeDesktop::Call::Foreground);
    EXPECT_EQ(desktop.calls.front().window, game.mainWindow);
}

TEST_F(CloseGameTest, EndThisGameBoxIsAnsweredWithY) {
    game.confirmsOnClose = true;
    EXPECT_TRUE(closeGame(desktop, kTestTexts, game.mainWindow, 10000));
    ASSERT_EQ(posts().size(), 2u);
    EXPECT_EQ(posts()[1].message, game::kWmKeyDown);
    EXPECT_EQ(posts()[1].wParam, game::kKeyY);
    EXPECT_FALSE(desktop.isAlive(game.mainWindow));
}

TEST_F(CloseGameTest, BoxWithoutYesButtonIsBroughtToFrontOnly) {
    game.responsive = false;
    const WindowId box = desktop.createWindow(0, game::kDialogClass, kTestTexts.TitleConfirm);
    EXPECT_FALSE(closeGame(desktop, kTestTexts, game.mainWindow, 100));
    EXPECT_EQ(posts().size(), 1u) << "only WM_CLOSE";
    EXPECT_EQ(desktop.callsOf(FakeDesktop::Call::Foreground).back().window, box);
}

TEST_F(CloseGameTest, GameThatDoesNotCloseEndsTheWaitAfterTheLimit) {
    game.responsive = false;
    const uint64_t before = desktop.clockMs;
    EXPECT_FALSE(closeGame(desktop, kTestTexts, game.mainWindow, 3000));
    EXPECT_GE(desktop.clockMs - before, 3000u);
    EXPECT_LT(desktop.clockMs - before, 3100u);
}

TEST_F(CloseGameTest, SecondCopyOfTheGameDoesNotHoldTheWait) {
    desktop.createWindow(0, game::kMainWindowClass, "フリーセル");
    const uint64_t before = desktop.clockMs;
    EXPECT_TRUE(closeGame(desktop, kTestTexts, game.mainWindow, 10000));
    EXPECT_EQ(desktop.clockMs, before);
}

TEST_F(CloseGameTest, NoGameWindowPostsNothingAndEndsAtOnce) {
    const uint64_t before = desktop.clockMs;
    closeGame(desktop, kTestTexts, 0, 10000);
    EXPECT_TRUE(posts().empty());
    EXPECT_TRUE(desktop.callsOf(FakeDesktop::Call::Foreground).empty());
    EXPECT_EQ(desktop.clockMs, before);
}

// Control-bar commands

struct Sent {
    uint32_t message;
    uintptr_t wParam;
    bool operator==(const Sent& other) const { return message == other.message && wParam == other.wParam; }
};

std::vector<Sent> postsTo(const FakeDesktop& desktop, WindowId window) {
    std::vector<Sent> result;
    for (const auto& call : desktop.callsOf(FakeDesktop::Call::Post))
        if (call.window == window) result.push_back({call.message, call.wParam});
    return result;
}

constexpr WindowId kGame = 0x4242;

TEST(ControlBarCommands, StartPostsF3AfterForeground) {
    FakeDesktop desktop;
    postStartCommand(desktop, kGame);
    EXPECT_EQ(desktop.calls.front().kind, FakeDesktop::Call::Foreground);
    EXPECT_EQ(postsTo(desktop, kGame),
              (std::vector<Sent>{{game::kWmKeyDown, game::kVkF3}, {game::kWmKeyUp, game::kVkF3}}));
}

TEST(ControlBarCommands, RedoPausesThenWalksTheMenuWithAltGR) {
    FakeDesktop desktop;
    postRedoCommand(desktop, kGame);
    ASSERT_GE(desktop.calls.size(), 2u);
    EXPECT_EQ(desktop.calls[0].kind, FakeDesktop::Call::Foreground);
    EXPECT_EQ(desktop.calls[1].kind, FakeDesktop::Call::Pause);
    EXPECT_EQ(desktop.calls[1].message, 50u);
    EXPECT_EQ(postsTo(desktop, kGame), (std::vector<Sent>{{game::kWmSysCommand, game::kScKeyMenu},
                                                          {game::kWmSysKeyDown, game::kKeyG},
                                                          {game::kWmKeyUp, game::kVkMenu},
                                                          {game::kWmKeyDown, game::kKeyR},
                                                          {game::kWmKeyUp, game::kKeyR}}));
}

TEST(ControlBarCommands, UndoPostsF10) {
    FakeDesktop desktop;
    postUndoCommand(desktop, kGame);
    EXPECT_EQ(postsTo(desktop, kGame),
              (std::vector<Sent>{{game::kWmKeyDown, game::kVkF10}, {game::kWmKeyUp, game::kVkF10}}));
}

TEST(ControlBarCommands, MinimizeAndRestoreFollowWithoutForeground) {
    FakeDesktop desktop;
    postMinimize(desktop, kGame);
    postRestore(desktop, kGame);
    EXPECT_EQ(postsTo(desktop, kGame),
              (std::vector<Sent>{{game::kWmSysCommand, game::kScMinimize}, {game::kWmSysCommand, game::kScRestore}}));
    EXPECT_TRUE(desktop.callsOf(FakeDesktop::Call::Foreground).empty());
}

TEST(ControlBarCommands, NoGameWindowDoesNothing) {
    FakeDesktop desktop;
    postStartCommand(desktop, 0);
    postRedoCommand(desktop, 0);
    postUndoCommand(desktop, 0);
    postMinimize(desktop, 0);
    postRestore(desktop, 0);
    EXPECT_TRUE(desktop.calls.empty());
}

}  // namespace
