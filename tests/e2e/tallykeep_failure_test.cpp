// Tallykeep.exe when its surroundings misbehave: a settings file full of junk,
// the game killed while Tallykeep waits on its won dialog, the clipboard held
// open by another program when the game asks for a number, and the game hung
// with its game-number dialog open.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "gamelink/watcher.h"
#include "harness/harness.h"
#include "boxes_and_files.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

constexpr char kErrorBoxTitle[] = "Tallykeep";

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
    // What the player copied last is theirs again once the game has pasted.
    ASSERT_TRUE(setClipboardText("コピーした文"));
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
    EXPECT_TRUE(waitUntil([] { return clipboardText() == std::optional<std::string>("コピーした文"); }))
        << clipboardText().value_or("<none>");
    EXPECT_EQ(countTopLevel("#32770", kErrorBoxTitle), 1);
    clickButton(GetDlgItem(box, IDOK));
    EXPECT_TRUE(waitUntilGone(box));
}

// Post times (GetTickCount) of the pastes and Enter keys that piled up in a
// hung game-number dialog, from the game's "queued" lines.
std::vector<DWORD> queuedPresses(const StandinLog& log, std::size_t from) {
    std::vector<DWORD> times;
    const std::vector<LogLine> lines = log.lines();
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].event != "queued") continue;
        std::istringstream details(lines[i].details);
        std::string target, message, wParam;
        DWORD tick = 0;
        details >> target >> message >> wParam >> tick;
        const bool paste = target == "edit" && message == "WM_PASTE";
        const bool enter = target == "okbutton" && message == "WM_KEYDOWN" && wParam == "13";
        if (paste || enter) times.push_back(tick);
    }
    return times;
}

// Signed distance between two GetTickCount values.
long ticksBetween(DWORD from, DWORD to) { return static_cast<int32_t>(to - from); }

// The game sleeps for 9 s with its game-number dialog open. Tallykeep presses
// the dialog for its wait limit and then leaves it; it answers sent messages
// all along, runs the menu commands that waited for the pressing to end while
// the game still sleeps, and once the game wakes it deals the number once.
TEST_F(TallykeepFailures, GameHungWithItsNumberDialogOpenIsPressedOnlyForTheLimitAndDealsOnceAwake) {
    constexpr auto kHang = 9s;
    constexpr long kLimitMs = static_cast<long>(GameWatcher::kGameWaitLimitMs);
    start();
    const HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(bar) != FALSE; }));
    standinHangNextGameNumber(session->game, kHang);
    ASSERT_TRUE(standinSync(session->game, log()));
    const std::size_t mark = log().size();
    results().setNumberBox("5");
    const DWORD clipboardBefore = GetClipboardSequenceNumber();
    const DWORD asked = GetTickCount();
    postKey(session->game, game::kVkF3);
    ASSERT_TRUE(log().waitFor("hang", std::nullopt, mark)) << log().text();
    // The number goes on the clipboard right before the pressing starts. A menu
    // command from then on waits until the pressing has ended: nothing else of
    // Tallykeep runs inside the tick's loop. (The sequence number is read
    // without opening the clipboard, which Tallykeep needs at that moment.)
    ASSERT_TRUE(waitUntil([&] { return GetClipboardSequenceNumber() != clipboardBefore; }));
    results().menuCommand(kCmdControlBar);

    struct Probe {
        DWORD at;
        bool answered;
    };
    std::vector<Probe> probes;
    DWORD worstAnswerMs = 0, hiddenAt = 0, shownAt = 0, wokeAt = 0;
    bool hiddenWhileHung = false, shownWhileHung = false;
    const bool woke = waitUntil(
        [&] {
            const DWORD at = GetTickCount();
            DWORD_PTR answer = 0;
            const bool answered =
                SendMessageTimeoutA(results().window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) != 0;
            worstAnswerMs = std::max<DWORD>(worstAnswerMs, GetTickCount() - at);
            probes.push_back({at, answered});
            const bool visible = IsWindowVisible(bar) != FALSE;
            // Read after the bar: a bar seen changed before the hang ended.
            const bool hung = log().count("hang-end") == 0;
            if (!hiddenAt && !visible) {
                hiddenAt = GetTickCount();
                hiddenWhileHung = hung;
                results().menuCommand(kCmdControlBar);
            } else if (hiddenAt && !shownAt && visible) {
                shownAt = GetTickCount();
                shownWhileHung = hung;
            }
            if (!hung) wokeAt = GetTickCount();
            return !hung;
        },
        kHang + 20s);
    ASSERT_TRUE(woke) << log().text();
    ASSERT_TRUE(log().waitFor("deal", std::string("5"), mark)) << log().text();

    const std::vector<DWORD> presses = queuedPresses(log(), mark);
    ASSERT_GE(presses.size(), 2u) << log().text();
    const DWORD firstPress =
        *std::min_element(presses.begin(), presses.end(), [](DWORD a, DWORD b) { return ticksBetween(a, b) > 0; });
    const DWORD lastPress =
        *std::max_element(presses.begin(), presses.end(), [](DWORD a, DWORD b) { return ticksBetween(a, b) > 0; });
    std::printf(
        "%zu pastes and Enter keys posted from +%ld to +%ld ms after F3; bar hidden at +%ld, shown at "
        "+%ld, game awake at +%ld ms; %zu sent messages answered within %lu ms at worst\n",
        presses.size(), ticksBetween(asked, firstPress), ticksBetween(asked, lastPress), ticksBetween(asked, hiddenAt),
        ticksBetween(asked, shownAt), ticksBetween(asked, wokeAt), probes.size(),
        static_cast<unsigned long>(worstAnswerMs));

    EXPECT_GE(ticksBetween(asked, firstPress), 0) << "post times are not GetTickCount";
    EXPECT_LE(ticksBetween(firstPress, lastPress), kLimitMs + 1500) << "kept pressing past its limit";
    EXPECT_GE(ticksBetween(firstPress, lastPress), kLimitMs - 1000) << "gave up before its limit";
    EXPECT_GE(ticksBetween(lastPress, wokeAt), 1500) << "the game was not hung long after the last press";

    EXPECT_TRUE(std::all_of(probes.begin(), probes.end(), [](const Probe& probe) { return probe.answered; }))
        << "a sent message was not answered within 1 s";
    const auto probedWhile = [&](DWORD from, DWORD to) {
        return std::any_of(probes.begin(), probes.end(), [&](const Probe& probe) {
            return ticksBetween(from, probe.at) >= 0 && ticksBetween(probe.at, to) > 0;
        });
    };
    EXPECT_TRUE(probedWhile(firstPress, lastPress)) << "no probe while Tallykeep pressed";
    EXPECT_TRUE(probedWhile(lastPress, wokeAt)) << "no probe after Tallykeep gave up";

    ASSERT_NE(hiddenAt, 0u) << "the control bar command was never handled";
    EXPECT_GE(ticksBetween(lastPress, hiddenAt), 0) << "a menu command ran inside the pressing loop";
    EXPECT_TRUE(hiddenWhileHung) << "the command waited for the game";
    EXPECT_NE(shownAt, 0u);
    EXPECT_TRUE(shownWhileHung) << "a command after the limit waited for the game";

    EXPECT_EQ(log().find("msg", std::string("edit WM_PASTE 0")).size(), 1u);
    EXPECT_EQ(log().count("refused"), 0) << log().text();
    EXPECT_EQ(results().label("Label1"), "1");
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();
    EXPECT_EQ(log().count("deal", std::string("5")), 1) << log().text();
    const std::vector<std::string> history = results().history();
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history[0], "5 勝ち");
}

}  // namespace
