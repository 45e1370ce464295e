#include "shell/controls/dx_dir_tree_win.h"

#include <ole2.h>
#include <shellapi.h>

#include <cstdlib>

#include "base/text.h"
#include "res/resource.h"
#include "shell/controls/dir_tree_model.h"
#include "shell/system_image_list_win.h"

namespace {
constexpr UINT_PTR kHoverTimer = 2;
constexpr UINT kHoverDelay = 1000; // ms before a hovered node expands
constexpr const char* kComputerClass = "{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
constexpr const char* kNetworkClass = "{208D2C60-3AEA-1069-A2D7-08002B30309D}";

std::vector<std::string> DroppedFiles(HDROP drop)
{
    std::vector<std::string> files;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH + 1] = {};
        if (DragQueryFileA(drop, i, path, sizeof path))
            files.emplace_back(path);
    }
    return files;
}
} // namespace

// The tree as an OLE drop target for shell files (CF_HDROP). Its life is the tree's: the
// tree revokes it before it goes, so reference counts only keep OLE's books.
class CDxDirTree::DropTarget : public IDropTarget {
public:
    explicit DropTarget(CDxDirTree& tree) : m_tree(tree) {}
    virtual ~DropTarget() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect) override
    {
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        m_accept = data && data->QueryGetData(&format) == S_OK;
        return DragOver(0, point, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL point, DWORD* effect) override
    {
        *effect = m_accept ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        if (m_accept)
            m_tree.OnDragOver(ClientPoint(point));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        m_tree.OnDragLeave();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) override
    {
        m_tree.OnDragLeave();
        *effect = DROPEFFECT_NONE;
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (!m_accept || !data || data->GetData(&format, &medium) != S_OK)
            return S_OK;
        const std::vector<std::string> files = DroppedFiles(static_cast<HDROP>(medium.hGlobal));
        ReleaseStgMedium(&medium);
        TVHITTESTINFO hit{};
        hit.pt = ClientPoint(point);
        const HTREEITEM target = TreeView_HitTest(m_tree.Hwnd(), &hit);
        if (target && m_tree.CopyFilesInto(target, files))
            *effect = DROPEFFECT_COPY;
        return S_OK;
    }

private:
    POINT ClientPoint(POINTL screen) const
    {
        POINT p{screen.x, screen.y};
        ScreenToClient(m_tree.Hwnd(), &p);
        return p;
    }

    CDxDirTree& m_tree;
    ULONG m_references = 1;
    bool m_accept = false;
};

CDxDirTree::CDxDirTree() : m_iconResolver([this](const HTREEITEM& item) { return ResolveIcon(item); }) {}

CDxDirTree::~CDxDirTree()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    m_parentHook.Remove();
    if (m_images)
        ImageList_Destroy(m_images);
}

bool CDxDirTree::CreateControl(HWND parent, UINT id, const RECT& rect, DWORD extraStyle)
{
    EnsureCommonControls();
    m_id = id;
    if (!m_parentHook.Install(parent, [this](UINT message, WPARAM wParam, LPARAM lParam) {
            return OnParentMessage(message, wParam, lParam);
        }))
        return false;
    HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                    TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP | extraStyle,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!tree || !Subclass(tree)) {
        if (tree)
            DestroyWindow(tree);
        m_parentHook.Remove();
        return false;
    }

    m_images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK,
                                8, 8);
    m_iconResolver.SetOwner(tree);
    m_genericFolderIcon = GenericSmallIconIndex(true);
    m_genericFileIcon = GenericSmallIconIndex(false);
    m_folderImage = ImageFromSystem(m_genericFolderIcon);
    m_fileImage = ImageFromSystem(m_genericFileIcon);
    TreeView_SetImageList(tree, m_images, TVSIL_NORMAL);

    m_computer = Insert(TVI_ROOT, LoadText(IDS_MY_COMPUTER), Kind::Computer, "", RootImage(kComputerClass));
    m_network = Insert(TVI_ROOT, LoadText(IDS_NETWORK_NEIGHBORHOOD), Kind::Network, "", RootImage(kNetworkClass));

    m_dropTarget = std::make_unique<DropTarget>(*this);
    m_oleDrop = RegisterDragDrop(tree, m_dropTarget.get()) == S_OK;
    if (!m_oleDrop)
        DragAcceptFiles(tree, TRUE); // without OLE: drops only, no hover
    return true;
}

