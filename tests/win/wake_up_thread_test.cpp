#include <gtest/gtest.h>

#include <windows.h>

#include <new>
#include <stdexcept>

#include "common/wake_up_thread_win.h"
#include "toolkit_test_support.h"

using toolkit_test::waitUntil;

namespace {

// Counts its rings; the first ones fail as a callback does when memory runs out.
struct FailingRings {
    volatile LONG rings = 0;
    static void ring(void* self) {
        const LONG count = InterlockedIncrement(&static_cast<FailingRings*>(self)->rings);
        if (count == 1) throw std::bad_alloc();
        if (count == 2) throw 42;
    }
};

TEST(WakeUpThread, ARingThatThrowsLeavesTheProgramRunningAndTheThreadRingingAgain) {
    FailingRings failing;
    WakeUpThread wakeUps;
    ASSERT_TRUE(wakeUps.start(&FailingRings::ring, &failing));
    for (LONG expected = 1; expected <= 3; ++expected) {
        wakeUps.ringIn(0);
        EXPECT_TRUE(waitUntil([&] { return failing.rings >= expected; }, 10000)) << "ring " << expected;
    }
    wakeUps.stop();
    EXPECT_EQ(failing.rings, 3);
}

}  // namespace
