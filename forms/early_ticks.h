#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/tick_clock_win.h"
#include "gamelink/early_tick_pacer.h"
#include "gamelink/game_link.h"
#include "toolkit/critical_section.h"
#include "toolkit/timer.h"
#include "toolkit/wake_up_thread.h"

// The watcher's early ticks: where Windows tells of changes to the game's
// windows, the watcher's timer is asked for a tick at once instead of at its
// next 100 ms, so that a dialog is answered as soon as it is there. The tick
// is the timer's own, run through the same event boundary; the timer keeps
// ticking as before and finds the game alone where no change is told.
//
// Windows tells that a dialog was shown (EVENT_OBJECT_SHOW) once the game has
// finished it; Wine tells only that its windows were created, 5 to 10 ms
// before the game gives the dialog its title, and nothing after. So each new
// top-level window of the game is looked at every millisecond, for a short
// while, and a change of its title or of its showing counts as a change told.
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
    // A new top-level window of the game (its next dialog, most likely) is
    // not complete yet: a tick will be asked for when it is.
    bool gameBuildsAWindow();

    // At most one early tick is asked for in this time.
    static constexpr uint32_t kGapMs = 3;
    // The follow-ups' interval: as often as a wait loop sends its answer
    // again.
    static constexpr uint32_t kFollowUpMs = 10;
    // Follow-ups go on for this long after the last change: the game
    // finishes a dialog after the last change that Windows tells of.
    static constexpr uint32_t kSettleMs = 40;
    // A new top-level window is looked at this often, for this long at most
    // or until it is shown with a title.
    static constexpr uint32_t kLookMs = 1;
    static constexpr uint32_t kLookForMs = 500;
    // Windows looked at, at most: a game opens one dialog at a time.
    static constexpr std::size_t kMostLookedAt = 8;

private:
    // What is looked at of a new top-level window.
    struct LookedAt {
        HWND window;
        uint64_t sinceMs;
        std::string title;
        bool visible;
    };

    // The hook's callback, on the program's thread.
    void onWindowsChanged(WindowId newTopLevel);
    // The wake-up, on the wake-up thread.
    static void onWakeUp(void* self);
    // The rest under lock_.
    void follow(const EarlyTickPacer::Answer& answer, uint64_t nowMs);
    bool lookAgain(uint64_t nowMs);
    void setWakeUp(uint64_t nowMs);
    uint64_t nowMs() { return clock_.nowMs(); }

    Timer& watchTimer_;
    GameLink* game_ = nullptr;
    // Everything below is shared by the two threads.
    CriticalSection lock_;
    EarlyTickPacer pacer_{EarlyTickPacer::Timing{kGapMs, kFollowUpMs, kSettleMs}};
    std::optional<uint64_t> pacerWakeUpAtMs_;
    std::vector<LookedAt> lookedAt_;
    TickClock clock_;
    WakeUpThread wakeUps_;
};
