#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "common/app_error.h"
#include "fake_desktop.h"
#include "gamelink/game_contract.h"
#include "gamelink/watcher.h"

namespace {

const ProfileTexts kTestTexts = {
    "ゲーム番号", "ゲーム終了", "同じゲームを繰り返す(&S)", "はい(&Y)",
    "ゲームを選択する(&S)", "フリーセル", "このゲームを終了しますか?",
};

// The results window; with writesFail every display write raises, as a
// window that cannot take its new text would. The number box is no display:
// it is where the next game number comes from, and it keeps working.
class FakeHost : public WatcherHost {
public:
    std::string numberBoxText() override { return box; }
    void setNumberBoxText(const std::string& text) override { box = text; }
    void setAttemptText(const std::string& text) override
    {
        failIfAsked();
        attemptTexts.push_back(text);
    }
    void insertHistoryLine(const std::string& line) override
    {
        failIfAsked();
        history.insert(history.begin(), line);
    }
    void RecordWin() override { ++wins; }
    void RecordLoss() override { ++losses; }
    void HyoujiUpdate() override
    {
        failIfAsked();
        ++updates;
    }
    void closeResultsWindow() override { ++closeRequests; }

    void failIfAsked() const
    {
        if (writesFail)
            throw AppError("SetWindowTextA failed");
    }

    bool writesFail = false;
    std::string box = "5";
    std::vector<std::string> attemptTexts;
    std::vector<std::string> history;
    int wins = 0;
    int losses = 0;
    int updates = 0;
    int closeRequests = 0;
};

OsProfile testProfile()
{
    OsProfile profile;
    profile.texts = kTestTexts;
    profile.MaxGameNo = 32000;
    return profile;
}

class WatcherTest : public ::testing::Test {
protected:
    void SetUp() override { game.start(); }
    void tick() { watcher.tick(context); }
    // Every game-number dialog that the game left open goes away.
    void closeGameNumberDialogs()
    {
        while (const WindowId dialog = desktop.findTopLevel(nullptr, kTestTexts.TitleGameNumber))
            desktop.destroyWindow(dialog);
    }
    std::vector<FakeDesktop::Call> posts() const { return desktop.callsOf(FakeDesktop::Call::Post); }
    size_t postsTo(WindowId window) const
    {
        size_t count = 0;
        for (const auto& call : posts())
            count += call.window == window;
        return count;
    }

