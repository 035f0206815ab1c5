#pragma once

#include <cstdint>
#include <optional>

// Paces the watcher's early ticks. A change of the game's windows asks for a
// tick at once, unless one was asked for within the gap: a burst of changes
// (a dialog and its controls created one after another) asks at most once per
// gap, and its last change is never left unanswered. The game finishes a
// dialog after its last window is created (captions, title, showing it), and
// Windows need not tell of that (Wine does not): for a short while after the
// last change (the settling time) a wake-up asks again at every follow-up
// interval, so that one of the ticks finds the dialog complete. A game that
// changes nothing asks for nothing.
class EarlyTickPacer {
public:
    struct Timing {
        uint32_t gapMs;       // the least time between two requests
        uint32_t followUpMs;  // from one wake-up to the next
        uint32_t settleMs;    // wake-ups go on this long after the last change
    };
    explicit EarlyTickPacer(const Timing& timing) : timing_(timing) {}

    struct Answer {
        bool requestNow = false;
        // Call wokeUp() after this time; none: a wake-up set before stands,
        // or none is needed.
        std::optional<uint32_t> wakeUpInMs;
    };

    // The game's windows changed at nowMs.
    Answer windowsChanged(uint64_t nowMs);
    // The wake-up set by an answer came (late, perhaps, on a busy machine).
    Answer wokeUp(uint64_t nowMs);

private:
    // Asks for a tick when the gap allows; else the change stays unanswered.
    bool request(uint64_t nowMs);

    Timing timing_;
    std::optional<uint64_t> lastRequestAtMs_;
    uint64_t lastChangeAtMs_ = 0;
    // A change came after the last request: the wake-ups go on until one asks.
    bool changeUnanswered_ = false;
    bool wakeUpSet_ = false;
};
