#include "gamelink/early_ticks.h"

#include <algorithm>
#include <utility>

void EarlyTicks::reset() {
    pacer_ = EarlyTickPacer(EarlyTickPacer::Timing{kGapMs, kFollowUpMs, kSettleMs});
    pacerWakeUpAtMs_.reset();
    lookedAt_.clear();
}

EarlyTicks::Answer EarlyTicks::windowsChanged(WindowId newTopLevel, uint64_t nowMs) {
    if (newTopLevel && lookedAt_.size() < kMostLookedAt)
        lookedAt_.push_back(LookedAt{newTopLevel, nowMs, desktop_.titleOf(newTopLevel), desktop_.shown(newTopLevel)});
    return follow(pacer_.windowsChanged(nowMs), nowMs);
}

EarlyTicks::Answer EarlyTicks::wokeUp(uint64_t nowMs) {
    if (lookAgain(nowMs)) return follow(pacer_.windowsChanged(nowMs), nowMs);
    if (pacerWakeUpAtMs_ && *pacerWakeUpAtMs_ <= nowMs) {
        pacerWakeUpAtMs_.reset();
        return follow(pacer_.wokeUp(nowMs), nowMs);
    }
    return follow(EarlyTickPacer::Answer{}, nowMs);
}

// True when a window looked at changed its title or its showing, or is gone.
bool EarlyTicks::lookAgain(uint64_t nowMs) {
    bool changed = false;
    std::vector<LookedAt> stillLooked;
    for (LookedAt& looked : lookedAt_) {
        if (!desktop_.exists(looked.window)) {
            changed = true;
            continue;
        }
        std::string title = desktop_.titleOf(looked.window);
        const bool shown = desktop_.shown(looked.window);
        if (title != looked.title || shown != looked.shown) changed = true;
        looked.title = std::move(title);
        looked.shown = shown;
        // Shown with its title, the window is complete; the rest is the timer's.
        const bool complete = looked.shown && !looked.title.empty();
        if (!complete && nowMs - looked.sinceMs < kLookForMs) stillLooked.push_back(std::move(looked));
    }
    lookedAt_ = std::move(stillLooked);
    return changed;
}

// The next wake-up: the next look while windows are looked at, else the
// pacer's, if any.
EarlyTicks::Answer EarlyTicks::follow(const EarlyTickPacer::Answer& answer, uint64_t nowMs) {
    if (answer.wakeUpInMs) pacerWakeUpAtMs_ = nowMs + *answer.wakeUpInMs;
    std::optional<uint64_t> at = pacerWakeUpAtMs_;
    if (!lookedAt_.empty()) at = std::min(at.value_or(UINT64_MAX), nowMs + kLookMs);
    Answer next;
    next.requestTick = answer.requestNow;
    if (at) next.wakeUpInMs = static_cast<uint32_t>(*at > nowMs ? *at - nowMs : 0);
    return next;
}
