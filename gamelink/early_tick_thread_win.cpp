#include "gamelink/early_tick_thread_win.h"

#include <utility>

void EarlyTickThread::stop() {
    if (game_) game_->stopWatchingWindows();
    game_ = nullptr;
    // No wake-up rings after this: it could ask for a tick.
    wakeUps_.stop();
    CriticalSection::Locked locked(lock_);
    ticks_.reset();
}

bool EarlyTickThread::start(GameLink& game, std::function<void()> requestTick) {
    stop();
    requestTick_ = std::move(requestTick);
    if (!wakeUps_.start(&EarlyTickThread::onWakeUp, this)) return false;
    const bool watching = game.watchWindows([this](WindowId newTopLevel) {
        CriticalSection::Locked locked(lock_);
        apply(ticks_.windowsChanged(newTopLevel, clock_.nowMs()));
    });
    if (!watching) {
        wakeUps_.stop();
        return false;
    }
    game_ = &game;
    return true;
}

bool EarlyTickThread::gameBuildsAWindow() {
    CriticalSection::Locked locked(lock_);
    return ticks_.gameBuildsAWindow();
}

void EarlyTickThread::onWakeUp(void* self) {
    auto* thread = static_cast<EarlyTickThread*>(self);
    CriticalSection::Locked locked(thread->lock_);
    thread->apply(thread->ticks_.wokeUp(thread->clock_.nowMs()));
}

// Under lock_. Posting the request is safe from either thread.
void EarlyTickThread::apply(const EarlyTicks::Answer& answer) {
    if (answer.requestTick && requestTick_) requestTick_();
    if (answer.wakeUpInMs) wakeUps_.ringIn(*answer.wakeUpInMs);
}
