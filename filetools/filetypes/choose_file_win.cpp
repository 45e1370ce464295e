#include "filetools/filetypes/choose_file_win.h"

#include <commdlg.h>

#include <algorithm>

#include "base/text.h"

std::string ChooseFileToOpen(HWND owner, const ChooseFileRequest& request)
{
    std::string filter = LoadText(request.filterTextId);
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.push_back('\0');
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.lpstrDefExt = request.defaultExtension;
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | request.extraFlags;
    return GetOpenFileNameA(&ofn) ? std::string(file) : std::string();
}
