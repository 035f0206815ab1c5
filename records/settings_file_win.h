#pragma once

#include <string>

#include "records/settings.h"
#include "records/settings_save.h"

// The settings file through the system's private-profile services.
class IniFile : public ProfileStore {
public:
    // `failure`, when given, receives why a refused write was refused.
    explicit IniFile(std::string path, std::string* failure = nullptr) : path_(std::move(path)), failure_(failure) {}

    // Values longer than 2047 bytes come back cut at 2047 bytes, or at 2046
    // when byte 2047 would be the first half of a double-byte character.
    std::string read(const char* section, const char* key) override;
    bool write(const char* section, const char* key, const std::string& value) override;
    void flush() override;

private:
    std::string path_;
    std::string* failure_;
};

// The file operations of a save, on the real file system. The atomic replace
// is MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, looked
// up at run time: the Windows 95 family lacks it (or has only a stub), and the
// save then replaces the file in steps.
class Win32SettingsFiles : public SettingsFiles {
public:
    bool exists(const std::string& path) override;
    Copy copy(const std::string& from, const std::string& to) override;
    std::unique_ptr<ProfileStore> openProfile(const std::string& path) override;
    bool flushToDisk(const std::string& path) override;
    Replace replace(const std::string& from, const std::string& to) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
    std::string failureReason() const override { return failure_; }

private:
    bool failed();

    std::string failure_;
};

// The full path of the running executable, however long.
std::string executablePath();
