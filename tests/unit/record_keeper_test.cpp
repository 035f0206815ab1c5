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

    // Held again later: a new hold of either file, told again.
    world.log.refusing = true;
    world.settings.refusing = true;
    play("3", GameEnd::won);
    const std::string again = keeper.takeProblems();
    EXPECT_NE(again.find(std::string(KeeperWorld::kLogPath) + " に書き込めません"), std::string::npos) << again;
    EXPECT_NE(again.find(std::string(KeeperWorld::kIniPath) + " に書き込めません"), std::string::npos) << again;
    // Refused while the log is held, the waiting lines' file is written when
    // a line is added, not at every retry.
    const std::string kept = world.waiting.bytes;
    world.waiting.bytes.clear();
    for (int tick = 0; tick < 3; ++tick) keeper.retryLog();
    EXPECT_TRUE(world.waiting.bytes.empty()) << "rewritten at a retry";
    EXPECT_FALSE(kept.empty());
}

// The settings file is a checkpoint of the log: a start replays what came
// after it, whatever a spreadsheet did to the file, never a line twice.
class Checkpoint : public ::testing::Test {
protected:
    // A run that plays `numbers` (won) and ends without saving: killed, or
    // with the settings file held.
    void playUnsaved(const std::vector<int32_t>& numbers) {
        RecordKeeper run(world.files(), 32000);
        run.load();
        world.settings.refusing = true;
        for (const int32_t number : numbers) {
            run.gameDealt(number);
            run.gameEnded(GameEnd::won, 0);
            run.saveIfChanged();
        }
        world.settings.refusing = false;
    }
    int32_t wonAtStart() {
        RecordKeeper next(world.files(), 32000);
        next.load();
        return next.tally().ledger.won;
    }

    KeeperWorld world;
};

TEST_F(Checkpoint, LinesAfterItAreReplayedOnceAndOnlyTheTailIsRead) {
    std::vector<int32_t> forty(40);
    for (int32_t i = 0; i < 40; ++i) forty[static_cast<std::size_t>(i)] = i + 1;
    playUnsaved(forty);
    {
        RecordKeeper saved(world.files(), 32000);
        saved.load();
        saved.finish(true);
    }
    EXPECT_EQ(world.saved("Score/won"), "40") << "replayed and saved";
    playUnsaved({41});
    world.logSource.bytesRead = 0;
    EXPECT_EQ(wonAtStart(), 41);
    EXPECT_LT(world.logSource.bytesRead, world.log.bytes.size() / 3) << "the tail after the mark, not the whole log";
    EXPECT_EQ(wonAtStart(), 41) << "replayed once";
}

TEST_F(Checkpoint, ALogSavedBackByASpreadsheetIsNeverReplayedTwice) {
    playUnsaved({1, 2, 3});
    EXPECT_EQ(wonAtStart(), 3);
    {
        RecordKeeper saved(world.files(), 32000);
        saved.load();
        saved.finish(true);
    }
    // Saved back as a spreadsheet does: other dates, quotes, a blank row,
    // sorted by number, highest first.
    world.log.bytes = std::string(kResultsLogHeader) + "\r\n,,,,,,\r\n" + "\"2026/3/9\",\"7:05\",3,1,勝ち,1,3\r\n" +
                      "2026-03-09,07:05:03,2,1,勝ち,1,2\r\n" + "2026/03/09,07:05:03,1,1,勝ち,1,1\r\n";
    EXPECT_EQ(wonAtStart(), 3);
    // A line added by the next run counts once, the saved-back file read whole.
    playUnsaved({4});
    EXPECT_EQ(wonAtStart(), 4);
}

TEST_F(Checkpoint, ACheckpointAheadOfTheLogStandsAndItsNumbersGoOn) {
    playUnsaved({1, 2});
    {
        RecordKeeper saved(world.files(), 32000);
        saved.load();
        saved.finish(true);
    }
    world.log.bytes.clear();  // deleted, or cut back by hand
    EXPECT_EQ(wonAtStart(), 2);
    playUnsaved({5});
    EXPECT_EQ(wonAtStart(), 3);
    const std::string last = world.log.bytes.substr(world.log.bytes.rfind(",") + 1);
    EXPECT_EQ(last, "3\r\n") << "通番 goes on after the checkpoint's";
}

TEST_F(Checkpoint, DamagedNumbersAreReadAgainFromTheWholeLog) {
    playUnsaved({7});
    {
        RecordKeeper saved(world.files(), 32000);
        saved.load();
        saved.finish(true);
    }
    for (const std::string& damaged : {std::string(), std::string(world.played.bytes.size(), '\0'),
                                       world.played.bytes.substr(0, world.played.bytes.size() - 1)}) {
        world.played.bytes = damaged;
        RecordKeeper next(world.files(), 32000);
        next.load();
        next.boxChanged("7");
        EXPECT_EQ(next.attemptShown(), 2) << "7 was played";
        next.finish(true);
    }
    // The log and the settings file deleted, the numbers left beside them:
    // they are another record's, and 7 is new.
    world.log.bytes.clear();
    world.settings.files.clear();
    RecordKeeper fresh(world.files(), 32000);
    fresh.load();
    fresh.boxChanged("7");
    EXPECT_EQ(fresh.attemptShown(), 1);
}

// Values from a settings file edited by hand, or from a version with a wider
// range, are brought into range.
TEST_F(Checkpoint, ValuesOutsideTheRangeAreBroughtIntoIt) {
    world.store("Game/GameNo", "40000");
    world.store("Game/TryCnt", "0");
    world.store("Extra/NextGame", "-5");
    world.store("Extra/AfterRetry", "-3");
    RecordKeeper keeper(world.files(), 32000);
    EXPECT_EQ(keeper.load().boxText, "1");
    EXPECT_EQ(keeper.numberToGoBackTo(), 1);
    keeper.finish(true);
    EXPECT_EQ(world.saved("Game/TryCnt"), "1");
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

    // A close that failed, then a clean one in the same run: nothing stale
    // is told at the next start.
    RecordKeeper third(files, 32000);
    third.load();
    third.finish(false);
    third.finish(true);
    RecordKeeper fourth(files, 32000);
    fourth.load();
    EXPECT_EQ(fourth.takeProblems(), "");
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
