#pragma once

#include <cstdint>
#include <optional>

// Paces the watcher's early ticks. A change of the game's windows asks for a
// tick at once; a burst of changes (a dialog and its controls created one
// after another) asks at most once per gap, and the last change of a burst is
// never left unanswered. The game finishes a dialog after its last window is
// created (captions, title, showing it) and Windows need not tell of that
// (Wine does not): for a short while after the last change (the settling
// time) ticks keep being asked for, one per gap, so that one of them finds
// the dialog complete. A game that changes nothing asks for nothing.
class EarlyTickPacer {
public:
    EarlyTickPacer(uint32_t gapMs, uint32_t settleMs) : gapMs_(gapMs), settleMs_(settleMs) {}

    struct Answer {
        bool requestNow = false;
        // Call wokeUp() after this time; none: a wake-up set before stands,
        // or none is needed.
        std::optional<uint32_t> wakeUpInMs;
    };

    // The game's windows changed at nowMs.
    Answer windowsChanged(uint64_t nowMs);
    // The wake-up set by an answer came.
    Answer wokeUp(uint64_t nowMs);
    // The wake-up could not be set: the next change asks afresh.
    void wakeUpLost() { wakeUpSet_ = false; }

private:
    uint32_t gapMs_;
    uint32_t settleMs_;
    std::optional<uint64_t> lastRequestAtMs_;
    uint64_t lastChangeAtMs_ = 0;
    bool wakeUpSet_ = false;
};
