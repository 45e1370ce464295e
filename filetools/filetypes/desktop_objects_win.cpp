#include "filetools/filetypes/desktop_objects_win.h"

#include <shellapi.h>

#include "app/paths.h"
#include "base/text.h"
#include "filetools/filetypes/icon_files_win.h"
#include "res/resource.h"

DesktopObjectLook DesktopObjectNameAndIcon(DesktopObject which)
{
    HICON icon = nullptr;
    // The icon of the first location that yields one is kept.
    const DesktopObjectEntry entry = FindDesktopObjectEntry(which, [&icon](const std::string& location) {
        icon = LoadIconPairFromLocation(location, true);
        return icon != nullptr;
    });
    DesktopObjectLook look;
    look.name = !entry.name.empty() ? entry.name
                                    : LoadText(which == DesktopObject::MyComputer ? IDS_MY_COMPUTER : IDS_NETWORK_NEIGHBORHOOD);
    look.icon = icon;
    if (!look.icon) {
        SHFILEINFOA info{};
        if (SHGetFileInfoA(JoinPath(WindowsFolder(), "explorer.exe").c_str(), 0, &info, sizeof info,
                           SHGFI_ICON | SHGFI_LARGEICON))
            look.icon = info.hIcon;
    }
    return look;
}
