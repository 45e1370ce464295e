#include <windows.h>

#include "app/registry_access.h"
#include "app/services.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/quick_view.h"

namespace {
std::string ShortForm(const std::string& path)
{
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(shortPath) : path;
}
} // namespace

bool QuickView(const std::string& path)
{
    CRegistryAccess registry;
    const std::string program = QuickViewProgram(registry, WindowsFolder());
    const DWORD attributes = program.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return RunProgram(true, SW_SHOWNORMAL, ShortForm(program), ShortForm(path), {});
}
