#include "filetools/filetypes/quick_view.h"

#include "app/registry_access.h"
#include "filetools/filetypes/icon_location.h"

std::string QuickViewProgram(CRegistryAccess& registry, const std::string& windowsFolder)
{
    const std::string command =
        registry.ReadString(RegRoot::ClassesRoot, "QuickView\\shell\\open\\command\\", "", std::string());
    return ExpandSystemRoot(command, windowsFolder);
}
