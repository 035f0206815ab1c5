#pragma once

#include <array>
#include <cstdint>
#include <string>

// Everything the settings file carries from one run to the next.
struct Settings {
    int32_t GameNo = 1;
    int32_t TryCnt = 1;
    bool SskUp = false;
    bool CtlBar = true;
    bool RenMode = false;
    int32_t won = 0;
    int32_t wins = 0;
    int32_t lost = 0;
    int32_t losses = 0;
    int32_t streak = 0;
    int32_t stype = 0;
    std::array<std::string, 10> hist;   // newest first
    std::array<std::string, 10> retry;  // pass-list slots 0 to 9
};

// The private-profile services on one file.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The value's text, at most 2047 bytes; empty when the key is missing.
    virtual std::string read(const char* section, const char* key) = 0;
    // False when the system refuses the write.
    virtual bool write(const char* section, const char* key, const std::string& value) = 0;
    // Flushes the private-profile cache (a write with no section, key or value).
    virtual void flush() = 0;
};

// The settings file of an executable: the extension of its file name replaced
// by ".Ini", or ".Ini" appended when the file name has no dot.
std::string iniPathFor(const std::string& executablePath);

// Reads the keys in the program's read order; each key that is missing or does
// not parse gives its default.
Settings readSettings(ProfileStore& store);

// Writes the keys in the program's write order ("Game", "Score", "Show", then
// "Hist" and "Rtry" alternately slot by slot) and flushes. A refused write raises
// AppError "<iniPath> に書き込めません" and the keys after it are not written.
void writeSettings(ProfileStore& store, const Settings& settings, const std::string& iniPath);
