#include "forms/early_ticks.h"

#include <algorithm>
#include <utility>

namespace {

std::string titleOf(HWND window) {
    // Another process's title is read without a message to it: a game that
    // hangs cannot hold the wake-up thread.
    char title[128] = {};
    const int length = GetWindowTextA(window, title, sizeof title);
    return std::string(title, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

EarlyTicks::~EarlyTicks() { stop(); }

void EarlyTicks::stop() {
    if (game_) game_->stopWatchingWindows();
    game_ = nullptr;
    // No wake-up rings after this: it could ask for a tick.
    wakeUps_.stop();
    CriticalSection::Locked locked(lock_);
    lookedAt_.clear();
    pacerWakeUpAtMs_.reset();
}

bool EarlyTicks::start(GameLink& game) {
    stop();
    {
        CriticalSection::Locked locked(lock_);
        pacer_ = EarlyTickPacer(EarlyTickPacer::Timing{kGapMs, kFollowUpMs, kSettleMs});
    }
    if (!wakeUps_.start(&EarlyTicks::onWakeUp, this)) return false;
    if (!game.watchWindows([this](WindowId newTopLevel) { onWindowsChanged(newTopLevel); })) {
        wakeUps_.stop();
        return false;
    }
    game_ = &game;
    return true;
}

bool EarlyTicks::gameBuildsAWindow() {
    CriticalSection::Locked locked(lock_);
    return !lookedAt_.empty();
}

// Called from inside whatever call takes messages (a wait loop of the tick
// itself among them): it only posts the request and sets the wake-up.
void EarlyTicks::onWindowsChanged(WindowId newTopLevel) {
    CriticalSection::Locked locked(lock_);
    const uint64_t now = nowMs();
    if (newTopLevel && lookedAt_.size() < kMostLookedAt) {
        const HWND window = reinterpret_cast<HWND>(newTopLevel);
        lookedAt_.push_back(LookedAt{window, now, titleOf(window), IsWindowVisible(window) != FALSE});
    }
    follow(pacer_.windowsChanged(now), now);
}

void EarlyTicks::onWakeUp(void* self) {
    auto* ticks = static_cast<EarlyTicks*>(self);
    CriticalSection::Locked locked(ticks->lock_);
    const uint64_t now = ticks->nowMs();
    if (ticks->lookAgain(now)) {
        ticks->follow(ticks->pacer_.windowsChanged(now), now);
    } else if (ticks->pacerWakeUpAtMs_ && *ticks->pacerWakeUpAtMs_ <= now) {
        ticks->pacerWakeUpAtMs_.reset();
        ticks->follow(ticks->pacer_.wokeUp(now), now);
    } else {
        ticks->setWakeUp(now);
    }
}

// True when a window looked at changed its title or its showing, or is gone.
bool EarlyTicks::lookAgain(uint64_t nowMs) {
    bool changed = false;
    std::vector<LookedAt> stillLooked;
    for (LookedAt& looked : lookedAt_) {
        if (!IsWindow(looked.window)) {
            changed = true;
            continue;
        }
        std::string title = titleOf(looked.window);
        const bool visible = IsWindowVisible(looked.window) != FALSE;
        if (title != looked.title || visible != looked.visible) changed = true;
        looked.title = std::move(title);
        looked.visible = visible;
        // Shown with its title, the window is complete; the rest is the timer's.
        const bool complete = looked.visible && !looked.title.empty();
        if (!complete && nowMs - looked.sinceMs < kLookForMs) stillLooked.push_back(std::move(looked));
    }
    lookedAt_ = std::move(stillLooked);
    return changed;
}

void EarlyTicks::follow(const EarlyTickPacer::Answer& answer, uint64_t nowMs) {
    // Posting is safe from either thread; the tick runs on the program's.
    if (answer.requestNow) watchTimer_.requestTick();
    if (answer.wakeUpInMs) pacerWakeUpAtMs_ = nowMs + *answer.wakeUpInMs;
    setWakeUp(nowMs);
}

// The next ring: the next look while windows are looked at, else the pacer's
// wake-up, if any.
void EarlyTicks::setWakeUp(uint64_t nowMs) {
    std::optional<uint64_t> at = pacerWakeUpAtMs_;
    if (!lookedAt_.empty()) at = std::min(at.value_or(UINT64_MAX), nowMs + kLookMs);
    if (at) wakeUps_.ringIn(static_cast<uint32_t>(*at > nowMs ? *at - nowMs : 0));
}
