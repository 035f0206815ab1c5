// The results window's keeping over the real files: a settings file that
// cannot be written is told in one box and saved with the next change, and a
// save cut off at any step leaves the old file or the new one.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "records/results_log_reader.h"
#include "records/settings_file_win.h"
#include "results_window_doubles.h"
#include "toolkit_test_support.h"

using results_test::childrenOf;
using results_test::Program;
using results_test::RunningGame;
using results_test::textOf;
using toolkit_test::FromInsideModalLoop;
using toolkit_test::openBoxes;
using toolkit_test::waitUntil;

namespace {

std::optional<std::string> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool contains(const std::optional<std::string>& bytes, const std::string& part) {
    return bytes && bytes->find(part) != std::string::npos;
}

// The real file operations; while `refusing`, the copy that starts a save
// fails as in a folder that cannot be written. From `crashAt` on (counted
// once `armed`), every operation does nothing and fails, as when the process
// dies there.
class ControlledFiles : public SettingsFiles {
public:
    bool refusing = false;
    bool armed = false;
    std::optional<int> crashAt;
    int operations = 0;

    bool exists(const std::string& path) override { return step() && real_.exists(path); }
    Copy copy(const std::string& from, const std::string& to) override {
        if (!step() || refusing) return Copy::failed;
        return real_.copy(from, to);
    }
    std::unique_ptr<ProfileStore> openProfile(const std::string& path) override {
        return std::make_unique<Store>(*this, path);
    }
    bool flushToDisk(const std::string& path) override { return step() && real_.flushToDisk(path); }
    Replace replace(const std::string& from, const std::string& to) override {
        return step() ? real_.replace(from, to) : Replace::failed;
    }
    bool rename(const std::string& from, const std::string& to) override { return step() && real_.rename(from, to); }
    bool remove(const std::string& path) override { return step() && real_.remove(path); }
    std::string failureReason() const override { return refusing ? "folder refused by the test" : ""; }

private:
    class Store : public ProfileStore {
    public:
        Store(ControlledFiles& owner, const std::string& path) : owner_(owner), file_(path) {}
        std::string read(const char* section, const char* key) override { return file_.read(section, key); }
        bool write(const char* section, const char* key, const std::string& value) override {
            return owner_.step() && file_.write(section, key, value);
        }
        void flush() override {
            if (owner_.step()) file_.flush();
        }

    private:
        ControlledFiles& owner_;
        IniFile file_;
    };

    bool step() {
        if (!armed) return true;
        const int index = operations++;
        return !(crashAt && index >= *crashAt);
    }

    Win32SettingsFiles real_;
};

// Answers every error box "Tallykeep" that opens, and keeps their texts.
class ErrorBoxes {
public:
    ErrorBoxes()
        : answer_([this] {
              for (HWND box : openBoxes("Tallykeep")) {
                  if (answered_.insert(box).second) {
                      std::string text;
                      for (HWND child : childrenOf(box)) text += textOf(child) + "\n";
                      texts.push_back(text);
                  }
                  PostMessageA(box, WM_COMMAND, IDOK, 0);
              }
              return false;
          }) {}

    std::vector<std::string> texts;

private:
    std::set<HWND> answered_;
    FromInsideModalLoop answer_;
};

class ResultsWindowKeeping : public ::testing::Test {
protected:
    void SetUp() override {
        char directory[MAX_PATH] = {};
        ASSERT_GT(GetTempPathA(MAX_PATH, directory), 0u);
        const std::string base = std::string(directory) + "tkui_keeping_" + std::to_string(GetCurrentProcessId());
        iniPath_ = base + ".Ini";
        logPath_ = base + ".csv";
        removeFiles();
    }
    void TearDown() override {
        program_.reset();
        removeFiles();
    }
    void removeFiles() {
        for (const std::string& path :
             {iniPath_, logPath_, newSettingsCopyPath(iniPath_), oldSettingsCopyPath(iniPath_)})
            DeleteFileA(path.c_str());
    }
    void writeSetting(const char* section, const char* key, const char* value) {
        ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, iniPath_.c_str()));
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, iniPath_.c_str());
    }
    Program& open(SettingsFiles* files = nullptr) {
        program_ = std::make_unique<Program>(iniPath_, game_, OsVersion{2, 5, 1}, files);
        return *program_;
    }

    RunningGame game_;
    std::string iniPath_;
    std::string logPath_;
    std::unique_ptr<Program> program_;
};

// What the keeper could not write is told in one box, however many changes
// meet the same problem.
TEST_F(ResultsWindowKeeping, SettingsThatCannotBeWrittenAreToldOnceAndSavedWithTheNextChange) {
    ControlledFiles files;
    Program& p = open(&files);
    files.refusing = true;
    ErrorBoxes boxes;
    p.choose(cmRestoreGameStatistics);
    SetWindowTextA(p.numberBox(), "500");
    p.choose(cmPass);
    p.choose(cmControlBar);
    ASSERT_EQ(boxes.texts.size(), 1u) << "one box per session";
    EXPECT_NE(boxes.texts[0].find(iniPath_ + " に書き込めません"), std::string::npos) << boxes.texts[0];
    EXPECT_NE(boxes.texts[0].find("folder refused by the test"), std::string::npos) << boxes.texts[0];
    EXPECT_FALSE(readBytes(iniPath_).has_value());

    files.refusing = false;
    p.choose(cmRestoreGameStatistics);
    const std::optional<std::string> saved = readBytes(iniPath_);
    EXPECT_TRUE(contains(saved, "SskUp=0"));
    EXPECT_TRUE(contains(saved, "Retry0=500")) << "kept in memory meanwhile";
    EXPECT_TRUE(contains(saved, "CtlBar=0"));
    EXPECT_EQ(boxes.texts.size(), 1u);
}

// The save after a change is the crash-safe one: cut off at any of its steps,
// as when Tallykeep is killed there, it leaves the old file or the new one.
TEST_F(ResultsWindowKeeping, ChangeSaveCutOffAtAnyStepLeavesTheOldOrTheNewFile) {
    writeSetting("Mine", "keep", "手書き");
    writeSetting("Rtry", "Retry0", "4711");
    const std::string oldFile = readBytes(iniPath_).value();
    std::string newFile;
    int steps = 0;
    {
        ControlledFiles files;
        Program& p = open(&files);
        files.armed = true;
        p.choose(cmRetryFirst);
        steps = files.operations;
        program_.reset();
        newFile = readBytes(iniPath_).value();
    }
    ASSERT_NE(newFile, oldFile);
    ASSERT_GT(steps, 30) << "each key written counts as a step";
    for (int step = 0; step <= steps; ++step) {
        removeFiles();
        std::ofstream(iniPath_, std::ios::binary) << oldFile;
        ControlledFiles files;
        {
            ErrorBoxes boxes;
            Program& p = open(&files);
            files.armed = true;
            files.crashAt = step;
            p.choose(cmRetryFirst);
            program_.reset();  // the process is gone: no close, no save
        }
        ControlledFiles restarted;
        recoverSettingsFile(restarted, iniPath_);
        const std::string left = readBytes(iniPath_).value_or("<none>");
        EXPECT_TRUE(left == oldFile || left == newFile) << "cut off at step " << step << ":\n" << left;
    }
}

}  // namespace
