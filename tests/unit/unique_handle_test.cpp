#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "common/unique_handle.h"

namespace {

// Handles are numbers here; -1 holds nothing. Every close is recorded with
// the owner that the traits carry, as a device context carries its window.
std::vector<std::pair<int, int>> closed;  // (owner, handle)

struct CountedKind {
    using Handle = int;
    int owner = 0;
    static Handle invalid() { return -1; }
    void close(Handle handle) const { closed.emplace_back(owner, handle); }
};
using Counted = UniqueHandle<CountedKind>;

class UniqueHandleTest : public ::testing::Test {
protected:
    void SetUp() override { closed.clear(); }
};

TEST_F(UniqueHandleTest, ClosesItsHandleOnceWhenItGoes) {
    { const Counted handle(7, {3}); }
    EXPECT_EQ(closed, (std::vector<std::pair<int, int>>{{3, 7}}));
}

TEST_F(UniqueHandleTest, HoldingNothingClosesNothing) {
    { const Counted none; }
    { const Counted failed(CountedKind::invalid()); }
    EXPECT_TRUE(closed.empty());
}

TEST_F(UniqueHandleTest, MovedHandleIsClosedByItsNewOwnerOnly) {
    {
        Counted first(1);
        Counted second(std::move(first));
        EXPECT_FALSE(first);
        Counted third(2);
        third = std::move(second);
        EXPECT_EQ(closed, (std::vector<std::pair<int, int>>{{0, 2}})) << "the handle it held before";
        EXPECT_EQ(third.get(), 1);
    }
    EXPECT_EQ(closed, (std::vector<std::pair<int, int>>{{0, 2}, {0, 1}}));
}

TEST_F(UniqueHandleTest, ResetClosesTheOldHandleAndReleaseClosesNone) {
    Counted handle(4);
    handle.reset(5);
    EXPECT_EQ(closed, (std::vector<std::pair<int, int>>{{0, 4}}));
    EXPECT_EQ(handle.release(), 5);
    EXPECT_FALSE(handle);
    handle.reset();
    EXPECT_EQ(closed.size(), 1u);
}

TEST_F(UniqueHandleTest, ResetWithTheHandleItHoldsKeepsItOpenAndClosesItOnceWhenItGoes) {
    {
        Counted handle(6);
        handle.reset(handle.get());
        EXPECT_TRUE(closed.empty()) << "the handle it keeps is still open";
        EXPECT_EQ(handle.get(), 6);
    }
    EXPECT_EQ(closed, (std::vector<std::pair<int, int>>{{0, 6}}));
}

}  // namespace
