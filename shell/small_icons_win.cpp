#include "shell/small_icons_win.h"

#include <shellapi.h>

HIMAGELIST SystemSmallIcons()
{
    SHFILEINFOA info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

int SmallIconIndexOf(const std::string& path)
{
    SHFILEINFOA info{};
    return SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) ? info.iIcon
                                                                                                    : -1;
}
