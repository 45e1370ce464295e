// Windows: the finder's result records and icons.
#include "filetools/finder/finder_result_win.h"

#include "app/paths.h"
#include "filetools/finder/pattern_match.h"
#include "shell/system_image_list_win.h"

namespace {
// The lower-case extension with its dot when the icon depends on it alone; empty for files
// that carry their own icon or have no extension.
std::string SharedExtension(const std::string& path)
{
    const std::string name = PathNamePart(path);
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

int FinderRecordBuilder::IconOf(const std::string& path)
{
    const std::string extension = SharedExtension(path);
    if (extension.empty())
        return SystemSmallIconIndex(path);
    if (const auto known = m_iconByExtension.find(extension); known != m_iconByExtension.end())
        return known->second;
    return m_iconByExtension[extension] = SystemSmallIconIndex(path);
}

void FinderRecordBuilder::Refill(FileRecord& record, const std::string& path)
{
    BuildFileRecord(record, path, true);
    record.iconIndex = IconOf(path);
}

FileRecord FinderRecordBuilder::Build(const std::string& path)
{
    FileRecord record;
    Refill(record, path);
    return record;
}

bool FileStillExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
