// Windows: SHGetFileInfo with SHGFI_TYPENAME. The shell describes only files that exist, so a
// path that does not is described through a placeholder with the same extension.
#include "filetools/properties/file_type_name.h"

#include <windows.h>
#include <shellapi.h>

#include "app/services.h"
#include "filetools/properties/placeholder_file_win.h"

namespace {
std::string AskShell(const std::string& path)
{
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME))
        return {};
    return std::string(info.szTypeName, strnlen(info.szTypeName, sizeof info.szTypeName));
}
} // namespace

std::string ShellTypeName(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return AskShell(path);
    PlaceholderFile placeholder(SystemTempPath() + "ostreltemporaryfile." + ExtensionOf(path));
    return AskShell(placeholder.Path());
}
