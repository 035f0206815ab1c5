#pragma once

#include <windows.h>

#include <exception>
#include <utility>

// Every call that Windows makes into the toolkit (a window procedure, a hook,
// an enumeration callback) runs its body through one of these guards, once: no
// exception ever crosses back into Windows. A failure is shown in the error
// box, and the call returns a value that is safe for it.
void reportEntryFailure(const char* what) noexcept;

// The answer to a message whose handling failed: what leaves the window
// usable (the system's colours, a validated paint, a refused creation, and
// never a refused end of the Windows session).
LRESULT safeAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

template <class Body>
LRESULT guardWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& error) {
        reportEntryFailure(error.what());
    } catch (...) {
        reportEntryFailure(nullptr);
    }
    return safeAnswer(window, message, wParam, lParam);
}

template <class Result, class Body>
Result guardCallback(Result fallback, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& error) {
        reportEntryFailure(error.what());
    } catch (...) {
        reportEntryFailure(nullptr);
    }
    return fallback;
}
