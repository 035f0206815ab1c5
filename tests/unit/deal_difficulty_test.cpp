// The difficulty a player reads beside the number box, and the keeper's use
// of the deals' table: what it says of each deal, the deals the skip option
// passes, and a damaged or missing table.
#include "records/deal_difficulty.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "deal_table_bytes.h"
#include "record_doubles.h"
#include "records/record_keeper.h"

namespace {

using deal_table_test::tableOf;
using record_test::KeeperWorld;

// One byte per deal: moves band in the high five bits, cells code in the low three.
constexpr uint8_t record(int code, int band) { return static_cast<uint8_t>(band << 3 | code); }

TEST(DealDifficulty, EachAnswerOfTheTableReadsAsOneWord) {
    const std::vector<uint8_t> records = {record(0, 12), record(1, 14), record(2, 14), record(3, 15), record(4, 20),
                                          record(6, 14), record(5, 0),  record(7, 0),  record(7, 1)};
    const DealTableLoad load = parseDealTable(tableOf(records));
    ASSERT_TRUE(load.table);
    const std::vector<std::string> words = {"フリーセル0枚",
                                            "フリーセル1枚",
                                            "フリーセル2枚",
                                            "フリーセル3枚",
                                            "フリーセル4枚",
                                            "フリーセル4枚以内",
                                            "解けない",
                                            "",
                                            ""};
    for (int32_t deal = 1; deal <= 9; ++deal)
        EXPECT_EQ(difficultyWord(difficultyLevel(load.table->facts(deal))), words[static_cast<size_t>(deal - 1)])
            << "deal " << deal;
    // Outside the table: nothing is said.
    EXPECT_EQ(difficultyLevel(load.table->facts(10)), DifficultyLevel::unknown);
    EXPECT_EQ(difficultyLevel(load.table->facts(0)), DifficultyLevel::unknown);
}

class KeeperWithTable : public ::testing::Test {
protected:
    RecordFiles filesWith(std::vector<uint8_t> bytes) {
        RecordFiles files = world.files();
        files.dealTablePath = "C:\\Games\\deals.tkd";
        files.readDealTable = [bytes] { return parseDealTable(bytes); };
        return files;
    }
    KeeperWorld world;
};

// Deal 7 cannot be won; 11982, beyond a table of 20 deals, stays known as one.
TEST_F(KeeperWithTable, TheSkipPassesTheTablesImpossibleDealsAndTheKnownOnesItHasNoAnswerFor) {
    std::vector<uint8_t> records(20, record(2, 14));
    records[6] = record(5, 0);
    world.store("Game/GameNo", "6");
    RecordKeeper keeper(filesWith(tableOf(records)), 32000);
    keeper.load();
    EXPECT_EQ(keeper.takeProblems(), "");
    keeper.toggleSkipImpossible();

    EXPECT_EQ(keeper.difficultyOf(6), DifficultyLevel::freeCells2);
    EXPECT_EQ(keeper.difficultyOf(7), DifficultyLevel::cannotBeWon);
    EXPECT_EQ(keeper.difficultyOf(11982), DifficultyLevel::cannotBeWon);
    EXPECT_EQ(keeper.difficultyOf(21), DifficultyLevel::unknown);
    EXPECT_EQ(keeper.impossibleDeals(), (std::vector<int32_t>{7, 11982}));

    keeper.gameDealt(6);
    const RecordChange change = keeper.gameEnded(GameEnd::won, 0);
    EXPECT_EQ(change.boxText, "8");
    EXPECT_EQ(world.loggedLines(), (std::vector<std::string>{"6,1,勝ち,1", "7,1,スキップ,0"}));
}

// A deal the known list names but the table shows won is not passed.
TEST_F(KeeperWithTable, TheTablesAnswerOutweighsTheKnownList) {
    std::vector<uint8_t> records(12000, record(1, 14));
    world.store("Game/GameNo", "11981");
    RecordKeeper keeper(filesWith(tableOf(records)), 32000);
    keeper.load();
    keeper.toggleSkipImpossible();
    keeper.gameDealt(11981);
    EXPECT_EQ(keeper.gameEnded(GameEnd::won, 0).boxText, "11982");
    EXPECT_FALSE(keeper.isImpossible(11982));
}

// A damaged table is told once and never half-read; a missing one is not told
// at all. Either way no difficulty is shown and the known deals stand in.
TEST_F(KeeperWithTable, WithoutAUsableTableTheKnownDealsStandInAndOnlyADamagedOneIsTold) {
    std::vector<uint8_t> damaged = tableOf(std::vector<uint8_t>(20, record(2, 14)));
    damaged[20] = record(3, 14);  // a valid record, but no longer the one the checksum was made for
    {
        SCOPED_TRACE("damaged");
        world.store("Game/GameNo", "11981");
        RecordKeeper keeper(filesWith(damaged), 32000);
        keeper.load();
        const std::string told = keeper.takeProblems();
        EXPECT_NE(told.find("C:\\Games\\deals.tkd"), std::string::npos) << told;
        EXPECT_NE(told.find("チェックサム"), std::string::npos) << told;
        EXPECT_EQ(keeper.takeProblems(), "") << "told once";
        EXPECT_EQ(keeper.dealTable(), nullptr) << "never half-read";
        EXPECT_EQ(keeper.difficultyOf(5), DifficultyLevel::unknown);
        EXPECT_EQ(keeper.impossibleDeals(), std::vector<int32_t>{11982});
        keeper.toggleSkipImpossible();
        keeper.gameDealt(11981);
        EXPECT_EQ(keeper.gameEnded(GameEnd::won, 0).boxText, "11983");
    }
    {
        SCOPED_TRACE("missing");
        RecordFiles files = world.files();
        files.readDealTable = [] {
            DealTableLoad absent;
            absent.refusal = DealTableRefusal::absent;
            return absent;
        };
        RecordKeeper keeper(files, 1000000);
        keeper.load();
        EXPECT_EQ(keeper.takeProblems(), "");
        EXPECT_EQ(keeper.difficultyOf(11982), DifficultyLevel::unknown);
        EXPECT_TRUE(keeper.isImpossible(781948));
        EXPECT_EQ(keeper.impossibleDeals().size(), 8u);
    }
}

TEST(DealTablePath, TheTableLiesBesideTheProgramEvenInAFolderWhoseNameEndsIn0x5C) {
    EXPECT_EQ(dealTablePathFor("C:\\Games\\Tallykeep.exe"), "C:\\Games\\deals.tkd");
    // 表 is 0x95 0x5C in code page 932: its second byte is no folder separator.
    EXPECT_EQ(dealTablePathFor("C:\\表\\Tallykeep.exe"), "C:\\表\\deals.tkd");
    EXPECT_EQ(dealTablePathFor("C:\\Games\\表"), "C:\\Games\\deals.tkd");
    EXPECT_EQ(dealTablePathFor("Tallykeep.exe"), "deals.tkd");
}

}  // namespace
