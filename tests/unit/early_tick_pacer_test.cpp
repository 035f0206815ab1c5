#include "gamelink/early_tick_pacer.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

constexpr uint32_t kGap = 4;
constexpr uint32_t kSettle = 40;

// Drives the pacer as the program does: changes of the game's windows at
// given milliseconds, each wake-up rung when its time comes. Returns the
// milliseconds at which a tick was asked for.
std::vector<uint64_t> requestsFor(const std::vector<uint64_t>& changes, uint64_t untilMs) {
    EarlyTickPacer pacer(kGap, kSettle);
    std::vector<uint64_t> requests;
    std::optional<uint64_t> wakeUpAt;
    const auto follow = [&](const EarlyTickPacer::Answer& answer, uint64_t now) {
        if (answer.requestNow) requests.push_back(now);
        if (answer.wakeUpInMs) wakeUpAt = now + *answer.wakeUpInMs;
    };
    std::size_t next = 0;
    for (uint64_t now = 0; now <= untilMs; ++now) {
        if (wakeUpAt && *wakeUpAt == now) {
            wakeUpAt.reset();
            follow(pacer.wokeUp(now), now);
        }
        for (; next < changes.size() && changes[next] == now; ++next) follow(pacer.windowsChanged(now), now);
    }
    return requests;
}

TEST(EarlyTickPacer, AChangeAsksForATickAtOnceThenFollowsItUpWhileTheGameSettles) {
    const std::vector<uint64_t> requests = requestsFor({100}, 1000);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front(), 100u);
    // One per gap until the settling time has passed, then none.
    for (std::size_t i = 1; i < requests.size(); ++i) EXPECT_EQ(requests[i] - requests[i - 1], kGap);
    EXPECT_LE(requests.back(), 100u + kSettle);
    EXPECT_GT(requests.back() + kGap, 100u + kSettle);
}

TEST(EarlyTickPacer, ABurstOfChangesAsksOncePerGapAtMost) {
    // A dialog and its four controls, a millisecond apart, and again later.
    const std::vector<uint64_t> requests = requestsFor({100, 100, 101, 102, 103, 104, 500, 500, 501}, 1000);
    for (std::size_t i = 1; i < requests.size(); ++i) EXPECT_GE(requests[i] - requests[i - 1], kGap);
    EXPECT_EQ(requests.front(), 100u);
}

TEST(EarlyTickPacer, TheLastChangeOfABurstIsAnsweredAfterIt) {
    // Changes within one gap: the tick asked for at once comes before the
    // last of them, a later one after it.
    const std::vector<uint64_t> requests = requestsFor({100, 102}, 1000);
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[0], 100u);
    EXPECT_EQ(requests[1], 100u + kGap);
    // The settling time runs from the last change.
    EXPECT_LE(requests.back(), 102u + kSettle);
    EXPECT_GT(requests.back() + kGap, 102u + kSettle);
}

TEST(EarlyTickPacer, ChangesThatKeepComingAskOncePerGap) {
    std::vector<uint64_t> changes;
    for (uint64_t now = 0; now < 1000; ++now) changes.push_back(now);
    const std::vector<uint64_t> requests = requestsFor(changes, 2000);
    EXPECT_LE(requests.size(), (1000 + kSettle) / kGap + 1);
    for (std::size_t i = 1; i < requests.size(); ++i) EXPECT_GE(requests[i] - requests[i - 1], kGap);
}

TEST(EarlyTickPacer, AGameThatChangesNothingAsksForNothing) {
    EXPECT_TRUE(requestsFor({}, 10000).empty());
    // Long after a change, the pacer asks for nothing more.
    const std::vector<uint64_t> requests = requestsFor({100}, 10000);
    EXPECT_LT(requests.back(), 200u);
}

TEST(EarlyTickPacer, AChangeAfterALostWakeUpAsksAtOnce) {
    EarlyTickPacer pacer(kGap, kSettle);
    EXPECT_TRUE(pacer.windowsChanged(100).requestNow);
    pacer.wakeUpLost();
    const EarlyTickPacer::Answer next = pacer.windowsChanged(100 + kGap);
    EXPECT_TRUE(next.requestNow);
    EXPECT_TRUE(next.wakeUpInMs.has_value());
}

}  // namespace
