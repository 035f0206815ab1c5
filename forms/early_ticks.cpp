#include "forms/early_ticks.h"

namespace {

// The one instance that listens: a thread timer's callback carries no pointer
// of its own.
EarlyTicks* listening = nullptr;

}  // namespace

EarlyTicks::~EarlyTicks() { stop(); }

void EarlyTicks::stop() {
    if (game_) game_->stopWatchingWindows();
    game_ = nullptr;
    if (wakeUp_) KillTimer(nullptr, wakeUp_);
    wakeUp_ = 0;
    if (listening == this) listening = nullptr;
}

bool EarlyTicks::start(GameLink& game) {
    game_ = &game;
    listening = this;
    return game.watchWindows([this] { onWindowsChanged(); });
}

// Called from inside whatever call takes messages (a wait loop of the tick
// itself among them): it only posts the request and sets the wake-up.
void EarlyTicks::onWindowsChanged() { follow(pacer_.windowsChanged(game_->desktop().nowMs())); }

void EarlyTicks::follow(const EarlyTickPacer::Answer& answer) {
    if (answer.requestNow) watchTimer_.requestTick();
    if (!answer.wakeUpInMs) return;
    // A thread timer: its callback runs from any message loop, the error
    // box's included, as the request's message does.
    wakeUp_ = SetTimer(nullptr, 0, *answer.wakeUpInMs, &EarlyTicks::onWakeUp);
    // Without the wake-up, what it would have asked for is asked now, and the
    // next change starts afresh.
    if (!wakeUp_) {
        pacer_.wakeUpLost();
        watchTimer_.requestTick();
    }
}

void CALLBACK EarlyTicks::onWakeUp(HWND, UINT, UINT_PTR timerId, DWORD) {
    // Each wake-up is rung once.
    KillTimer(nullptr, timerId);
    EarlyTicks* self = listening;
    if (!self || timerId != self->wakeUp_) return;
    self->wakeUp_ = 0;
    self->follow(self->pacer_.wokeUp(self->game_->desktop().nowMs()));
}