void CDxDirTree::ShowFiles(bool show, const std::string& patterns)
{
    m_showFiles = show;
    m_patterns = dirtree::SplitPatternList(patterns);
}

int CDxDirTree::ImageFromSystem(int systemIndex)
{
    if (systemIndex < 0 || !m_images)
        return -1;
    if (auto found = m_imageOfSystemIcon.find(systemIndex); found != m_imageOfSystemIcon.end())
        return found->second;
    int image = -1;
    if (HICON icon = ImageList_GetIcon(SystemSmallImageList(), systemIndex, ILD_NORMAL)) {
        image = ImageList_AddIcon(m_images, icon);
        DestroyIcon(icon);
    }
    m_imageOfSystemIcon[systemIndex] = image;
    return image;
}

// The icon of a shell object from its class entry's "DefaultIcon" ("file,index").
bool CDxDirTree::SetRootLook(Root root, const std::string& name, HICON icon)
{
    HTREEITEM item = root == Root::Computer ? m_computer : m_network;
    if (!m_hwnd || !item)
        return false;
    TVITEMA change{};
    change.mask = TVIF_HANDLE;
    change.hItem = item;
    std::string text = name;
    if (!text.empty()) {
        change.mask |= TVIF_TEXT;
        change.pszText = text.data();
    }
    if (icon) {
        const int image = ImageList_AddIcon(m_images, icon);
        if (image >= 0) {
            change.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            change.iImage = change.iSelectedImage = image;
        }
    }
    return TreeView_SetItem(m_hwnd, &change) != FALSE;
}

int CDxDirTree::RootImage(const char* classId)
{
    char text[MAX_PATH * 2] = {};
    LONG size = sizeof text;
    const std::string key = std::string("CLSID\\") + classId + "\\DefaultIcon";
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), text, &size) == ERROR_SUCCESS) {
        std::string location(text);
        int index = 0;
        if (const size_t comma = location.rfind(','); comma != std::string::npos) {
            index = std::atoi(location.c_str() + comma + 1);
            location.resize(comma);
        }
        char expanded[MAX_PATH * 2] = {};
        if (ExpandEnvironmentStringsA(location.c_str(), expanded, sizeof expanded) > 0)
            location = expanded;
        HICON small = nullptr;
        if (ExtractIconExA(location.c_str(), index, nullptr, &small, 1) > 0 && small) {
            const int image = ImageList_AddIcon(m_images, small);
            DestroyIcon(small);
            if (image >= 0)
                return image;
        }
    }
    return m_folderImage;
}

HTREEITEM CDxDirTree::Insert(HTREEITEM parent, const std::string& text, Kind kind, const std::string& path, int image)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = insert.item.iSelectedImage = image;
    const HTREEITEM item = TreeView_InsertItem(m_hwnd, &insert);
    if (!item)
        return nullptr;
    m_nodes[item] = {kind, path};
    if (kind == Kind::Computer || kind == Kind::Network || kind == Kind::Drive || kind == Kind::Folder)
        AddPlaceholder(item);
    if (kind == Kind::Drive || kind == Kind::Folder || kind == Kind::File)
        m_iconResolver.Add(item);
    return item;
}

void CDxDirTree::AddPlaceholder(HTREEITEM parent) { Insert(parent, LoadText(IDS_EMPTY), Kind::Placeholder, "", -1); }

const CDxDirTree::Node* CDxDirTree::NodeOf(HTREEITEM item) const
{
    auto found = m_nodes.find(item);
    return found == m_nodes.end() ? nullptr : &found->second;
}

std::string CDxDirTree::NodePath(HTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return node ? node->path : std::string();
}

void CDxDirTree::DeleteChildren(HTREEITEM item)
{
    for (HTREEITEM child = TreeView_GetChild(m_hwnd, item); child;) {
        const HTREEITEM next = TreeView_GetNextSibling(m_hwnd, child);
        DeleteChildren(child);
        m_nodes.erase(child);
        TreeView_DeleteItem(m_hwnd, child);
        child = next;
    }
}

