#include "setup/folder_removal.h"

#include <cctype>

#include "app/paths.h"

namespace {
std::string Normalised(const std::string& path)
{
    std::string text;
    for (char c : path)
        text += c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!text.empty() && text.back() == '\\')
        text.pop_back();
    return text;
}

// Whether `inner` is `outer` or lies below it.
bool IsSameOrBelow(const std::string& inner, const std::string& outer)
{
    if (outer.empty())
        return false;
    return inner == outer || (inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
                              inner[outer.size()] == '\\');
}

void RemoveTree(FolderRemover& remover, const std::string& folder, const std::string& windowsFolder,
                const std::string& systemFolder, int depth)
{
    if (depth > 64 || !IsRemovableFolder(folder, windowsFolder, systemFolder))
        return;
    for (const std::string& name : remover.SubfolderNames(folder))
        if (!name.empty() && name != "." && name != "..")
            RemoveTree(remover, JoinPath(folder, name), windowsFolder, systemFolder, depth + 1);
    remover.RemoveFolderIfEmpty(folder);
}
} // namespace

bool IsRemovableFolder(const std::string& folder, const std::string& windowsFolder, const std::string& systemFolder)
{
    if (!IsAbsoluteWindowsPath(folder) || IsWindowsRootPath(folder))
        return false;
    if (folder.find("\\..") != std::string::npos || folder.find("/..") != std::string::npos)
        return false;
    const std::string path = Normalised(folder);
    // A folder that holds the Windows or system folder is as protected as they are.
    for (const std::string& guarded : {Normalised(windowsFolder), Normalised(systemFolder)})
        if (IsSameOrBelow(guarded, path))
            return false;
    return true;
}

void RemoveEmptyFolders(FolderRemover& remover, const std::string& folder, const std::string& windowsFolder,
                        const std::string& systemFolder)
{
    RemoveTree(remover, WithoutTrailingSeparator(folder), windowsFolder, systemFolder, 0);
}
