#include "setupstub/stub_files_win.h"

#include <windows.h>

#include <algorithm>

bool WinStubFiles::CreateFoldersOf(const std::string& path)
{
    // Every "\" after the first character ends one level; a bare drive ("C:") counts as there.
    for (size_t cut = path.find('\\', 1); cut != std::string::npos; cut = path.find('\\', cut + 1)) {
        const std::string level = path.substr(0, cut);
        if (level.size() == 2 && level[1] == ':')
            continue;
        const DWORD attributes = GetFileAttributesA(level.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (!CreateDirectoryA(level.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}

bool WinStubFiles::WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes)
{
    const std::string part = path + ".part";
    HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = true;
    for (size_t done = 0; written && done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD count = 0;
        written = WriteFile(file, bytes.data() + done, chunk, &count, nullptr) && count == chunk;
        done += count;
    }
    written = CloseHandle(file) && written;
    written = written && MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!written)
        DeleteFileA(part.c_str());
    return written;
}
