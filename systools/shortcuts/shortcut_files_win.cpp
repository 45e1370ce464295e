#include "systools/shortcuts/shortcut_files_win.h"

#include <windows.h>

#include "app/paths.h"
#include "systools/shortcuts/shortcut_ops_win.h"

bool CShortcutFiles::Exists(const std::string& path)
{
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CShortcutFiles::CreateLink(const std::string& linkPath, const ShortcutCommand& command)
{
    return CreateShortcut(command.folder, command.name, PathFolderPart(linkPath), PathNamePart(linkPath), "",
                          command.arguments, -1);
}

bool CShortcutFiles::CopyLink(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool CShortcutFiles::RenameLink(const std::string& from, const std::string& to)
{
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool CShortcutFiles::DeleteLink(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }
