// The keeper of the record through whole sessions, with its files in memory
// and no window: what the log, the settings file and the player are given.
#include "records/record_keeper.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "record_doubles.h"
#include "records/results_log_reader.h"

namespace {

using record_test::KeeperWorld;

// A registry that takes the snapshot and counts, or refuses, the write-back.
class CountingStatistics : public StatisticsRegistry, public StatisticsKey {
public:
    int writes = 0;
    bool refusing = false;

    Opening openKey() override {
        Opening opening;
        opening.key = std::make_unique<Key>(*this);
        return opening;
    }
    ValueInfo query(const char*) override { return {Lookup::missing, 0, 0}; }
    bool read(const char*, uint8_t*, uint32_t) override { return false; }
    bool write(const char*, const std::array<uint8_t, 4>&) override {
        ++writes;
        return !refusing;
    }

private:
    class Key : public StatisticsKey {
    public:
        explicit Key(CountingStatistics& owner) : owner_(owner) {}
        ValueInfo query(const char* name) override { return owner_.query(name); }
        bool read(const char* name, uint8_t* buffer, uint32_t size) override { return owner_.read(name, buffer, size); }
        bool write(const char* name, const std::array<uint8_t, 4>& bytes) override { return owner_.write(name, bytes); }

    private:
        CountingStatistics& owner_;
    };
};

class RecordKeeperSession : public ::testing::Test {
protected:
    // The game deals the number the box gives, as the watcher enters it.
    RecordChange deal(const std::string& text) {
        const NumberToDeal deal = keeper.numberToDeal(text);
        EXPECT_TRUE(deal.number) << text << ": " << deal.refusal;
        return keeper.gameDealt(deal.number.value_or(0));
    }
    RecordChange play(const std::string& text, GameEnd end) {
        deal(text);
        const RecordChange change = keeper.gameEnded(end, 0);
        keeper.saveIfChanged();
        return change;
    }
    std::vector<std::string> logLines() const { return world.loggedLines(); }

