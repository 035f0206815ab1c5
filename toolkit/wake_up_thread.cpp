#include "toolkit/wake_up_thread.h"

bool WakeUpThread::start(Ring ring, void* context) {
    stop();
    ring_ = ring;
    context_ = context;
    due_ = false;
    stopping_ = false;
    changed_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!changed_) return false;
    DWORD threadId = 0;
    thread_.reset(CreateThread(nullptr, 0, &WakeUpThread::run, this, 0, &threadId));
    return static_cast<bool>(thread_);
}

void WakeUpThread::stop() {
    if (thread_) {
        {
            CriticalSection::Locked locked(lock_);
            stopping_ = true;
        }
        SetEvent(changed_.get());
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
    changed_.reset();
}

void WakeUpThread::ringIn(uint32_t milliseconds) {
    if (!thread_) return;
    {
        CriticalSection::Locked locked(lock_);
        due_ = true;
        dueAt_ = GetTickCount() + milliseconds;
    }
    SetEvent(changed_.get());
}

DWORD WINAPI WakeUpThread::run(void* self) {
    static_cast<WakeUpThread*>(self)->waitAndRing();
    return 0;
}

void WakeUpThread::waitAndRing() {
    for (;;) {
        DWORD wait = INFINITE;
        {
            CriticalSection::Locked locked(lock_);
            if (stopping_) return;
            if (due_) {
                // Signed: a due time passed a moment ago is due now.
                const int32_t left = static_cast<int32_t>(dueAt_ - GetTickCount());
                if (left <= 0) {
                    due_ = false;
                    wait = 0;
                } else {
                    wait = static_cast<DWORD>(left);
                }
            }
        }
        if (wait == 0) {
            ring_(context_);
            continue;
        }
        WaitForSingleObject(changed_.get(), wait);
    }
}
