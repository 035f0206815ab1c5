#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "common/app_error.h"
#include "fake_desktop.h"
#include "gamelink/game_contract.h"
#include "common/number_text.h"
#include "gamelink/watcher.h"
#include "record_doubles.h"
#include "records/record_keeper.h"

namespace {

const ProfileTexts kTestTexts = {
    "ゲーム番号",           "ゲーム終了", "同じゲームを繰り返す(&S)",  "はい(&Y)",
    "ゲームを選択する(&S)", "フリーセル", "このゲームを終了しますか?",
};

OsProfile testProfile() {
    OsProfile profile;
    profile.texts = kTestTexts;
    profile.maxGameNumber = 32000;
    return profile;
}

// The watcher with the keeper of the record, as the results window runs
// them: the keeper gives the number to deal and takes what each step saw.
class WatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        game.start();
        resumeAt({5, 1});
    }
    // One tick as the results window runs it: each outcome is taken by the
    // keeper (the counts, the history, the number box) before the tick goes
    // on; the error it shows is raised.
    void tick() {
        keeper.boxChanged(box);
        TickOutcome outcome = watcher.tick(clipboard, TickInput{keeper.numberToDeal(box), typing});
        for (;;) {
            if (outcome.dealRefused) keeper.dealRefused(*outcome.dealRefused);
            if (outcome.toldNumber) keeper.boardTold(*outcome.toldNumber);
            if (outcome.unknownDeal) show(keeper.unknownGameDealt());
            if (outcome.dealt) show(keeper.gameDealt(*outcome.dealt));
            if (outcome.ended) show(keeper.gameEnded(*outcome.ended, 0));
            closeRequests += outcome.gameGone;
            if (outcome.error) {
                attemptsShown.push_back(intToText(attempt()));
                throw AppError(*outcome.error);
            }
            if (!outcome.more) break;
            outcome = watcher.continueTick(clipboard);
        }
        attemptsShown.push_back(intToText(attempt()));
    }
    void show(const RecordChange& change) {
        if (change.boxText) box = *change.boxText;
    }
    int32_t gameNumber() const { return keeper.inPlay().number; }
    int32_t attempt() const { return keeper.inPlay().attempt; }
    // Game `number` on the board at `attempt`, dealt in this run: the log
    // holds its earlier attempts.
    void resumeAt(const GameInPlay& inPlay) {
        world.log.bytes.clear();
        for (int32_t earlier = inPlay.attempt == INT32_MAX ? INT32_MAX - 1 : 1; earlier < inPlay.attempt; ++earlier)
            world.log.bytes += "2026/03/09,07:05:03," + intToText(inPlay.number) + "," + intToText(earlier) +
                               (earlier == 1 ? ",負け,1\r\n" : ",負け,0\r\n");
        world.store("Extra/NextGame", intToText(inPlay.number));
        world.played.bytes.clear();
        keeper.load();
        keeper.gameDealt(inPlay.number);
    }
    void setGameNumber(int32_t number) { resumeAt({number, attempt()}); }
    void setAttempt(int32_t attempt) { resumeAt({gameNumber(), attempt}); }
    int wins() const { return keeper.tally().ledger.won; }
    int losses() const { return keeper.tally().ledger.lost; }
    // The history's lines, without the empty ones of a new settings file.
    std::vector<std::string> history() const {
        std::vector<std::string> lines;
        for (const std::string& line : keeper.tally().history.lines())
            if (!line.empty()) lines.push_back(line);
        return lines;
    }
    // Every game-number dialog that the game left open goes away.
    void closeGameNumberDialogs() {
        while (const WindowId dialog = desktop.findTopLevel(nullptr, kTestTexts.TitleGameNumber))
            desktop.destroyWindow(dialog);
    }
    std::vector<FakeDesktop::Call> posts() const { return desktop.callsOf(FakeDesktop::Call::Post); }

    FakeDesktop desktop;
    FakeClipboard clipboard;
    OsProfile profile = testProfile();
    GameWatcher watcher{desktop, profile};
    FakeGame game{desktop, clipboard, profile.texts};
    record_test::KeeperWorld world;
    RecordKeeper keeper{world.files(), profile.maxGameNumber};
    // The results window as the watcher sees it.
    std::string box = "5";
    bool typing = false;
    std::vector<std::string> attemptsShown;  // the attempt label after each tick
    int closeRequests = 0;
};

// Game-number dialog (branch A)