void CDxDirTree::List(HTREEITEM item)
{
    const Node* node = NodeOf(item);
    if (!node)
        return;
    switch (node->kind) {
    case Kind::Computer: ListDrives(item); break;
    case Kind::Drive:
    case Kind::Folder: ListFolder(item, node->path); break;
    case Kind::Network:
        // The network is not browsed: the node shows it holds nothing here.
        DeleteChildren(item);
        Insert(item, LoadText(IDS_EMPTY), Kind::Placeholder, "", -1);
        break;
    case Kind::File:
    case Kind::Placeholder: break;
    }
}

void CDxDirTree::ListDrives(HTREEITEM computer)
{
    DeleteChildren(computer);
    char drives[512] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof drives - 1, drives);
    if (length == 0 || length >= sizeof drives)
        return;
    for (const char* root = drives; *root; root += lstrlenA(root) + 1) {
        std::string text = std::string(root).substr(0, 2);
        // Removable drives are not asked for their name: that would wait for the medium.
        if (GetDriveTypeA(root) != DRIVE_REMOVABLE) {
            SHFILEINFOA info{};
            if (SHGetFileInfoA(root, 0, &info, sizeof info, SHGFI_DISPLAYNAME) && info.szDisplayName[0])
                text = info.szDisplayName;
        }
        Insert(computer, text, Kind::Drive, root, m_folderImage);
    }
}