    FakeDesktop desktop;
    FakeClipboard clipboard;
    OsProfile profile = testProfile();
    FakeHost host;
    int32_t GameNo = 5;
    int32_t TryCnt = 1;
    WatcherContext context{desktop, clipboard, profile, host, GameNo, TryCnt};
    GameWatcher watcher;
    FakeGame game{desktop, clipboard, profile.texts};
};

// Game-number dialog (branch A)

TEST_F(WatcherTest, BoxHoldingGameNoKeepsTheAttemptAndDealsIt)
{
    TryCnt = 3;
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(TryCnt, 3);
    EXPECT_EQ(GameNo, 5);
    EXPECT_EQ(clipboard.content, "5");
    EXPECT_EQ(host.attemptTexts, std::vector<std::string>{"3"});
    EXPECT_EQ(game.dealt, std::vector<std::string>{"5"});
}

TEST_F(WatcherTest, BoxHoldingAnotherNumberStartsAFirstAttemptAtIt)
{
    TryCnt = 3;
    host.box = "9";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(TryCnt, 1);
    EXPECT_EQ(GameNo, 9);
    EXPECT_EQ(game.dealt, std::vector<std::string>{"9"});
}

TEST_F(WatcherTest, MaxGameNoIsDealt)
{
    host.box = "32000";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(GameNo, 32000);
    EXPECT_EQ(host.box, "32000");
    EXPECT_EQ(game.dealt, std::vector<std::string>{"32000"});
}

TEST_F(WatcherTest, NumberAboveMaxGameNoBecomesGameOne)
{
    host.box = "32001";
    TryCnt = 4;
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(host.box, "1");
    EXPECT_EQ(GameNo, 1);
    EXPECT_EQ(TryCnt, 1);
    EXPECT_EQ(clipboard.content, "1");
}

TEST_F(WatcherTest, ZeroAndNegativeNumbersPassUnchanged)
{
    host.box = "0";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(GameNo, 0);
    host.box = "-7";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(GameNo, -7);
    EXPECT_EQ(game.dealt, (std::vector<std::string>{"0", "-7"}));
}

TEST_F(WatcherTest, LeadingZerosAreDroppedAndOneClipboardWriteSuffices)
{
    host.box = "007";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(GameNo, 7);
    EXPECT_EQ(clipboard.content, "7");
    EXPECT_EQ(clipboard.writes, 1);
}

TEST_F(WatcherTest, EmptyBoxRaisesTheIntegerErrorAndChangesNothing)
{
    host.box = "";
    TryCnt = 2;
    game.showGameNumberDialog();
    desktop.destroyWindow(game.mainWindow);
    try {
        tick();
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(GameNo, 5);
    EXPECT_EQ(TryCnt, 2);
    EXPECT_EQ(clipboard.writes, 0);
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(host.closeRequests, 0) << "the rest of the tick is skipped";
}

TEST_F(WatcherTest, GameNumberIsPastedAndConfirmedWithoutDisplayUpdate)
{
    const WindowId dialog = game.showGameNumberDialog();
    const WindowId edit = desktop.findChild(dialog, game::kEditClass, nullptr);
    const WindowId ok = desktop.findChild(dialog, game::kButtonClass, nullptr);
    desktop.clearLog();
    tick();
    const auto sent = posts();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].window, edit);
    EXPECT_EQ(sent[0].message, game::kWmPaste);
    EXPECT_EQ(sent[1].window, ok);
    EXPECT_EQ(sent[1].message, game::kWmKeyDown);
    EXPECT_EQ(sent[1].wParam, game::kVkReturn);
    EXPECT_EQ(desktop.callsOf(FakeDesktop::Call::Foreground).at(0).window, dialog);
    EXPECT_EQ(host.updates, 0);
}

// Game-over dialogs (branches B and C) and the end-this-game box (branch D)

TEST_F(WatcherTest, WinAtFirstAttemptCountsAndMovesOn)
{
    game.userAnswersWinAfterPauses = 3;
    const WindowId dialog = game.showWinDialog();
    tick();
    EXPECT_EQ(host.wins, 1);
    EXPECT_EQ(host.history, std::vector<std::string>{"5 勝ち"});
    EXPECT_EQ(GameNo, 6);
    EXPECT_EQ(TryCnt, 1);
    EXPECT_EQ(host.box, "6");
    EXPECT_EQ(host.attemptTexts, std::vector<std::string>{"1"});
    EXPECT_EQ(host.updates, 1);
    EXPECT_TRUE(game.selectGameChecked);
    EXPECT_FALSE(desktop.isAlive(dialog)) << "the tick waits for the user's answer";
}

TEST_F(WatcherTest, WinWaitTakesAsLongAsTheUserAndTicksTheBoxOnce)
{
    game.userAnswersWinAfterPauses = 1000;
    game.showWinDialog();
    const uint64_t before = desktop.clockMs;
    tick();
    EXPECT_GE(desktop.clockMs - before, 1000 * uint64_t{GameWatcher::kUserPassPauseMs});
    EXPECT_EQ(posts().size(), 1u);
    EXPECT_EQ(posts().at(0).message, game::kBmSetCheck);
    EXPECT_EQ(posts().at(0).wParam, game::kBstChecked);
}

TEST_F(WatcherTest, LostTwiceThenWonCountsOneLossAndWritesTheAttempts)
{
    game.showLossDialog();
    tick();
    game.showLossDialog();
    tick();
    game.userAnswersWinAfterPauses = 0;
    game.showWinDialog();
    tick();
    EXPECT_EQ(host.losses, 1);
    EXPECT_EQ(host.wins, 0);
    EXPECT_EQ(host.attemptTexts, (std::vector<std::string>{"2", "3", "1"}));
    EXPECT_EQ(host.history, std::vector<std::string>{"5 負け（3回）"});
    EXPECT_EQ(GameNo, 6);
    EXPECT_EQ(TryCnt, 1);
}