TEST_F(WatcherTest, BoxHoldingGameNoKeepsTheAttemptAndDealsIt) {
    setAttempt(3);
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(attempt(), 3);
    EXPECT_EQ(gameNumber(), 5);
    EXPECT_EQ(clipboard.content, "5");
    EXPECT_EQ(attemptsShown, std::vector<std::string>{"3"});
    EXPECT_EQ(game.dealt, std::vector<std::string>{"5"});
}

TEST_F(WatcherTest, BoxHoldingAnotherNumberStartsAFirstAttemptAtIt) {
    setAttempt(3);
    box = "9";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(attempt(), 1);
    EXPECT_EQ(gameNumber(), 9);
    EXPECT_EQ(game.dealt, std::vector<std::string>{"9"});
}

TEST_F(WatcherTest, MaxGameNoIsDealt) {
    box = "32000";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(gameNumber(), 32000);
    EXPECT_EQ(box, "32000");
    EXPECT_EQ(game.dealt, std::vector<std::string>{"32000"});
}

// 0 names no deal, and -1 and -2 are the game's fixed layouts, which no
// numbered play reaches: each is refused as a text that is no number is. So
// is a typo above the highest number, rather than dealing game 1.
TEST_F(WatcherTest, NumbersOutsideTheRangeAreRefusedAndNothingIsDealt) {
    game.showGameNumberDialog();
    for (const char* text : {"0", "-1", "-2", "32001", "617912"}) {
        box = text;
        try {
            tick();
            ADD_FAILURE() << text << " was taken";
        } catch (const AppError& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("「") + text + "」はゲーム番号にできません（1 から 32,000 まで）");
        }
    }
    EXPECT_TRUE(game.dealt.empty());
    EXPECT_EQ(gameNumber(), 5);
    box = "6";
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"6"}) << "the dialog is answered once the box holds a number";
}

TEST_F(WatcherTest, LeadingZerosAreDroppedAndOneClipboardWriteSuffices) {
    box = "007";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(gameNumber(), 7);
    EXPECT_EQ(clipboard.content, "7");
    EXPECT_EQ(clipboard.writes, 1);
}

TEST_F(WatcherTest, EmptyBoxRaisesTheIntegerErrorAndChangesNothing) {
    box = "";
    setAttempt(2);
    game.showGameNumberDialog();
    desktop.destroyWindow(game.mainWindow);
    try {
        tick();
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(gameNumber(), 5);
    EXPECT_EQ(attempt(), 2);
    EXPECT_EQ(clipboard.writes, 0);
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(closeRequests, 0) << "the rest of the tick is skipped";
}

TEST_F(WatcherTest, GameNumberIsPastedAndConfirmedWithoutDisplayUpdate) {
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
}

// Game-over dialogs (branches B and C) and the end-this-game box (branch D)

// The game pastes the number from the clipboard; once it has, the player's
// own text is there again. A number an entry left is no text of the player's.
TEST_F(WatcherTest, ThePlayersClipboardTextComesBackOnceTheGameHasPasted) {
    clipboard.content = "コピーした文";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"5"});
    EXPECT_EQ(clipboard.content, "コピーした文");

    clipboard.content.clear();
    game.showGameNumberDialog();
    tick();
    box = "6";
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(game.dealt, (std::vector<std::string>{"5", "5", "6"}));
    EXPECT_EQ(clipboard.content, "6");
}

TEST_F(WatcherTest, WinAtFirstAttemptCountsAndMovesOn) {
    game.userAnswersWinAfterPauses = 3;
    const WindowId dialog = game.showWinDialog();
    tick();
    EXPECT_EQ(wins(), 1);
    EXPECT_EQ(history(), std::vector<std::string>{"5 勝ち"});
    EXPECT_EQ(gameNumber(), 6);
    EXPECT_EQ(attempt(), 1);
    EXPECT_EQ(box, "6");
    EXPECT_EQ(attemptsShown, std::vector<std::string>{"1"});
    EXPECT_TRUE(game.selectGameChecked);
    EXPECT_FALSE(desktop.isAlive(dialog)) << "the tick waits for the user's answer";
}

TEST_F(WatcherTest, WinWaitTakesAsLongAsTheUserAndTicksTheBoxOnce) {
    game.userAnswersWinAfterPauses = 1000;
    game.showWinDialog();
    const uint64_t before = desktop.clockMs;
    tick();
    EXPECT_GE(desktop.clockMs - before, 1000 * uint64_t{GameWatcher::kUserPassPauseMs});
    EXPECT_EQ(posts().size(), 1u);
    EXPECT_EQ(posts().at(0).message, game::kBmSetCheck);
    EXPECT_EQ(posts().at(0).wParam, game::kBstChecked);
}

