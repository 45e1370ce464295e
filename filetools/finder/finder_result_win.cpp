// Windows: a result's file information from the file system and the shell.
#include "filetools/finder/finder_result_win.h"


#include <shellapi.h>

#include "app/paths.h"
#include "filetools/finder/pattern_match.h"
#include "shell/small_icons_win.h"

namespace {
std::string ModifiedText(const FILETIME& utc)
{
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return {};
    const int hour = time.wHour % 12 == 0 ? 12 : time.wHour % 12;
    char text[32];
    wsprintfA(text, "%02d/%02d/%04d %02d:%02d %s", time.wMonth, time.wDay, time.wYear, hour, time.wMinute,
              time.wHour < 12 ? "AM" : "PM");
    return text;
}

std::string TypeName(const std::string& path)
{
    SHFILEINFOA info{};
    if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME) && info.szTypeName[0])
        return info.szTypeName;
    return "Unknown";
}

// The lower-case extension with its dot when the shell's answer depends on it alone; empty for
// files that carry their own icon or have no extension.
std::string SharedExtension(const std::string& name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    const std::string extension = LowerAscii(name.substr(dot));
    for (const char* own : {".exe", ".ico", ".lnk", ".cur", ".ani", ".dll", ".pif", ".url", ".scr", ".cpl"})
        if (extension == own)
            return {};
    return extension;
}
} // namespace

FinderResult FinderResultBuilder::Build(const std::string& path)
{
    FinderResult result;
    result.path = path;
    result.folder = PathFolderPart(path);
    result.name = PathNamePart(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        result.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        result.modified = (static_cast<FileStamp>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                          data.ftLastWriteTime.dwLowDateTime;
        result.modifiedText = ModifiedText(data.ftLastWriteTime);
    }
    result.sizeText = ShortSizeText(result.size);
    const std::string extension = SharedExtension(result.name);
    if (!extension.empty()) {
        if (const auto known = m_byExtension.find(extension); known != m_byExtension.end()) {
            result.typeName = known->second.typeName;
            result.icon = known->second.icon;
            return result;
        }
    }
    result.typeName = TypeName(path);
    result.icon = SmallIconIndexOf(path);
    if (!extension.empty())
        m_byExtension[extension] = {result.typeName, result.icon};
    return result;
}

bool FileStillExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
