#pragma once

#include "records/statistics_snapshot.h"

// The game's statistics key under HKEY_CURRENT_USER, through advapi32.
class Win32StatisticsRegistry : public StatisticsRegistry {
public:
    // RegOpenKeyExA with KEY_ALL_ACCESS; the key is never created.
    Opening openKey() override;
};
