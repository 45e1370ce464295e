// The shell's side of the file-type icon cache: icons and type names of new keys.
#include <windows.h>
#include <shellapi.h>

#include "app/services.h"
#include "filetools/filetypes/file_type_icon_cache.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/properties/file_type_name.h"
#include "filetools/properties/placeholder_file_win.h"
#include "res/resource.h"

namespace {
bool Is(const std::string& extension, const char* name) { return lstrcmpiA(extension.c_str(), name) == 0; }

HICON ShellFileIcon(const std::string& path, bool small)
{
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON)))
        return nullptr;
    return info.hIcon;
}

class ShellIconSource : public FileTypeIconSource {
public:
    PathKind Kind(const std::string& path) override
    {
        PathKind kind;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        kind.exists = attributes != INVALID_FILE_ATTRIBUTES;
        kind.isFolder = kind.exists && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        return kind;
    }

    Description Describe(const std::string& path, const PathKind& kind) override
    {
        Description description;
        description.typeName = GetFileTypeName(path);
        const std::string extension = ExtensionOf(path);
        const bool exe = Is(extension, "EXE");
        if (!kind.isFolder && !kind.exists) {
            int shellIndex = -1;
            if (exe) shellIndex = 2;
            else if (Is(extension, "LNK")) shellIndex = 29;
            else if (Is(extension, "ICO") || Is(extension, "CUR") || Is(extension, "ANI")) shellIndex = 0;
            if (shellIndex >= 0) {
                description.smallIcon = ShellIcon(shellIndex, true, IDI_DATA_TYPE);
                description.largeIcon = ShellIcon(shellIndex, false, IDI_DATA_TYPE);
                return description;
            }
            PlaceholderFile probe(SystemTempPath() + "_temporaryfile." + extension);
            DescribeByShell(probe.Path(), false, description);
            return description;
        }
        if (exe && !kind.isFolder) {
            HICON large = nullptr, small = nullptr;
            if (ExtractIconExA(path.c_str(), 0, &large, &small, 1) > 0 && large && small) {
                description.smallIcon = small;
                description.largeIcon = large;
                return description;
            }
            DestroyIconIfAny(large);
            DestroyIconIfAny(small);
            description.smallIcon = ShellIcon(2, true, IDI_DATA_TYPE);
            description.largeIcon = ShellIcon(2, false, IDI_DATA_TYPE);
            return description;
        }
        DescribeByShell(path, exe, description);
        return description;
    }

    void ReleaseIcon(IconHandle icon) override { DestroyIconIfAny(static_cast<HICON>(icon)); }

private:
    static void DescribeByShell(const std::string& path, bool exe, Description& description)
    {
        HICON small = ShellFileIcon(path, true);
        HICON large = ShellFileIcon(path, false);
        if (!small) small = ShellIcon(exe ? 2 : 1, true, IDI_DATA_TYPE);
        if (!large) large = ShellIcon(exe ? 2 : 1, false, IDI_DATA_TYPE);
        description.smallIcon = small;
        description.largeIcon = large;
    }
};
} // namespace

FileTypeIconCache& TheFileTypeIconCache()
{
    static FileTypeIconCache cache(std::make_unique<ShellIconSource>());
    return cache;
}
