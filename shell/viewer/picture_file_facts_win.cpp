#include "shell/viewer/picture_file_facts_win.h"

#include <windows.h>

#include "app/paths.h"

namespace {
std::string FileTimeText(const FILETIME& time)
{
    FILETIME local;
    SYSTEMTIME parts;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &parts))
        return {};
    std::tm tm{};
    tm.tm_year = parts.wYear - 1900;
    tm.tm_mon = parts.wMonth - 1;
    tm.tm_mday = parts.wDay;
    tm.tm_wday = parts.wDayOfWeek;
    tm.tm_hour = parts.wHour;
    tm.tm_min = parts.wMinute;
    tm.tm_sec = parts.wSecond;
    return FormatFileTime(tm);
}
} // namespace

std::optional<PictureFileFacts> ReadPictureFileFacts(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    PictureFileFacts facts;
    facts.name = PathNamePart(path);
    facts.folder = PathFolderPart(path);
    facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    char shortPath[MAX_PATH] = "";
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    facts.shortPath = length > 0 && length < sizeof shortPath ? std::string(shortPath, length) : path;
    facts.created = FileTimeText(data.ftCreationTime);
    facts.modified = FileTimeText(data.ftLastWriteTime);
    facts.accessed = FileTimeText(data.ftLastAccessTime);
    const DWORD a = data.dwFileAttributes;
    facts.attributes = AttributeLetters(a & FILE_ATTRIBUTE_READONLY, a & FILE_ATTRIBUTE_ARCHIVE,
                                        a & FILE_ATTRIBUTE_HIDDEN, a & FILE_ATTRIBUTE_SYSTEM);
    return facts;
}
