#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/critical_section_win.h"
#include "common/handles_win.h"
#include "records/results_log.h"

// Reads the log on a thread of its own, so that the window that asked for it
// goes on answering however long the log is: the entries come over in
// portions, each announced by a message posted to the window, which takes
// them with take(). The log is read as it stood when the reading began; lines
// appended after that are the window's to add, as they are written.
class LogReadingThread {
public:
    struct Portion {
        std::vector<LogEntry> entries;
        uint64_t bytesRead = 0;  // of the whole reading so far
        bool last = false;
        SkippedLines skipped;  // with the last portion
    };

    // Starts the reading. Where no thread can be started, the log is read
    // before this returns and handed over all the same.
    LogReadingThread(const std::string& path, HWND window, UINT message);
    // Stops the reading where it is and waits for the thread.
    ~LogReadingThread();
    LogReadingThread(const LogReadingThread&) = delete;
    LogReadingThread& operator=(const LogReadingThread&) = delete;

    uint64_t bytesToRead() const { return size_; }
    // The portions read since the last take, in order.
    std::vector<Portion> take();

private:
    static DWORD WINAPI run(void* self);
    void readAll() noexcept;
    void handOver(Portion portion);
    bool stopping();

    HWND window_;
    UINT message_;
    FileHandle file_;
    uint64_t size_ = 0;
    KernelHandle thread_;
    CriticalSection lock_;
    // Guarded by lock_.
    std::vector<Portion> portions_;
    std::size_t entriesWaiting_ = 0;
    bool waitsForTheWindow_ = true;
    bool stopping_ = false;
};
