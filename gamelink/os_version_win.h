#pragma once

#include "gamelink/os_profile.h"

// GetVersionExA into a zeroed 148-byte record; all 0 when the query fails.
OsVersion queryOsVersion();
