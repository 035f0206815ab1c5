#include "gamelink/early_tick_pacer.h"

bool EarlyTickPacer::request(uint64_t nowMs) {
    if (lastRequestAtMs_ && nowMs - *lastRequestAtMs_ < timing_.gapMs) return false;
    lastRequestAtMs_ = nowMs;
    changeUnanswered_ = false;
    return true;
}

EarlyTickPacer::Answer EarlyTickPacer::windowsChanged(uint64_t nowMs) {
    lastChangeAtMs_ = nowMs;
    changeUnanswered_ = true;
    Answer answer;
    answer.requestNow = request(nowMs);
    if (!wakeUpSet_) {
        wakeUpSet_ = true;
        answer.wakeUpInMs = timing_.followUpMs;
    }
    return answer;
}

EarlyTickPacer::Answer EarlyTickPacer::wokeUp(uint64_t nowMs) {
    wakeUpSet_ = false;
    Answer answer;
    const bool settling = nowMs - lastChangeAtMs_ <= timing_.settleMs;
    if (!changeUnanswered_ && !settling) return answer;
    answer.requestNow = request(nowMs);
    if (changeUnanswered_ || nowMs + timing_.followUpMs - lastChangeAtMs_ <= timing_.settleMs) {
        wakeUpSet_ = true;
        answer.wakeUpInMs = timing_.followUpMs;
    }
    return answer;
}
