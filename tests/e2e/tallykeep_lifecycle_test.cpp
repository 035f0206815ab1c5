// Tallykeep.exe finding or launching the game, closing it again at shutdown,
// following minimise and restore, and the control bar's buttons, checked from
// outside: the game's log, its windows and the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <windows.h>
// psapi.h needs <windows.h> first.
#include <psapi.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

// The executable behind a window, as a Windows path.
std::string executableOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return "<cannot open process>";
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameExA(process, nullptr, path, sizeof path);
    CloseHandle(process);
    return std::string(path, length);
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

// A copy of FREECELL.EXE in a system folder for one test.
class ProgramInFolder {
public:
    explicit ProgramInFolder(const std::string& folder) : path_(folder + "\\FREECELL.EXE") {
        CopyFileA((binDir() + "\\FREECELL.EXE").c_str(), path_.c_str(), FALSE);
    }
    // A running program cannot be deleted: the copy that was launched goes first.
    ~ProgramInFolder() {
        killStrayPrograms();
        const bool deleted =
            waitUntil([&] { return DeleteFileA(path_.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; });
        EXPECT_TRUE(deleted) << path_ << " is left behind";
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string systemDirectory() {
    char buffer[MAX_PATH] = {};
    GetSystemDirectoryA(buffer, sizeof buffer);
    return buffer;
}

std::string windowsDirectory() {
    char buffer[MAX_PATH] = {};
    GetWindowsDirectoryA(buffer, sizeof buffer);
    return buffer;
}

using TallykeepLifecycle = TallykeepTest;

TEST_F(TallykeepLifecycle, RunningGameIsUsedWithoutALaunch) {
    SessionOptions options;
    options.gameRunningFirst = true;
    start(options);
    EXPECT_EQ(session->game, session->runningGame->mainWindow);
    EXPECT_EQ(log().count("start"), 1) << log().text();
    // Closing Tallykeep closes that game.
    ASSERT_TRUE(session->closeAndWait()) << log().text();
    EXPECT_TRUE(session->runningGame->process.waitForExit(10s).has_value());
}

TEST_F(TallykeepLifecycle, GameInTheWorkingDirectoryIsLaunched) {
    start();
    EXPECT_TRUE(sameFile(executableOf(session->game), sandbox.path("FREECELL.EXE"))) << executableOf(session->game);
}

TEST_F(TallykeepLifecycle, GameOnlyInTheSystemDirectoryIsLaunchedFromThere) {
    ProgramInFolder installed(systemDirectory());
    SessionOptions options;
    options.gameInWorkingDirectory = false;
    options.windowsVersion = "winxp";
    start(options);
    EXPECT_TRUE(sameFile(executableOf(session->game), installed.path())) << executableOf(session->game);
}

TEST_F(TallykeepLifecycle, OnWindows95TheWindowsDirectoryIsSearched) {
    ProgramInFolder installed(windowsDirectory());
    SessionOptions options;
    options.gameInWorkingDirectory = false;
    options.windowsVersion = "win95";
    start(options);
    EXPECT_TRUE(sameFile(executableOf(session->game), installed.path())) << executableOf(session->game);
}

TEST_F(TallykeepLifecycle, GameNowhereShowsTheBoxAndOkEndsTheProgramWithItsSettingsSaved) {
    SessionOptions options;
    options.gameInWorkingDirectory = false;
    options.waitForWindows = false;
    session.emplace(sandbox, options);
    HWND box = waitForTopLevel(game::kDialogClass, "エラー");
    ASSERT_NE(box, nullptr) << "game window: " << findGameWindow() << " "
                            << (findGameWindow() ? executableOf(findGameWindow()) : std::string());
    EXPECT_NE(findChild(box, nullptr, "Freecell Not Found"), nullptr);
    // The box is found as soon as it exists; it is ready once it shows.
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(box) != FALSE; }));
    HWND ok = findChild(box, "Button", "OK");
    ASSERT_NE(ok, nullptr);
    clickButton(ok);
    ASSERT_TRUE(session->tallykeep->waitForExit(20s).has_value())
        << "box still open: " << (IsWindow(box) != FALSE) << ", game window: " << findGameWindow();
    EXPECT_TRUE(saved());
    EXPECT_EQ(findGameWindow(), nullptr);
}

