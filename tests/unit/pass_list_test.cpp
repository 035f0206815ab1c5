#include <gtest/gtest.h>

#include <initializer_list>

#include "common/app_error.h"
#include "records/pass_list.h"

namespace {

PassSlots list(std::initializer_list<const char*> filled) {
    PassSlots slots;
    std::size_t i = 0;
    for (const char* text : filled) slots[i++] = text;
    return slots;
}

struct PassCase {
    const char* name;
    PassSlots before;
    const char* box;
    PassSlots after;
    int32_t next;
};

void PrintTo(const PassCase& c, std::ostream* out) { *out << c.name; }

class PassGame : public ::testing::TestWithParam<PassCase> {};

TEST_P(PassGame, StoresDropsDuplicatesSortsAndMovesTheBoxOn) {
    PassSlots slots = GetParam().before;
    const PassOutcome outcome = passGame(slots, GetParam().box);
    EXPECT_FALSE(outcome.listFull);
    EXPECT_EQ(slots, GetParam().after);
    EXPECT_EQ(outcome.nextNumber, GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PassGame,
    ::testing::Values(PassCase{"Empty", {}, "1234", list({"1234"}), 1235},
                      PassCase{"Lowest", list({"300", "200"}), "100", list({"300", "200", "100"}), 101},
                      PassCase{"Highest", list({"300", "200", "100"}), "500", list({"500", "300", "200", "100"}), 501},
                      PassCase{"Duplicate", list({"300", "200"}), "200", list({"300", "200"}), 201},
                      PassCase{"NumericNotTextOrder", list({"999"}), "1000", list({"1000", "999"}), 1001},
                      PassCase{"SameNumberOtherText", list({"0100"}), "100", list({"0100", "100"}), 101},
                      PassCase{"LoadedGap", list({"", "", "7"}), "5", list({"7", "", "5"}), 6},
                      PassCase{"LoadedNonNumberSinks", list({"1.5", "", "300"}), "500", list({"500", "300", "1.5"}), 501},
                      PassCase{"Wraps", {}, "2147483647", list({"2147483647"}), -2147483647 - 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PassGame, FullListOrNonNumberChangesNothing) {
    const PassSlots full = list({"10", "9", "8", "7", "6", "5", "4", "3", "2", "1"});
    PassSlots slots = full;
    EXPECT_TRUE(passGame(slots, "11").listFull);
    EXPECT_EQ(slots, full);
    slots = list({"300"});
    EXPECT_THROW(passGame(slots, "12A"), AppError);
    EXPECT_EQ(slots, list({"300"}));
}

TEST(TakeBackPass, EmptiesTheSlotAndClosesTheFirstGapOnce) {
    PassSlots slots = list({"500", "300", "200", "100"});
    takeBackPass(slots, 1);
    EXPECT_EQ(slots, list({"500", "200", "100"}));

    slots = list({"", "9", "7"});
    takeBackPass(slots, 2);
    EXPECT_EQ(slots, list({"9"}));

    slots = list({"", "9", "", "7"});
    takeBackPass(slots, 1);
    EXPECT_EQ(slots, list({"", "", "7"})) << "one pass moves the rest one place only";
}

}  // namespace
