#include "harness/system_state.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace e2e {

namespace {

constexpr char kStatisticsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\FreeCell";

class Clipboard {
public:
    Clipboard() {
        // Another program may hold it for a moment.
        for (int attempt = 0; attempt < 100 && !open_; ++attempt) {
            open_ = OpenClipboard(nullptr) != FALSE;
            if (!open_) Sleep(10);
        }
    }
    ~Clipboard() {
        if (open_) CloseClipboard();
    }
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;
    bool isOpen() const { return open_; }

private:
    bool open_ = false;
};

class Key {
public:
    Key(HKEY root, const char* path, REGSAM access, bool create) {
        const LONG status = create ? RegCreateKeyExA(root, path, 0, nullptr, 0, access, nullptr, &key_, &disposition_)
                                   : RegOpenKeyExA(root, path, 0, access, &key_);
        if (status != ERROR_SUCCESS) key_ = nullptr;
    }
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }
    bool created() const { return disposition_ == REG_CREATED_NEW_KEY; }

private:
    HKEY key_ = nullptr;
    DWORD disposition_ = 0;
};

}  // namespace

bool setClipboardText(const std::string& text) {
    Clipboard clipboard;
    if (!clipboard.isOpen() || !EmptyClipboard()) return false;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory) return false;
    if (void* bytes = GlobalLock(memory)) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
    }
    if (!SetClipboardData(CF_TEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

std::optional<std::string> clipboardText() {
    Clipboard clipboard;
    if (!clipboard.isOpen()) return std::nullopt;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return std::nullopt;
    const char* text = static_cast<const char*>(GlobalLock(data));
    if (!text) return std::nullopt;
    std::string result(text, strnlen(text, GlobalSize(data)));
    GlobalUnlock(data);
    return result;
}

std::optional<std::string> readFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string iniValue(const std::string& path, const char* section, const char* key, const char* fallback) {
    char value[4096] = {};
    const DWORD length = GetPrivateProfileStringA(section, key, fallback, value, sizeof value, path.c_str());
    return std::string(value, length);
}

std::optional<RegistryValue> readStatisticsValue(const char* name) {
    Key key(HKEY_CURRENT_USER, kStatisticsKey, KEY_QUERY_VALUE, false);
    if (!key.get()) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    RegistryValue value{type, std::vector<uint8_t>(size)};
    if (RegQueryValueExA(key.get(), name, nullptr, &type, value.bytes.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}

std::optional<int32_t> readStatistic(const char* name) {
    const auto value = readStatisticsValue(name);
    if (!value || value->bytes.size() != 4) return std::nullopt;
    const auto& b = value->bytes;
    return static_cast<int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
}

bool writeStatisticsValue(const char* name, unsigned long type, const std::vector<uint8_t>& bytes) {
    Key key(HKEY_CURRENT_USER, kStatisticsKey, KEY_SET_VALUE, true);
    return key.get() &&
           RegSetValueExA(key.get(), name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool writeStatistic(const char* name, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    return writeStatisticsValue(name, REG_BINARY, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

bool deleteStatisticsValue(const char* name) {
    Key key(HKEY_CURRENT_USER, kStatisticsKey, KEY_SET_VALUE, false);
    return key.get() && RegDeleteValueA(key.get(), name) == ERROR_SUCCESS;
}

bool deleteStatisticsKey() {
    const LONG status = RegDeleteKeyA(HKEY_CURRENT_USER, kStatisticsKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

EmulatedWindowsVersion::EmulatedWindowsVersion(std::string exeName, const std::string& version)
    : keyPath_("Software\\Wine\\AppDefaults\\" + std::move(exeName)) {
    Key key(HKEY_CURRENT_USER, keyPath_.c_str(), KEY_QUERY_VALUE | KEY_SET_VALUE, true);
    if (!key.get()) throw std::runtime_error("cannot open " + keyPath_);
    createdKey_ = key.created();
    char old[64] = {};
    DWORD size = sizeof old;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), "Version", nullptr, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        previous_ = std::string(old);
    }
    if (RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                       static_cast<DWORD>(version.size() + 1)) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot set " + keyPath_ + "\\Version");
    }
}

EmulatedWindowsVersion::~EmulatedWindowsVersion() {
    {
        Key key(HKEY_CURRENT_USER, keyPath_.c_str(), KEY_SET_VALUE, false);
        if (!key.get()) return;
        if (previous_) {
            RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_->c_str()),
                           static_cast<DWORD>(previous_->size() + 1));
        } else {
            RegDeleteValueA(key.get(), "Version");
        }
    }
    if (createdKey_) RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
}

}  // namespace e2e