TEST_F(TallykeepLifecycle, ClosingMidGameAnswersTheGamesQuestionThenSaves) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    ASSERT_TRUE(session->closeAndWait()) << log().text();
    EXPECT_TRUE(log().find("confirm-yes").size() == 1) << log().text();
    EXPECT_TRUE(log().waitFor("exit", std::nullopt, 0, 5s)) << log().text();
    EXPECT_TRUE(saved());
    EXPECT_EQ(iniValue(session->iniPath(), "Game", "GameNo"), "5");
}

TEST_F(TallykeepLifecycle, ClosingWithoutAGameClosesTheGameAtOnce) {
    start();
    ASSERT_TRUE(session->closeAndWait()) << log().text();
    EXPECT_EQ(log().count("confirm-open"), 0) << log().text();
    EXPECT_TRUE(log().waitFor("exit", std::nullopt, 0, 5s)) << log().text();
    EXPECT_TRUE(saved());
}

// The game stops answering while its end-this-game box is open: the close
// wait gives up after its limit and Tallykeep saves and ends all the same.
TEST_F(TallykeepLifecycle, HungGameCannotKeepTallykeepFromEnding) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    standinHangNextConfirm(session->game, 120s);
    ASSERT_TRUE(standinSync(session->game, log()));
    const auto asked = std::chrono::steady_clock::now();
    session->results.close();
    ASSERT_TRUE(session->tallykeep->waitForExit(40s).has_value()) << log().text();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - asked);
    std::printf("Tallykeep ended %lld ms after the close request\n", static_cast<long long>(took.count()));
    EXPECT_TRUE(saved());
    EXPECT_EQ(iniValue(session->iniPath(), "Game", "GameNo"), "5");
}

TEST_F(TallykeepLifecycle, EndOfTheWindowsSessionRunsTheShutdown) {
    start();
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutA(session->results.window(), WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 30000, &answer), 0);
    EXPECT_EQ(answer, TRUE);
    EXPECT_TRUE(waitUntilGone(session->game)) << log().text();
    EXPECT_TRUE(saved());
    SendMessageTimeoutA(session->results.window(), WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 5000, &answer);
    EXPECT_TRUE(session->tallykeep->waitForExit(20s).has_value());
}

// The game and the control bar go with the results window and come back
// with it: no bar is left alone on top of an empty desktop.
TEST_F(TallykeepLifecycle, GameAndControlBarFollowMinimiseAndRestore) {
    start();
    const HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
    ASSERT_TRUE(bar && waitUntil([&] { return IsWindowVisible(bar) != FALSE; }));
    post(session->results.window(), WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(waitUntil([&] { return isIconic(session->game); })) << log().text();
    EXPECT_TRUE(log().waitFor("msg", std::string("main WM_SYSCOMMAND 61472"))) << log().text();
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) == FALSE; })) << "the bar stayed on the desktop";
    post(session->results.window(), WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return !isIconic(session->game); })) << log().text();
    EXPECT_TRUE(log().waitFor("msg", std::string("main WM_SYSCOMMAND 61728"))) << log().text();
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) != FALSE; })) << "the bar did not come back";
    EXPECT_NE(iniValue(session->iniPath(), "Show", "CtlBar"), "0") << "the option itself was not switched";
}

