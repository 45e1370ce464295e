#include "systools/tools/tool_platform_win.h"

#include "app/folder_listing.h"
#include "app/paths.h"
#include "base/text.h"
#include "filetools/filetypes/file_type_icon_cache.h"
#include "res/resource.h"

ToolLists& SharedToolLists()
{
    static ToolLists lists;
    return lists;
}

HIMAGELIST SharedToolImages()
{
    static HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 32, 32);
    return images;
}

std::string WindowsFolderPath()
{
    char folder[MAX_PATH] = "";
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? WithoutTrailingSeparator(folder) : std::string();
}

bool CToolPlatformWin::FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The icon stays the cache's; the image list keeps a copy of it.
int CToolPlatformWin::AddIcon(const std::string& path)
{
    HICON icon = static_cast<HICON>(TheFileTypeIconCache().IconFor(path, true));
    HIMAGELIST images = SharedToolImages();
    return icon && images ? ImageList_AddIcon(images, icon) : -1;
}

bool CToolPlatformWin::ListFolderNames(const std::string& folder, std::vector<FolderName>& names)
{
    return ::ListFolderNames(folder, names);
}

void CToolPlatformWin::ShowRetrieving(const std::string& path, int position, int count)
{
    if (m_status)
        m_status(FillConversions(LoadText(IDS_RETRIEVING_ITEM), {path, std::to_string(position), std::to_string(count)}));
}
