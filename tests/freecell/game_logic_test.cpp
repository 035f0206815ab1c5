#include <gtest/gtest.h>

#include <map>

#include "game_flow_fixture.h"
#include "freecell/freecell_game.h"
#include "freecell/game_texts.h"
#include "freecell/test_configuration.h"
#include "freecell/menu_route.h"
#include "freecell/statistics.h"

namespace freecell {
namespace {

using testing::GameFlow;

TEST(StatisticsRules, StreaksFollowTheResults) {
    Statistics s;
    addWin(s);
    addWin(s);
    addLoss(s);
    EXPECT_EQ(describe(s), "won=2 lost=1 wins=2 losses=1 streak=1 stype=0");
    addLoss(s);
    addLoss(s);
    addWin(s);
    EXPECT_EQ(describe(s), "won=3 lost=3 wins=2 losses=3 streak=1 stype=1");
}

TEST(StatisticsRules, CountersWrapInsteadOfOverflowing) {
    Statistics s;
    s.won = INT32_MAX;
    addWin(s);
    EXPECT_EQ(s.won, INT32_MIN);
}

TEST(StatisticsRules, SameNumberIsNotRecordedTwiceInARow) {
    ResultRules rules;
    EXPECT_TRUE(rules.shouldRecordLoss(5));
    rules.recorded(5);
    EXPECT_FALSE(rules.shouldRecordLoss(5));
    EXPECT_FALSE(rules.shouldRecordWin(5));
    EXPECT_TRUE(rules.shouldRecordWin(6));
}

TEST(StatisticsRules, FixedGamesCountOnlyTheirWins) {
    ResultRules rules;
    EXPECT_FALSE(rules.shouldRecordLoss(-1));
    EXPECT_FALSE(rules.shouldRecordLoss(-2));
    EXPECT_TRUE(rules.shouldRecordWin(-1));
}

TEST(NumberField, ReadsSignedDecimalOnly) {
    EXPECT_EQ(parseSignedDecimal("12"), 12);
    EXPECT_EQ(parseSignedDecimal("  -2"), -2);
    EXPECT_EQ(parseSignedDecimal("+7"), 7);
    EXPECT_EQ(parseSignedDecimal("-2147483648"), INT32_MIN);
    EXPECT_EQ(parseSignedDecimal(""), std::nullopt);
    EXPECT_EQ(parseSignedDecimal("-"), std::nullopt);
    EXPECT_EQ(parseSignedDecimal("12a"), std::nullopt);
    EXPECT_EQ(parseSignedDecimal("0x10"), std::nullopt);
    EXPECT_EQ(parseSignedDecimal("2147483648"), std::nullopt);
}

std::function<std::optional<std::string>(const char*)> environment(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(Configuration, VersionChoosesTextsAndHighestNumber) {
    const GameConfig xp = configure({2, 5, 1}, environment({}));
    EXPECT_STREQ(xp.texts.name, "default");
    EXPECT_EQ(xp.maxGameNumber, 1000000);
    const GameConfig nt4 = configure({2, 4, 0}, environment({}));
    EXPECT_STREQ(nt4.texts.name, "nt4");
    EXPECT_EQ(nt4.maxGameNumber, 32000);
    EXPECT_STREQ(configure({1, 4, 0}, environment({})).texts.name, "win95");
    EXPECT_STREQ(configure({1, 4, 90}, environment({})).texts.name, "win98");
}

TEST(Configuration, EnvironmentOverridesTheVersion) {
    const GameConfig config = configure(
        {2, 5, 1}, environment({{"FREECELL_TEXTS", "win95"}, {"FREECELL_MAXGAME", "500"}, {"FREECELL_LOG", "x.log"}}));
    EXPECT_STREQ(config.texts.name, "win95");
    EXPECT_EQ(config.maxGameNumber, 500);
    EXPECT_EQ(config.logPath, "x.log");
}

TEST(Configuration, UnknownTextSetKeepsTheVersionsChoice) {
    EXPECT_STREQ(configure({2, 4, 0}, environment({{"FREECELL_TEXTS", "klingon"}})).texts.name, "nt4");
}

TEST(Configuration, MismatchTextsMatchNoJapaneseSet) {
    const GameTexts mismatch = *textsNamed("mismatch");
    for (const char* name : {"default", "nt4", "win95", "win98"}) {
        const GameTexts other = *textsNamed(name);
        EXPECT_STRNE(mismatch.titleGameNumber, other.titleGameNumber) << name;
        EXPECT_STRNE(mismatch.titleGameOver, other.titleGameOver) << name;
        EXPECT_STRNE(mismatch.titleConfirm, other.titleConfirm) << name;
    }
}

TEST(MenuRouteKeys, AltGRRestartsOnce) {
    MenuRoute route;
    route.menuBarEntered();
    EXPECT_EQ(route.keyDown('G'), MenuRoute::Action::Consumed);
    EXPECT_EQ(route.keyDown(18), MenuRoute::Action::PassOn);  // Alt leaves the route as it is
    EXPECT_EQ(route.keyDown('R'), MenuRoute::Action::Restart);
    EXPECT_EQ(route.keyDown('R'), MenuRoute::Action::PassOn);
}

TEST(MenuRouteKeys, RWithoutTheGameMenuDoesNothing) {
    MenuRoute route;
    EXPECT_EQ(route.keyDown('R'), MenuRoute::Action::PassOn);
    route.menuBarEntered();
    EXPECT_EQ(route.keyDown('R'), MenuRoute::Action::PassOn);
}

TEST(MenuRouteKeys, AnotherKeyLeavesTheRoute) {
    MenuRoute route;
    route.menuBarEntered();
    EXPECT_EQ(route.keyDown('X'), MenuRoute::Action::PassOn);
    EXPECT_EQ(route.keyDown('G'), MenuRoute::Action::PassOn);
    EXPECT_EQ(route.keyDown('R'), MenuRoute::Action::PassOn);
}

TEST(MenuRouteKeys, GWithoutTheMenuBarIsLeftToTheRealMenu) {
    MenuRoute route;
    EXPECT_EQ(route.keyDown('G'), MenuRoute::Action::PassOn);
}

TEST_F(GameFlow, SelectWithoutAGameAsksNoConfirmation) {
    selectAndDeal("5");
    EXPECT_EQ(ui.confirms, 0);
    EXPECT_EQ(game.stateText(), "game=5 moves=0 inprogress=1 select=1");
}

TEST_F(GameFlow, TheNumberFieldShowsTheCurrentGame) {
    selectAndDeal("5");
    ui.numberAnswers.push_back(std::nullopt);
    game.selectGame();
    EXPECT_EQ(ui.numberFields, (std::vector<std::string>{"777", "5"}));
}

TEST_F(GameFlow, ARefusedNumberOpensANewDialogWithZero) {
    ui.numberAnswers = {"0", "32001", "-3", "abc", "32000"};
    game.selectGame();
    EXPECT_EQ(ui.numberFields, (std::vector<std::string>{"777", "0", "0", "0", "0"}));
    EXPECT_EQ(game.number(), 32000);
}

TEST_F(GameFlow, TheFixedGamesAreAccepted) {
    selectAndDeal("-2");
    EXPECT_EQ(game.number(), -2);
}

TEST_F(GameFlow, CancelLeavesTheBoard) {
    selectAndDeal("5");
    game.makeMove();
    ui.numberAnswers.push_back(std::nullopt);
    game.selectGame();
    EXPECT_EQ(game.stateText(), "game=5 moves=1 inprogress=0 select=1");
    EXPECT_EQ(store.values.lost, 1);  // the confirmed resign counted
}

TEST_F(GameFlow, DecliningTheConfirmationKeepsTheGame) {
    selectAndDeal("5");
    ui.confirmAnswers.push_back(false);
    game.newGame();
    EXPECT_EQ(game.stateText(), "game=5 moves=0 inprogress=1 select=1");
    EXPECT_EQ(store.saves, 0);
}

TEST_F(GameFlow, NewGameResignsAndDealsARandomNumber) {
    selectAndDeal("5");
    game.newGame();
    EXPECT_EQ(ui.confirms, 1);
    EXPECT_EQ(store.values.lost, 1);
    EXPECT_EQ(game.stateText(), "game=777 moves=0 inprogress=1 select=0");
}

TEST_F(GameFlow, LossWithSameGameRedealsAndCountsOnce) {
    selectAndDeal("5");
    game.lose();
    EXPECT_EQ(game.number(), 5);
    EXPECT_TRUE(game.inProgress());
    game.lose();
    EXPECT_EQ(store.values.lost, 1);
}

TEST_F(GameFlow, LossWithoutSameGameFollowsTheSelectFlag) {
    selectAndDeal("5");
    ui.lostAnswers.push_back({true, false});
    ui.numberAnswers.push_back("9");
    game.lose();
    EXPECT_EQ(game.number(), 9);
}

TEST_F(GameFlow, LossOfAFixedGameIsNotRecorded) {
    selectAndDeal("-1");
    game.lose();
    EXPECT_EQ(store.saves, 0);
}

TEST_F(GameFlow, NoAfterALossFreezesTheBoard) {
    selectAndDeal("5");
    ui.lostAnswers.push_back({false, true});
    game.lose();
    EXPECT_FALSE(game.inProgress());
    EXPECT_TRUE(game.close());
    EXPECT_EQ(ui.confirms, 0);
}

TEST_F(GameFlow, WinDialogBoxShowsTheSelectFlag) {
    selectAndDeal("5");
    ui.numberAnswers.push_back("6");
    game.win();
    game.newGame();
    game.win();
    EXPECT_EQ(ui.wonBoxStates, (std::vector<bool>{true, false}));
}

TEST_F(GameFlow, WinWithTheBoxTickedAsksForTheNextNumber) {
    game.newGame();
    ui.wonAnswers.push_back({true, true});
    ui.numberAnswers.push_back("778");
    game.win();
    EXPECT_EQ(store.values.won, 1);
    EXPECT_EQ(game.stateText(), "game=778 moves=0 inprogress=1 select=1");
}

TEST_F(GameFlow, WinWithTheBoxClearDealsRandomly) {
    selectAndDeal("5");
    ui.wonAnswers.push_back({true, false});
    game.win();
    EXPECT_EQ(game.stateText(), "game=777 moves=0 inprogress=1 select=0");
}

TEST_F(GameFlow, AWinAfterALossOfTheSameNumberIsNotRecorded) {
    selectAndDeal("5");
    game.lose();
    ui.wonAnswers.push_back({false, false});
    game.win();
    EXPECT_EQ(store.values.won, 0);
}

TEST_F(GameFlow, CloseDuringAGameConfirmsAndCountsALoss) {
    selectAndDeal("5");
    EXPECT_TRUE(game.close());
    EXPECT_EQ(store.values.lost, 1);
    ui.confirmAnswers.push_back(false);
    selectAndDeal("6");
    EXPECT_FALSE(game.close());
}

TEST_F(GameFlow, UndoTakesBackEveryMoveBackToTheDealAndNoFurther) {
    selectAndDeal("5");
    const Board dealt = game.board();
    game.makeMove();
    const Board afterFirst = game.board();
    game.makeMove();
    game.makeMove();
    game.undo();
    game.undo();
    EXPECT_EQ(game.moves(), 1);
    EXPECT_EQ(game.board(), afterFirst);
    game.undo();
    EXPECT_EQ(game.board(), dealt);
    game.undo();  // nothing before the deal
    EXPECT_EQ(game.stateText(), "game=5 moves=0 inprogress=1 select=1");
    EXPECT_EQ(game.board(), dealt);
}

TEST_F(GameFlow, ARestartedDealHasNothingToUndo) {
    selectAndDeal("5");
    game.makeMove();
    game.restart();
    const Board dealt = game.board();
    game.undo();
    EXPECT_EQ(game.board(), dealt);
    EXPECT_EQ(game.moves(), 0);
}

TEST_F(GameFlow, RestartRedealsTheSameNumberAfterConfirming) {
    selectAndDeal("5");
    game.makeMove();
    game.restart();
    EXPECT_EQ(ui.confirms, 1);
    EXPECT_EQ(game.stateText(), "game=5 moves=0 inprogress=1 select=1");
}

TEST_F(GameFlow, RestartWithoutAnyGameIsIgnored) {
    game.restart();
    EXPECT_FALSE(game.hasGame());
}

TEST_F(GameFlow, CommandsWhileADialogIsOpenAreRefused) {
    ui.duringNumberDialog = [this] { game.newGame(); };
    selectAndDeal("5");
    EXPECT_EQ(game.number(), 5);
    EXPECT_EQ(ui.numberFields.size(), 1u);
}

}  // namespace
}  // namespace freecell