// The group goes as one whichever of the three the player minimises: the
// game (its own minimise box, its taskbar button) and the control bar (its
// system menu) take the others along, and the game restored brings them back.
TEST_F(TallykeepLifecycle, MinimisingTheGameOrTheBarTakesTheGroupAlongAndTheGameBringsItBack) {
    start();
    const HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
    const HWND results = session->results.window();
    ASSERT_TRUE(bar && waitUntil([&] { return IsWindowVisible(bar) != FALSE; }));
    const auto groupMinimised = [&] {
        return waitUntil([&] { return isIconic(session->game) && isIconic(results) && IsWindowVisible(bar) == FALSE; });
    };
    const auto groupBack = [&] {
        return waitUntil([&] { return !isIconic(session->game) && !isIconic(results) && IsWindowVisible(bar) != FALSE; });
    };

    post(session->game, WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(groupMinimised()) << "Tallykeep stayed on an empty desktop";
    post(session->game, WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(groupBack()) << "Tallykeep stayed minimised";

    post(bar, WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(groupMinimised()) << log().text();
    post(session->game, WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(groupBack());
}

// The control bar's buttons, clicked: each posts exactly its sequence.
class TallykeepControlBar : public TallykeepLifecycle {
protected:
    HWND button(const char* caption) {
        HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
        return bar ? waitForChild(bar, nullptr, caption) : nullptr;
    }

    // 開始 pressed while the won dialog waits for the player is no answer to it:
    // the press is dropped, not carried out after the dialog, where it would end
    // the game dealt next. `press` presses it; the game's log from before the win
    // is marked at the returned line.
    std::size_t pressStartWhileTheWonDialogWaits(const std::function<void()>& press) {
        const std::size_t mark = log().size();
        standinWin(session->game);
        EXPECT_TRUE(log().waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark)) << log().text();
        press();
        waitUntil([] { return false; }, 500ms);
        const HWND dialog = findTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver);
        const HWND yes = dialog ? findChild(dialog, nullptr, kDefaultTexts.CaptionYes) : nullptr;
        EXPECT_NE(yes, nullptr);
        clickButton(yes);
        EXPECT_TRUE(log().waitFor("deal", std::string("6"), mark)) << log().text();
        // A press carried out after the dialog would reach the game now.
        waitUntil([] { return false; }, 1500ms);
        const std::vector<std::string> messages = mainMessages(mark);
        EXPECT_EQ(std::count(messages.begin(), messages.end(), "WM_KEYDOWN 114"), 0) << log().text();
        EXPECT_EQ(session->results.label("Label1"), "1") << "game 6 was ended";
        return mark;
    }

    // The main window's messages from line `from` on, as "MESSAGE wParam".
    std::vector<std::string> mainMessages(std::size_t from) const {
        std::vector<std::string> messages;
        const std::vector<LogLine> lines = log().lines();
        for (std::size_t i = from; i < lines.size(); ++i)
            if (lines[i].event == "msg" && lines[i].details.rfind("main ", 0) == 0 &&
                lines[i].details.find("STANDIN_") == std::string::npos)
                messages.push_back(lines[i].details.substr(5));
        return messages;
    }
};

TEST_F(TallykeepControlBar, StartPostsF3AndTheNumberIsDealt) {
    start();
    const std::size_t mark = log().size();
    session->results.setNumberBox("8");
    clickButton(button("開始"));
    ASSERT_TRUE(log().waitFor("deal", std::string("8"), mark)) << log().text();
    EXPECT_EQ(mainMessages(mark), (std::vector<std::string>{"WM_KEYDOWN 114", "WM_KEYUP 114"}));
}

TEST_F(TallykeepControlBar, StartPressedWhileTheWonDialogWaitsIsDropped) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    pressStartWhileTheWonDialogWaits([this] { clickButton(button("開始")); });
}

// The same press made with the real mouse, after the player looked at the
// dialog a while: Tallykeep is waiting for the answer then, and the click
// waits in its input queue until the wait ends.
TEST_F(TallykeepControlBar, StartClickedWithTheMouseWhileTheWonDialogWaitsIsDropped) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    const std::size_t mark = pressStartWhileTheWonDialogWaits([this] {
        waitUntil([] { return false; }, 2s);  // the player reads the dialog
        realClick(button("開始"));
    });
    // The same click with no dialog open is carried out.
    realClick(button("開始"));
    EXPECT_TRUE(log().waitFor("msg", std::string("main WM_KEYDOWN 114"), mark)) << log().text();
}

