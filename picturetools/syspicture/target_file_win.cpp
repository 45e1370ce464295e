#include <windows.h>

#include "picturetools/syspicture/target_file.h"

bool PutFileInPlace(const std::string& from, const std::string& to)
{
    // A read-only (or hidden, system) logo file would refuse the replacement.
    const DWORD attributes = GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (attributes != INVALID_FILE_ATTRIBUTES) // the old file stays as it was
        SetFileAttributesA(to.c_str(), attributes);
    return false;
}

bool DeleteFileForce(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path.c_str()) != FALSE;
}
