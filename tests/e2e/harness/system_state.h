#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Clipboard, plain text (CF_TEXT), code page 932 bytes.
bool setClipboardText(const std::string& text);
// None when the clipboard cannot be opened or holds no text.
std::optional<std::string> clipboardText();

// A file's raw bytes; none when it cannot be read.
std::optional<std::string> readFileBytes(const std::string& path);
// GetPrivateProfileStringA; `fallback` when the key is missing.
std::string iniValue(const std::string& path, const char* section, const char* key, const char* fallback = "");

// The game's statistics values under its key in HKEY_CURRENT_USER: "won",
// "lost", "wins", "losses", "streak", "stype".
struct RegistryValue {
    unsigned long type;
    std::vector<uint8_t> bytes;
};
std::optional<RegistryValue> readStatisticsValue(const char* name);
// A 4-byte value read as little-endian; none when missing or of another size.
std::optional<int32_t> readStatistic(const char* name);
bool writeStatisticsValue(const char* name, unsigned long type, const std::vector<uint8_t>& bytes);
bool writeStatistic(const char* name, int32_t value);  // REG_BINARY, 4 bytes
bool deleteStatisticsValue(const char* name);
// Removes the whole key; true also when it did not exist.
bool deleteStatisticsKey();

// While alive, Wine reports `version` ("win95", "win98", "winme", "nt40",
// "win2k", "winxp", "win7", "win10") to programs named `exeName` started from
// now on (HKCU\Software\Wine\AppDefaults\<exe>\Version). The previous setting
// comes back afterwards.
class EmulatedWindowsVersion {
public:
    EmulatedWindowsVersion(std::string exeName, const std::string& version);
    ~EmulatedWindowsVersion();
    EmulatedWindowsVersion(const EmulatedWindowsVersion&) = delete;
    EmulatedWindowsVersion& operator=(const EmulatedWindowsVersion&) = delete;

private:
    std::string keyPath_;
    std::optional<std::string> previous_;
    bool createdKey_ = false;
};

}  // namespace e2e
