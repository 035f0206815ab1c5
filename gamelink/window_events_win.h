#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "common/handles_win.h"

// The game's window events, where Windows has them: SetWinEventHook (Windows
// 98 and 2000 on) is looked up at run time, so that Windows 95 and NT 4.0
// still start. The hooks are out of context and take only the game's process,
// and only the events that can mean a dialog came or went or was answered: a
// window created, shown, hidden or destroyed, a dialog started, the focus
// moved, a control's state changed (a box ticked, where Windows tells it). Windows calls
// back on this thread whenever it takes messages; the callback only calls
// `changed`, with the window when a top-level window was created, else null.
class GameWindowEvents {
public:
    GameWindowEvents() = default;
    ~GameWindowEvents();
    GameWindowEvents(const GameWindowEvents&) = delete;
    GameWindowEvents& operator=(const GameWindowEvents&) = delete;

    // Listens to the process that owns the window, instead of any listened to
    // before. False where Windows has no window events or no hook could be
    // set: nothing calls `changed` then.
    bool listen(HWND gameWindow, std::function<void(HWND newTopLevel)> changed);
    void stop();

private:
    static void CALLBACK onEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG objectId, LONG childId,
                                 DWORD threadId, DWORD eventTimeMs);

    std::vector<WinEventHookHandle> hooks_;
    std::function<void(HWND newTopLevel)> changed_;
};
