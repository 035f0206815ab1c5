#include "gamelink/os_version_win.h"

#include <windows.h>

OsVersion queryOsVersion() {
    OSVERSIONINFOA info{};
    static_assert(sizeof info == 148, "OSVERSIONINFOA is 148 bytes");
    info.dwOSVersionInfoSize = sizeof info;
    // A failed query leaves the record zeroed: the default profile applies.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&info);
#pragma GCC diagnostic pop
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}
