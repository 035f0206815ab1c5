// Every result counted to the right number, once, in the moves players make
// every day: a random deal, a win left on the board and dealt again, a
// number typed and left, passed games taken back. Checked from outside in
// Tallykeep.csv, the results window and the settings file after a restart.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
#include "boxes_and_files.h"
#include "harness/harness.h"
#include "records/results_log_reader.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

class TallykeepCounting : public TallykeepTest {
protected:
    // The log's lines as "number,attempt,word,counted".
    std::vector<std::string> logged() const {
        std::istringstream in(readFileBytes(sandbox.path("Tallykeep.csv")).value_or(""));
        std::vector<std::string> lines;
        for (LogEntry entry : readResultsLog(in).entries) {
            entry.serial = 0;
            const std::string line = formatLogLine(entry);
            lines.push_back(line.substr(20, line.size() - 22));
        }
        return lines;
    }
    HWND gameOverDialog() const { return waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver); }
    // The game is won; Tallykeep has ticked the dialog's select box.
    HWND winAndWaitForTheTick() {
        const std::size_t mark = log().size();
        standinWin(session->game);
        EXPECT_TRUE(log().waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark)) << log().text();
        return gameOverDialog();
    }
    // The number of the next deal the game logs after `mark`.
    std::string nextDeal(std::size_t mark) const {
        const auto line = log().waitFor([](const LogLine& line) { return line.event == "deal"; }, mark);
        return line ? line->details : "<no deal>";
    }
    void type(const std::string& keys) {
        results().selectInNumberBox(0, -1);
        results().typeIntoNumberBox(keys);
    }
    // The game as the classic one is: it does not tell its deal's number.
    void startWithTheClassicContract() {
        SessionOptions options;
        options.environment = {{"FREECELL_HIDE_NUMBER", "1"}};
        start(options);
    }
    void closeAndStartAgain() {
        ASSERT_TRUE(session->closeAndWait()) << log().text();
        session->restart();
        ASSERT_TRUE(session->results.found());
    }
};

// The player unticks the won dialog's select box: the game deals a random
// game, whose win is nobody's number. Nothing is counted for it, the box
// keeps the next number, and the window says the game has no number.
TEST_F(TallykeepCounting, ARandomDealAfterAnUntickedSelectBoxCountsNothing) {
    startWithTheClassicContract();
    ASSERT_TRUE(session->selectGame("22", "22")) << log().text();
    const HWND dialog = winAndWaitForTheTick();
    ASSERT_NE(dialog, nullptr);
    const HWND selectBox = findChild(dialog, nullptr, kDefaultTexts.CaptionSelectGame);
    ASSERT_NE(selectBox, nullptr);
    SendMessageA(selectBox, BM_SETCHECK, BST_UNCHECKED, 0);
    waitUntil([] { return false; }, 300ms);  // the player moves to the yes button
    std::size_t mark = log().size();
    clickButton(findChild(dialog, nullptr, kDefaultTexts.CaptionYes));
    ASSERT_NE(nextDeal(mark), "<no deal>") << log().text();
    EXPECT_TRUE(results().waitForLabel("Label2", "番号不明")) << log().text();
    EXPECT_EQ(results().label("Label1"), "");

    const HWND second = winAndWaitForTheTick();
    ASSERT_NE(second, nullptr);
    mark = log().size();
    clickButton(findChild(second, nullptr, kDefaultTexts.CaptionYes));
    EXPECT_EQ(nextDeal(mark), "23") << "the box kept the next number";
    EXPECT_TRUE(results().waitForLabel("Label2", "回目"));
    EXPECT_EQ(results().label("Label18"), "1") << "one win in all";
    EXPECT_EQ(logged(), std::vector<std::string>{"22,1,勝ち,1"});
}

// F2 in the game while game 4 is on the board: its end-this-game box is a
// resign of 4; the random deal that follows counts nothing, and 4 dealt again
// is its second attempt.
TEST_F(TallykeepCounting, TheGamesOwnNewGameResignsTheGameInPlayAndItsDealCountsNothing) {
    startWithTheClassicContract();
    ASSERT_TRUE(session->selectGame("4", "4")) << log().text();
    std::size_t mark = log().size();
    postKey(session->game, VK_F2);
    ASSERT_TRUE(log().waitFor("confirm-yes", std::string(), mark)) << log().text();
    ASSERT_NE(nextDeal(mark), "<no deal>");
    EXPECT_TRUE(results().waitForLabel("Label2", "番号不明"));
    const HWND dialog = winAndWaitForTheTick();
    ASSERT_NE(dialog, nullptr);
    mark = log().size();
    clickButton(findChild(dialog, nullptr, kDefaultTexts.CaptionYes));
    EXPECT_EQ(nextDeal(mark), "4");
    EXPECT_TRUE(results().waitForLabel("Label1", "2"));
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "5")) << log().text();
    EXPECT_EQ(logged(), (std::vector<std::string>{"4,1,負け,1", "4,2,勝ち,0"}));
    EXPECT_EQ(results().label("Label18"), "0");
    EXPECT_EQ(results().label("Label19"), "1");
}

