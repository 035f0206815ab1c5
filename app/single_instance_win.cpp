#include "app/single_instance_win.h"

namespace {

// No "Local\" prefix: Windows 95 and NT 4.0 do not know it, and without it the
// name already lives in the session's own namespace where one exists.
constexpr char kMutexName[] = "Tallykeep.SingleInstance.6F0C2A31";
constexpr char kResultsClass[] = "TallykeepForm";
constexpr char kResultsCaption[] = "成績";

}  // namespace

SingleInstance::SingleInstance() : mutex_(CreateMutexA(nullptr, FALSE, kMutexName)) {
    first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

bool bringRunningInstanceToFront(DWORD limitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const HWND window = FindWindowA(kResultsClass, kResultsCaption);
        // A window that is not shown yet belongs to a start-up still running.
        if (window && IsWindowVisible(window)) {
            // Posted: a busy first Tallykeep must not hold this one up.
            if (IsIconic(window)) PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
            SetForegroundWindow(window);
            return true;
        }
        if (GetTickCount() - start >= limitMs) return false;
        Sleep(50);
    }
}
