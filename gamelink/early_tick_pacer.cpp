#include "gamelink/early_tick_pacer.h"

EarlyTickPacer::Answer EarlyTickPacer::windowsChanged(uint64_t nowMs) {
    lastChangeAtMs_ = nowMs;
    Answer answer;
    // The wake-up already set asks for the tick, and follows it up.
    if (wakeUpSet_) return answer;
    const uint64_t sinceRequest = lastRequestAtMs_ ? nowMs - *lastRequestAtMs_ : gapMs_;
    if (sinceRequest >= gapMs_) {
        answer.requestNow = true;
        lastRequestAtMs_ = nowMs;
        answer.wakeUpInMs = gapMs_;
    } else {
        answer.wakeUpInMs = static_cast<uint32_t>(gapMs_ - sinceRequest);
    }
    wakeUpSet_ = true;
    return answer;
}

EarlyTickPacer::Answer EarlyTickPacer::wokeUp(uint64_t nowMs) {
    wakeUpSet_ = false;
    Answer answer;
    if (nowMs - lastChangeAtMs_ > settleMs_) return answer;
    answer.requestNow = true;
    lastRequestAtMs_ = nowMs;
    if (nowMs + gapMs_ - lastChangeAtMs_ <= settleMs_) {
        answer.wakeUpInMs = gapMs_;
        wakeUpSet_ = true;
    }
    return answer;
}
