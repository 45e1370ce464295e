#include "systools/shortcuts/shortcut_places.h"

#include "app/registry_access.h"
#include "res/resource.h"

namespace {
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
const char kMapGroups[] = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups\\";
const char kDefaultShellFolders[] = ".default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
const char kDefaultMapGroups[] = ".default\\Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups\\";
} // namespace

const std::vector<ShortcutPlace>& AllShortcutPlaces()
{
    static const std::vector<ShortcutPlace> places = {
        {IDS_PLACE_DESKTOP, RegRoot::CurrentUser, kShellFolders, "Desktop", PlaceImage::Desktop},
        {IDS_PLACE_QUICK_LAUNCH, RegRoot::CurrentUser, kMapGroups, "Quick Launch", PlaceImage::QuickLaunch},
        {IDS_PLACE_STARTUP, RegRoot::CurrentUser, kShellFolders, "Startup", PlaceImage::Startup},
        {IDS_PLACE_DESKTOP_ALL, RegRoot::Users, kDefaultShellFolders, "Desktop", PlaceImage::Desktop},
        {IDS_PLACE_QUICK_LAUNCH_ALL, RegRoot::Users, kDefaultMapGroups, "Quick Launch", PlaceImage::QuickLaunch},
        {IDS_PLACE_STARTUP_ALL, RegRoot::Users, kDefaultShellFolders, "Startup", PlaceImage::Startup},
    };
    return places;
}

std::vector<PlaceFolder> AvailableShortcutPlaces(const PlaceFolderReader& readFolder)
{
    std::vector<PlaceFolder> available;
    for (const ShortcutPlace& place : AllShortcutPlaces()) {
        std::string folder = readFolder(place);
        if (!folder.empty())
            available.push_back({&place, std::move(folder)});
    }
    return available;
}

std::vector<PlaceFolder> AvailableShortcutPlaces()
{
    CRegistryAccess registry;
    return AvailableShortcutPlaces([&registry](const ShortcutPlace& place) {
        return registry.ReadString(place.root, place.key, place.value, std::string());
    });
}
