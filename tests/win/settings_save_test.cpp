// Saving the settings file through a copy that replaces it: every file
// operation of the save is made to fail in turn, and the save is cut off at
// every operation as a crash would; the file is always the old one or the new
// one, byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "common/app_error.h"
#include "records/settings_file_win.h"
#include "records/settings_save.h"

namespace {

std::optional<std::string> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The real file operations, of which one in turn fails (`failAt`) or after
// which the disk no longer changes (`crashAt`: this operation and every later
// one do nothing and fail, as when the process dies there). Profile writes and
// flushes count as operations too.
class FaultyFiles : public SettingsFiles {
public:
    std::optional<int> failAt;
    std::optional<int> crashAt;
    bool noAtomicReplace = false;
    int operations = 0;

    bool exists(const std::string& path) override { return step() && real_.exists(path); }
    Copy copy(const std::string& from, const std::string& to) override {
        return step() ? real_.copy(from, to) : Copy::failed;
    }
    std::unique_ptr<ProfileStore> openProfile(const std::string& path) override {
        return std::make_unique<Store>(*this, path);
    }
    bool flushToDisk(const std::string& path) override { return step() && real_.flushToDisk(path); }
    Replace replace(const std::string& from, const std::string& to) override {
        if (!step()) return Replace::failed;
        return noAtomicReplace ? Replace::unsupported : real_.replace(from, to);
    }
    bool rename(const std::string& from, const std::string& to) override { return step() && real_.rename(from, to); }
    bool remove(const std::string& path) override { return step() && real_.remove(path); }

private:
    class Store : public ProfileStore {
    public:
        Store(FaultyFiles& owner, const std::string& path) : owner_(owner), file_(path) {}
        std::string read(const char* section, const char* key) override { return file_.read(section, key); }
        bool write(const char* section, const char* key, const std::string& value) override {
            return owner_.step() && file_.write(section, key, value);
        }
        void flush() override {
            if (owner_.step()) file_.flush();
        }

    private:
        FaultyFiles& owner_;
        IniFile file_;
    };

    bool step() {
        const int index = operations++;
        if (crashAt && index >= *crashAt) return false;
        return !(failAt && index == *failAt);
    }

    Win32SettingsFiles real_;
};

Settings newSettings() {
    Settings s;
    s.game.number = 4242;
    s.tally.ledger.won = 17;
    s.tally.history.addNewest("4241 勝ち");
    s.tally.passes[2] = "99";
    return s;
}

// A hand-written file with a section of its own and a note among the keys.
const std::string kOldFile = "[Mine]\r\nkeep=手書き\r\n[Game]\r\nGameNo=5\r\nNote=by hand\r\n";

class SettingsSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        const DWORD length = GetTempPathA(MAX_PATH, temp);
        ASSERT_GT(length, 0u);
        ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
        base_ = std::string(temp) + "tk_save_" + std::to_string(GetCurrentProcessId()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(CreateDirectoryA(base_.c_str(), nullptr)) << GetLastError();
    }
    void TearDown() override {
        for (const std::string& folder : folders_) {
            for (const std::string& path :
                 {ini(folder), newSettingsCopyPath(ini(folder)), oldSettingsCopyPath(ini(folder))})
                DeleteFileA(path.c_str());
            RemoveDirectoryA(folder.c_str());
        }
        RemoveDirectoryA(base_.c_str());
    }

    static std::string ini(const std::string& folder) { return folder + "\\Tallykeep.Ini"; }

    // A folder of its own holding the old file, or no file at all.
    std::string freshFolder(const std::optional<std::string>& oldFile) {
        const std::string folder = base_ + "\\" + std::to_string(folders_.size());
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
        folders_.push_back(folder);
        if (oldFile) writeBytes(ini(folder), *oldFile);
        return folder;
    }

    // What an undisturbed save makes of the old file.
    std::string savedBytes(const std::optional<std::string>& oldFile, bool noAtomicReplace) {
        const std::string folder = freshFolder(oldFile);
        FaultyFiles files;
        files.noAtomicReplace = noAtomicReplace;
        saveSettingsFile(files, newSettings(), ini(folder));
        operations_ = files.operations;
        return readBytes(ini(folder)).value_or("<none>");
    }

    // Every operation of the save fails in turn: either the save fails with the
    // settings file's error and the old file is whole, or the failed operation
    // did not matter and the new file is there. No copy is left beside it.
    void failEachStep(const std::optional<std::string>& oldFile, bool noAtomicReplace) {
        const std::string expectedNew = savedBytes(oldFile, noAtomicReplace);
        ASSERT_GT(operations_, 30);
        int failures = 0;
        for (int step = 0; step < operations_; ++step) {
            const std::string folder = freshFolder(oldFile);
            FaultyFiles files;
            files.failAt = step;
            files.noAtomicReplace = noAtomicReplace;
            try {
                saveSettingsFile(files, newSettings(), ini(folder));
                EXPECT_EQ(readBytes(ini(folder)), expectedNew) << "step " << step;
            } catch (const AppError& error) {
                ++failures;
                EXPECT_EQ(std::string(error.what()), ini(folder) + " に書き込めません") << "step " << step;
                EXPECT_EQ(readBytes(ini(folder)), oldFile) << "step " << step;
                EXPECT_FALSE(fileExists(oldSettingsCopyPath(ini(folder)))) << "step " << step;
            }
            EXPECT_FALSE(fileExists(newSettingsCopyPath(ini(folder)))) << "step " << step;
        }
        EXPECT_GT(failures, operations_ / 2);
    }