// The game that ships with Tallykeep tells the number of every deal: its
// random deal is counted under that number, once, and the box keeps the
// player's next number.
TEST_F(TallykeepCounting, TheShippedGamesRandomDealIsCountedUnderItsOwnNumber) {
    start();
    ASSERT_TRUE(session->selectGame("22", "22")) << log().text();
    const HWND dialog = winAndWaitForTheTick();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(findChild(dialog, nullptr, kDefaultTexts.CaptionSelectGame), BM_SETCHECK, BST_UNCHECKED, 0);
    std::size_t mark = log().size();
    clickButton(findChild(dialog, nullptr, kDefaultTexts.CaptionYes));
    const std::string random = nextDeal(mark);
    ASSERT_NE(random, "<no deal>") << log().text();
    const HWND second = winAndWaitForTheTick();
    ASSERT_NE(second, nullptr);
    mark = log().size();
    clickButton(findChild(second, nullptr, kDefaultTexts.CaptionYes));
    EXPECT_EQ(nextDeal(mark), "23") << "the box kept the next number";
    EXPECT_EQ(logged(), (std::vector<std::string>{"22,1,勝ち,1", random + ",1,勝ち,1"}));
    EXPECT_EQ(results().label("Label18"), "2");
    EXPECT_EQ(results().history()[0], random + " 勝ち");
}

// A win answered no leaves its board; the bar's やり直し deals that game
// again, and its win belongs to that number, not to the next. Meanwhile the
// attempt beside the box is the box's number's own, and the history's
// caption names the number on the board.
TEST_F(TallykeepCounting, AWinLeftOnTheBoardAndDealtAgainIsALaterAttemptAtItsNumber) {
    start();
    ASSERT_TRUE(session->selectGame("26", "26")) << log().text();
    const HWND dialog = winAndWaitForTheTick();
    ASSERT_NE(dialog, nullptr);
    clickButton(GetDlgItem(dialog, IDNO));
    ASSERT_TRUE(waitUntilGone(dialog));
    EXPECT_TRUE(results().waitForNumberBox("27"));
    const std::size_t mark = log().size();
    const HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
    clickButton(bar ? findChild(bar, nullptr, "やり直し") : nullptr);
    ASSERT_EQ(nextDeal(mark), "26") << log().text();
    EXPECT_TRUE(waitUntil([&] { return results().historyCaption() == "対戦履歴 盤上26"; }))
        << results().historyCaption();
    EXPECT_EQ(results().label("Label1"), "1");
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "27")) << log().text();
    EXPECT_EQ(results().historyCaption(), "対戦履歴");
    EXPECT_EQ(logged(), (std::vector<std::string>{"26,1,勝ち,1", "26,2,勝ち,0"}));
    EXPECT_EQ(results().history()[0], "26 負け（2回）");
}

// The box is the next number, however it got there: typed, moved on by ten
// passes, or a passed game taken back; a close and a start keep it.
TEST_F(TallykeepCounting, TheNextNumberSurvivesAClose) {
    start();
    type("11986");
    ASSERT_TRUE(results().waitForNumberBox("11,986"));
    closeAndStartAgain();
    EXPECT_EQ(results().numberBox(), "11,986");

    type("6");
    for (int pass = 0; pass < 10; ++pass) results().menuCommand(kCmdPass);
    ASSERT_TRUE(results().waitForNumberBox("16"));
    closeAndStartAgain();
    EXPECT_EQ(results().numberBox(), "16");

    results().menuCommand(kCmdRetry0 + 1);  // 14: the list runs from the highest
    ASSERT_TRUE(results().waitForNumberBox("14"));
    closeAndStartAgain();
    EXPECT_EQ(results().numberBox(), "14") << "the game taken back and not yet played";
    const std::size_t mark = log().size();
    postKey(session->game, game::kVkF3);
    ASSERT_EQ(nextDeal(mark), "14") << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "16")) << "back to where the box was: " << log().text();
}

