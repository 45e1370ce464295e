#include "systools/uninstall/uninstall_icons_win.h"

#include <shellapi.h>

#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/program_command_win.h"

namespace {
constexpr int kIconSize = 16, kInitialIcons = 16, kGrowth = 16;
constexpr int kMissingProgramIcon = 2; // shell32's icon for a program that is not there

bool IsExistingFile(const std::string& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HICON SmallFileIcon(const std::string& path)
{
    SHFILEINFOA info{};
    return SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) ? info.hIcon : nullptr;
}
} // namespace

CUninstallIcons::~CUninstallIcons()
{
    if (m_list)
        ImageList_Destroy(m_list);
}

void CUninstallIcons::Recreate()
{
    if (m_list)
        ImageList_Destroy(m_list);
    m_list = ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, kInitialIcons, kGrowth);
}

int CUninstallIcons::AppendIconOf(const std::string& command)
{
    if (!m_list)
        return -1;
    const std::string program = ProgramFromCommandLine(command);
    HICON icon = IsExistingFile(program) ? SmallFileIcon(program) : nullptr;
    if (!icon)
        icon = ShellIcon(kMissingProgramIcon, true, 0);
    if (!icon)
        return -1;
    const int index = ImageList_AddIcon(m_list, icon);
    DestroyIcon(icon);
    return index;
}
