#include "app/paths.h"

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
} // namespace

std::string JoinPath(const std::string& a, const std::string& b)
{
    std::string tail = !b.empty() && b[0] == '\\' ? b.substr(1) : b;
    if (a.empty())
        return tail;
    if (tail.empty())
        return a;
    return a.back() == '\\' ? a + tail : a + '\\' + tail;
}

std::string WithoutTrailingSeparator(const std::string& path)
{
    if (!path.empty() && IsSeparator(path.back()))
        return path.substr(0, path.size() - 1);
    return path;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

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

std::vector<std::string> SplitKeyPath(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool IsAbsoluteWindowsPath(const std::string& path)
{
    if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]))
        return true;
    return path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && !IsSeparator(path[2]);
}

bool IsWindowsRootPath(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && IsSeparator(p.back()))
        p.pop_back();
    if (p.size() == 1)
        return IsSeparator(p[0]);
    if (p.size() == 2 && p[1] == ':')
        return true;
    if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
        // \\server or \\server\share: at most one separator after the leading pair.
        size_t first = p.find_first_of("\\/", 2);
        return first == std::string::npos || p.find_first_of("\\/", first + 1) == std::string::npos;
    }
    return false;
}