// The game has its answer before the window draws and saves the win.
TEST_F(WatcherTest, WonDialogHasItsBoxTickedWhenTheWinIsHandedOut) {
    game.userAnswersWinAfterPauses = 3;
    game.showWinDialog();
    const TickOutcome outcome = watcher.tick(clipboard, TickInput{keeper.numberToDeal(box), typing});
    ASSERT_TRUE(outcome.ended == GameEnd::won);
    EXPECT_TRUE(outcome.more);
    EXPECT_TRUE(game.selectGameChecked);
}

TEST_F(WatcherTest, LostTwiceThenWonCountsOneLossAndWritesTheAttempts) {
    game.showLossDialog();
    tick();
    game.showLossDialog();
    tick();
    game.userAnswersWinAfterPauses = 0;
    game.showWinDialog();
    tick();
    EXPECT_EQ(losses(), 1);
    EXPECT_EQ(wins(), 0);
    EXPECT_EQ(attemptsShown, (std::vector<std::string>{"2", "3", "1"}));
    EXPECT_EQ(history(), std::vector<std::string>{"5 負け（3回）"});
    EXPECT_EQ(gameNumber(), 6);
    EXPECT_EQ(attempt(), 1);
}

TEST_F(WatcherTest, LossIsAnsweredWithYesToTheYesButton) {
    const WindowId dialog = game.showLossDialog();
    const WindowId yes = desktop.findChild(dialog, nullptr, kTestTexts.CaptionYes);
    tick();
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(posts()[0].window, yes);
    EXPECT_EQ(posts()[0].wParam, game::kKeyY);
    EXPECT_FALSE(desktop.isAlive(dialog));
}

TEST_F(WatcherTest, EndThisGameBoxCountsLikeALoss) {
    const WindowId box = game.showConfirmBox();
    tick();
    EXPECT_EQ(losses(), 1);
    EXPECT_EQ(attempt(), 2);
    EXPECT_EQ(attemptsShown, std::vector<std::string>{"2"});
    EXPECT_FALSE(desktop.isAlive(box));
}

TEST_F(WatcherTest, WinningTheHighestNumberGoesOnWithGameOne) {
    setGameNumber(32000);
    box = "32000";
    game.userAnswersWinAfterPauses = 0;
    game.showWinDialog();
    tick();
    EXPECT_EQ(gameNumber(), 1);
    EXPECT_EQ(box, "1");
    tick();  // the game-number dialog opened by the user's answer
    EXPECT_EQ(game.dealt, std::vector<std::string>{"1"});
}

TEST_F(WatcherTest, StoredLaterAttemptCountsNothing) {
    setAttempt(4);
    game.showLossDialog();
    tick();
    game.userAnswersWinAfterPauses = 0;
    game.showWinDialog();
    tick();
    EXPECT_EQ(losses(), 0);
    EXPECT_EQ(wins(), 0);
    EXPECT_EQ(history(), std::vector<std::string>{"5 負け（5回）"});
}

TEST_F(WatcherTest, GameOverDialogWithNeitherBoxIsLeftAlone) {
    game.showGameOverWithoutBoxes();
    tick();
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(attempt(), 1);
}

TEST_F(WatcherTest, BranchesOfOneTickDoNotExcludeEachOther) {
    game.showGameNumberDialog();
    game.showConfirmBox();
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"5"});
    EXPECT_EQ(losses(), 1);
}

TEST_F(WatcherTest, AttemptsWrapAsTwosComplement) {
    setAttempt(INT32_MAX);
    game.showLossDialog();
    tick();
    EXPECT_EQ(attempt(), INT32_MIN);
}

// The game gone (branch E) and the cost of an idle tick

TEST_F(WatcherTest, NoGameWindowClosesTheResultsWindow) {
    desktop.destroyWindow(game.mainWindow);
    tick();
    EXPECT_EQ(closeRequests, 1);
}

TEST_F(WatcherTest, IdleTickLeavesTheGameAlone) {
    tick();
    tick();
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(clipboard.writes, 0);
    EXPECT_EQ(wins() + losses(), 0);
    EXPECT_EQ(closeRequests, 0);
}

// Failures

TEST_F(WatcherTest, HeldClipboardRaisesAndKeepsTheFirstStepsThenRetries) {
    box = "9";
    setAttempt(3);
    game.showGameNumberDialog();
    clipboard.heldByAnotherProgram = true;
    try {
        tick();
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(), "クリップボードを開くことができません");
    }
    EXPECT_EQ(gameNumber(), 9);
    EXPECT_EQ(attempt(), 1);
    EXPECT_TRUE(posts().empty());
    clipboard.heldByAnotherProgram = false;
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"9"});
}

