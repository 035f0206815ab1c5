#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

class Form;

// A repeating timer of a form (SetTimer on the form's window); its ticks run
// through the form's event boundary.
class Timer {
public:
    Timer() = default;
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Enabled from creation.
    void create(Form& form, UINT intervalMs, std::function<void()> onTimer);
    void setEnabled(bool enabled);
    // The time between the regular ticks from now on.
    void setInterval(UINT intervalMs);
    UINT interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    void tick();

    // One tick besides the regular ones, as soon as the thread takes its
    // messages; it runs as the timer's own ticks do (Form), so never inside
    // another handler. Requests made while one waits come to one tick. It
    // only posts a message: it may be called from anywhere, a hook's callback
    // and another thread included.
    void requestTick();
    // The form took the request's message: the next request posts again.
    void requestTaken() { requestPending_ = false; }

private:
    Form* form_ = nullptr;
    UINT id_ = 0;
    UINT interval_ = 0;
    bool enabled_ = false;
    std::atomic<bool> requestPending_{false};
    std::function<void()> onTimer_;
};
