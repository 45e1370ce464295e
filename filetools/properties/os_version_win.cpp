// GetVersionEx answers what the program is told (compatibility settings, Wine's chosen
// version), which is what the system tools show.
#include "filetools/properties/os_version.h"

#include <windows.h>

OsVersion GetOsVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
    OsVersion version;
    if (!ok)
        return version;
    version.isNt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    return version;
}
