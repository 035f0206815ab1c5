#include "records/log_reading_thread_win.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "records/results_log_reader.h"

namespace {

// Entries handed over at a time: a portion is added to the window's picture
// in about a millisecond.
constexpr std::size_t kPortionEntries = 16 * 1024;
// Entries read ahead of the window, at most: the reading waits for the window
// rather than hold a long log in memory twice.
constexpr std::size_t kMostWaitingEntries = 16 * kPortionEntries;

}  // namespace

LogReadingThread::LogReadingThread(const std::string& path, HWND window, UINT message)
    : window_(window), message_(message) {
    // Opened here, so that the size is the log's as it stands now, between
    // two lines the program appends.
    file_.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file_) {
        DWORD high = 0;
        const DWORD low = GetFileSize(file_.get(), &high);
        if (low != INVALID_FILE_SIZE || GetLastError() == NO_ERROR) size_ = (uint64_t{high} << 32) | low;
    }
    DWORD threadId = 0;
    thread_.reset(CreateThread(nullptr, 0, &LogReadingThread::run, this, 0, &threadId));
    if (!thread_) {
        // Read here, on the window's thread: nothing takes the portions
        // before the reading ends, so it never waits for the window.
        waitsForTheWindow_ = false;
        readAll();
    }
}

LogReadingThread::~LogReadingThread() {
    {
        CriticalSection::Locked locked(lock_);
        stopping_ = true;
    }
    if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI LogReadingThread::run(void* self) {
    static_cast<LogReadingThread*>(self)->readAll();
    return 0;
}

bool LogReadingThread::stopping() {
    CriticalSection::Locked locked(lock_);
    return stopping_;
}

// A log that cannot be opened (none yet) or read is read as far as it goes;
// the last portion always comes, so that the window knows the reading ended.
void LogReadingThread::readAll() noexcept {
    Portion portion;
    try {
        uint64_t left = size_;
        uint64_t bytesRead = 0;
        if (file_) {
            portion.skipped = readResultsLogChunks(
                [&](char* buffer, std::size_t size) -> std::size_t {
                    if (left == 0 || stopping()) return 0;
                    DWORD got = 0;
                    const DWORD want = static_cast<DWORD>(std::min<uint64_t>(size, left));
                    if (!ReadFile(file_.get(), buffer, want, &got, nullptr)) return 0;
                    left -= got;
                    bytesRead += got;
                    return got;
                },
                [&](const LogEntry& entry) {
                    portion.entries.push_back(entry);
                    if (portion.entries.size() < kPortionEntries) return;
                    portion.bytesRead = bytesRead;
                    handOver(std::move(portion));
                    portion = Portion{};
                    portion.entries.reserve(kPortionEntries);
                });
        }
        portion.bytesRead = bytesRead;
    } catch (const std::exception&) {
        // Out of memory: what was read so far is shown.
    }
    portion.last = true;
    try {
        handOver(std::move(portion));
    } catch (const std::exception&) {
        OutputDebugStringA("Tallykeep: the log's reading could not hand over its end\n");
    }
}

void LogReadingThread::handOver(Portion portion) {
    // Waits while the window is behind, unless it stopped the reading.
    for (;;) {
        {
            CriticalSection::Locked locked(lock_);
            if (stopping_) return;
            if (entriesWaiting_ < kMostWaitingEntries || portion.last || !waitsForTheWindow_) {
                entriesWaiting_ += portion.entries.size();
                const bool announce = portions_.empty();
                portions_.push_back(std::move(portion));
                if (announce) PostMessageA(window_, message_, 0, 0);
                return;
            }
        }
        Sleep(2);
    }
}

std::vector<LogReadingThread::Portion> LogReadingThread::take() {
    CriticalSection::Locked locked(lock_);
    std::vector<Portion> taken;
    taken.swap(portions_);
    entriesWaiting_ = 0;
    return taken;
}