// Game 3 passed while on the board means "not now": resigned by 開始, it
// counts nothing; taken back later and won, it is its first attempt, and the
// box goes back to the number it held.
TEST_F(TallykeepCounting, AGamePassedOnTheBoardCountsNothingUntilTakenBack) {
    start();
    ASSERT_TRUE(session->selectGame("3", "3")) << log().text();
    results().menuCommand(kCmdPass);
    ASSERT_TRUE(results().waitForNumberBox("4"));
    std::size_t mark = log().size();
    const HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
    clickButton(bar ? findChild(bar, nullptr, "開始") : nullptr);
    ASSERT_EQ(nextDeal(mark), "4") << log().text();
    // Taken back while the won dialog waits (the command is carried out once
    // the player has answered): the game-number dialog deals it.
    const HWND dialog = winAndWaitForTheTick();
    ASSERT_NE(dialog, nullptr);
    results().menuCommand(kCmdRetry0);
    mark = log().size();
    clickButton(findChild(dialog, nullptr, kDefaultTexts.CaptionYes));
    ASSERT_EQ(nextDeal(mark), "3") << log().text();
    EXPECT_TRUE(results().waitForLabel("Label1", "1")) << "3 was never played";
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "5")) << log().text();
    closeAndStartAgain();
    EXPECT_EQ(logged(),
              (std::vector<std::string>{"3,1,パス,0", "4,1,勝ち,1", "3,1,再挑戦,0", "3,1,勝ち,1"}));
    EXPECT_EQ(results().label("Label18"), "2");
    EXPECT_EQ(results().label("Label19"), "0");
    EXPECT_EQ(results().numberBox(), "5");
}

// Nothing is counted under a number the game never dealt: started with 1 in
// the box, F2 deals a random game and F2 again ends it through the
// end-this-game box; neither is game 1.
TEST_F(TallykeepCounting, NothingIsCountedUnderANumberNeverDealt) {
    startWithTheClassicContract();
    std::size_t mark = log().size();
    postKey(session->game, VK_F2);
    ASSERT_NE(nextDeal(mark), "<no deal>") << log().text();
    mark = log().size();
    postKey(session->game, VK_F2);
    ASSERT_TRUE(log().waitFor("confirm-yes", std::string(), mark)) << log().text();
    ASSERT_NE(nextDeal(mark), "<no deal>") << log().text();
    EXPECT_TRUE(results().waitForLabel("Label2", "番号不明"));
    closeAndStartAgain();
    EXPECT_EQ(logged(), std::vector<std::string>{});
    EXPECT_EQ(results().label("Label19"), "0");
}

// 開始 with a box that gives no number sends nothing: the game on the board
// is not ended, and the box's refusal is told.
TEST_F(TallykeepCounting, StartWithABoxThatGivesNoNumberSendsNothing) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    standinMove(session->game);  // a game in progress
    results().setNumberBox("0");
    const std::size_t mark = log().size();
    const HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
    clickButton(bar ? findChild(bar, nullptr, "開始") : nullptr);
    const HWND box = waitForTopLevel("#32770", "Tallykeep");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(messageBoxText(box).find("ゲーム番号にできません"), std::string::npos) << messageBoxText(box);
    clickButton(GetDlgItem(box, IDOK));
    EXPECT_TRUE(waitUntilGone(box));
    EXPECT_FALSE(log().waitFor("confirm-open", std::nullopt, mark, 500ms)) << "the game was sent a command\n" << log().text();
    EXPECT_EQ(logged(), std::vector<std::string>{});
}

// The game that ships tells its number: game 6, resigned through the game's
// own やり直し and won on the redeal, is its next attempt, and the win moves
// the box on.
TEST_F(TallykeepCounting, TheShippedGamesOwnRestartIsTheNextAttempt) {
    start();
    ASSERT_TRUE(session->selectGame("6", "6")) << log().text();
    standinMove(session->game);
    std::size_t mark = log().size();
    post(session->game, WM_COMMAND, 303);  // ゲーム→やり直し
    ASSERT_TRUE(log().waitFor("confirm-yes", std::string(), mark)) << log().text();
    EXPECT_TRUE(results().waitForLabel("Label1", "2")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "7")) << log().text();
    EXPECT_EQ(logged(), (std::vector<std::string>{"6,1,負け,1", "6,2,勝ち,0"}));
    EXPECT_EQ(results().numberBox(), "7");
}

}  // namespace
