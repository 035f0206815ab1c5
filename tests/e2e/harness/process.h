#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// Extra environment variables for a started program, on top of the test's own.
using Environment = std::vector<std::pair<std::string, std::string>>;

// A started program. The destructor kills it if it is still running, so no
// test leaves a program behind.
class Process {
public:
    // Starts `exePath` in `workDir`; throws std::runtime_error on failure.
    static Process start(const std::string& exePath, const std::string& workDir, const Environment& extra = {});

    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD id() const { return id_; }
    bool running() const;
    // The exit code, or none when the program is still running at the timeout.
    std::optional<DWORD> waitForExit(std::chrono::milliseconds timeout = 20s) const;
    void kill();

private:
    Process(HANDLE handle, DWORD id) : handle_(handle), id_(id) {}
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// Terminates every Tallykeep.exe and FREECELL.EXE left over from an earlier
// test, and whatever process owns a window of class "FreeWClass".
void killStrayPrograms();

}  // namespace e2e
