#pragma once

#include <windows.h>

#include <cstdint>

#include "gamelink/early_tick_pacer.h"
#include "gamelink/game_link.h"
#include "toolkit/timer.h"

// The watcher's early ticks: where Windows tells of changes to the game's
// windows, the watcher's timer is asked for a tick at once instead of at its
// next 100 ms, so that a dialog is answered as soon as it is there. The tick
// is the timer's own, run through the same event boundary; the timer keeps
// ticking as before and finds the game alone where no change is told.
class EarlyTicks {
public:
    explicit EarlyTicks(Timer& watchTimer) : watchTimer_(watchTimer) {}
    ~EarlyTicks();
    EarlyTicks(const EarlyTicks&) = delete;
    EarlyTicks& operator=(const EarlyTicks&) = delete;

    // Listens to the game's windows; false where Windows cannot tell of them.
    bool start(GameLink& game);
    // The timer alone from here on.
    void stop();

    // At most one early tick is asked for in this time.
    static constexpr uint32_t kGapMs = 3;
    // The follow-ups' interval: Windows rings no timer sooner than after
    // 10 ms (USER_TIMER_MINIMUM), and neither does Wine.
    static constexpr uint32_t kFollowUpMs = 10;
    // Follow-ups go on for this long after the last change: the game
    // finishes a dialog after the last change that Windows tells of.
    static constexpr uint32_t kSettleMs = 40;

private:
    void onWindowsChanged();
    void follow(const EarlyTickPacer::Answer& answer);
    static void CALLBACK onWakeUp(HWND, UINT, UINT_PTR timerId, DWORD);

    Timer& watchTimer_;
    GameLink* game_ = nullptr;
    EarlyTickPacer pacer_{EarlyTickPacer::Timing{kGapMs, kFollowUpMs, kSettleMs}};
    UINT_PTR wakeUp_ = 0;
};
