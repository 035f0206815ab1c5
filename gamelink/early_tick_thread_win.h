#pragma once

#include <cstdint>
#include <functional>

#include "common/critical_section_win.h"
#include "common/tick_clock_win.h"
#include "common/wake_up_thread_win.h"
#include "gamelink/early_ticks.h"
#include "gamelink/game_link.h"

// Runs the early ticks: the game's window events come on the program's
// thread (from inside whatever call takes messages, a wait loop of the tick
// itself among them), the looks and follow-ups on a wake-up thread of their
// own; both only take note and ask for a tick, which runs on the program's
// thread through the timer's event boundary.
class EarlyTickThread {
public:
    explicit EarlyTickThread(Desktop& desktop) : ticks_(desktop) {}
    ~EarlyTickThread() { stop(); }
    EarlyTickThread(const EarlyTickThread&) = delete;
    EarlyTickThread& operator=(const EarlyTickThread&) = delete;

    // Listens to the game's windows; `requestTick` must be safe from any
    // thread. False where Windows cannot tell of them.
    bool start(GameLink& game, std::function<void()> requestTick);
    // The timer alone from here on; nothing asks for a tick after this.
    void stop();
    bool gameBuildsAWindow();

private:
    static void onWakeUp(void* self);
    void apply(const EarlyTicks::Answer& answer);

    GameLink* game_ = nullptr;
    std::function<void()> requestTick_;
    // Everything below is shared by the two threads.
    CriticalSection lock_;
    EarlyTicks ticks_;
    // The desktop's clock is the program thread's.
    TickClock clock_;
    WakeUpThread wakeUps_;
};
