#include "freecell/memory_watch_win.h"

#include <cstdlib>

namespace freecell {

namespace {

constexpr DWORD kSampleMs = 5;
constexpr LONG kReportStepKb = 64;

}  // namespace

MemoryWatch::MemoryWatch(UINT changedMessage) : changedMessage_(changedMessage) {
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll"))
        memoryInfo_ = reinterpret_cast<MemoryInfoFunction>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "K32GetProcessMemoryInfo")));
    if (!memoryInfo_ && (psapi_ = LoadLibraryA("psapi.dll")) != nullptr)
        memoryInfo_ = reinterpret_cast<MemoryInfoFunction>(
            reinterpret_cast<void*>(GetProcAddress(psapi_, "GetProcessMemoryInfo")));
}

MemoryWatch::~MemoryWatch() {
    if (thread_) {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    if (stop_) CloseHandle(stop_);
    if (psapi_) FreeLibrary(psapi_);
}

bool MemoryWatch::start(HWND window) {
    if (!memoryInfo_ || read() == 0) return false;
    window_ = window;
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!stop_) return false;
    DWORD id = 0;
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, &id);
    return thread_ != nullptr;
}

std::string MemoryWatch::text() const {
    if (peakKb_ == 0) return "private=unknown";
    return "private=" + std::to_string(currentKb_) + " peak=" + std::to_string(peakKb_);
}

DWORD WINAPI MemoryWatch::threadMain(void* self) {
    static_cast<MemoryWatch*>(self)->run();
    return 0;
}

void MemoryWatch::run() {
    LONG reportedCurrent = 0;
    LONG reportedPeak = 0;
    while (WaitForSingleObject(stop_, kSampleMs) == WAIT_TIMEOUT) {
        const LONG now = static_cast<LONG>(read() / 1024);
        if (now == 0) continue;
        InterlockedExchange(&currentKb_, now);
        if (now > peakKb_) InterlockedExchange(&peakKb_, now);
        if (labs(now - reportedCurrent) < kReportStepKb && peakKb_ - reportedPeak < kReportStepKb) continue;
        reportedCurrent = now;
        reportedPeak = peakKb_;
        PostMessageA(window_, changedMessage_, 0, 0);
    }
}

SIZE_T MemoryWatch::read() const {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!memoryInfo_(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return 0;
    // Windows counts the private bytes in both; Wine fills only the second.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

}  // namespace freecell