TEST_F(WatcherTest, LossIsAnsweredWithYesToTheYesButton)
{
    const WindowId dialog = game.showLossDialog();
    const WindowId yes = desktop.findChild(dialog, nullptr, kTestTexts.CaptionYes);
    tick();
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(posts()[0].window, yes);
    EXPECT_EQ(posts()[0].wParam, game::kKeyY);
    EXPECT_FALSE(desktop.isAlive(dialog));
    EXPECT_EQ(host.updates, 1);
}

TEST_F(WatcherTest, EndThisGameBoxCountsLikeALoss)
{
    const WindowId box = game.showConfirmBox();
    tick();
    EXPECT_EQ(host.losses, 1);
    EXPECT_EQ(TryCnt, 2);
    EXPECT_EQ(host.attemptTexts, std::vector<std::string>{"2"});
    EXPECT_FALSE(desktop.isAlive(box));
}

TEST_F(WatcherTest, WinAtMaxGameNoGoesBeyondItThenGameOneIsDealt)
{
    GameNo = 32000;
    host.box = "32000";
    game.userAnswersWinAfterPauses = 0;
    game.showWinDialog();
    tick();
    EXPECT_EQ(GameNo, 32001);
    EXPECT_EQ(host.box, "32001");
    tick();  // the game-number dialog opened by the user's answer
    EXPECT_EQ(host.box, "1");
    EXPECT_EQ(game.dealt, std::vector<std::string>{"1"});
}

TEST_F(WatcherTest, StoredLaterAttemptCountsNothing)
{
    TryCnt = 4;
    game.showLossDialog();
    tick();
    game.userAnswersWinAfterPauses = 0;
    game.showWinDialog();
    tick();
    EXPECT_EQ(host.losses, 0);
    EXPECT_EQ(host.wins, 0);
    EXPECT_EQ(host.history, std::vector<std::string>{"5 負け（5回）"});
}

TEST_F(WatcherTest, GameOverDialogWithNeitherBoxIsLeftAlone)
{
    game.showGameOverWithoutBoxes();
    tick();
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(TryCnt, 1);
    EXPECT_EQ(host.updates, 0);
}

TEST_F(WatcherTest, BranchesOfOneTickDoNotExcludeEachOther)
{
    game.showGameNumberDialog();
    game.showConfirmBox();
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"5"});
    EXPECT_EQ(host.losses, 1);
}

TEST_F(WatcherTest, CountersWrapAsTwosComplement)
{
    GameNo = INT32_MAX;
    game.userAnswersWinAfterPauses = 0;
    game.showWinDialog();
    tick();
    EXPECT_EQ(GameNo, INT32_MIN);
    EXPECT_EQ(host.box, "-2147483648");
    TryCnt = INT32_MAX;
    game.showLossDialog();
    tick();
    EXPECT_EQ(TryCnt, INT32_MIN);
}

// The game gone (branch E) and the cost of an idle tick

TEST_F(WatcherTest, NoGameWindowClosesTheResultsWindow)
{
    desktop.destroyWindow(game.mainWindow);
    tick();
    EXPECT_EQ(host.closeRequests, 1);
}

TEST_F(WatcherTest, IdleTickMakesTheNineLookupsInOrder)
{
    tick();
    using Call = FakeDesktop::Call;
    std::vector<std::string> seen;
    for (const Call& call : desktop.calls)
        if (call.kind == Call::FindTopLevel || call.kind == Call::FindChild)
            seen.push_back((call.kind == Call::FindTopLevel ? "top " : "child ") + call.className + " "
                           + call.caption);
    const std::vector<std::string> expected = {
        std::string("top * ") + kTestTexts.TitleGameNumber,
        std::string("top * ") + kTestTexts.TitleGameOver,
        std::string("child * ") + kTestTexts.CaptionSameGame,
        std::string("child * ") + kTestTexts.CaptionYes,
        std::string("child * ") + kTestTexts.CaptionSelectGame,
        std::string("top #32770 ") + kTestTexts.TitleConfirm,
        std::string("child * ") + kTestTexts.TextConfirm,
        std::string("child * ") + kTestTexts.CaptionYes,
        "top FreeWClass *",
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(host.closeRequests, 0);
}

// Failures

TEST_F(WatcherTest, HeldClipboardRaisesAndKeepsTheFirstStepsThenRetries)
{
    host.box = "9";
    TryCnt = 3;
    game.showGameNumberDialog();
    clipboard.heldByAnotherProgram = true;
    try {
        tick();
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(), "クリップボードを開くことができません");
    }
    EXPECT_EQ(GameNo, 9);
    EXPECT_EQ(TryCnt, 1);
    EXPECT_TRUE(posts().empty());
    clipboard.heldByAnotherProgram = false;
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"9"});
}

