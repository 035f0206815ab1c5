// The release archive as a user unpacks it: into a folder named "成績 表ソ",
// with a space, 表 (0x95 0x5C) and a last character ソ (0x83 0x5C), second
// bytes that read as "\" to code unaware of code page 932. check_release.py
// unpacked it there.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include <cstdlib>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "harness/game_player.h"
#include "system_snapshot.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;

std::string releaseFolder() {
    const std::string bin = binDir();
    return bin.substr(0, bin.rfind('\\')) + "\\release-test\\成績 表ソ";
}

std::string shippedGame() { return releaseFolder() + "\\freecell\\FREECELL.EXE"; }

// The executable of the process that owns a window; empty when unknown.
std::string executableOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return {};
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameExA(process, nullptr, path, MAX_PATH);
    CloseHandle(process);
    return std::string(path, length);
}

std::string windowsFolder(UINT(WINAPI* query)(LPSTR, UINT)) {
    char buffer[MAX_PATH] = {};
    const UINT length = query(buffer, MAX_PATH);
    return std::string(buffer, length < MAX_PATH ? length : 0);
}

bool answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

// With TK_SCREENSHOT_DIR set (scripts/release-screenshot.sh), asks the script
// for a picture of the screen and waits until it is taken.
void screenshotIfAsked() {
    const char* dir = std::getenv("TK_SCREENSHOT_DIR");
    if (!dir || !*dir) return;
    const std::string request = std::string(dir) + "\\screenshot.request";
    const std::string done = std::string(dir) + "\\screenshot.done";
    DeleteFileA(done.c_str());
    HANDLE file =
        CreateFileA(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_TRUE(waitUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30s));
}

class Release : public ::testing::Test {
protected:
    void SetUp() override {
        killStrayPrograms();
        ASSERT_TRUE(deleteStatisticsKey());
        folder_.emplace(Sandbox::existing(releaseFolder()));
        ASSERT_TRUE(readFileBytes(folder_->path("Tallykeep.exe"))) << folder_->dir();
        // Left by an earlier test or an earlier attempt of this one.
        DeleteFileA(folder_->path("Tallykeep.Ini").c_str());
        DeleteFileA(folder_->path("Tallykeep.csv").c_str());
        DeleteFileA(folder_->path("Tallykeep.csv.idx").c_str());
        DeleteFileA(folder_->path("FREECELL.EXE").c_str());
        DeleteFileA(folder_->path("freecell.log").c_str());
    }
    void TearDown() override {
        killStrayPrograms();
        DeleteFileA(folder_->path("FREECELL.EXE").c_str());
    }

    const Sandbox& folder() const { return *folder_; }

private:
    std::optional<Sandbox> folder_;
};

TEST_F(Release, RunsFromTheUnpackedFolderAndWritesNothingButItsSettingsFileAndLog) {
    folder().copyProgram("FREECELL.EXE");  // the test build beside it, as a copied game would be
    // Wine registers its display when its desktop first starts, and creates a
    // key for the session's mouse settings when a program first reads one
    // (the double-click time, say): both happen here, before the first
    // snapshot, rather than in whichever program comes first.
    GetDesktopWindow();
    GetDoubleClickTime();

    // The prefix's whole C: drive (the user's folders included), the release
    // folder and the registry. The game keeps its statistics under its own
    // key. The test build's log goes to a folder of its own, out of what is
    // compared.
    const std::vector<std::string> folders = {"C:", folder().dir()};
    const std::vector<std::string> ignored = {"HKCU\\" + std::string(game::kStatisticsKey)};
    const release::Snapshot before = release::takeSnapshot(folders);

    const Sandbox logFolder;
    SessionOptions options;
    options.logPath = logFolder.path("freecell.log");
    TallykeepSession session(folder(), options);
    ASSERT_NE(session.game, nullptr) << "the game did not appear";
    ASSERT_TRUE(session.results.found()) << "the results window did not appear";
    ASSERT_TRUE(session.selectGame("5", "5")) << session.log.text();
    ASSERT_TRUE(session.winAndAnswerYes(kDefaultTexts, "6")) << session.log.text();
    ASSERT_TRUE(session.closeAndWait());

    EXPECT_EQ(iniValue(session.iniPath(), "Game", "GameNo"), "6");
    EXPECT_EQ(iniValue(session.iniPath(), "Score", "won"), "1");
    EXPECT_EQ(iniValue(session.iniPath(), "Hist", "hist0"), "5 勝ち");
    const std::string logPath = folder().path("Tallykeep.csv");
    EXPECT_NE(readFileBytes(logPath).value_or("").find(",5,1,勝ち,1,1\r\n"), std::string::npos) << "no line for the win";
    const std::vector<std::string> expected = {"added file " + session.iniPath(), "added file " + logPath,
                                               "added file " + logPath + ".idx"};
    EXPECT_EQ(release::changes(before, release::takeSnapshot(folders), ignored), expected);

    session.restart(options);
    ASSERT_TRUE(session.results.found()) << "the results window did not appear again";
    EXPECT_EQ(session.results.numberBox(), "6");
    EXPECT_EQ(session.results.label("Label18"), "1");
    EXPECT_EQ(session.results.history().front(), "5 勝ち");
    EXPECT_TRUE(session.closeAndWait());
}

