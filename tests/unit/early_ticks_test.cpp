// The early ticks over the fake desktop: a dialog that the game finishes after
// Windows told of its creation (as under Wine) still brings a tick as soon as
// it is complete.
#include "gamelink/early_ticks.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "fake_desktop.h"

namespace {

// Runs the wake-ups as the wake-up thread does, millisecond by millisecond,
// from `fromMs` to `untilMs`; the milliseconds at which a tick was asked for.
struct Clock {
    EarlyTicks& ticks;
    std::optional<uint64_t> wakeUpAt;
    std::vector<uint64_t> requests;

    void follow(const EarlyTicks::Answer& answer, uint64_t now) {
        if (answer.requestTick) requests.push_back(now);
        wakeUpAt.reset();
        if (answer.wakeUpInMs) wakeUpAt = now + *answer.wakeUpInMs;
    }
    void run(uint64_t fromMs, uint64_t untilMs) {
        for (uint64_t now = fromMs; now <= untilMs; ++now)
            if (wakeUpAt && *wakeUpAt <= now) follow(ticks.wokeUp(now), now);
    }
};

TEST(EarlyTicks, ADialogTitledAfterItsCreationBringsATickWhenItIsComplete) {
    FakeDesktop desktop;
    EarlyTicks ticks(desktop);
    Clock clock{ticks, std::nullopt, {}};

    const WindowId dialog = desktop.createWindow(0, "#32770", "");
    desktop.hiddenWindows.insert(dialog);
    clock.follow(ticks.windowsChanged(dialog, 0), 0);
    EXPECT_EQ(clock.requests, std::vector<uint64_t>{0}) << "the creation asks at once";
    clock.run(1, 100);
    EXPECT_TRUE(ticks.gameBuildsAWindow()) << "untitled and hidden, it is still being built";
    const std::size_t afterCreation = clock.requests.size();

    desktop.setTitle(dialog, "ゲーム番号");
    desktop.hiddenWindows.erase(dialog);
    clock.run(101, 103);
    ASSERT_GT(clock.requests.size(), afterCreation);
    EXPECT_LE(clock.requests[afterCreation], 102u) << "looked at every millisecond";
    EXPECT_FALSE(ticks.gameBuildsAWindow()) << "complete, it is the timer's";

    // Once settled, nothing rings and nothing asks.
    clock.run(104, 400);
    EXPECT_FALSE(clock.wakeUpAt);
}

TEST(EarlyTicks, AWindowNeverFinishedIsLookedAtOnlyForAWhile) {
    FakeDesktop desktop;
    EarlyTicks ticks(desktop);
    Clock clock{ticks, std::nullopt, {}};
    const WindowId window = desktop.createWindow(0, "Static", "");
    clock.follow(ticks.windowsChanged(window, 0), 0);
    clock.run(1, EarlyTicks::kLookForMs + EarlyTicks::kSettleMs + 20);
    EXPECT_FALSE(ticks.gameBuildsAWindow());
    EXPECT_FALSE(clock.wakeUpAt);
}

}  // namespace