    // The save is cut off at every operation; what the next start reads (after
    // its recovery) is the old file or the new one. A save that follows
    // succeeds.
    void crashAtEachStep(const std::optional<std::string>& oldFile, bool noAtomicReplace) {
        const std::string expectedNew = savedBytes(oldFile, noAtomicReplace);
        bool sawOld = false, sawNew = false;
        for (int step = 0; step <= operations_; ++step) {
            const std::string folder = freshFolder(oldFile);
            FaultyFiles files;
            files.crashAt = step;
            files.noAtomicReplace = noAtomicReplace;
            try {
                saveSettingsFile(files, newSettings(), ini(folder));
            } catch (const AppError&) {}
            // The dead process's profile cache never reaches the disk; drop it.
            WritePrivateProfileStringA(nullptr, nullptr, nullptr, newSettingsCopyPath(ini(folder)).c_str());

            Win32SettingsFiles real;
            recoverSettingsFile(real, ini(folder));
            const std::optional<std::string> after = readBytes(ini(folder));
            sawOld = sawOld || after == oldFile;
            sawNew = sawNew || after == expectedNew;
            EXPECT_TRUE(after == oldFile || after == expectedNew)
                << "step " << step << ": " << after.value_or("<none>");

            saveSettingsFile(real, newSettings(), ini(folder));
            EXPECT_EQ(readBytes(ini(folder)), expectedNew) << "step " << step;
        }
        EXPECT_TRUE(sawOld);
        EXPECT_TRUE(sawNew);
    }

    std::string base_;
    std::vector<std::string> folders_;
    int operations_ = 0;
};

TEST_F(SettingsSaveTest, SaveKeepsHandWrittenKeysAndLeavesNoCopyBehind) {
    const std::string folder = freshFolder(kOldFile);
    Win32SettingsFiles files;
    saveSettingsFile(files, newSettings(), ini(folder));
    const std::string bytes = readBytes(ini(folder)).value_or("");
    EXPECT_NE(bytes.find("[Mine]\r\nkeep=手書き\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("Note=by hand"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("GameNo=4242"), std::string::npos) << bytes;
    EXPECT_FALSE(fileExists(newSettingsCopyPath(ini(folder))));
    IniFile reopened(ini(folder));
    EXPECT_EQ(readSettings(reopened).tally.history.saved()[0], "4241 勝ち");
}

TEST_F(SettingsSaveTest, StaleCopyOfAnEarlierCutOffSaveIsNotTakenIn) {
    const std::string folder = freshFolder(std::nullopt);
    writeBytes(newSettingsCopyPath(ini(folder)), "[Junk]\r\nhalf=written\r\n");
    Win32SettingsFiles files;
    saveSettingsFile(files, newSettings(), ini(folder));
    EXPECT_EQ(readBytes(ini(folder)).value_or("").find("[Junk]"), std::string::npos);
}

TEST_F(SettingsSaveTest, FailureAtAnyStepLeavesTheOldFileWhole) { failEachStep(kOldFile, false); }
TEST_F(SettingsSaveTest, FailureAtAnyStepLeavesNoFileWhenThereWasNone) { failEachStep(std::nullopt, false); }
TEST_F(SettingsSaveTest, FailureAtAnyStepWithoutAtomicReplaceLeavesTheOldFileWhole) { failEachStep(kOldFile, true); }

TEST_F(SettingsSaveTest, CrashAtAnyStepLeavesTheOldOrTheNewFile) { crashAtEachStep(kOldFile, false); }
TEST_F(SettingsSaveTest, CrashAtAnyStepOfTheFirstSaveLeavesNoFileOrTheNewOne) { crashAtEachStep(std::nullopt, false); }
TEST_F(SettingsSaveTest, CrashAtAnyStepWithoutAtomicReplaceLeavesTheOldOrTheNewFile) {
    crashAtEachStep(kOldFile, true);
}

// Another program holding the file without sharing: the copy cannot be made,
// and the file stays as it was.
TEST_F(SettingsSaveTest, HeldFileRefusesTheSaveAndStaysUnchanged) {
    const std::string folder = freshFolder(kOldFile);
    const HANDLE held = CreateFileA(ini(folder).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Win32SettingsFiles files;
    EXPECT_THROW(saveSettingsFile(files, newSettings(), ini(folder)), AppError);
    CloseHandle(held);
    EXPECT_EQ(readBytes(ini(folder)), kOldFile);
    EXPECT_FALSE(fileExists(newSettingsCopyPath(ini(folder))));
}

}  // namespace
