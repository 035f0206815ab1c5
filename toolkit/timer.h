#pragma once

#include <windows.h>

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
    bool enabled() const { return enabled_; }
    void tick();

private:
    Form* form_ = nullptr;
    UINT id_ = 0;
    UINT interval_ = 0;
    bool enabled_ = false;
    std::function<void()> onTimer_;
};
