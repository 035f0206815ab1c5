#include "freecell/event_log.h"

namespace freecell {

EventLog::EventLog(const std::string& path) {
    if (!path.empty()) file_.reset(std::fopen(path.c_str(), "ab"));
}

void EventLog::write(const std::string& event, const std::string& details) {
    if (!file_) return;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
    std::string line = std::to_string(elapsed.count()) + ' ' + event;
    if (!details.empty()) line += ' ' + details;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), file_.get());
    std::fflush(file_.get());
}

}  // namespace freecell