// Windows 10 has no FreeCell: Tallykeep looks where the classic game lies,
// finds none, and starts the game shipped in its freecell folder.
TEST_F(Release, OnWindows10WithNoGameAnywhereItPlaysTheBundledGame) {
    for (const std::string& place : {windowsFolder(GetWindowsDirectoryA), windowsFolder(GetSystemDirectoryA)})
        ASSERT_FALSE(readFileBytes(place + "\\FREECELL.EXE")) << "a game in " << place;

    SessionOptions options;
    options.windowsVersion = "win10";
    options.gameInWorkingDirectory = false;
    TallykeepSession session(folder(), options);
    ASSERT_NE(session.game, nullptr) << "no game started";
    ASSERT_TRUE(session.results.found()) << "the results window did not appear";
    EXPECT_EQ(executableOf(session.game), shippedGame());
    EXPECT_EQ(findTopLevel(game::kDialogClass, "エラー"), nullptr) << "Freecell Not Found was shown";

    // The game asks for a number; Tallykeep enters the one in its box.
    session.results.setNumberBox("5");
    postKey(session.game, game::kVkF3);
    HWND asked = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(asked, nullptr) << "the game did not ask for a number";
    ASSERT_TRUE(waitUntilGone(asked)) << "Tallykeep did not answer the game-number dialog";

    // Game 5 played to its end with the mouse: Tallykeep counts the win.
    ASSERT_TRUE(postWinningClicks(session.game, 5));
    ASSERT_TRUE(session.results.waitForLabel("Label18", "1", 60s)) << "the win was not counted";
    EXPECT_EQ(session.results.history().front(), "5 勝ち");
    HWND over = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver);
    HWND selectBox = over ? findChild(over, nullptr, kDefaultTexts.CaptionSelectGame) : nullptr;
    ASSERT_NE(selectBox, nullptr);
    ASSERT_TRUE(waitUntil([&] { return isChecked(selectBox); })) << "Tallykeep did not tick the select-game box";
    clickButton(findChild(over, nullptr, kDefaultTexts.CaptionYes));
    HWND next = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(next, nullptr);
    ASSERT_TRUE(waitUntilGone(next)) << "Tallykeep did not enter the next number";
    EXPECT_EQ(session.results.numberBox(), "6");
    screenshotIfAsked();

    // Closing Tallykeep closes the game with it, answering its question.
    HWND game = session.game;
    ASSERT_TRUE(session.closeAndWait());
    EXPECT_TRUE(waitUntilGone(game));
    EXPECT_EQ(findGameWindow(), nullptr);
    EXPECT_EQ(readStatistic("won"), 1);
    EXPECT_EQ(readStatistic("lost"), 1);  // game 6, dealt and ended by the close
    EXPECT_EQ(iniValue(session.iniPath(), "Hist", "hist0"), "5 勝ち");
    // Tallykeep hands its environment to the game: the shipped game writes no log.
    EXPECT_FALSE(readFileBytes(session.log.path())) << session.log.path();
}

