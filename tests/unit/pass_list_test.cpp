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

// The examples of everyday use are played end to end; these are the lists a
// hand-edited settings file can hold, and the edges of the arithmetic.
TEST(PassGame, WorksOnLoadedListsAsTheyAre) {
    const struct {
        PassSlots before;
        const char* box;
        PassSlots after;
        int32_t next;
    } cases[] = {
        {list({"", "", "7"}), "5", list({"7", "", "5"}), 6},                  // empty slots never move
        {list({"1.5", "", "300"}), "500", list({"500", "300", "1.5"}), 501},  // a non-number sinks
        {list({"0100"}), "100", list({"0100", "100"}), 101},                  // duplicates by text only
        {list({"9", "9"}), "8", list({"9", "", "8"}), 9},                     // a loaded duplicate goes
        {{}, "2147483647", list({"2147483647"}), -2147483647 - 1},            // the box wraps
    };
    for (const auto& c : cases) {
        PassSlots slots = c.before;
        EXPECT_EQ(passGame(slots, c.box).nextNumber, c.next) << c.box;
        EXPECT_EQ(slots, c.after) << c.box;
    }
}

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
    PassSlots slots = list({"", "9", "7"});
    takeBackPass(slots, 2);
    EXPECT_EQ(slots, list({"9"}));
    slots = list({"", "9", "", "7"});
    takeBackPass(slots, 1);
    EXPECT_EQ(slots, list({"", "", "7"})) << "one pass moves the rest one place only";
}

}  // namespace