TEST_F(TallykeepControlBar, RedoPostsTheMenuRouteAndTheGameRestarts) {
    start();
    ASSERT_TRUE(session->selectGame("8", "8")) << log().text();
    const std::size_t mark = log().size();
    clickButton(button("やり直し"));
    ASSERT_TRUE(log().waitFor("restart", std::string("8"), mark)) << log().text();
    ASSERT_TRUE(log().waitFor("deal", std::string("8"), mark)) << log().text();
    EXPECT_EQ(mainMessages(mark), (std::vector<std::string>{"WM_SYSCOMMAND 61696", "WM_SYSKEYDOWN 71", "WM_KEYUP 18",
                                                            "WM_KEYDOWN 82", "WM_KEYUP 82"}));
    // The game asked first; Tallykeep answered and counted the resign.
    EXPECT_TRUE(session->results.waitForLabel("Label1", "2"));
}

TEST_F(TallykeepControlBar, UndoPostsF10AndTheGameTakesBackAMove) {
    start();
    ASSERT_TRUE(session->selectGame("8", "8")) << log().text();
    standinMove(session->game);
    ASSERT_TRUE(log().waitFor("move", std::string("moves=1"))) << log().text();
    const std::size_t mark = log().size();
    clickButton(button("１つ戻す"));
    ASSERT_TRUE(log().waitFor("undo", std::string("moves=0"), mark)) << log().text();
    ASSERT_TRUE(log().waitFor("msg", std::string("main WM_KEYUP 121"), mark)) << log().text();
    EXPECT_EQ(mainMessages(mark), (std::vector<std::string>{"WM_KEYDOWN 121", "WM_KEYUP 121"}));
}

TEST_F(TallykeepControlBar, ExitClosesTheGameAndTheProgram) {
    start();
    ASSERT_TRUE(session->selectGame("8", "8")) << log().text();
    clickButton(button("終了"));
    ASSERT_TRUE(session->tallykeep->waitForExit(30s).has_value()) << log().text();
    EXPECT_EQ(log().count("confirm-yes"), 1) << log().text();
    EXPECT_TRUE(log().waitFor("exit", std::nullopt, 0, 5s)) << log().text();
    EXPECT_TRUE(saved());
}

TEST_F(TallykeepControlBar, MenuItemHidesAndShowsTheBarAndTheSettingFollows) {
    start();
    HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(bar) != FALSE; }));
    session->results.menuCommand(kCmdControlBar);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) == FALSE; }));
    session->results.menuCommand(kCmdControlBar);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) != FALSE; }));
    session->results.menuCommand(kCmdControlBar);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) == FALSE; }));
    ASSERT_TRUE(session->closeAndWait());
    EXPECT_EQ(iniValue(session->iniPath(), "Show", "CtlBar"), "0");
}

// The bar's close box ends Tallykeep as 終了 does (it used to hide the bar,
// which the next activation brought back: a click that did nothing).
TEST_F(TallykeepControlBar, CloseBoxEndsTallykeepAsExitDoes) {
    start();
    ASSERT_TRUE(session->selectGame("8", "8")) << log().text();
    HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
    ASSERT_NE(bar, nullptr);
    post(bar, WM_CLOSE);
    ASSERT_TRUE(session->tallykeep->waitForExit(30s).has_value()) << log().text();
    EXPECT_EQ(log().count("confirm-yes"), 1) << log().text();
    EXPECT_TRUE(log().waitFor("exit", std::nullopt, 0, 5s)) << log().text();
    EXPECT_EQ(iniValue(session->iniPath(), "Show", "CtlBar"), "1");
}

}  // namespace
