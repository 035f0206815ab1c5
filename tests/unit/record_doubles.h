#pragma once

// The keeper's files in memory: the settings file (and the copies a save
// makes beside it), the log, the clock and the game's statistics.

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "records/record_keeper.h"
#include "records/results_log_reader.h"

namespace record_test {

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

    Outcome append(const std::function<std::string(const End&)>& compose) override {
        if (refusing) return {false, "used by another process"};
        End end;
        end.empty = bytes.empty();
        end.endsWithLineBreak = bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
        end.utf8 = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
        bytes += compose(end);
        ++writes;
        return {true, {}};
    }
};

// The waiting-lines file in memory; while `refusing` it keeps nothing new.
class MemoryWaitingLines : public WaitingLinesFile {
public:
    std::string bytes;
    bool refusing = false;

    std::string read() override { return bytes; }
    bool keep(const std::string& kept) override {
        if (refusing) return false;
        bytes = kept;
        return true;
    }
    bool forget() override {
        if (refusing) return false;
        bytes.clear();
        return true;
    }
};

// Files of "section/key" values by path; while `refusing`, a save's first
// step fails, as in a folder that cannot be written.
class MemorySettingsFiles : public SettingsFiles {
public:
    using Values = std::map<std::string, std::string>;
    std::map<std::string, Values> files;
    bool refusing = false;
    int saves = 0;

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
        files.readLog = [this](const std::function<void(const LogEntry&)>& onEntry) {
            std::istringstream in(log.bytes);
            readResultsLogEach(in, onEntry);
        };
        return files;
    }
    // The log's lines without their date and time: "3,1,勝ち,1".
    std::vector<std::string> loggedLines() const {
        std::vector<std::string> lines;
        std::istringstream in(log.bytes);
        std::string line;
        std::getline(in, line);  // the header
        while (std::getline(in, line)) lines.push_back(line.substr(20, line.size() - 21));
        return lines;
    }
    std::string saved(const std::string& sectionKey) const { return settings.value(kIniPath, sectionKey); }
    void store(const std::string& sectionKey, const std::string& value) {
        settings.files[kIniPath][sectionKey] = value;
    }
};

}  // namespace record_test
