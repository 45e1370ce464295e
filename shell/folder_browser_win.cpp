#include "shell/folder_browser_win.h"

#include <shlobj.h>

std::string BrowseForFolder(HWND owner, const std::string& title)
{
    char display[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    if (!chosen)
        return {};
    char path[MAX_PATH] = "";
    const bool ok = SHGetPathFromIDListA(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    return ok ? path : std::string();
}
