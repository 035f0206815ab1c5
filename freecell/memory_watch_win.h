#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <string>

namespace freecell {

// The test build's look at the game's own memory while it plays: a thread
// reads the process's private bytes every few milliseconds, keeps the
// highest, and posts `changedMessage` to the window whenever either figure
// has moved by 64 KB since the last post, so that the window can show them
// (text()) without the thread ever waiting for it. The reading function is
// looked up at run time: KERNEL32's K32GetProcessMemoryInfo (Windows 7 on),
// else PSAPI.DLL's GetProcessMemoryInfo (NT 4.0 with it, 2000, XP); on
// Windows 95, 98 and Me neither exists and nothing is read.
class MemoryWatch {
public:
    explicit MemoryWatch(UINT changedMessage);
    // Stops the thread and waits for it.
    ~MemoryWatch();
    MemoryWatch(const MemoryWatch&) = delete;
    MemoryWatch& operator=(const MemoryWatch&) = delete;

    // Starts the thread; false when there is nothing to read or Windows
    // refused the thread.
    bool start(HWND window);
    // "private=<KB> peak=<KB>", or "private=unknown".
    std::string text() const;

private:
    using MemoryInfoFunction = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
    static DWORD WINAPI threadMain(void* self);
    void run();
    // The private bytes now; 0 when they cannot be read.
    SIZE_T read() const;

    const UINT changedMessage_;
    HMODULE psapi_ = nullptr;
    MemoryInfoFunction memoryInfo_ = nullptr;
    HWND window_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    // Written by the thread, read by the window's thread.
    volatile LONG currentKb_ = 0;
    volatile LONG peakKb_ = 0;
};

}  // namespace freecell
