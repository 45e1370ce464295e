#include "shell/system_image_list_win.h"

#include <shellapi.h>

namespace {
HIMAGELIST SystemImageList(UINT sizeFlag)
{
    SHFILEINFOA info{};
    // Any existing path serves: the answer is the list itself, whatever the icon.
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | sizeFlag));
}
} // namespace

HIMAGELIST SystemSmallImageList() { return SystemImageList(SHGFI_SMALLICON); }

HIMAGELIST SystemLargeImageList() { return SystemImageList(SHGFI_LARGEICON); }

int SystemSmallIconIndex(const std::string& path)
{
    SHFILEINFOA info{};
    if (path.empty() || !SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}

int GenericSmallIconIndex(bool folder)
{
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(folder ? "folder" : "file", folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info,
                        sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}

void AttachSystemSmallImages(HWND listView)
{
    if (!listView)
        return;
    const LONG_PTR style = GetWindowLongPtrA(listView, GWL_STYLE);
    if (!(style & LVS_SHAREIMAGELISTS))
        SetWindowLongPtrA(listView, GWL_STYLE, style | LVS_SHAREIMAGELISTS);
    SendMessageA(listView, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SystemSmallImageList()));
}
