#include "filetools/filetypes/icon_files_win.h"

#include <shellapi.h>

#include "app/paths.h"
#include "filetools/filetypes/icon_location.h"

std::string WindowsFolder()
{
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? WithoutTrailingSeparator(folder) : std::string("C:\\WINDOWS");
}

std::string SystemFolder()
{
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? WithoutTrailingSeparator(folder) : JoinPath(WindowsFolder(), "system32");
}

void DestroyIconIfAny(HICON icon)
{
    if (icon)
        DestroyIcon(icon);
}

namespace {
// One size of icon `index` of `file` by ExtractIconEx, which gives both sizes.
HICON ExtractOneSize(const std::string& file, int index, bool small)
{
    HICON large = nullptr, smallIcon = nullptr;
    if (ExtractIconExA(file.c_str(), index, &large, &smallIcon, 1) == 0)
        return nullptr;
    if (small) {
        DestroyIconIfAny(large);
        return smallIcon;
    }
    DestroyIconIfAny(smallIcon);
    return large;
}
} // namespace

HICON ShellIcon(int index, bool small, unsigned fallbackResource)
{
    if (HICON icon = ExtractOneSize(JoinPath(SystemFolder(), "shell32.dll"), index, small))
        return icon;
    if (!fallbackResource)
        return nullptr;
    const int size = small ? 16 : 32;
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(fallbackResource), IMAGE_ICON,
                                         size, size, LR_DEFAULTCOLOR));
}

HICON LoadIconFromLocation(const std::string& location)
{
    const IconLocation parsed = ParseIconLocation(location, WindowsFolder());
    if (parsed.file.empty())
        return nullptr;
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), parsed.file.c_str(), static_cast<UINT>(parsed.index));
    // ExtractIcon answers 1 for a file that is no executable, library or icon file.
    return reinterpret_cast<UINT_PTR>(icon) > 1 ? icon : nullptr;
}

HICON LoadIconPairFromLocation(const std::string& location, bool small)
{
    const IconLocation parsed = ParseIconLocation(location, WindowsFolder());
    return parsed.file.empty() ? nullptr : ExtractOneSize(parsed.file, parsed.index, small);
}