    KeeperWorld world;
    RecordKeeper keeper{world.files(), 32000};
};

TEST_F(RecordKeeperSession, ResultsPassesAndAClearAreCountedLoggedAndSaved) {
    EXPECT_EQ(keeper.load().boxText, "1");

    EXPECT_EQ(play("1", GameEnd::won).boxText, "2");
    play("2", GameEnd::lost);
    EXPECT_EQ(keeper.inPlay().attempt, 2);
    EXPECT_EQ(play("2", GameEnd::won).boxText, "3");
    const RecordChange passed = keeper.pass("3");
    EXPECT_EQ(passed.boxText, "4");
    ASSERT_EQ(passed.logged.size(), 1u) << "the progress window is given the line";
    EXPECT_EQ(passed.logged[0].event, LogEvent::pass);

    const Tally& tally = keeper.tally();
    EXPECT_EQ(tally.ledger.won, 1);
    EXPECT_EQ(tally.ledger.lost, 1);
    EXPECT_EQ(tally.history.lines()[0], "2 負け（2回）");
    EXPECT_EQ(tally.history.lines()[1], "1 勝ち");
    EXPECT_EQ(tally.passes[0], "3");
    EXPECT_EQ(world.saved("Game/GameNo"), "4") << "the box's number";
    EXPECT_EQ(world.saved("Rtry/Retry0"), "3");

    EXPECT_EQ(keeper.takeBackPass(0, "4").boxText, "3");
    EXPECT_THROW(keeper.takeBackPass(0, "4"), std::out_of_range) << "an empty slot is no passed game";
    EXPECT_THROW(keeper.takeBackPass(10, "4"), std::out_of_range);
    keeper.clearTotals("3");
    EXPECT_EQ(tally.ledger.won, 0);
    EXPECT_EQ(tally.ledger.runWins, 1) << "this run's counts stay";
    EXPECT_EQ(world.saved("Score/won"), "0");

    EXPECT_EQ(logLines(), (std::vector<std::string>{"1,1,勝ち,1", "2,1,負け,1", "2,2,勝ち,0", "3,1,パス,0",
                                                    "3,1,再挑戦,0", "3,1,クリア,1"}));
    EXPECT_TRUE(keeper.takeProblems().empty());

    // The next start goes on where this one ended.
    RecordKeeper next(world.files(), 32000);
    EXPECT_EQ(next.load().boxText, "3");
    EXPECT_EQ(next.tally().history.lines()[0], std::string());
}

// The counting rules, each as a player's moves and what the record says
// after them. Moves: "deal N" (Tallykeep entered N), "won", "lost" (the lost
// dialog, whose yes deals the same game), "resigned" (an end-this-game box),
// "restart" and "start" (the bar's やり直し and 開始), "unknown" (the won
// dialog answered with its select box unticked), "told N" (the game told the
// number of the deal on its board), "pass", "retry" (the first passed game
// taken back), "box N" (typed), "reopen" (closed and started again).
struct CountingCase {
    const char* name;
    std::vector<std::string> moves;
    std::vector<std::string> logLines;
    std::string box;
    bool boardKnown;
};

const CountingCase kCountingCases[] = {
    {"a random deal after an unticked select box counts nothing",
     {"deal 22", "won", "unknown", "won"},
     {"22,1,勝ち,1"},
     "23",
     false},
    {"a game dealt by the game itself on a won board counts nothing",
     {"deal 22", "won", "lost"},
     {"22,1,勝ち,1"},
     "23",
     false},
    {"a random deal the game tells the number of counts under it, once; the box keeps its number",
     {"deal 22", "won", "unknown", "told 27353", "lost", "told 27353", "won", "restart", "won", "deal 23", "won"},
     {"22,1,勝ち,1", "27353,1,負け,1", "27353,2,勝ち,0", "27353,3,勝ち,0", "23,1,勝ち,1"},
     "24",
     true},
    {"開始 during a game: a loss, then the number the box gives",
     {"deal 7", "start", "resigned"},
     {"7,1,負け,1"},
     "7",
     true},
    {"F2 resigns the game in play, and its random deal counts nothing",
     {"deal 3", "won", "deal 4", "resigned", "won", "deal 4", "won"},
     {"3,1,勝ち,1", "4,1,負け,1", "4,2,勝ち,0"},
     "5",
     true},
    {"a win, no, then restart: the same number again, not the next",
     {"deal 26", "won", "restart", "won"},
     {"26,1,勝ち,1", "26,2,勝ち,0"},
     "27",
     true},
    {"restart during a game: its end-this-game box is a loss, then the same game",
     {"deal 7", "restart", "resigned", "won"},
     {"7,1,負け,1", "7,2,勝ち,0"},
     "8",
     true},
    {"the lost dialog deals the same game again", {"deal 9", "lost", "won"}, {"9,1,負け,1", "9,2,勝ち,0"}, "10", true},
    {"a typed number is kept for the next start", {"deal 5", "box 11986", "reopen"}, {}, "11986", true},
    {"ten passes then a close",
     {"box 6", "pass", "pass", "pass", "pass", "pass", "pass", "pass", "pass", "pass", "pass", "reopen"},
     {"6,1,パス,0", "7,1,パス,0", "8,1,パス,0", "9,1,パス,0", "10,1,パス,0", "11,1,パス,0", "12,1,パス,0",
      "13,1,パス,0", "14,1,パス,0", "15,1,パス,0"},
     "16",
     true},
    {"a passed game taken back survives a close, and once won the box goes back",
     {"box 14", "pass", "retry", "reopen", "deal 14", "won"},
     {"14,1,パス,0", "14,1,再挑戦,0", "14,1,勝ち,1"},
     "15",
     true},
    {"passed, resigned, taken back and won: the pass counted nothing, then back to where the box was",
     {"deal 3", "pass", "resigned", "deal 4", "won", "retry", "deal 3", "won"},
     {"3,1,パス,0", "4,1,勝ち,1", "3,1,再挑戦,0", "3,1,勝ち,1"},
     "5",
     true},
    {"a number counted in an earlier run counts nothing",
     {"deal 1", "won", "reopen", "deal 1", "won"},
     {"1,1,勝ち,1", "1,2,勝ち,0"},
     "2",
     true},
    {"after a clear every number counts again",
     {"deal 1", "won", "clear", "reopen", "deal 1", "won"},
     {"1,1,勝ち,1", "2,1,クリア,1", "1,1,勝ち,1"},
     "2",
     true},
    {"the highest number won goes on with game 1", {"deal 32000", "won"}, {"32000,1,勝ち,1"}, "1", true},
    {"taking back a second game puts the first, unplayed, back on the list",
     {"box 20", "pass", "pass", "retry", "retry", "deal 20", "won"},
     {"20,1,パス,0", "21,1,パス,0", "21,1,再挑戦,0", "20,1,再挑戦,0", "21,1,パス,0", "20,1,勝ち,1"},
     "22",
     true},
};

void PrintTo(const CountingCase& counting, std::ostream* out) { *out << counting.name; }

class CountingRules : public ::testing::TestWithParam<CountingCase> {
protected:
    std::vector<std::string> logLines() const { return world.loggedLines(); }

