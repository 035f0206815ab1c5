// tk_progress_bench: the progress window's costs as figures, in process, with
// a generated log: the time from opening to the first paint and to the whole
// log read and drawn, for 32,000 and for 1,000,000 games, the longest time
// the owner window took to answer a message meanwhile (the log is read on a
// thread of its own), the redraw after one new result, and the memory that
// the window holds while open. Not a test.
//   --redraws N   new results whose redraw is timed (20)
//   --dir PATH    folder for the generated logs (the current folder)
#include <windows.h>
// psapi.h needs <windows.h> first.
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "forms/progress_window.h"
#include "records/progress_record.h"
#include "records/results_log.h"
#include "records/results_log_reader.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A log of `games` counted games on numbers 1 upward, 100 a day, one in
// seven lost and won at the second attempt, one in fifty left lost.
std::size_t writeLog(const std::string& path, int32_t games) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << kResultsLogHeader << "\r\n";
    const int32_t firstDay = dayNumber(2000, 1, 1);
    int32_t number = 1;
    for (int32_t game = 0; game < games; ++game, ++number) {
        LogEntry entry;
        const LocalTime date = dateOfDay(firstDay + game / 100);
        entry.when = LocalTime{date.year, date.month, date.day, 10 + (game % 100) / 10, game % 60, 0};
        entry.gameNumber = number;
        entry.attempt = 1;
        entry.counted = true;
        entry.event = number % 7 == 0 || number % 50 == 0 ? LogEvent::loss : LogEvent::win;
        out << formatLogLine(entry);
        if (number % 7 == 0 && number % 50 != 0) {
            entry.attempt = 2;
            entry.counted = false;
            entry.event = LogEvent::win;
            out << formatLogLine(entry);
        }
    }
    out.flush();
    return static_cast<std::size_t>(out.tellp());
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Sends WM_NULL to a window every few milliseconds from a thread of its
// own and keeps the longest round trip, until stopped.
class AnswerWatch {
public:
    explicit AnswerWatch(HWND window) : window_(window) {
        DWORD id = 0;
        thread_ = CreateThread(nullptr, 0, &AnswerWatch::run, this, 0, &id);
    }
    ~AnswerWatch() { stop(); }
    double stop() {
        if (thread_) {
            InterlockedExchange(&stopping_, 1);
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        return longestMs_;
    }

private:
    static DWORD WINAPI run(void* self) {
        auto* watch = static_cast<AnswerWatch*>(self);
        while (InterlockedCompareExchange(&watch->stopping_, 0, 0) == 0) {
            const Clock::time_point sent = Clock::now();
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(watch->window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
            watch->longestMs_ = std::max(watch->longestMs_, millisecondsSince(sent));
            Sleep(5);
        }
        return 0;
    }
    HWND window_;
    HANDLE thread_ = nullptr;
    volatile LONG stopping_ = 0;
    double longestMs_ = 0;
};

double privateBytesMb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

void measure(HWND owner, const std::string& folder, int32_t games, int redraws) {
    const std::string path = folder + "\\progress_bench_" + std::to_string(games) + ".csv";
    const std::size_t bytes = writeLog(path, games);
    // The log alone, read into a record as the window reads it.
    double readMs = 0;
    double summaryMs = 0;
    {
        const Clock::time_point start = Clock::now();
        ProgressRecord record(games);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        readResultsLogChunks(
            [file](char* buffer, std::size_t size) -> std::size_t {
                DWORD got = 0;
                return ReadFile(file, buffer, static_cast<DWORD>(size), &got, nullptr) ? got : 0;
            },
            [&record](const LogEntry& entry) { record.add(entry); });
        CloseHandle(file);
        readMs = millisecondsSince(start);
        const Clock::time_point summed = Clock::now();
        record.summary();
        summaryMs = millisecondsSince(summed);
    }
    const double before = privateBytesMb();
    ProgressWindowPorts ports;
    ports.logPath = path;
    ProgressWindow window(owner, ports);
    Options::Place place{0, 0, 800, 600};
    AnswerWatch watch(owner);
    const Clock::time_point start = Clock::now();
    window.open(games, games + 1, place);  // shows and paints at once, then reads
    const double openMs = millisecondsSince(start);
    while (window.isReading()) {
        pumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    pumpMessages();
    UpdateWindow(window.handle());
    const double readMsInWindow = millisecondsSince(start);
    const double longestAnswerMs = watch.stop();
    const double held = privateBytesMb() - before;

    std::vector<double> times;
    for (int i = 0; i < redraws; ++i) {
        LogEntry entry;
        entry.when = LocalTime{2030, 1, 1, 12, 0, i % 60};
        entry.gameNumber = 1 + i * 37 % games;
        entry.event = LogEvent::loss;
        entry.counted = true;
        const Clock::time_point added = Clock::now();
        window.add(entry);
        UpdateWindow(window.handle());
        times.push_back(millisecondsSince(added));
        pumpMessages();
    }
    std::sort(times.begin(), times.end());
    std::printf("progress window, %d games (log %.1f MB):\n", games, bytes / (1024.0 * 1024.0));
    std::printf("  open to first paint             %8.1f ms\n", openMs);
    std::printf("  open to the whole log drawn     %8.1f ms (the log read alone %.1f ms, the summary %.1f ms)\n",
                readMsInWindow, readMs, summaryMs);
    std::printf("  longest answer of the owner     %8.1f ms (WM_NULL sent every 5 ms meanwhile)\n", longestAnswerMs);
    std::printf("  redraw after one new result     %8.1f ms median, %.1f ms max (%d results)\n",
                times[times.size() / 2], times.back(), redraws);
    std::printf("  memory held while open          %8.1f MB (private bytes)\n", held);
    std::fflush(stdout);
    DeleteFileA(path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int redraws = 20;
    std::string folder = ".";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--redraws")
            redraws = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--dir")
            folder = argv[i + 1];
    }
    HWND owner = CreateWindowExA(0, "STATIC", "tk_progress_bench", WS_OVERLAPPED, 900, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (!owner) {
        std::fprintf(stderr, "tk_progress_bench: no owner window\n");
        return 1;
    }
    try {
        measure(owner, folder, 32000, redraws);
        measure(owner, folder, 1000000, redraws);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tk_progress_bench: %s\n", error.what());
        return 1;
    }
    DestroyWindow(owner);
    return 0;
}
