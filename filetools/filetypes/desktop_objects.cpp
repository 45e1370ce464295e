#include "filetools/filetypes/desktop_objects.h"

#include "app/registry_access.h"

std::vector<std::pair<RegRoot, std::string>> DesktopObjectKeys(DesktopObject which)
{
    if (which == DesktopObject::MyComputer) {
        const std::string clsid = "{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\";
        return {
            {RegRoot::CurrentUser, "Software\\Classes\\CLSID\\" + clsid},
            {RegRoot::CurrentUser, "Software\\Microsoft\\CurrentVersion\\Explorer\\CLSID\\" + clsid},
            {RegRoot::ClassesRoot, "CLSID\\" + clsid},
            {RegRoot::LocalMachine, "Software\\Classes\\CLSID\\" + clsid},
        };
    }
    const std::string clsid = "{208D2C60-3AEA-1069-A2D7-08002B30309D}\\";
    return {
        {RegRoot::CurrentUser, "Software\\Classes\\CLSID\\" + clsid},
        {RegRoot::ClassesRoot, "CLSID\\" + clsid},
        {RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\" + clsid},
        {RegRoot::ClassesRoot, "CLSID\\" + clsid},
        {RegRoot::LocalMachine, "SOFTWARE\\Classes\\CLSID\\" + clsid},
    };
}

DesktopObjectEntry FindDesktopObjectEntry(DesktopObject which,
                                          const std::function<bool(const std::string&)>& iconUsable)
{
    CRegistryAccess registry;
    DesktopObjectEntry entry;
    for (const auto& [root, key] : DesktopObjectKeys(which)) {
        if (entry.name.empty())
            entry.name = registry.ReadString(root, key, "", "");
        if (entry.iconLocation.empty()) {
            const std::string location = registry.ReadString(root, key + "DefaultIcon\\", "", "");
            if (!location.empty() && iconUsable(location))
                entry.iconLocation = location;
        }
        if (!entry.name.empty() && !entry.iconLocation.empty())
            break;
    }
    return entry;
}
