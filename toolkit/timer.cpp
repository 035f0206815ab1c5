#include "toolkit/timer.h"

#include "common/app_error.h"
#include "toolkit/form.h"
#include "toolkit/toolkit_messages.h"

namespace {
UINT nextTimerId() {
    static UINT next = 1;
    return next++;
}
}  // namespace

Timer::~Timer() {
    if (form_) {
        setEnabled(false);
        form_->removeTimer(id_);
    }
}

void Timer::create(Form& form, UINT intervalMs, std::function<void()> onTimer) {
    form_ = &form;
    id_ = nextTimerId();
    interval_ = intervalMs;
    onTimer_ = std::move(onTimer);
    form.addTimer(*this, id_);
    setEnabled(true);
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    if (enabled) {
        if (!SetTimer(form_->handle(), id_, interval_, nullptr)) throw AppError("SetTimer failed");
    } else if (IsWindow(form_->handle())) {
        KillTimer(form_->handle(), id_);
    }
    enabled_ = enabled;
}

void Timer::setInterval(UINT intervalMs) {
    if (intervalMs == interval_) return;
    interval_ = intervalMs;
    // SetTimer with the same id replaces the running timer's interval.
    if (enabled_ && !SetTimer(form_->handle(), id_, interval_, nullptr)) throw AppError("SetTimer failed");
}

void Timer::requestTick() {
    if (!form_ || requestPending_.exchange(true)) return;
    // A request that cannot be posted is left to the regular ticks.
    if (!PostMessageA(form_->handle(), kTimerTickRequestMessage, id_, 0)) requestPending_ = false;
}

void Timer::tick() {
    if (enabled_ && onTimer_) onTimer_();
}
