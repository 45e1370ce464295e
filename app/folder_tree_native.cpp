// Linux: deletes a folder tree without following symbolic links: a link is unlinked itself.
#include "app/services.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kMaxDepth = 256;

bool DeleteContents(const std::string& folder, int depth)
{
    if (depth > kMaxDepth)
        return false;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return false;
    bool ok = true;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string path = folder + '/' + name;
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0) {
            ok = false;
            continue;
        }
        if (S_ISDIR(info.st_mode))
            ok = DeleteContents(path, depth + 1) && ::rmdir(path.c_str()) == 0 && ok;
        else
            ok = ::unlink(path.c_str()) == 0 && ok; // files and links alike
    }
    ::closedir(dir);
    return ok;
}
} // namespace

// Absolute here means a leading "/"; the root itself is refused.
bool DeleteFolderTree(const std::string& folder)
{
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.empty() || path[0] != '/' || path == "/")
        return false;
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return false;
    if (S_ISLNK(info.st_mode))
        return ::unlink(path.c_str()) == 0;
    if (!S_ISDIR(info.st_mode))
        return false;
    bool ok = DeleteContents(path, 0);
    return ::rmdir(path.c_str()) == 0 && ok;
}
