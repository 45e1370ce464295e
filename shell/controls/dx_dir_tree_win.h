#pragma once
// CDxDirTree: a tree of folders under "My Computer" (the drives) and "Network Neighborhood".
// Folder nodes show an expand button through a placeholder child and are listed when they
// expand; with files shown, a folder's files matching the pattern list appear too. Nodes get
// the generic folder or file icon at once and their own shell icons afterwards, one node per
// timer tick. Files dropped from the shell are copied into the folder under the drop point.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/window.h"
#include "shell/controls/parent_hook_win.h"
#include "shell/deferred_icon_resolver_win.h"

class CDxDirTree : public CWindow {
public:
    // Called with the new path (empty for a root) when the selection changes.
    using SelectionCallback = std::function<void(const std::string& path)>;

    CDxDirTree();
    ~CDxDirTree() override;

    bool CreateControl(HWND parent, UINT id, const RECT& rect, DWORD extraStyle = 0);

    // Files matching `patterns` (separated by ';', "*.*" when empty) are listed under their
    // folders. Takes effect for folders expanded afterwards.
    void ShowFiles(bool show, const std::string& patterns = {});
    void SetSelectionCallback(SelectionCallback callback) { m_onSelect = std::move(callback); }

    // The selected node's path: a drive ("C:\"), folder or file; empty for a root or nothing.
    std::string Path() const;
    // Expands the tree down to `path` and selects it; false when some step is not there.
    bool SetPath(const std::string& path);

    // Renames a root and gives it `icon` (copied: the caller keeps it; null keeps the image):
    // a module names the roots as the shell's desktop objects are named.
    enum class Root { Computer, Network };
    bool SetRootLook(Root root, const std::string& name, HICON icon);

    // Lists a folder node afresh (as expanding it does).
    void Refresh(HTREEITEM item);
    // The node of a path among the listed nodes, or null.
    HTREEITEM FindNode(const std::string& path) const;
    std::string NodePath(HTREEITEM item) const;
    // Icon resolutions still waiting for their timer tick.
    size_t PendingIcons() const { return m_iconResolver.Pending(); }

    // Copies the shell files into the folder of the node (the folder itself, or a file's
    // folder) with the shell's undoable copy; false when nothing was copied.
    bool CopyFilesInto(HTREEITEM target, const std::vector<std::string>& files);

    // Drag hover, as the drop target reports it (client coordinates of the tree).
    void OnDragOver(POINT client);
    void OnDragLeave();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class Kind { Computer, Network, Drive, Folder, File, Placeholder };
    struct Node {
        Kind kind;
        std::string path;
    };
    class DropTarget;

    HTREEITEM Insert(HTREEITEM parent, const std::string& text, Kind kind, const std::string& path, int image);
    void AddPlaceholder(HTREEITEM parent);
    void List(HTREEITEM item);
    void ListDrives(HTREEITEM computer);
    void ListFolder(HTREEITEM item, const std::string& folder);
    void DeleteChildren(HTREEITEM item);
    const Node* NodeOf(HTREEITEM item) const;
    HTREEITEM ChildNamed(HTREEITEM parent, const std::string& name) const;
    bool ResolveIcon(HTREEITEM item);
    int ImageFromSystem(int systemIndex);
    int RootImage(const char* classId);
    std::optional<LRESULT> OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> OnNotify(NMHDR* header);

    UINT m_id = 0;
    CParentHook m_parentHook;
    HIMAGELIST m_images = nullptr;
    std::unordered_map<int, int> m_imageOfSystemIcon; // system image index -> our index
    int m_folderImage = 0, m_fileImage = 0;
    int m_genericFolderIcon = -1, m_genericFileIcon = -1; // system image indexes
    std::unordered_map<HTREEITEM, Node> m_nodes;
    CDeferredIconResolver<HTREEITEM> m_iconResolver;
    bool m_showFiles = false;
    std::vector<std::string> m_patterns;
    SelectionCallback m_onSelect;
    HTREEITEM m_computer = nullptr, m_network = nullptr;
    HTREEITEM m_hoverItem = nullptr;
    std::unique_ptr<DropTarget> m_dropTarget;
    bool m_oleDrop = false;
};
