#pragma once

// The keeper's files in memory: the settings file (and the copies a save
// makes beside it), the log, the clock and the game's statistics.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "records/record_keeper.h"
#include "records/results_log_reader.h"

namespace record_test {

// Tallykeep ended at once (killed, the power cut) right after a write; no
// std::exception, so that nothing in the keeper takes it for a failure.
struct Killed {};

// Counts the writes of every file; armed, it ends the program after the
// write it counts down to.
struct KillSwitch {
    int writesLeft = 0;  // 0: not armed
    void wrote() {
        if (writesLeft > 0 && --writesLeft == 0) throw Killed{};
    }
};

class FixedClock : public LocalClock {
public:
    LocalTime time{2026, 3, 9, 7, 5, 3};
    LocalTime now() override { return time; }
};

// The log file in memory; while `refusing` it takes nothing, as a file held
// open by Excel or a full disk.
class MemoryLog : public AppendOnlyFile {
public:
    std::string bytes;
    bool refusing = false;
    int writes = 0;
    KillSwitch* kill = nullptr;

    Outcome append(const std::function<std::string(const End&)>& compose) override {
        if (refusing) return {false, "used by another process"};
        End end;
        end.empty = bytes.empty();
        end.endsWithLineBreak = bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
        end.utf8 = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
        bytes += compose(end);
        ++writes;
        if (kill) kill->wrote();
        return {true, {}, bytes.size()};
    }
};

// The waiting-lines file in memory; while `refusing` it keeps nothing new.
class MemoryWaitingLines : public WaitingLinesFile {
public:
    std::string bytes;
    bool refusing = false;
    KillSwitch* kill = nullptr;

    std::string read() override { return bytes; }
    bool keep(const std::string& kept) override {
        if (refusing) return false;
        bytes = kept;
        if (kill) kill->wrote();
        return true;
    }
    bool forget() override {
        if (refusing) return false;
        bytes.clear();
        if (kill) kill->wrote();
        return true;
    }
};

// The log read from memory; while `unreadable` it cannot be opened.
class MemoryLogSource : public LogSource {
public:
    explicit MemoryLogSource(const MemoryLog& log) : log_(log) {}
    bool unreadable = false;
    uint64_t bytesRead = 0;

    std::optional<uint64_t> read(uint64_t from,
                                 const std::function<void(const LogEntry&, uint64_t lineEnd)>& onEntry) override {
        if (unreadable) return std::nullopt;
        const std::string& bytes = log_.bytes;
        if (from > bytes.size()) return bytes.size();
        std::size_t at = static_cast<std::size_t>(from);
        readResultsLogLines(
            [&](char* buffer, std::size_t size) {
                const std::size_t count = std::min(size, bytes.size() - at);
                bytes.copy(buffer, count, at);
                at += count;
                bytesRead += count;
                return count;
            },
            [&](const LogEntry& entry, uint64_t lineEnd) { onEntry(entry, from + lineEnd); });
        return bytes.size();
    }

private:
    const MemoryLog& log_;
};

// Files of "section/key" values by path; while `refusing`, a save's first
// step fails, as in a folder that cannot be written.
class MemorySettingsFiles : public SettingsFiles {
public:
    using Values = std::map<std::string, std::string>;
    std::map<std::string, Values> files;
    bool refusing = false;
    int saves = 0;
    KillSwitch* kill = nullptr;

    std::string value(const std::string& path, const std::string& sectionKey) const {
        const auto file = files.find(path);
        if (file == files.end()) return {};
        const auto found = file->second.find(sectionKey);
        return found == file->second.end() ? std::string() : found->second;
    }

    bool exists(const std::string& path) override { return files.count(path) != 0; }
    Copy copy(const std::string& from, const std::string& to) override {
        if (refusing) return Copy::failed;
        if (!exists(from)) return Copy::noSource;
        files[to] = files[from];
        return Copy::done;
    }
    std::unique_ptr<ProfileStore> openProfile(const std::string& path) override {
        return std::make_unique<Store>(*this, path);
    }
    bool flushToDisk(const std::string&) override { return true; }
    Replace replace(const std::string& from, const std::string& to) override {
        files[to] = files[from];
        files.erase(from);
        ++saves;
        if (kill) kill->wrote();
        return Replace::done;
    }
    bool rename(const std::string& from, const std::string& to) override {
        if (exists(to) || !exists(from)) return false;
        return replace(from, to) == Replace::done;
    }
    bool remove(const std::string& path) override {
        files.erase(path);
        return true;
    }
    std::string failureReason() const override { return refusing ? "access denied" : ""; }

private:
    class Store : public ProfileStore {
    public:
        Store(MemorySettingsFiles& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
        std::string read(const char* section, const char* key) override {
            return owner_.value(path_, std::string(section) + "/" + key);
        }
        bool write(const char* section, const char* key, const std::string& value) override {
            owner_.files[path_][std::string(section) + "/" + key] = value;
            return true;
        }
        void flush() override {}

    private:
        MemorySettingsFiles& owner_;
        std::string path_;
    };
};

// A game that never stored its statistics.
class NoStatistics : public StatisticsRegistry {
public:
    Opening openKey() override {
        Opening opening;
        opening.keyMissing = true;
        return opening;
    }
};

// Everything a keeper needs, in memory, and the keeper over it.
struct KeeperWorld {
    static constexpr char kIniPath[] = "C:\\Games\\Tallykeep.Ini";
    static constexpr char kLogPath[] = "C:\\Games\\Tallykeep.csv";

    FixedClock clock;
    MemoryLog log;
    MemoryWaitingLines waiting;
    MemoryWaitingLines played;
    MemoryLogSource logSource{log};
    MemorySettingsFiles settings;
    NoStatistics statistics;

    RecordFiles files() {
        RecordFiles files;
        files.settingsFiles = &settings;
        files.settingsPath = kIniPath;
        files.logFile = &log;
        files.logPath = kLogPath;
        files.waitingLinesFile = &waiting;
        files.clock = &clock;
        files.gameStatistics = &statistics;
        files.logSource = &logSource;
        files.playedNumbersFile = &played;
        return files;
    }
    // The log's lines without their date, time and 通番: "3,1,勝ち,1".
    std::vector<std::string> loggedLines() const {
        std::vector<std::string> lines;
        std::istringstream in(log.bytes);
        std::string line;
        std::getline(in, line);  // the header
        while (std::getline(in, line)) {
            line = line.substr(20, line.size() - 21);
            if (std::count(line.begin(), line.end(), ',') == 4) line.erase(line.rfind(','));
            lines.push_back(line);
        }
        return lines;
    }
    std::string saved(const std::string& sectionKey) const { return settings.value(kIniPath, sectionKey); }
    void store(const std::string& sectionKey, const std::string& value) {
        settings.files[kIniPath][sectionKey] = value;
    }
};

}  // namespace record_test