TEST_F(WatcherTest, ClipboardThatKeepsChangingIsLeftForTheNextTick)
{
    clipboard.rewrite = [](const std::string&) { return std::string("other"); };
    host.box = "9";
    game.showGameNumberDialog();
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(clipboard.writes, GameWatcher::kClipboardTries);
    EXPECT_TRUE(posts().empty()) << "nothing is pasted";
    EXPECT_EQ(GameNo, 9);
    clipboard.rewrite = nullptr;
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"9"});
}

TEST_F(WatcherTest, ClipboardChangedOnceIsWrittenAgain)
{
    int rewrites = 1;
    clipboard.rewrite = [&rewrites](const std::string& text) {
        return rewrites-- > 0 ? std::string("other") : text;
    };
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(clipboard.writes, 2);
    EXPECT_EQ(game.dealt, std::vector<std::string>{"5"});
}

TEST_F(WatcherTest, SameErrorIsRaisedOnlyOnceInARow)
{
    host.box = "abc";
    game.showGameNumberDialog();
    desktop.destroyWindow(game.mainWindow);
    EXPECT_THROW(tick(), AppError);
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(host.closeRequests, 0) << "a silent failure still skips the rest of the tick";
    host.box = "abcd";
    EXPECT_THROW(tick(), AppError) << "another error is shown";
}

TEST_F(WatcherTest, ErrorIsRaisedAgainAfterATickWithoutError)
{
    host.box = "abc";
    const WindowId dialog = game.showGameNumberDialog();
    EXPECT_THROW(tick(), AppError);
    desktop.destroyWindow(dialog);
    tick();
    game.showGameNumberDialog();
    EXPECT_THROW(tick(), AppError);
}

// A display that cannot be written: each dialog is still counted exactly once
// and answered, and the counts come out as with a working display.

// Ticks without letting the display's error through, as the error box does.
void tickSwallowingErrors(GameWatcher& watcher, WatcherContext& context)
{
    try {
        watcher.tick(context);
    } catch (const AppError&) {
    }
}

TEST_F(WatcherTest, WonDialogIsCountedOnceWhenADisplayWriteFails)
{
    host.writesFail = true;
    game.userAnswersWinAfterPauses = 3;
    game.showWinDialog();
    for (int tickCount = 0; tickCount < 5; ++tickCount)
        tickSwallowingErrors(watcher, context);
    EXPECT_EQ(host.wins, 1);
    EXPECT_EQ(GameNo, 6);
    EXPECT_TRUE(game.selectGameChecked);
    EXPECT_EQ(game.dealt, std::vector<std::string>{"6"}) << "the next game follows";
}

TEST_F(WatcherTest, LossDialogRaisesTheAttemptOnceWhenADisplayWriteFails)
{
    host.writesFail = true;
    game.responsive = false;  // the dialog stays for several ticks
    game.showLossDialog();
    for (int tickCount = 0; tickCount < 5; ++tickCount)
        tickSwallowingErrors(watcher, context);
    EXPECT_EQ(host.losses, 1);
    EXPECT_EQ(TryCnt, 2);
}

TEST_F(WatcherTest, FailedDisplayWriteIsStillReported)
{
    host.writesFail = true;
    game.showLossDialog();
    EXPECT_THROW(tick(), AppError);
    EXPECT_EQ(host.losses, 1);
}

// The same game played once with a working display and once with one that
// fails every write.
struct PlayedGame {
    int32_t GameNo = 0;
    int32_t TryCnt = 0;
    int wins = 0;
    int losses = 0;
    std::vector<std::string> dealt;
};

