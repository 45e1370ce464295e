#include "picturetools/translator/file_ops.h"

#include <windows.h>

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) || IsFolder(path); }

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool MoveFileOver(const std::string& from, const std::string& to)
{
    // A read-only destination is made normal first, as an overwrite asked for by the user.
    if (PathExists(to))
        SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
