#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace freecell {

// Appends "<milliseconds since start> <event> <details>" lines to the file
// named by FREECELL_LOG, each flushed at once so that a test reading the file
// from another process sees it immediately. Without a path nothing is written.
class EventLog {
public:
    EventLog() = default;
    explicit EventLog(const std::string& path);

    void write(const std::string& event, const std::string& details = {});

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace freecell