PlayedGame playWithDisplay(bool writesFail)
{
    FakeDesktop desktop;
    FakeClipboard clipboard;
    const OsProfile profile = testProfile();
    FakeHost host;
    host.writesFail = writesFail;
    int32_t GameNo = 5;
    int32_t TryCnt = 1;
    WatcherContext context{desktop, clipboard, profile, host, GameNo, TryCnt};
    GameWatcher watcher;
    FakeGame game{desktop, clipboard, profile.texts};
    game.start();
    const auto tickTwice = [&] {
        tickSwallowingErrors(watcher, context);
        desktop.clockMs += 100;
        tickSwallowingErrors(watcher, context);
        desktop.clockMs += 100;
    };
    game.showGameNumberDialog();
    tickTwice();
    game.showLossDialog();
    tickTwice();
    game.showConfirmBox();
    tickTwice();
    game.userAnswersWinAfterPauses = 1;
    game.showWinDialog();
    tickTwice();
    return {GameNo, TryCnt, host.wins, host.losses, game.dealt};
}

TEST(WatcherDisplayFailure, CountsComeOutAsWithAWorkingDisplay)
{
    const PlayedGame working = playWithDisplay(false);
    const PlayedGame failing = playWithDisplay(true);
    EXPECT_EQ(failing.GameNo, working.GameNo);
    EXPECT_EQ(failing.TryCnt, working.TryCnt);
    EXPECT_EQ(failing.wins, working.wins);
    EXPECT_EQ(failing.losses, working.losses);
    EXPECT_EQ(failing.dealt, working.dealt);
    EXPECT_EQ(working.dealt, (std::vector<std::string>{"5", "6"}));
}

// The end of the Windows session ends every wait, so that the shutdown can run

TEST_F(WatcherTest, WonDialogWaitEndsWhenTheSessionEnds)
{
    game.userAnswersWinAfterPauses = -1;  // nobody answers
    game.showWinDialog();
    desktop.sessionEndsAtMs = desktop.clockMs + 1000;
    tick();
    EXPECT_LT(desktop.clockMs, *desktop.sessionEndsAtMs + 100);
    EXPECT_EQ(host.wins, 1);
    EXPECT_EQ(GameNo, 6);
    EXPECT_TRUE(game.selectGameChecked);
}

TEST_F(WatcherTest, WonDialogLeftWhenTheSessionEndedIsNotCountedAgain)
{
    game.userAnswersWinAfterPauses = -1;
    game.showWinDialog();
    desktop.sessionEndsAtMs = desktop.clockMs + 1000;
    tick();
    desktop.sessionEndsAtMs.reset();  // another program refused: the session goes on
    desktop.clearLog();
    const uint64_t before = desktop.clockMs;
    tick();
    EXPECT_EQ(host.wins, 1);
    EXPECT_EQ(GameNo, 6);
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(desktop.clockMs, before) << "no second wait";
}

TEST_F(WatcherTest, GameNumberLoopEndsWhenTheSessionEnds)
{
    game.responsive = false;
    game.showGameNumberDialog();
    desktop.sessionEndsAtMs = desktop.clockMs + 200;
    tick();
    EXPECT_LT(desktop.clockMs, *desktop.sessionEndsAtMs + 100);
}

TEST_F(WatcherTest, TickWhileTheSessionEndsLeavesTheGameAlone)
{
    desktop.sessionEndsAtMs = desktop.clockMs;
    game.showLossDialog();
    desktop.destroyWindow(game.mainWindow);
    tick();
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(host.losses, 0);
    EXPECT_EQ(host.closeRequests, 0) << "the shutdown runs already";
}

// Bounds of the loops that wait for the game

TEST_F(WatcherTest, GameNumberLoopGivesUpOnAGameThatDoesNotReact)
{
    game.responsive = false;
    game.showGameNumberDialog();
    const uint64_t before = desktop.clockMs;
    tick();
    EXPECT_GE(desktop.clockMs - before, GameWatcher::kGameWaitLimitMs);
    EXPECT_LT(desktop.clockMs - before, GameWatcher::kGameWaitLimitMs + 100);
    EXPECT_EQ(host.closeRequests, 0);
}

TEST_F(WatcherTest, RefusedNumberIsNotEnteredAgainUntilTheBoxChanges)
{
    game.accepts = [](int32_t number) { return number != 0; };
    host.box = "0";
    game.showGameNumberDialog();
    tick();
    EXPECT_GT(game.gameNumberDialogsShown, 1) << "the game opened new dialogs";
    desktop.clearLog();
    const int writesBefore = clipboard.writes;
    tick();
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(clipboard.writes, writesBefore);
    host.box = "3";
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"3"});
}

