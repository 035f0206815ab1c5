#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

#include "standin/cards.h"
#include "standin/freecell_game.h"
#include "standin/game_texts.h"
#include "standin/menu_route.h"
#include "standin/statistics.h"

namespace standin {
namespace {

TEST(Deal, GameOneStartsWithTheKnownFirstRow) {
    EXPECT_EQ(firstRow(dealBoard(1)), "JD 2D 9H JC 5D 7H 7C 5H");
}

TEST(Deal, SpreadsAllFiftyTwoCardsSevenAndSixPerColumn) {
    const Board board = dealBoard(11982);
    std::set<Card> seen;
    for (int column = 0; column < kColumnCount; ++column) {
        EXPECT_EQ(board.columns[column].size(), column < 4 ? 7u : 6u) << "column " << column;
        seen.insert(board.columns[column].begin(), board.columns[column].end());
    }
    EXPECT_EQ(seen.size(), 52u);
}

TEST(Deal, FixedGamesAreUnshuffledAndDiffer) {
    EXPECT_EQ(firstRow(dealBoard(-1)), "AC AD AH AS 2C 2D 2H 2S");
    EXPECT_EQ(firstRow(dealBoard(-2)), "KS KH KD KC QS QH QD QC");
}

TEST(Deal, HighNumbersDealDistinctGames) {
    EXPECT_NE(firstRow(dealBoard(1000000)), firstRow(dealBoard(999999)));
}

TEST(Moves, AMoveChangesTheBoardAndFinishingSendsAllHome) {
    Board board = dealBoard(1);
    ASSERT_TRUE(makeOneMove(board));
    EXPECT_TRUE(board.cells[0].has_value());
    finishBoard(board);
    EXPECT_TRUE(isFinished(board));
}

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
    const StandinConfig xp = configure({2, 5, 1}, environment({}));
    EXPECT_STREQ(xp.texts.name, "default");
    EXPECT_EQ(xp.maxGameNumber, 1000000);
    const StandinConfig nt4 = configure({2, 4, 0}, environment({}));
    EXPECT_STREQ(nt4.texts.name, "nt4");
    EXPECT_EQ(nt4.maxGameNumber, 32000);
    EXPECT_STREQ(configure({1, 4, 0}, environment({})).texts.name, "win95");
    EXPECT_STREQ(configure({1, 4, 90}, environment({})).texts.name, "win98");
}

TEST(Configuration, EnvironmentOverridesTheVersion) {
    const StandinConfig config =
        configure({2, 5, 1}, environment({{"FREECELL_TEXTS", "win95"}, {"FREECELL_MAXGAME", "500"},
                                          {"FREECELL_LOG", "x.log"}}));
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
        EXPECT_STRNE(mismatch.profile.TitleGameNumber, other.profile.TitleGameNumber) << name;
        EXPECT_STRNE(mismatch.profile.TitleGameOver, other.profile.TitleGameOver) << name;
        EXPECT_STRNE(mismatch.profile.TitleConfirm, other.profile.TitleConfirm) << name;
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

class MemoryStore : public StatisticsStore {
public:
    Statistics load() override { return values; }
    void save(const Statistics& statistics) override {
        values = statistics;
        ++saves;
    }
    Statistics values;
    int saves = 0;
};

// Answers the game's dialogs from scripts and remembers what was shown.
class ScriptedUi : public GameUi {
public:
    bool confirmEndGame() override {
        ++confirms;
        return pop(confirmAnswers, true);
    }
    std::optional<std::string> askGameNumber(const std::string& initial) override {
        numberFields.push_back(initial);
        if (duringNumberDialog) duringNumberDialog();
        return pop(numberAnswers, std::optional<std::string>());
    }
    LostAnswer askAfterLoss() override { return pop(lostAnswers, LostAnswer{true, true}); }
    WonAnswer askAfterWin(bool selectGame) override {
        wonBoxStates.push_back(selectGame);
        return pop(wonAnswers, WonAnswer{true, selectGame});
    }
    void boardChanged() override {}

    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> numberAnswers;
    std::deque<LostAnswer> lostAnswers;
    std::deque<WonAnswer> wonAnswers;
    std::function<void()> duringNumberDialog;
    int confirms = 0;
    std::vector<std::string> numberFields;
    std::vector<bool> wonBoxStates;

private:
    template <typename T>
    static T pop(std::deque<T>& answers, T fallback) {
        if (answers.empty()) return fallback;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class GameFlow : public ::testing::Test {
protected:
    void selectAndDeal(const std::string& number) {
        ui.numberAnswers.push_back(number);
        game.selectGame();
    }

    ScriptedUi ui;
    MemoryStore store;
    EventLog log;
    int32_t nextRandom = 777;
    FreeCellGame game{ui, store, log, 32000, [this] { return nextRandom; }};
};

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

TEST_F(GameFlow, UndoTakesBackOneMoveOnly) {
    selectAndDeal("5");
    game.makeMove();
    game.makeMove();
    game.undo();
    game.undo();
    EXPECT_EQ(game.moves(), 1);
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
}  // namespace standin
