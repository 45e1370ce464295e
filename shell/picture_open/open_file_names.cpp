// Result and filter texts of the file-open dialog.
#include "shell/picture_open/open_file_names.h"

#include <algorithm>

namespace {
bool IsAbsolute(const std::string& name)
{
    return (name.size() >= 2 && name[1] == ':') || (!name.empty() && (name[0] == '\\' || name[0] == '/'));
}

std::string JoinFolder(const std::string& folder, const std::string& name)
{
    if (IsAbsolute(name) || folder.empty())
        return name;
    const char last = folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + '\\' + name;
}
} // namespace

std::vector<std::string> ParseOpenFileNames(const char* buffer, size_t size)
{
    std::vector<std::string> parts;
    size_t at = 0;
    while (buffer && at < size && buffer[at] != '\0') {
        const char* start = buffer + at;
        const char* end = std::find(start, buffer + size, '\0');
        parts.emplace_back(start, end);
        at = static_cast<size_t>(end - buffer) + 1;
    }
    if (parts.size() <= 1)
        return parts;
    std::vector<std::string> paths;
    paths.reserve(parts.size() - 1);
    for (size_t i = 1; i < parts.size(); ++i)
        paths.push_back(JoinFolder(parts[0], parts[i]));
    return paths;
}

std::string OpenDialogFilter(const std::string& filter)
{
    std::string result = filter;
    std::replace(result.begin(), result.end(), '|', '\0');
    // Two NULs must end the list; a filter already ending in "||" has them.
    while (result.size() < 2 || result[result.size() - 1] != '\0' || result[result.size() - 2] != '\0')
        result.push_back('\0');
    return result;
}