    KeeperWorld world;
};

TEST_P(CountingRules, TheRecordAfterThePlayersMoves) {
    auto keeper = std::make_unique<RecordKeeper>(world.files(), 32000);
    std::string box = *keeper->load().boxText;
    const auto show = [&box](const RecordChange& change) {
        if (change.boxText) box = *change.boxText;
    };
    for (const std::string& move : GetParam().moves) {
        const std::string argument = move.find(' ') == std::string::npos ? "" : move.substr(move.find(' ') + 1);
        if (move.rfind("deal", 0) == 0) {
            // A box left as it was gives its own number.
            if (argument != box) keeper->boxChanged(box = argument);
            show(keeper->gameDealt(std::stoi(argument)));
        } else if (move.rfind("box", 0) == 0) {
            box = argument;
            keeper->boxChanged(box);
        } else if (move == "won" || move == "lost" || move == "resigned") {
            show(keeper->gameEnded(move == "won" ? GameEnd::won : move == "lost" ? GameEnd::lost : GameEnd::resigned, 0));
        } else if (move == "restart") {
            keeper->restartSent(0);
        } else if (move == "start") {
            keeper->startSent(0);
        } else if (move.rfind("told", 0) == 0) {
            keeper->boardTold(std::stoi(argument));
        } else if (move == "unknown") {
            show(keeper->unknownGameDealt());
        } else if (move == "pass") {
            show(keeper->pass(box));
        } else if (move == "retry") {
            show(keeper->takeBackPass(0, box));
        } else if (move == "clear") {
            show(keeper->clearTotals(box));
        } else if (move == "reopen") {
            keeper->finish(true);
            keeper = std::make_unique<RecordKeeper>(world.files(), 32000);
            box = *keeper->load().boxText;
        }
        keeper->saveIfChanged();
    }
    EXPECT_EQ(logLines(), GetParam().logLines);
    EXPECT_EQ(box, GetParam().box);
    EXPECT_EQ(keeper->attemptShown().has_value(), GetParam().boardKnown);
    // What the window shows is what the next start offers.
    keeper->finish(true);
    RecordKeeper next(world.files(), 32000);
    EXPECT_EQ(next.load().boxText, box);
}

INSTANTIATE_TEST_SUITE_P(Keeper, CountingRules, ::testing::ValuesIn(kCountingCases),
                         [](const ::testing::TestParamInfo<CountingCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST_F(RecordKeeperSession, IdleTicksWriteNothingAndEachChangeIsSavedOnce) {
    keeper.load();
    keeper.saveIfChanged();
    EXPECT_EQ(world.settings.saves, 0) << "a loaded record is not saved again";
    keeper.toggleSkipImpossible();
    EXPECT_EQ(world.settings.saves, 1);
    for (int tick = 0; tick < 5; ++tick) keeper.saveIfChanged();
    EXPECT_EQ(world.settings.saves, 1);
    EXPECT_EQ(world.saved("Extra/SkipImpossible"), "1");
}

TEST_F(RecordKeeperSession, AFileThatCannotBeWrittenIsToldOnceAndCaughtUpLater) {
    keeper.load();
    world.log.refusing = true;
    world.settings.refusing = true;
    play("1", GameEnd::won);
    play("2", GameEnd::lost);
    const std::string told = keeper.takeProblems();
    EXPECT_NE(told.find(std::string(KeeperWorld::kLogPath) + " に書き込めません"), std::string::npos) << told;
    EXPECT_NE(told.find(std::string(KeeperWorld::kIniPath) + " に書き込めません\r\naccess denied"), std::string::npos)
        << told;
    play("2", GameEnd::lost);
    EXPECT_TRUE(keeper.takeProblems().empty()) << "each problem is told once";
    EXPECT_TRUE(world.log.bytes.empty());

    world.log.refusing = false;
    world.settings.refusing = false;
    keeper.retryLog();
    EXPECT_EQ(logLines(), (std::vector<std::string>{"1,1,勝ち,1", "2,1,負け,1", "2,2,負け,0"}));
    keeper.retryLog();
    EXPECT_EQ(logLines().size(), 3u) << "written once";
    play("2", GameEnd::won);
    EXPECT_EQ(world.saved("Score/won"), "1") << "the record kept in memory is saved with the next change";
    EXPECT_EQ(world.saved("Score/lost"), "1");

    // Held again later: a new hold, told again.
    world.log.refusing = true;
    play("3", GameEnd::won);
    EXPECT_NE(keeper.takeProblems().find(" に書き込めません"), std::string::npos);
}

// Lines the log refused wait on disk: neither the end of the program nor a
// crash loses them, and the next start writes them once, in order, before
// anything new, and counts their numbers as played.
TEST_F(RecordKeeperSession, LinesWaitingWhenTallykeepEndsOrCrashesAreWrittenOnceAtTheNextStart) {
    for (const bool crashed : {false, true}) {
        SCOPED_TRACE(crashed ? "crashed" : "closed");
        KeeperWorld world;
        world.log.bytes = std::string(kResultsLogHeader) + "\r\n";
        {
            RecordKeeper first(world.files(), 32000);
            first.load();
            world.log.refusing = true;
            for (const GameEnd end : {GameEnd::won, GameEnd::lost}) {
                const NumberToDeal deal = first.numberToDeal(end == GameEnd::won ? "7" : "8");
                first.gameDealt(*deal.number);
                first.gameEnded(end, 0);
            }
            if (!crashed) first.finish(true);
        }
        EXPECT_EQ(world.log.bytes, std::string(kResultsLogHeader) + "\r\n");
        world.log.refusing = false;
        RecordKeeper next(world.files(), 32000);
        next.load();
        EXPECT_EQ(world.loggedLines(), (std::vector<std::string>{"7,1,勝ち,1", "8,1,負け,1"}));
        EXPECT_TRUE(world.waiting.bytes.empty());
        next.boxChanged("8");
        EXPECT_EQ(next.attemptShown(), 2) << "8 was counted while its line waited";
    }
}

// The run ended after the log took the waiting lines and before they were
// let go: the next start finds the log ending with them and writes none twice.
// While the log is still held, they keep waiting, and the player is told once.
TEST_F(RecordKeeperSession, WaitingLinesTheLogTookAlreadyAreNotWrittenAgain) {
    world.log.bytes = std::string(kResultsLogHeader) + "\r\n2026/03/09,07:05:03,5,1,勝ち,1\r\n" +
                      "2026/03/09,07:05:03,6,1,負け,1\r\n";
    world.waiting.bytes = "2026/03/09,07:05:03,6,1,負け,1\r\n2026/03/09,07:05:04,9,1,勝ち,1\r\n";
    world.log.refusing = true;
    keeper.load();
    EXPECT_NE(keeper.takeProblems().find(" に書き込めません"), std::string::npos);
    EXPECT_EQ(world.waiting.bytes, "2026/03/09,07:05:04,9,1,勝ち,1\r\n") << "what is left to write";
    EXPECT_EQ(keeper.waitingLines().size(), 1u);
    world.log.refusing = false;
    keeper.retryLog();
    EXPECT_EQ(logLines(), (std::vector<std::string>{"5,1,勝ち,1", "6,1,負け,1", "9,1,勝ち,1"}));
    EXPECT_TRUE(world.waiting.bytes.empty());
}

TEST_F(RecordKeeperSession, AWinMovesPastTheKnownImpossibleDealsWhenAsked) {
    world.store("Game/GameNo", "11981");
    keeper.load();
    keeper.toggleSkipImpossible();
    const RecordChange change = play("11981", GameEnd::won);
    EXPECT_EQ(change.boxText, "11983");
    EXPECT_EQ(keeper.inPlay().number, 11983);
    EXPECT_EQ(world.saved("Game/GameNo"), "11983");
    EXPECT_EQ(logLines(), (std::vector<std::string>{"11981,1,勝ち,1", "11982,1,スキップ,0"}));
}

TEST_F(RecordKeeperSession, TheGamesStatisticsGoBackOnlyWhenTheGameClosed) {
    CountingStatistics statistics;
    RecordFiles files = world.files();
    files.gameStatistics = &statistics;
    RecordKeeper withStatistics(files, 32000);
    withStatistics.load();
    withStatistics.toggleRestoreGameStatistics();
    withStatistics.finish(false);
    EXPECT_EQ(statistics.writes, 0) << "a game still running writes its own statistics when it ends";
    RecordKeeper next(files, 32000);
    next.load();
    EXPECT_EQ(next.takeProblems(),
              "前回 Tallykeep を閉じたとき、フリーセルが終了しませんでした。ゲームの成績は元に戻していません。");
    next.finish(true);
    EXPECT_EQ(statistics.writes, 6);
}

// Nobody answers a box when Windows ends the session: the failure waits in
// the settings file and is told at the next start, once.
TEST_F(RecordKeeperSession, AFailureAtTheSessionsEndIsToldAtTheNextStart) {
    CountingStatistics statistics;
    statistics.refusing = true;
    RecordFiles files = world.files();
    files.gameStatistics = &statistics;
    RecordKeeper ending(files, 32000);
    ending.load();
    ending.toggleRestoreGameStatistics();
    EXPECT_NO_THROW(ending.finishAtSessionEnd());

    RecordKeeper next(world.files(), 32000);
    next.load();
    EXPECT_EQ(next.takeProblems(), "'wins' の設定に失敗しました");
    next.saveIfChanged();
    RecordKeeper third(world.files(), 32000);
    third.load();
    EXPECT_TRUE(third.takeProblems().empty());
}

}  // namespace
