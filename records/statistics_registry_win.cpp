#include "records/statistics_registry_win.h"

#include <windows.h>

#include <utility>

#include "common/handles_win.h"
#include "gamelink/game_contract.h"

namespace {

class RegistryKey : public StatisticsKey {
public:
    // The handle is owned from the moment the system hands it over.
    LONG open() {
        HKEY opened = nullptr;
        const LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, game::kStatisticsKey, 0, KEY_ALL_ACCESS, &opened);
        if (status == ERROR_SUCCESS) key_.reset(opened);
        return status;
    }

    ValueInfo query(const char* name) override {
        DWORD type = 0;
        DWORD size = 0;
        const LONG status = RegQueryValueExA(key_.get(), name, nullptr, &type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND) return {Lookup::missing, 0, 0};
        if (status != ERROR_SUCCESS) return {Lookup::failed, 0, 0};
        return {Lookup::found, type, size};
    }

    bool read(const char* name, uint8_t* buffer, uint32_t size) override {
        DWORD length = size;
        return RegQueryValueExA(key_.get(), name, nullptr, nullptr, buffer, &length) == ERROR_SUCCESS;
    }

    bool write(const char* name, const std::array<uint8_t, 4>& bytes) override {
        return RegSetValueExA(key_.get(), name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())) ==
               ERROR_SUCCESS;
    }

private:
    RegistryKeyHandle key_;
};

}  // namespace

StatisticsRegistry::Opening Win32StatisticsRegistry::openKey() {
    auto key = std::make_unique<RegistryKey>();
    const LONG status = key->open();
    Opening opening;
    if (status == ERROR_SUCCESS)
        opening.key = std::move(key);
    else
        opening.keyMissing = status == ERROR_FILE_NOT_FOUND;
    return opening;
}