TEST_F(WatcherTest, RefusalIsForgottenWhenNoGameNumberDialogIsOpen)
{
    game.accepts = [](int32_t number) { return number != 0; };
    host.box = "0";
    game.showGameNumberDialog();
    tick();
    // The user cancels the dialog the game left open.
    closeGameNumberDialogs();
    tick();
    desktop.clockMs += GameWatcher::kRefusalMemoryMs;  // ten ticks without a dialog
    tick();
    game.showGameNumberDialog();
    desktop.clearLog();
    tick();
    EXPECT_FALSE(posts().empty()) << "the same text is entered again for a new request";
}

// The game closes a refused dialog before it opens the next: the entry loop
// ends in that gap, and the refusal shows only as the game asking again at
// once for the same text.
TEST_F(WatcherTest, NumberAskedForAgainAtOnceIsEnteredThreeTimesAtMost)
{
    game.accepts = [](int32_t number) { return number != 0; };
    game.refusalLeavesAGap = true;
    host.box = "0";
    int entries = 0;
    for (int tickCount = 0; tickCount < 10; ++tickCount) {
        if (!desktop.findTopLevel(nullptr, kTestTexts.TitleGameNumber))
            game.showGameNumberDialog();
        desktop.clearLog();
        tick();
        if (!posts().empty())
            ++entries;
        desktop.clockMs += 100;
    }
    EXPECT_EQ(entries, GameWatcher::kEntriesBeforeRefusal);
    host.box = "3";
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"3"});
}

TEST_F(WatcherTest, SameNumberAskedForAgainLaterIsEnteredEachTime)
{
    host.box = "5";
    for (int request = 0; request < 5; ++request) {
        game.showGameNumberDialog();
        tick();
        desktop.clockMs += GameWatcher::kRefusalMemoryMs;
    }
    EXPECT_EQ(game.dealt.size(), 5u);
}

// Asking for the game again during a game goes through the end-this-game box:
// quick requests for the same number are new games, not refusals.
TEST_F(WatcherTest, SameNumberRequestedQuicklyThroughTheConfirmBoxIsEnteredEachTime)
{
    host.box = "5";
    for (int request = 0; request < 5; ++request) {
        game.showConfirmBox();
        tick();
        game.showGameNumberDialog();
        tick();
        desktop.clockMs += 100;
    }
    EXPECT_EQ(game.dealt.size(), 5u);
}

// Between closing a refused dialog and opening the next one the game shows no
// dialog for a moment; a tick that falls into that gap must not forget.
TEST_F(WatcherTest, RefusalOutlivesTheGameMomentarilyShowingNoDialog)
{
    game.accepts = [](int32_t number) { return number != 0; };
    host.box = "0";
    game.showGameNumberDialog();
    tick();
    closeGameNumberDialogs();
    desktop.clockMs += 100;
    tick();
    game.showGameNumberDialog();
    desktop.clearLog();
    desktop.clockMs += 100;
    tick();
    EXPECT_TRUE(posts().empty()) << "the refused number was entered again";
}

TEST_F(WatcherTest, UnansweredLossIsCountedOnceAndNotHandledAgain)
{
    game.responsive = false;
    const WindowId dialog = game.showLossDialog();
    const uint64_t before = desktop.clockMs;
    tick();
    EXPECT_GE(desktop.clockMs - before, GameWatcher::kGameWaitLimitMs);
    desktop.clearLog();
    tick();
    EXPECT_EQ(host.losses, 1);
    EXPECT_EQ(TryCnt, 2);
    EXPECT_TRUE(posts().empty());
    // The user answers it; the next loss is a new dialog and counts.
    desktop.destroyWindow(dialog);
    game.responsive = true;
    tick();
    game.showLossDialog();
    tick();
    EXPECT_EQ(TryCnt, 3);
}

TEST_F(WatcherTest, UnansweredEndThisGameBoxIsCountedOnce)
{
    game.responsive = false;
    game.showConfirmBox();
    tick();
    tick();
    EXPECT_EQ(host.losses, 1);
    EXPECT_EQ(TryCnt, 2);
}

}  // namespace
