// Tallykeep.exe beside the stand-in game: the results window at start-up and
// the watcher answering the game's dialogs, checked from outside through the
// game's log, the clipboard and the results window's texts.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

using TallykeepE2E = TallykeepTest;

TEST_F(TallykeepE2E, FreshStartShowsTheDefaultsInTheResultsWindow) {
    start();
    EXPECT_EQ(results().numberBox(), "1");
    EXPECT_EQ(results().label("Label1"), "1");
    EXPECT_EQ(results().label("Label2"), "回目");
    EXPECT_EQ(results().label("Label13"), "00.00%");
    EXPECT_EQ(results().label("Label9"), "00.00%");
    for (const char* count : {"Label16", "Label17", "Label18", "Label19", "Label20", "Label21"})
        EXPECT_EQ(results().label(count), "0") << count;
    EXPECT_EQ(results().label("Label11"), "0連敗中");
    EXPECT_EQ(results().label("Label12"), "今　回");
    EXPECT_EQ(results().label("Label8"), "連勝/連敗の記録");
}

TEST_F(TallykeepE2E, AnswersTheGameNumberDialogWithTheBoxNumber) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    EXPECT_EQ(clipboardText().value_or("<none>"), "5");
    EXPECT_EQ(results().label("Label1"), "1");
}

// 0 names no deal and -1, -2 are the game's fixed layouts; a number above
// the highest is a typo, not game 1: the box's number is refused with an
// error box in front of the game, nothing is dealt, and the dialog waits for
// a number that can be (the prefix plays Windows XP, whose game deals up to
// 1,000,000).
TEST_F(TallykeepE2E, NumbersOutsideTheRangeAreRefusedAndTheDialogWaitsForANumber) {
    SessionOptions options;
    options.windowsVersion = "winxp";
    start(options);
    const std::size_t mark = log().size();
    for (const char* number : {"-1", "1000001"}) {
        results().setNumberBox(number);
        postKey(session->game, game::kVkF3);
        const HWND box = waitForTopLevel(game::kDialogClass, "Tallykeep");
        ASSERT_NE(box, nullptr) << log().text();
        std::string text;
        EXPECT_TRUE(waitUntil([&] {
            for (const ChildWindow& child : children(box))
                if (child.className == "Static" && !child.text.empty()) text = child.text;
            return text == std::string("「") + number + "」はゲーム番号にできません（1 から 1,000,000 まで）";
        })) << text;
        EXPECT_EQ(GetWindow(box, GW_OWNER), results().window());
        EXPECT_TRUE(waitUntil([&] { return above(box, session->game); })) << number << ": the box is behind the game";
        EXPECT_EQ(log().count("deal"), 0) << log().text();
        clickButton(GetDlgItem(box, IDOK));
        ASSERT_TRUE(waitUntilGone(box));
        // The game's dialog stays open: the next F3 asks nothing new.
        const HWND dialog = findTopLevel(nullptr, kDefaultTexts.TitleGameNumber);
        if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(waitUntilGone(dialog));
    }
    results().setNumberBox("7");
    postKey(session->game, game::kVkF3);
    EXPECT_TRUE(log().waitFor("deal", std::string("7"), mark)) << log().text();
}

// The game refuses a number above its own highest and opens a new dialog at
// once (here a game of 32,000 deals beside Tallykeep's 1,000,000 of Windows
// XP): Tallykeep stops pressing after its bound, stays responsive, and deals
// what the user types next.
TEST_F(TallykeepE2E, RefusedNumberIsNotPressedForeverAndTheNextTypedNumberIsDealt) {
    SessionOptions options;
    options.windowsVersion = "winxp";
    options.environment = {{"FREECELL_MAXGAME", "32000"}};
    start(options);
    const std::size_t mark = log().size();
    results().setNumberBox("50000");
    postKey(session->game, game::kVkF3);
    ASSERT_TRUE(log().waitFor("refused", std::string("50000"), mark)) << log().text();

    // Within the bound (a few seconds) the refusals stop growing.
    int refusals = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            const int now = log().count("refused");
            const bool settled = now == refusals;
            refusals = now;
            Sleep(1000);
            return settled && log().count("refused") == now;
        },
        30s))
        << log().text();

    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(results().window(), WM_NULL, 0, 0, SMTO_BLOCK, 2000, &answer), 0)
        << "the results window does not answer";

    results().setNumberBox("7");
    EXPECT_TRUE(log().waitFor("deal", std::string("7"), mark)) << log().text();
}

TEST_F(TallykeepE2E, FirstAttemptWinIsCountedAndTheNextNumberDealt) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();
    EXPECT_EQ(results().history().at(0), "5 勝ち");
    EXPECT_EQ(results().numberBox(), "6");
    EXPECT_EQ(results().label("Label1"), "1");
    EXPECT_EQ(results().label("Label16"), "1");
    EXPECT_EQ(results().label("Label17"), "0");
    EXPECT_EQ(results().label("Label18"), "1");
    EXPECT_EQ(results().label("Label13"), "100.00%");
    EXPECT_EQ(results().label("Label9"), "100.00%");
    EXPECT_EQ(results().label("Label20"), "1");
    EXPECT_EQ(results().label("Label11"), "1連勝中");
    EXPECT_EQ(clipboardText().value_or("<none>"), "6");
}

