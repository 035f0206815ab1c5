#include "gamelink/early_tick_pacer.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

constexpr uint32_t kGap = 3;
constexpr uint32_t kFollowUp = 10;
constexpr uint32_t kSettle = 40;
constexpr EarlyTickPacer::Timing kTiming{kGap, kFollowUp, kSettle};

// Drives the pacer as the program does: changes of the game's windows at
// given milliseconds, each wake-up rung when its time comes (or, while a tick
// keeps the thread, when the thread is free again). Returns the milliseconds
// at which a tick was asked for.
std::vector<uint64_t> requestsFor(const std::vector<uint64_t>& changes, uint64_t untilMs, uint64_t busyFrom = 0,
                                  uint64_t busyUntil = 0) {
    EarlyTickPacer pacer(kTiming);
    std::vector<uint64_t> requests;
    std::optional<uint64_t> wakeUpAt;
    const auto follow = [&](const EarlyTickPacer::Answer& answer, uint64_t now) {
        if (answer.requestNow) requests.push_back(now);
        if (answer.wakeUpInMs) wakeUpAt = now + *answer.wakeUpInMs;
    };
    std::size_t next = 0;
    for (uint64_t now = 0; now <= untilMs; ++now) {
        const bool busy = now >= busyFrom && now < busyUntil;
        if (wakeUpAt && *wakeUpAt <= now && !busy) {
            wakeUpAt.reset();
            follow(pacer.wokeUp(now), now);
        }
        for (; next < changes.size() && changes[next] == now; ++next) follow(pacer.windowsChanged(now), now);
    }
    return requests;
}

TEST(EarlyTickPacer, AChangeAsksForATickAtOnceThenFollowsItUpWhileTheGameSettles) {
    const std::vector<uint64_t> requests = requestsFor({100}, 1000);
    EXPECT_EQ(requests, (std::vector<uint64_t>{100, 110, 120, 130, 140}));
}

TEST(EarlyTickPacer, ABurstOfChangesAsksOncePerGapAtMostAndAnswersItsLastChange) {
    // A dialog and its four controls, a millisecond apart.
    const std::vector<uint64_t> requests = requestsFor({100, 100, 101, 102, 103, 104}, 1000);
    for (std::size_t i = 1; i < requests.size(); ++i) EXPECT_GE(requests[i] - requests[i - 1], kGap);
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[0], 100u);
    EXPECT_EQ(requests[1], 103u);
    // A tick after the last change, and the follow-ups run from it.
    EXPECT_EQ(requests.back(), 140u);
}

TEST(EarlyTickPacer, AChangeWhileTheGameSettlesIsAnsweredAtOnce) {
    // The dialog takes the focus once it is complete: its tick need not wait
    // for the next follow-up.
    const std::vector<uint64_t> requests = requestsFor({100, 115}, 1000);
    EXPECT_EQ(requests, (std::vector<uint64_t>{100, 110, 115, 120, 130, 140, 150}));
}

TEST(EarlyTickPacer, ChangesThatKeepComingAskOncePerGapAtMost) {
    std::vector<uint64_t> changes;
    for (uint64_t now = 0; now < 1000; ++now) changes.push_back(now);
    const std::vector<uint64_t> requests = requestsFor(changes, 2000);
    for (std::size_t i = 1; i < requests.size(); ++i) EXPECT_GE(requests[i] - requests[i - 1], kGap);
    EXPECT_LE(requests.size(), 1000 / kGap + kSettle / kFollowUp + 2);
}

TEST(EarlyTickPacer, AGameThatChangesNothingAsksForNothing) {
    EXPECT_TRUE(requestsFor({}, 10000).empty());
    const std::vector<uint64_t> requests = requestsFor({100}, 10000);
    EXPECT_LE(requests.back(), 100u + kSettle);
}

// A wake-up can come late (a machine under load); a change noted meanwhile
// is answered as soon as it rings, however late.
TEST(EarlyTickPacer, AChangeNotedWhileATickRunsIsAnsweredWhenTheThreadIsFree) {
    // The wake-ups are held from 101 to 5000; the last window of the dialog,
    // created at 102 within the gap, is told of meanwhile.
    EXPECT_EQ(requestsFor({100, 102}, 10000, 101, 5000), (std::vector<uint64_t>{100, 5000}));
}

}  // namespace
