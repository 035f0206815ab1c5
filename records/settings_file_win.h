#pragma once

#include <string>

#include "records/settings.h"

// The settings file through the system's private-profile services.
class IniFile : public ProfileStore {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    // Values longer than 2047 bytes come back cut at 2047 bytes, or at 2046
    // when byte 2047 would be the first half of a double-byte character.
    std::string read(const char* section, const char* key) override;
    bool write(const char* section, const char* key, const std::string& value) override;
    void flush() override;

private:
    std::string path_;
};

// The full path of the running executable, however long.
std::string executablePath();