TEST_F(TallykeepE2E, OnlyTheFirstLossCountsAndTheLaterWinNamesTheAttempt) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    ASSERT_TRUE(session->loseAndRedeal("5")) << log().text();
    EXPECT_TRUE(results().waitForLabel("Label1", "2"));
    ASSERT_TRUE(session->loseAndRedeal("5")) << log().text();
    EXPECT_TRUE(results().waitForLabel("Label1", "3"));
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();
    EXPECT_EQ(results().history().at(0), "5 負け（3回）");
    EXPECT_EQ(results().label("Label17"), "1");
    EXPECT_EQ(results().label("Label16"), "0");
    EXPECT_EQ(results().label("Label13"), "00.00%");
    EXPECT_EQ(results().label("Label21"), "1");
    EXPECT_EQ(results().label("Label11"), "1連敗中");
    EXPECT_EQ(results().label("Label1"), "1");
}

TEST_F(TallykeepE2E, EndThisGameBoxCountsAsALoss) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    const std::size_t mark = log().size();
    postKey(session->game, game::kVkF3);  // another game: the game asks first
    ASSERT_TRUE(log().waitFor("confirm-yes", std::nullopt, mark)) << log().text();
    EXPECT_TRUE(results().waitForLabel("Label1", "2"));
    EXPECT_TRUE(results().waitForLabel("Label17", "1"));
    EXPECT_EQ(results().label("Label19"), "1");
    EXPECT_EQ(results().label("Label11"), "1連敗中");
}

TEST_F(TallykeepE2E, TextsOfNoKnownGameAreNeitherAnsweredNorCounted) {
    SessionOptions options;
    options.environment = {{"FREECELL_TEXTS", "mismatch"}};
    start(options);
    const std::size_t mark = log().size();
    results().setNumberBox("5");
    postKey(session->game, game::kVkF3);
    ASSERT_TRUE(log().waitFor("dialog-open", std::nullopt, mark)) << log().text();
    Sleep(1500);  // a dozen ticks: none of them may answer
    EXPECT_EQ(log().count("deal"), 0) << log().text();
    EXPECT_EQ(log().count("msg", std::string("edit WM_PASTE 0")), 0) << log().text();
    EXPECT_EQ(results().label("Label1"), "1");
    EXPECT_EQ(results().label("Label17"), "0");
}

TEST_F(TallykeepE2E, ClosesByItselfWhenTheGameHasGone) {
    start();
    const HWND game = session->game;
    post(game, WM_CLOSE);  // no game in progress: the game closes at once
    ASSERT_TRUE(waitUntilGone(game)) << log().text();
    const auto gone = std::chrono::steady_clock::now();
    ASSERT_TRUE(session->tallykeep->waitForExit(10s).has_value());
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - gone);
    std::printf("Tallykeep ended %lld ms after the game's window was gone\n", static_cast<long long>(waited.count()));
    EXPECT_TRUE(readFileBytes(session->iniPath()).has_value()) << "the settings were not saved";
}

// Each emulated Windows version: the game shows the texts of that version's
// edition, and Tallykeep recognises them for one win and one loss.
struct VersionCase {
    const char* version;
    const ProfileTexts* texts;
    int maxGameNo;
};

void PrintTo(const VersionCase& versionCase, std::ostream* out) { *out << versionCase.version; }

class TallykeepVersions : public TallykeepE2E, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(TallykeepVersions, WinsAndLossesAreRecognisedWithThatVersionsTexts) {
    const VersionCase& param = GetParam();
    SessionOptions options;
    options.windowsVersion = param.version;
    start(options);
    ASSERT_TRUE(session->selectGame(std::to_string(param.maxGameNo), std::to_string(param.maxGameNo))) << log().text();
    ASSERT_TRUE(session->loseAndRedeal(std::to_string(param.maxGameNo))) << log().text();
    EXPECT_TRUE(results().waitForLabel("Label17", "1"));
    EXPECT_TRUE(results().waitForLabel("Label1", "2"));
    // One above the highest number goes back to game 1 after the win.
    ASSERT_TRUE(session->winAndAnswerYes(*param.texts, "1")) << log().text();
    EXPECT_EQ(results().history().at(0), std::to_string(param.maxGameNo) + " 負け（2回）");
    EXPECT_EQ(results().numberBox(), "1");
}

INSTANTIATE_TEST_SUITE_P(
    Versions, TallykeepVersions,
    ::testing::Values(VersionCase{"win95", &kWin95Texts, 32000}, VersionCase{"win98", &kWin98MeTexts, 32000},
                      VersionCase{"winme", &kWin98MeTexts, 32000}, VersionCase{"nt40", &kNt4Texts, 32000},
                      VersionCase{"win2k", &kDefaultTexts, 32000}, VersionCase{"winxp", &kDefaultTexts, 1000000},
                      VersionCase{"win7", &kDefaultTexts, 32000}),
    [](const auto& info) { return std::string(info.param.version); });

}  // namespace