// Everything the test build takes from other programs, given to the game that
// ships: it deals, asks and answers as a player's game does, and nothing else.
TEST_F(Release, ShippedGameIgnoresEveryTestCommand) {
    const Sandbox sandbox;
    const std::string log = sandbox.path("freecell.log");
    Process process = Process::start(
        shippedGame(), sandbox.dir(),
        {{freecell::kLogVariable, log}, {freecell::kTextsVariable, "mismatch"}, {freecell::kMaxGameVariable, "3"}});
    HWND window = waitForTopLevel(game::kMainWindowClass, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(windowText(window), kDefaultTexts.TitleConfirm) << "texts taken from the environment";
    EXPECT_EQ(GetDlgItem(window, freecell::kStateControlId), nullptr);
    EXPECT_EQ(GetDlgItem(window, freecell::kBoardControlId), nullptr);

    postKey(window, VK_F2);  // a game in progress, so that winning or losing it could count
    post(window, freecell::kCommandHang, 20000, freecell::kHangConfirm);
    post(window, freecell::kCommandHang, 20000, freecell::kHangGameNumber);
    post(window, freecell::kCommandWin);
    post(window, freecell::kCommandLose);
    post(window, freecell::kCommandMove);
    post(window, freecell::kCommandPing, 1);
    // Handled in order: the resign question of F3 is the first dialog, as no
    // command before it ended the game.
    postKey(window, game::kVkF3);
    HWND confirm = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleConfirm);
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(findTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver), nullptr);
    EXPECT_TRUE(answers(confirm)) << "the end-this-game box hangs";
    EXPECT_EQ(readStatistic("won"), std::nullopt);
    EXPECT_EQ(readStatistic("lost"), std::nullopt);

    clickButton(findChild(confirm, nullptr, kDefaultTexts.CaptionYes));
    HWND asked = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameNumber);
    ASSERT_NE(asked, nullptr);
    EXPECT_TRUE(answers(asked)) << "the game-number dialog hangs";
    // The highest number is the edition's, not the environment's 3.
    SendMessageA(findChild(asked, "Edit", nullptr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("31999"));
    clickButton(findChild(asked, nullptr, "OK"));
    ASSERT_TRUE(waitUntilGone(asked));
    postKey(window, game::kVkF3);
    HWND again = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleConfirm);
    EXPECT_NE(again, nullptr) << "31999 was not dealt";
    EXPECT_EQ(findTopLevel(game::kDialogClass, kDefaultTexts.TitleGameNumber), nullptr);

    EXPECT_EQ(readStatistic("won").value_or(0), 0);
    EXPECT_EQ(readStatistic("lost"), 1);  // the resign, the only result
    EXPECT_FALSE(readFileBytes(log)) << "the shipped game wrote a log";
}

// The keys the menu shows for the player's own dialogs: F4 the statistics
// with their reset, F1 the rules.
TEST_F(Release, ShippedGameOpensStatisticsAndRulesByTheirKeys) {
    ASSERT_TRUE(writeStatistic("won", 3));
    ASSERT_TRUE(writeStatistic("lost", 1));
    ASSERT_TRUE(writeStatistic("wins", 2));
    const Sandbox sandbox;
    Process process = Process::start(shippedGame(), sandbox.dir());
    HWND window = waitForTopLevel(game::kMainWindowClass, nullptr);
    ASSERT_NE(window, nullptr);

    postKey(window, VK_F4);
    HWND statistics = waitForTopLevel(game::kDialogClass, "フリーセルの成績");
    ASSERT_NE(statistics, nullptr) << "F4 opened no statistics";
    const auto shows = [&](const char* text) { return findChild(statistics, "Static", text) != nullptr; };
    EXPECT_TRUE(shows("3 回"));
    EXPECT_TRUE(shows("75 %"));
    EXPECT_TRUE(shows("2 回"));
    clickButton(findChild(statistics, "Button", "リセット(&R)"));
    EXPECT_TRUE(waitUntil([&] { return readStatistic("won") == 0 && readStatistic("lost") == 0; }));
    EXPECT_TRUE(waitUntil([&] { return shows("0 %"); })) << "the dialog still shows the old figures";
    EXPECT_EQ(readStatistic("wins"), 0);
    clickButton(findChild(statistics, "Button", "OK"));
    ASSERT_TRUE(waitUntilGone(statistics));

    postKey(window, VK_F1);
    HWND rules = waitForTopLevel(game::kDialogClass, "フリーセルの遊び方");
    ASSERT_NE(rules, nullptr) << "F1 opened no rules";
    EXPECT_NE(windowText(findChild(rules, "Edit", nullptr)).find("F10"), std::string::npos);
    clickButton(findChild(rules, "Button", "OK"));
    EXPECT_TRUE(waitUntilGone(rules));

    // Left open, the statistics do not keep the game from closing.
    postKey(window, VK_F4);
    ASSERT_NE(waitForTopLevel(game::kDialogClass, "フリーセルの成績"), nullptr);
    post(window, WM_CLOSE);
    EXPECT_TRUE(process.waitForExit(10s).has_value()) << "the game stayed open behind its statistics";
}

}  // namespace
