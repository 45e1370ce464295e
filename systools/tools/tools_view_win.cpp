#include "systools/tools/tools_view_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/paths.h"
#include "app/services.h"
#include "framework/frame.h"
#include "filetools/common/shell_context_menu_win.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "systools/shortcuts/shortcut_ops_win.h"
#include "systools/tools/tool_lists.h"
#include "systools/tools/tool_platform_win.h"
#include "systools/tools/tools_module.h"

namespace {
const ControlAnchor kAnchors[] = {
    {IDC_TOOLS_TABS, StretchRight},
    {IDC_TOOLS_LIST, StretchRight | StretchDown},
};
const ModuleForm kForm{IDD_TOOLS, {}, kAnchors, IDS_TOOLS_REPORT_TITLE};

struct TabLook {
    UINT textId;
    UINT bitmapId;
};
// In ToolTab order.
const TabLook kTabs[kToolTabCount] = {
    {IDS_TOOLS_ALL, IDB_TOOLS_TAB_ALL},
    {IDS_TOOLS_MAKER, IDB_TOOLS_TAB_MAKER},
    {IDS_TOOLS_CUSTOM, IDB_TOOLS_TAB_CUSTOM},
    {IDS_TOOLS_SYSTEM, IDB_TOOLS_TAB_SYSTEM},
};
constexpr COLORREF kTabKeyColour = RGB(0, 255, 0);
constexpr int kShowNormal = SW_SHOW; // the show mode programs start with (5)

std::string WithoutExtension(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool FileStillExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

std::unique_ptr<CQnFormView> CreateToolsView() { return std::make_unique<CQnTools>(); }

CQnTools::CQnTools() : CQnFormView(kForm) {}

CQnTools::~CQnTools()
{
    m_tips.Detach();
    SetReportList(nullptr);
}

bool CQnTools::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_list.ReplaceControl(m_hwnd, IDC_TOOLS_LIST);
    m_list.SetImageList(SharedToolImages(), LVSIL_SMALL);
    m_list.AddColumns({{IDS_COLUMN_NAME, 180}, {IDS_COLUMN_PATH, 320}});
    SetReportList(&m_list);
    m_tabs.Attach(Item(IDC_TOOLS_TABS));
    for (const TabLook& look : kTabs)
        m_tabs.AddTab(look.textId, look.bitmapId, kTabKeyColour);
    m_tabs.SetSelectionCallback([this](int tab) { ShowTab(tab); });
    m_tips.Attach(
        m_hwnd, m_list.Hwnd(),
        [this](int row) {
            const ToolEntry* entry = EntryOfRow(row);
            return entry ? entry->path : std::string();
        },
        [this](const std::string& text) { m_status.ShowTip(text); });
    return false;
}

void CQnTools::InitModule()
{
    BuildLists();
    ShowTab(kCustomToolsTab);
}

// The lists are built once per run, in four steps on the main window's progress.
void CQnTools::BuildLists()
{
    ToolLists& lists = SharedToolLists();
    if (lists.IsBuilt())
        return;
    CBusyScope busy;
    busy.SetRange(kToolTabCount);
    int64_t position = 0;
    CToolPlatformWin platform([&](const std::string& text) { busy.Step(position, text); });
    lists.Build(platform, WindowsFolderPath(), MakerProgramCandidates(), [&](int step) {
        position = step - 1;
        busy.Step(position, {});
    });
    busy.Step(kToolTabCount, {});
}

void CQnTools::ShowTab(int tab)
{
    if (tab < 0 || tab >= kToolTabCount)
        return;
    m_shownTab = tab;
    if (m_tabs.Selection() != tab)
        m_tabs.Select(tab);
    FillList();
}

// Rows in the tab's order; a row's data is its entry's index in the tab.
void CQnTools::FillList()
{
    m_tips.Reset();
    m_list.DeleteAllRows();
    const std::vector<ToolEntry>& entries = SharedToolLists().Tab(m_shownTab);
    for (size_t i = 0; i < entries.size(); ++i) {
        const int row = m_list.InsertRow(m_list.RowCount(), entries[i].name, entries[i].image, static_cast<intptr_t>(i));
        m_list.SetCellText(row, 1, entries[i].path);
    }
    m_list.FinishFill();
    SetReportList(&m_list);
    AfterListChange();
    RunIdleUpdate(); // Print and Save follow the rows at once, not at the next input
}

void CQnTools::AfterListChange()
{
    m_status.ShowObjectCount(m_list.RowCount(), static_cast<int>(m_list.SelectedRowsOfControl().size()));
}

const ToolEntry* CQnTools::EntryOfRow(int row) const
{
    if (row < 0 || row >= m_list.RowCount())
        return nullptr;
    return SharedToolLists().Entry(m_shownTab, static_cast<size_t>(m_list.RowData(row)));
}

bool CQnTools::RunTool(int row)
{
    const ToolEntry* entry = EntryOfRow(row);
    if (!entry)
        return false;
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    const bool started = RunProgram(true, kShowNormal, entry->path, {}, PathFolderPart(entry->path));
    SetCursor(old);
    return started;
}

// The shell's menu for the program, through a shortcut to it in the temporary folder: the
// shell then offers what it offers for a link (open, properties of the link, send to, ...).
void CQnTools::ShowShellMenu(int row)
{
    const ToolEntry* entry = EntryOfRow(row);
    if (!entry)
        return;
    const std::string folder = PathFolderPart(MakeTempName());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string linkName = WithoutExtension(PathNamePart(entry->path)) + ".lnk";
    const std::string link = JoinPath(folder, linkName);
    DeleteFileA(link.c_str());
    if (!CreateShortcut(PathFolderPart(entry->path), PathNamePart(entry->path), folder, linkName, entry->name, {}, 0))
        return;
    POINT at{};
    GetCursorPos(&at);
    ShowShellContextMenu(m_hwnd, {link}, at);
}

int CQnTools::RowAtMessagePoint() const
{
    const DWORD at = GetMessagePos();
    return RowAtPoint({GET_X_LPARAM(at), GET_Y_LPARAM(at)});
}

int CQnTools::RowAtPoint(POINT screenPoint) const
{
    LVHITTESTINFO hit{};
    hit.pt = screenPoint;
    ScreenToClient(m_list.Hwnd(), &hit.pt);
    const int row = static_cast<int>(SendMessageA(m_list.Hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 && (hit.flags & LVHT_ONITEM) ? row : -1;
}

int CQnTools::FocusedRow() const
{
    const std::vector<int> rows = m_list.SelectedRowsOfControl();
    return rows.empty() ? -1 : rows.front();
}

// The explorer's file actions on the selected programs. A program that went (moved, deleted)
// leaves every tab, so that no tab shows it again in this run.
void CQnTools::RunFileAction(int action)
{
    std::vector<std::string> paths;
    for (int row : m_list.SelectedRowsOfControl())
        paths.push_back(PathOfRow(row));
    if (paths.empty())
        return;
    if (!DoFileAction(*this, m_list, {}, action, 0, this))
        return;
    bool gone = false;
    for (const std::string& path : paths)
        if (!path.empty() && !FileStillExists(path)) {
            SharedToolLists().RemovePath(path);
            gone = true;
        }
    if (gone)
        FillList();
    AfterListChange();
}

std::string CQnTools::PathOfRow(int row) const
{
    const ToolEntry* entry = EntryOfRow(row);
    return entry ? entry->path : std::string();
}

void CQnTools::RefreshRow(int, const std::string&) {}

bool CQnTools::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case ID_FILE_ACTION_OPEN: RunTool(FocusedRow()); return true;
    case ID_FILE_ACTION_COPY: RunFileAction(kFileActionCopy); return true;
    case ID_FILE_ACTION_MOVE: RunFileAction(kFileActionMove); return true;
    case ID_FILE_ACTION_DELETE: RunFileAction(kFileActionDelete); return true;
    case ID_FILE_ACTION_PROPERTIES: RunFileAction(kFileActionProperties); return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

// A right click on a program shows the shell's menu for it, a right click beside the rows and
// the keyboard's menu key the list's own menu. Windows' list tells a right click by NM_RCLICK
// (and, handled, sends no WM_CONTEXTMENU); Wine's may send only WM_CONTEXTMENU, or that first
// and NM_RCLICK after: each click shows one menu.
void CQnTools::ShowMenuForClick(int row)
{
    m_menuClickTime = GetMessageTime();
    m_menuShown = true;
    if (row >= 0)
        ShowShellMenu(row);
    else
        m_list.ShowContextMenu(IDR_FILE_LIST_MENU, m_hwnd, true);
}

bool CQnTools::MenuShownForThisClick() const
{
    return m_menuShown && static_cast<DWORD>(GetMessageTime() - m_menuClickTime) < GetDoubleClickTime();
}

std::optional<LRESULT> CQnTools::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED: AfterListChange(); return 0;
    case NM_DBLCLK: RunTool(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem); return 0;
    case NM_RCLICK: {
        if (MenuShownForThisClick())
            return 1;
        const int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
        ShowMenuForClick(row >= 0 ? row : RowAtMessagePoint());
        return 1; // handled: no WM_CONTEXTMENU after it
    }
    default: return std::nullopt;
    }
}

std::optional<LRESULT> CQnTools::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the list control itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        return header->idFrom == IDC_TOOLS_LIST ? OnListNotify(header) : std::nullopt;
    }
    if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == m_list.Hwnd()) {
        if (lParam == -1) // the keyboard's menu key
            m_list.ShowContextMenu(IDR_FILE_LIST_MENU, m_hwnd, true);
        else if (!MenuShownForThisClick())
            ShowMenuForClick(RowAtPoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
        return 0;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
