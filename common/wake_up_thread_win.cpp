#include "common/wake_up_thread_win.h"

#include <exception>

namespace {

// A ring that failed is dropped, and the thread goes on to the next: a
// wake-up only brings news sooner than the owner's own timer would. The
// error box belongs to the program's thread, so the failure goes to the
// debugger's output instead.
void reportFailedRing(const char* what) noexcept {
    OutputDebugStringA("Tallykeep: a wake-up failed: ");
    OutputDebugStringA(what ? what : "unexpected error");
    OutputDebugStringA("\n");
}

}  // namespace

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
    // Nothing may leave a thread's entry: an exception there ends the process.
    try {
        static_cast<WakeUpThread*>(self)->waitAndRing();
        return 0;
    } catch (const std::exception& error) {
        reportFailedRing(error.what());
    } catch (...) {
        reportFailedRing(nullptr);
    }
    return 1;
}

void WakeUpThread::ring() noexcept {
    try {
        ring_(context_);
    } catch (const std::exception& error) {
        reportFailedRing(error.what());
    } catch (...) {
        reportFailedRing(nullptr);
    }
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
            ring();
            continue;
        }
        WaitForSingleObject(changed_.get(), wait);
    }
}
