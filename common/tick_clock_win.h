#pragma once

#include <windows.h>

#include <cstdint>

// Milliseconds since the clock was first read. GetTickCount wraps after 49.7
// days; the clock adds up its differences, so that it never does.
class TickClock {
public:
    uint64_t nowMs() {
        const uint32_t tick = GetTickCount();
        if (started_) elapsedMs_ += static_cast<uint32_t>(tick - lastTick_);
        started_ = true;
        lastTick_ = tick;
        return elapsedMs_;
    }

private:
    uint32_t lastTick_ = 0;
    uint64_t elapsedMs_ = 0;
    bool started_ = false;
};
