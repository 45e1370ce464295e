// Windows: deletes a folder tree without ever entering a link (symbolic link, junction or
// any other reparse point): a link is removed itself, so nothing outside the tree is touched.
#include "app/services.h"

#include <windows.h>

#include "app/paths.h"

namespace {
constexpr int kMaxDepth = 256;

bool RemoveLinkOrEmptyFolder(const std::string& path)
{
    if (RemoveDirectoryA(path.c_str()))
        return true;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryA(path.c_str()) != 0;
}

bool RemoveFile(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path.c_str()) != 0;
}

bool DeleteContents(const std::string& folder, int depth)
{
    if (depth > kMaxDepth)
        return false;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool ok = true;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = JoinPath(folder, name);
        DWORD attributes = entry.dwFileAttributes;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            ok = ((attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveLinkOrEmptyFolder(path) : RemoveFile(path)) && ok;
        else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = DeleteContents(path, depth + 1) && RemoveLinkOrEmptyFolder(path) && ok;
        else
            ok = RemoveFile(path) && ok;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return ok;
}
} // namespace

bool DeleteFolderTree(const std::string& folder)
{
    if (!IsAbsoluteWindowsPath(folder) || IsWindowsRootPath(folder))
        return false;
    std::string path = WithoutTrailingSeparator(folder);
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return RemoveLinkOrEmptyFolder(path);
    bool ok = DeleteContents(path, 0);
    return RemoveLinkOrEmptyFolder(path) && ok;
}