TEST_F(WatcherTest, ClipboardThatKeepsChangingIsLeftForTheNextTick) {
    clipboard.rewrite = [](const std::string&) { return std::string("other"); };
    box = "9";
    game.showGameNumberDialog();
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(clipboard.writes, GameWatcher::kClipboardTries);
    EXPECT_TRUE(posts().empty()) << "nothing is pasted";
    EXPECT_EQ(gameNumber(), 9);
    clipboard.rewrite = nullptr;
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"9"});
}

TEST_F(WatcherTest, ClipboardChangedOnceIsWrittenAgain) {
    int rewrites = 1;
    clipboard.rewrite = [&rewrites](const std::string& text) { return rewrites-- > 0 ? std::string("other") : text; };
    game.showGameNumberDialog();
    tick();
    EXPECT_EQ(clipboard.writes, 2);
    EXPECT_EQ(game.dealt, std::vector<std::string>{"5"});
}

TEST_F(WatcherTest, SameErrorIsRaisedOnlyOnceInARow) {
    box = "abc";
    game.showGameNumberDialog();
    desktop.destroyWindow(game.mainWindow);
    EXPECT_THROW(tick(), AppError);
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(closeRequests, 0) << "a silent failure still skips the rest of the tick";
    box = "abcd";
    EXPECT_THROW(tick(), AppError) << "another error is shown";
}

TEST_F(WatcherTest, ErrorIsRaisedAgainAfterATickWithoutError) {
    box = "abc";
    const WindowId dialog = game.showGameNumberDialog();
    EXPECT_THROW(tick(), AppError);
    desktop.destroyWindow(dialog);
    tick();
    game.showGameNumberDialog();
    EXPECT_THROW(tick(), AppError);
}

// The end of the Windows session ends every wait, so that the shutdown can run

TEST_F(WatcherTest, WonDialogWaitEndsWhenTheSessionEnds) {
    game.userAnswersWinAfterPauses = -1;  // nobody answers
    game.showWinDialog();
    desktop.sessionEndsAtMs = desktop.clockMs + 1000;
    tick();
    EXPECT_LT(desktop.clockMs, *desktop.sessionEndsAtMs + 100);
    EXPECT_EQ(wins(), 1);
    EXPECT_EQ(gameNumber(), 6);
    EXPECT_TRUE(game.selectGameChecked);
}

TEST_F(WatcherTest, WonDialogLeftWhenTheSessionEndedIsNotCountedAgain) {
    game.userAnswersWinAfterPauses = -1;
    game.showWinDialog();
    desktop.sessionEndsAtMs = desktop.clockMs + 1000;
    tick();
    desktop.sessionEndsAtMs.reset();  // another program refused: the session goes on
    desktop.clearLog();
    const uint64_t before = desktop.clockMs;
    tick();
    EXPECT_EQ(wins(), 1);
    EXPECT_EQ(gameNumber(), 6);
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(desktop.clockMs, before) << "no second wait";
}

TEST_F(WatcherTest, GameNumberLoopEndsWhenTheSessionEnds) {
    game.responsive = false;
    game.showGameNumberDialog();
    desktop.sessionEndsAtMs = desktop.clockMs + 200;
    tick();
    EXPECT_LT(desktop.clockMs, *desktop.sessionEndsAtMs + 100);
}

TEST_F(WatcherTest, TickWhileTheSessionEndsLeavesTheGameAlone) {
    desktop.sessionEndsAtMs = desktop.clockMs;
    game.showLossDialog();
    desktop.destroyWindow(game.mainWindow);
    tick();
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(losses(), 0);
    EXPECT_EQ(closeRequests, 0) << "the shutdown runs already";
}

// Bounds of the loops that wait for the game

TEST_F(WatcherTest, GameNumberLoopGivesUpOnAGameThatDoesNotReact) {
    game.responsive = false;
    game.showGameNumberDialog();
    const uint64_t before = desktop.clockMs;
    tick();
    EXPECT_GE(desktop.clockMs - before, GameWatcher::kGameWaitLimitMs);
    EXPECT_LT(desktop.clockMs - before, GameWatcher::kGameWaitLimitMs + 100);
    EXPECT_EQ(closeRequests, 0);
}

TEST_F(WatcherTest, RefusedNumberIsNotEnteredAgainUntilTheBoxChanges) {
    game.accepts = [](int32_t number) { return number != 7; };
    box = "7";
    game.showGameNumberDialog();
    tick();
    EXPECT_GT(game.gameNumberDialogsShown, 1) << "the game opened new dialogs";
    desktop.clearLog();
    const int writesBefore = clipboard.writes;
    tick();
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(clipboard.writes, writesBefore);
    box = "3";
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"3"});
}

TEST_F(WatcherTest, RefusalIsForgottenWhenNoGameNumberDialogIsOpen) {
    game.accepts = [](int32_t number) { return number != 7; };
    box = "7";
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
TEST_F(WatcherTest, NumberAskedForAgainAtOnceIsEnteredThreeTimesAtMost) {
    game.accepts = [](int32_t number) { return number != 7; };
    game.refusalLeavesAGap = true;
    box = "7";
    int entries = 0;
    for (int tickCount = 0; tickCount < 10; ++tickCount) {
        if (!desktop.findTopLevel(nullptr, kTestTexts.TitleGameNumber)) game.showGameNumberDialog();
        desktop.clearLog();
        tick();
        if (!posts().empty()) ++entries;
        desktop.clockMs += 100;
    }
    EXPECT_EQ(entries, GameWatcher::kEntriesBeforeRefusal);
    box = "3";
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"3"});
}

// A number goes on the board only once the game took it: one the game
// refused, or one that never reached the clipboard, leaves game 5 where it
// was, and the end-this-game box that follows is 5's.
TEST_F(WatcherTest, ANumberTheGameDidNotTakeIsNotDealt) {
    for (const bool clipboardHeld : {false, true}) {
        SCOPED_TRACE(clipboardHeld ? "clipboard held" : "number refused");
        resumeAt({5, 1});
        game.accepts = [](int32_t number) { return number != 7; };
        game.refusalLeavesAGap = true;
        clipboard.heldByAnotherProgram = clipboardHeld;
        box = "7";
        for (int tickCount = 0; tickCount < 6; ++tickCount) {
            if (!desktop.findTopLevel(nullptr, kTestTexts.TitleGameNumber)) game.showGameNumberDialog();
            try {
                tick();
            } catch (const AppError&) {
            }
            desktop.clockMs += 100;
        }
        closeGameNumberDialogs();
        clipboard.heldByAnotherProgram = false;
        game.showConfirmBox();
        tick();
        EXPECT_EQ(world.loggedLines().back(), "5,1,負け,1");
    }
}

TEST_F(WatcherTest, SameNumberAskedForAgainLaterIsEnteredEachTime) {
    box = "5";
    for (int request = 0; request < 5; ++request) {
        game.showGameNumberDialog();
        tick();
        desktop.clockMs += GameWatcher::kRefusalMemoryMs;
    }
    EXPECT_EQ(game.dealt.size(), 5u);
}

// Asking for the game again during a game goes through the end-this-game box:
// quick requests for the same number are new games, not refusals.
TEST_F(WatcherTest, SameNumberRequestedQuicklyThroughTheConfirmBoxIsEnteredEachTime) {
    box = "5";
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
TEST_F(WatcherTest, RefusalOutlivesTheGameMomentarilyShowingNoDialog) {
    game.accepts = [](int32_t number) { return number != 7; };
    box = "7";
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

TEST_F(WatcherTest, UnansweredLossIsCountedOnceAndNotHandledAgain) {
    game.responsive = false;
    const WindowId dialog = game.showLossDialog();
    const uint64_t before = desktop.clockMs;
    tick();
    EXPECT_GE(desktop.clockMs - before, GameWatcher::kGameWaitLimitMs);
    desktop.clearLog();
    tick();
    EXPECT_EQ(losses(), 1);
    EXPECT_EQ(attempt(), 2);
    EXPECT_TRUE(posts().empty());
    // The user answers it; the next loss is a new dialog and counts.
    desktop.destroyWindow(dialog);
    game.responsive = true;
    tick();
    game.showLossDialog();
    tick();
    EXPECT_EQ(attempt(), 3);
}

TEST_F(WatcherTest, UnansweredEndThisGameBoxIsCountedOnce) {
    game.responsive = false;
    game.showConfirmBox();
    tick();
    tick();
    EXPECT_EQ(losses(), 1);
    EXPECT_EQ(attempt(), 2);
}

// The player typing a number into the box while the game asks for one: the
// number is not taken half-typed.
TEST_F(WatcherTest, DialogWaitsWhileTheBoxIsBeingTyped) {
    game.showGameNumberDialog();
    box = "12";
    typing = true;
    tick();
    tick();
    EXPECT_TRUE(game.dealt.empty());
    EXPECT_EQ(clipboard.writes, 0);
    box = "12345";
    typing = false;
    tick();
    EXPECT_EQ(game.dealt, std::vector<std::string>{"12345"});
}

}  // namespace
