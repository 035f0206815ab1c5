#include "freecell/statistics_store_win.h"

#include <windows.h>

#include <string>
#include <utility>

#include "freecell/game_identity.h"

namespace freecell {

namespace {

class RegistryKey {
public:
    RegistryKey() {
        const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, kStatisticsKey, 0, nullptr, 0,
                                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        if (status != ERROR_SUCCESS) {
            key_ = nullptr;
            status_ = status;
        }
    }
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY get() const { return key_; }
    LONG status() const { return status_; }

private:
    HKEY key_ = nullptr;
    LONG status_ = ERROR_SUCCESS;
};

using Field = int32_t Statistics::*;
constexpr std::pair<const char*, Field> kValues[] = {
    {"won", &Statistics::won},       {"lost", &Statistics::lost},     {"wins", &Statistics::wins},
    {"losses", &Statistics::losses}, {"streak", &Statistics::streak}, {"stype", &Statistics::stype},
};

}  // namespace

Statistics RegistryStatisticsStore::load() {
    Statistics statistics;
    RegistryKey key;
    if (!key.get()) {
        log_.write("error", "registry open " + std::to_string(key.status()));
        return statistics;
    }
    for (const auto& [name, field] : kValues) {
        BYTE bytes[4] = {};
        DWORD size = sizeof bytes;
        // A missing value, or one longer than four bytes, reads as 0.
        if (RegQueryValueExA(key.get(), name, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) continue;
        statistics.*field =
            static_cast<int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    }
    return statistics;
}

void RegistryStatisticsStore::save(const Statistics& statistics) {
    RegistryKey key;
    if (!key.get()) {
        log_.write("error", "registry open " + std::to_string(key.status()));
        return;
    }
    for (const auto& [name, field] : kValues) {
        const uint32_t value = static_cast<uint32_t>(statistics.*field);
        const BYTE bytes[4] = {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
        const LONG status = RegSetValueExA(key.get(), name, 0, REG_BINARY, bytes, sizeof bytes);
        if (status != ERROR_SUCCESS)
            log_.write("error", std::string("registry write ") + name + ' ' + std::to_string(status));
    }
}

}  // namespace freecell
