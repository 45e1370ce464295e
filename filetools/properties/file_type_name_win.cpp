// Windows: SHGetFileInfo with SHGFI_TYPENAME. The shell describes only files that exist, so a
// path that does not is described through a placeholder with the same extension.
#include "filetools/properties/file_type_name.h"

#include <windows.h>
#include <shellapi.h>

#include "app/services.h"

namespace {
std::string AskShell(const std::string& path)
{
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME))
        return {};
    return std::string(info.szTypeName, strnlen(info.szTypeName, sizeof info.szTypeName));
}

// A one-byte file made for the question and removed after it. A file of that name left behind
// by someone else is asked as it is and left alone.
class PlaceholderFile {
public:
    explicit PlaceholderFile(std::string path) : path_(std::move(path))
    {
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        DWORD written = 0;
        WriteFile(file, "x", 1, &written, nullptr);
        CloseHandle(file);
        created_ = true;
    }
    ~PlaceholderFile()
    {
        if (created_)
            DeleteFileA(path_.c_str());
    }
    PlaceholderFile(const PlaceholderFile&) = delete;
    PlaceholderFile& operator=(const PlaceholderFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool created_ = false;
};
} // namespace

std::string ShellTypeName(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return AskShell(path);
    PlaceholderFile placeholder(SystemTempPath() + "ostreltemporaryfile." + ExtensionOf(path));
    return AskShell(placeholder.Path());
}
