#pragma once

#include <memory>
#include <string>

#include "records/settings.h"

// The file operations that saving the settings file goes through, so that a
// test can make any one of them fail.
class SettingsFiles {
public:
    virtual ~SettingsFiles() = default;

    // True when a file (not a folder) of that path exists.
    virtual bool exists(const std::string& path) = 0;
    enum class Copy { done, noSource, failed };
    // Copies `from` over `to`, replacing what is there; `noSource` only when
    // `from` certainly does not exist.
    virtual Copy copy(const std::string& from, const std::string& to) = 0;
    // The private-profile services on one file.
    virtual std::unique_ptr<ProfileStore> openProfile(const std::string& path) = 0;
    // Forces the file's data out of every cache onto the disk.
    virtual bool flushToDisk(const std::string& path) = 0;

    enum class Replace { done, failed, unsupported };
    // Puts `from` in the place of `to` in one step that no crash can leave
    // half done, written through to the disk; `unsupported` where the system
    // has no such step (the Windows 95 family).
    virtual Replace replace(const std::string& from, const std::string& to) = 0;
    // Renames; fails when `to` exists.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    // Deletes; true also when there was no such file.
    virtual bool remove(const std::string& path) = 0;

    // Why the last operation that failed failed, in the system's words; empty
    // when not known.
    virtual std::string failureReason() const { return {}; }
};

// Beside the settings file: the new copy being written, and the old file set
// aside while the new one takes its place where no atomic replace exists.
std::string newSettingsCopyPath(const std::string& iniPath);
std::string oldSettingsCopyPath(const std::string& iniPath);

// Saves the settings so that a crash or power cut at any moment leaves the old
// file or the new one whole: the old file (keys written by hand included) is
// copied beside it, the keys are written into the copy, the copy is flushed to
// the disk and then replaces the file. Any failure raises AppError
// "<iniPath> に書き込めません" and leaves the old file as it was.
void saveSettingsFile(SettingsFiles& files, const Settings& settings, const std::string& iniPath);

// Puts the old file back when a save without atomic replace was cut off
// between setting it aside and putting the new one in its place. Runs before
// the settings are read.
void recoverSettingsFile(SettingsFiles& files, const std::string& iniPath);
