#include "filetools/common/shell_item_paths.h"

#include <algorithm>
#include <cctype>

namespace {
bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// "C:\dir\file" gives "C:\dir" and "file"; a file in a drive root keeps the root's separator.
bool SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos || cut + 1 >= path.size() || cut == 0)
        return false;
    name = path.substr(cut + 1);
    folder = path.substr(0, cut);
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    return true;
}
} // namespace

std::optional<ShellItemsInFolder> SplitIntoOneFolder(const std::vector<std::string>& paths)
{
    if (paths.empty())
        return std::nullopt;
    ShellItemsInFolder items;
    for (const std::string& path : paths) {
        std::string folder, name;
        if (!SplitPath(path, folder, name))
            return std::nullopt;
        if (items.names.empty())
            items.folder = folder;
        else if (!SameIgnoringCase(items.folder, folder))
            return std::nullopt;
        items.names.push_back(name);
    }
    return items;
}
