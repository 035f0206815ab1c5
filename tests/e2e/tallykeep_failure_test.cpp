// Tallykeep.exe when its surroundings misbehave: a settings file full of junk,
// the game killed while Tallykeep waits on its won dialog, and the clipboard
// held open by another program when the game asks for a number.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

constexpr char kErrorBoxTitle[] = "Tallykeep";

int countTopLevel(const char* className, const char* title) {
    int count = 0;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, title)) != nullptr;) ++count;
    return count;
}

std::string messageBoxText(HWND box) {
    for (const ChildWindow& child : children(box))
        if (child.className == "Static" && !child.text.empty()) return child.text;
    return "<no text>";
}

using TallykeepFailures = TallykeepTest;

// Binary bytes, values of 5,000 bytes, a duplicate key, no "Score" or "Show"
// section, and 10 MB of padding in front of it all: the good values load, the
// bad ones give their defaults, and the save keeps everything else.
TEST_F(TallykeepFailures, SettingsFileFullOfJunkLoadsWithDefaultsAndKeepsTheRest) {
    std::string junk = "[Pad]\r\n";
    const std::string padLine = "pad=" + std::string(1000, 'p') + "\r\n";
    while (junk.size() < 10 * 1024 * 1024) junk += padLine;
    std::mt19937 random(14);
    junk += "[Binary]\r\nblob=";
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>(random() & 0xFF);
    junk += "\r\n[Game]\r\nGameNo=7\r\nGameNo=9\r\nTryCnt=" + std::string(5000, '3') + "\r\n";
    junk += "[Hist]\r\nhist0=" + std::string(5000, 'h') + "\r\nhist1=6 勝ち\r\n";
    junk += "[Notes]\r\nowner=手書き\r\n";
    {
        std::ofstream file(sandbox.path("Tallykeep.Ini"), std::ios::binary);
        file << junk;
    }
    start();
    EXPECT_TRUE(results().waitForNumberBox("7")) << "the first of two GameNo keys: " << results().numberBox();
    EXPECT_EQ(results().label("Label1"), "1") << "a TryCnt of 5,000 digits";
    EXPECT_EQ(results().label("Label18"), "0");
    EXPECT_EQ(results().label("Label11"), "0連敗中");
    const std::vector<std::string> history = results().history();
    ASSERT_GE(history.size(), 2u);
    EXPECT_EQ(history[0], std::string(2047, 'h')) << "a value is read up to 2047 bytes";
    EXPECT_EQ(history[1], "6 勝ち");

    ASSERT_TRUE(session->closeAndWait(60s)) << log().text();
    const std::string saved = readFileBytes(session->iniPath()).value_or("");
    EXPECT_GE(saved.size(), 10u * 1024 * 1024) << "the padding was lost";
    EXPECT_NE(saved.find("[Notes]\r\nowner=手書き\r\n"), std::string::npos);
    EXPECT_EQ(iniValue(session->iniPath(), "Game", "GameNo"), "7");
    EXPECT_EQ(iniValue(session->iniPath(), "Game", "TryCnt"), "1");
    EXPECT_EQ(iniValue(session->iniPath(), "Show", "CtlBar"), "1");
    EXPECT_EQ(iniValue(session->iniPath(), "Hist", "hist1"), "6 勝ち");
}

TEST_F(TallykeepFailures, GameKilledWhileItsWonDialogWaitsEndsTallykeepWithItsSettingsSaved) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    const std::size_t mark = log().size();
    standinWin(session->game);
    ASSERT_TRUE(log().waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark)) << log().text();

    DWORD gameId = 0;
    GetWindowThreadProcessId(session->game, &gameId);
    const HANDLE game = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, gameId);
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(TerminateProcess(game, 1));
    WaitForSingleObject(game, 10000);
    CloseHandle(game);

    ASSERT_TRUE(session->tallykeep->waitForExit(20s).has_value()) << "Tallykeep stayed in its wait";
    EXPECT_EQ(iniValue(session->iniPath(), "Score", "won"), "1");
    EXPECT_EQ(iniValue(session->iniPath(), "Game", "GameNo"), "6");
    EXPECT_EQ(iniValue(session->iniPath(), "Hist", "hist0"), "5 勝ち");
}

// Holds the clipboard open for this thread, as another program may.
class HeldClipboard {
public:
    HeldClipboard() : held_(OpenClipboard(nullptr) != FALSE) {}
    ~HeldClipboard() { release(); }
    HeldClipboard(const HeldClipboard&) = delete;
    HeldClipboard& operator=(const HeldClipboard&) = delete;
    bool held() const { return held_; }
    void release() {
        if (held_) CloseClipboard();
        held_ = false;
    }

private:
    bool held_;
};

TEST_F(TallykeepFailures, ClipboardHeldByAnotherProgramShowsOneErrorAndTheNumberGoesInOnceItIsFree) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();  // no game in progress from here
    HeldClipboard clipboard;
    ASSERT_TRUE(clipboard.held());
    const std::size_t mark = log().size();
    results().setNumberBox("8");
    postKey(session->game, game::kVkF3);

    const HWND box = waitForTopLevel("#32770", kErrorBoxTitle);
    ASSERT_NE(box, nullptr) << log().text();
    EXPECT_EQ(messageBoxText(box), "クリップボードを開くことができません");
    int mostBoxes = 0;
    waitUntil(
        [&] {
            mostBoxes = std::max(mostBoxes, countTopLevel("#32770", kErrorBoxTitle));
            return false;
        },
        1500ms);
    EXPECT_EQ(mostBoxes, 1) << "each tick raised its own box";
    EXPECT_EQ(log().count("deal", std::string("8")), 0) << "dealt with the clipboard held";

    clipboard.release();
    EXPECT_TRUE(log().waitFor("deal", std::string("8"), mark)) << "not dealt once the clipboard was free\n"
                                                               << log().text();
    EXPECT_EQ(clipboardText().value_or("<none>"), "8");
    EXPECT_EQ(countTopLevel("#32770", kErrorBoxTitle), 1);
    clickButton(GetDlgItem(box, IDOK));
    EXPECT_TRUE(waitUntilGone(box));
}

}  // namespace
