#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/form.h"

namespace toolkit_test {

// Handles the thread's messages until the condition holds or the time is up.
inline bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(5);
    }
}

// A plain form to hold the controls under test.
class TestForm : public Form {
public:
    explicit TestForm(const std::function<void()>& build = [] {}) {
        FormArgs args;
        args.caption = "test";
        args.clientWidth = 300;
        args.clientHeight = 200;
        args.left = 20;
        args.top = 20;
        args.color = 8454143;
        create(args, build);
    }
};

// Calls the function from inside the modal loop of a message box that the
// test is about to open: a thread timer fires until the function returns true.
class FromInsideModalLoop {
public:
    explicit FromInsideModalLoop(std::function<bool()> step) {
        current() = std::move(step);
        timer_ = SetTimer(nullptr, 0, 30, &FromInsideModalLoop::fire);
    }
    ~FromInsideModalLoop() {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    FromInsideModalLoop(const FromInsideModalLoop&) = delete;
    FromInsideModalLoop& operator=(const FromInsideModalLoop&) = delete;

private:
    static std::function<bool()>& current() {
        static std::function<bool()> step;
        return step;
    }
    static void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD) {
        if (current() && current()()) {
            KillTimer(nullptr, id);
            current() = nullptr;
        }
    }
    UINT_PTR timer_ = 0;
};

struct BoxSearch {
    const char* title;
    std::vector<HWND> found;
};

inline BOOL CALLBACK collectBox(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<BoxSearch*>(data);
    char className[16] = {};
    char text[64] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    if (lstrcmpA(className, "#32770") == 0 && lstrcmpA(text, search->title) == 0 && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

// The message boxes of this thread with the given title.
inline std::vector<HWND> openBoxes(const char* title) {
    BoxSearch search{title, {}};
    EnumThreadWindows(GetCurrentThreadId(), &collectBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace toolkit_test
