#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gamelink/desktop.h"
#include "gamelink/early_tick_pacer.h"

// The watcher's early ticks: where Windows tells of changes to the game's
// windows, a tick is asked for at once instead of at the timer's next one, so
// that a dialog is answered as soon as it is there.
//
// Windows tells that a dialog was shown (EVENT_OBJECT_SHOW) once the game has
// finished it; Wine tells only that its windows were created, 5 to 10 ms
// before the game gives the dialog its title, and nothing after. So each new
// top-level window of the game is looked at every millisecond, for a short
// while, and a change of its title or of its showing counts as a change told.
//
// This is the deciding part, on one thread at a time; where the calls come
// from (the hook's callback, a wake-up thread) is the caller's.
class EarlyTicks {
public:
    explicit EarlyTicks(Desktop& desktop) : desktop_(desktop) {}

    struct Answer {
        bool requestTick = false;
        // Call wokeUp() after this time; none: nothing to wake up for.
        std::optional<uint32_t> wakeUpInMs;
    };

    // Forgets every change: a new start.
    void reset();
    // The game's windows changed; newTopLevel is a new top-level window of
    // the game (its next dialog, most likely), else 0.
    Answer windowsChanged(WindowId newTopLevel, uint64_t nowMs);
    // The wake-up of an answer came.
    Answer wokeUp(uint64_t nowMs);
    // A new top-level window of the game is not complete yet: a tick will be
    // asked for when it is.
    bool gameBuildsAWindow() const { return !lookedAt_.empty(); }

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
    struct LookedAt {
        WindowId window;
        uint64_t sinceMs;
        std::string title;
        bool shown;
    };

    Answer follow(const EarlyTickPacer::Answer& answer, uint64_t nowMs);
    bool lookAgain(uint64_t nowMs);

    Desktop& desktop_;
    EarlyTickPacer pacer_{EarlyTickPacer::Timing{kGapMs, kFollowUpMs, kSettleMs}};
    std::optional<uint64_t> pacerWakeUpAtMs_;
    std::vector<LookedAt> lookedAt_;
};
