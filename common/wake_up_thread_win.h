#pragma once

#include <windows.h>

#include <cstdint>

#include "common/critical_section_win.h"
#include "common/handles_win.h"

// Rings at a time set from any thread, on a thread of its own. A thread
// timer rings no sooner than 10 ms after it is set (USER_TIMER_MINIMUM, in
// Windows and in Wine alike) and not while the thread is busy; a thread that
// waits on an event with a time-out wakes within a millisecond or two under
// Wine, and at the system clock's tick (15.6 ms at most) on Windows. The
// callback runs on the wake-up thread: it must do only what is safe there
// (post a message, take a lock). A callback that throws loses that one ring;
// the thread rings again at the next time set.
class WakeUpThread {
public:
    using Ring = void (*)(void* context);

    WakeUpThread() = default;
    ~WakeUpThread() { stop(); }
    WakeUpThread(const WakeUpThread&) = delete;
    WakeUpThread& operator=(const WakeUpThread&) = delete;

    // False where the thread cannot be started: nothing will ring.
    bool start(Ring ring, void* context);
    // Waits for a ring under way to end; nothing rings after.
    void stop();

    // Rings once, after this many milliseconds; a ring set before and not yet
    // rung is replaced.
    void ringIn(uint32_t milliseconds);

private:
    static DWORD WINAPI run(void* self);
    void waitAndRing();
    void ring() noexcept;

    Ring ring_ = nullptr;
    void* context_ = nullptr;
    KernelHandle thread_;
    KernelHandle changed_;  // an auto-reset event: the due time or the stop changed
    CriticalSection lock_;
    // Guarded by lock_.
    bool due_ = false;
    DWORD dueAt_ = 0;  // GetTickCount
    bool stopping_ = false;
};
