#include "picturetools/convert/path_parts.h"

namespace {
size_t NameStart(const std::string& path)
{
    size_t i = path.size();
    while (i > 0 && path[i - 1] != '/' && path[i - 1] != '\\')
        --i;
    return i;
}
} // namespace

std::string PathFolderPart(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string PathNamePart(const std::string& path) { return path.substr(NameStart(path)); }