void CDxDirTree::ListFolder(HTREEITEM item, const std::string& folder)
{
    std::vector<dirtree::Entry> entries;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(dirtree::ChildPath(folder, "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (isFolder || (m_showFiles && dirtree::MatchesAnyPattern(name, m_patterns)))
                entries.push_back({name, isFolder});
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    dirtree::SortEntries(entries);

    SendMessageA(m_hwnd, WM_SETREDRAW, FALSE, 0);
    DeleteChildren(item);
    for (const dirtree::Entry& entry : entries)
        Insert(item, entry.name, entry.folder ? Kind::Folder : Kind::File, dirtree::ChildPath(folder, entry.name),
               entry.folder ? m_folderImage : m_fileImage);
    if (entries.empty())
        Insert(item, LoadText(IDS_EMPTY), Kind::Placeholder, "", -1);
    SendMessageA(m_hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CDxDirTree::Refresh(HTREEITEM item)
{
    if (m_hwnd && item)
        List(item);
}

// One node's own shell icon, when it differs from the generic one it was given.
bool CDxDirTree::ResolveIcon(HTREEITEM item)
{
    const Node* node = NodeOf(item);
    if (!node)
        return false; // deleted since
    const int icon = SystemSmallIconIndex(node->path);
    if (icon >= 0 && icon != m_genericFolderIcon && icon != m_genericFileIcon) {
        const int image = ImageFromSystem(icon);
        if (image >= 0) {
            TVITEMA change{};
            change.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            change.hItem = item;
            change.iImage = change.iSelectedImage = image;
            TreeView_SetItem(m_hwnd, &change);
        }
    }
    return true;
}

std::string CDxDirTree::Path() const
{
    return m_hwnd ? NodePath(TreeView_GetSelection(m_hwnd)) : std::string();
}

HTREEITEM CDxDirTree::ChildNamed(HTREEITEM parent, const std::string& path) const
{
    for (HTREEITEM child = TreeView_GetChild(m_hwnd, parent); child; child = TreeView_GetNextSibling(m_hwnd, child))
        if (const Node* node = NodeOf(child); node && dirtree::SameName(node->path, path))
            return child;
    return nullptr;
}

HTREEITEM CDxDirTree::FindNode(const std::string& path) const
{
    for (const auto& [item, node] : m_nodes)
        if (!node.path.empty() && dirtree::SameName(node.path, path))
            return item;
    return nullptr;
}

bool CDxDirTree::SetPath(const std::string& path)
{
    const std::vector<std::string> steps = dirtree::SplitTreePath(path);
    if (!m_hwnd || steps.empty())
        return false;
    HTREEITEM current = m_computer;
    std::string currentPath;
    for (const std::string& step : steps) {
        const std::string wanted = currentPath.empty() ? step : dirtree::ChildPath(currentPath, step);
        TreeView_Expand(m_hwnd, current, TVE_EXPAND);
        HTREEITEM child = ChildNamed(current, wanted);
        if (!child) {
            // Listed before the path appeared: list it afresh.
            Refresh(current);
            child = ChildNamed(current, wanted);
        }
        if (!child)
            return false;
        current = child;
        currentPath = wanted;
    }
    TreeView_SelectItem(m_hwnd, current);
    TreeView_EnsureVisible(m_hwnd, current);
    return true;
}

bool CDxDirTree::CopyFilesInto(HTREEITEM target, const std::vector<std::string>& files)
{
    const Node* node = NodeOf(target);
    if (!node || files.empty())
        return false;
    HTREEITEM folderItem = target;
    if (node->kind == Kind::File)
        folderItem = TreeView_GetParent(m_hwnd, target);
    const Node* folder = NodeOf(folderItem);
    if (!folder || (folder->kind != Kind::Drive && folder->kind != Kind::Folder))
        return false;
    // Both lists end with an empty name.
    std::string from;
    for (const std::string& file : files)
        from += file + '\0';
    from += '\0';
    std::string to = folder->path + '\0';
    to += '\0';
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = m_hwnd;
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_ALLOWUNDO;
    const bool copied = SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
    if (TreeView_GetItemState(m_hwnd, folderItem, TVIS_EXPANDED) & TVIS_EXPANDED)
        Refresh(folderItem); // show what arrived
    return copied;
}

void CDxDirTree::OnDragOver(POINT client)
{
    TVHITTESTINFO hit{};
    hit.pt = client;
    const HTREEITEM item = TreeView_HitTest(m_hwnd, &hit);
    if (item == m_hoverItem)
        return;
    m_hoverItem = item;
    TreeView_SelectDropTarget(m_hwnd, item);
    if (item)
        SetTimer(m_hwnd, kHoverTimer, kHoverDelay, nullptr); // restarts the wait
    else
        KillTimer(m_hwnd, kHoverTimer);
}

void CDxDirTree::OnDragLeave()
{
    if (!m_hwnd)
        return;
    KillTimer(m_hwnd, kHoverTimer);
    TreeView_SelectDropTarget(m_hwnd, nullptr);
    m_hoverItem = nullptr;
}

LRESULT CDxDirTree::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            KillTimer(m_hwnd, kHoverTimer);
            POINT cursor{};
            GetCursorPos(&cursor);
            ScreenToClient(m_hwnd, &cursor);
            TVHITTESTINFO hit{};
            hit.pt = cursor;
            if (HTREEITEM item = TreeView_HitTest(m_hwnd, &hit))
                TreeView_Expand(m_hwnd, item, TVE_EXPAND);
            return 0;
        }
        break;
    case WM_DROPFILES: {
        auto drop = reinterpret_cast<HDROP>(wParam);
        POINT point{};
        DragQueryPoint(drop, &point);
        const std::vector<std::string> files = DroppedFiles(drop);
        DragFinish(drop);
        TVHITTESTINFO hit{};
        hit.pt = point;
        if (HTREEITEM target = TreeView_HitTest(m_hwnd, &hit))
            CopyFilesInto(target, files);
        return 0;
    }
    case WM_DESTROY:
        if (m_oleDrop)
            RevokeDragDrop(m_hwnd);
        m_oleDrop = false;
        m_iconResolver.Stop();
        KillTimer(m_hwnd, kHoverTimer);
        break;
    default:
        break;
    }
    return CWindow::OnMessage(message, wParam, lParam);
}

std::optional<LRESULT> CDxDirTree::OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    if (message != WM_NOTIFY || !m_hwnd)
        return std::nullopt;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != m_hwnd)
        return std::nullopt;
    return OnNotify(header);
}

std::optional<LRESULT> CDxDirTree::OnNotify(NMHDR* header)
{
    // The ANSI and Unicode forms share the fields read here.
    auto* tree = reinterpret_cast<NMTREEVIEWA*>(header);
    switch (header->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
        if (tree->action & TVE_EXPAND)
            List(tree->itemNew.hItem);
        return FALSE;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (m_onSelect)
            m_onSelect(NodePath(tree->itemNew.hItem));
        return 0;
    default:
        return std::nullopt;
    }
}
