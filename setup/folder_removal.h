#pragma once
// Uninstall's rule for folders: a folder goes only when its path is absolute, names no whole
// drive or share, is not the Windows or system folder (nor lies above them), and is empty once
// its own subfolders were handled. Files the user added therefore survive with their folders.
#include <string>
#include <vector>

class FolderRemover {
public:
    virtual ~FolderRemover() = default;
    // Names of the subfolders of a folder (no "." nor "..").
    virtual std::vector<std::string> SubfolderNames(const std::string& folder) = 0;
    // Removes the folder when it is empty; false when it is still there.
    virtual bool RemoveFolderIfEmpty(const std::string& folder) = 0;
};

// Whether uninstall may remove `folder` (when it is empty) or delete it as a tree.
bool IsRemovableFolder(const std::string& folder, const std::string& windowsFolder, const std::string& systemFolder);

// Removes every empty folder of the tree at `folder`, deepest first, and then the folder itself
// when it has become empty. Nothing happens when the top folder is not removable.
void RemoveEmptyFolders(FolderRemover& remover, const std::string& folder, const std::string& windowsFolder,
                        const std::string& systemFolder);
