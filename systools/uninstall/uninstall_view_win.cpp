#include "systools/uninstall/uninstall_view_win.h"

#include "app/message.h"
#include "app/services.h"
#include "base/text.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/program_command_win.h"
#include "res/resource.h"
#include "shell/context_menu_win.h"
#include "shell/module_tips_win.h"
#include "systools/uninstall/shortcut_entry_dlg_win.h"
#include "systools/uninstall/uninstall_module.h"
#include "systools/uninstall/uninstall_run.h"

namespace {
const FormText kTexts[] = {
    {IDC_UNINSTALL_NAME_LABEL, IDS_UNINSTALL_NAME_LABEL},
    {IDC_UNINSTALL_COMMAND_LABEL, IDS_SHORTCUT_ENTRY_COMMAND_LABEL},
    {IDC_UNINSTALL_ADD, IDS_UNINSTALL_ADD},
    {IDC_UNINSTALL_DELETE, IDS_UNINSTALL_DELETE},
    {IDC_UNINSTALL_EDIT, IDS_UNINSTALL_EDIT},
    {IDC_UNINSTALL_RUN, IDS_UNINSTALL_RUN},
};
// The list grows with the view; the edits widen; the buttons follow the bottom edge.
const ControlAnchor kAnchors[] = {
    {IDC_UNINSTALL_LIST, StretchRight | StretchDown},
    {IDC_UNINSTALL_NAME_LABEL, FollowBottom},
    {IDC_UNINSTALL_NAME, FollowBottom | StretchRight},
    {IDC_UNINSTALL_COMMAND_LABEL, FollowBottom},
    {IDC_UNINSTALL_COMMAND, FollowBottom | StretchRight},
    {IDC_UNINSTALL_ADD, FollowBottom},
    {IDC_UNINSTALL_DELETE, FollowBottom},
    {IDC_UNINSTALL_EDIT, FollowBottom},
    {IDC_UNINSTALL_RUN, FollowBottom | FollowRight},
};
const FormText kTips[] = {{IDC_UNINSTALL_ADD, IDS_TIP_ADD_COMMAND},
                          {IDC_UNINSTALL_DELETE, IDS_TIP_DELETE_COMMAND},
                          {IDC_UNINSTALL_EDIT, IDS_TIP_EDIT_COMMAND},
                          {IDC_UNINSTALL_RUN, IDS_TIP_UNINSTALL_PROGRAM}};
const ModuleForm kForm{IDD_UNINSTALL, kTexts, kAnchors, IDS_UNINSTALL_REPORT_TITLE};

constexpr int kShowMode = SW_SHOW; // 5

bool IsExistingFile(const std::string& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class CWaitCursor {
public:
    CWaitCursor() : m_previous(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { SetCursor(m_previous); }

private:
    HCURSOR m_previous;
};
} // namespace

std::unique_ptr<CQnFormView> CreateUninstallView() { return std::make_unique<CUninst>(); }

void CUninstallList::OnColumnClick(int column)
{
    m_ascending = column == m_column ? !m_ascending : true;
    m_column = column;
    CReportList::OnColumnClick(column);
}

void CUninstallList::SortAsChosen()
{
    if (m_column >= 0)
        SortRows(m_column, m_ascending);
}

CUninst::CUninst() : CQnFormView(kForm) {}

CUninst::~CUninst()
{
    SetReportList(nullptr);
    m_list.SetImageList(nullptr, LVSIL_SMALL);
}

bool CUninst::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_list.ReplaceControl(m_hwnd, IDC_UNINSTALL_LIST);
    m_list.AddColumns({{IDS_COLUMN_NAME, 200}, {IDS_COLUMN_COMMAND_LINE, 560}});
    SetReportList(&m_list);
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    m_place.icons = &m_icons;
    ShowSelection();
    return true;
}

void CUninst::InitModule() { Fill(); }

void CUninst::Fill()
{
    const std::optional<size_t> selected = FirstSelectedEntry();
    FillKeeping(selected ? UninstallEntries::Shared()[*selected].keyName : std::string());
}

void CUninst::FillKeeping(const std::string& keyName)
{
    CWaitCursor wait;
    m_list.SetImageList(nullptr, LVSIL_SMALL);
    m_icons.Recreate();
    FillUninstallEntries(m_place);
    Rebuild(keyName);
}

void CUninst::Rebuild(const std::string& keyName)
{
    m_list.RemoveRows({}); // leaves nothing selected
    m_list.DeleteAllRows();
    m_list.SetImageList(m_icons.Handle(), LVSIL_SMALL);
    const UninstallEntries& entries = UninstallEntries::Shared();
    for (size_t i = 0; i < entries.Count(); ++i) {
        const int row = m_list.InsertRow(m_list.RowCount(), entries[i].displayName, entries[i].iconIndex,
                                         static_cast<intptr_t>(i));
        m_list.SetCellText(row, 1, entries[i].command);
    }
    m_list.SortAsChosen();
    m_list.FinishFill();
    SelectEntryRow(keyName);
    ShowSelection();
}

void CUninst::SelectEntryRow(const std::string& keyName)
{
    const std::optional<size_t> entry = keyName.empty() ? std::nullopt : FindUninstallEntry(keyName);
    if (!entry)
        return;
    for (int row = 0; row < m_list.RowCount(); ++row) {
        if (m_list.RowData(row) != static_cast<intptr_t>(*entry))
            continue;
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(m_list.Hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        SendMessageA(m_list.Hwnd(), LVM_ENSUREVISIBLE, row, FALSE);
        m_list.SelectRow(row, true);
        return;
    }
}

std::vector<size_t> CUninst::SelectedEntries() const
{
    std::vector<size_t> indexes;
    for (int row : m_list.SelectedRowsOfControl()) {
        const intptr_t data = m_list.RowData(row);
        if (data >= 0 && UninstallEntries::Shared().At(static_cast<size_t>(data)))
            indexes.push_back(static_cast<size_t>(data));
    }
    return indexes;
}

std::optional<size_t> CUninst::FirstSelectedEntry() const
{
    const std::vector<size_t> selected = SelectedEntries();
    return selected.empty() ? std::nullopt : std::optional<size_t>(selected.front());
}

void CUninst::ShowSelection()
{
    const std::optional<size_t> selected = FirstSelectedEntry();
    const UninstallEntry* entry = selected ? UninstallEntries::Shared().At(*selected) : nullptr;
    SetDlgItemTextA(m_hwnd, IDC_UNINSTALL_NAME, entry ? entry->displayName.c_str() : "");
    SetDlgItemTextA(m_hwnd, IDC_UNINSTALL_COMMAND, entry ? entry->command.c_str() : "");
    for (int id : {IDC_UNINSTALL_EDIT, IDC_UNINSTALL_DELETE, IDC_UNINSTALL_RUN})
        EnableWindow(Item(id), entry != nullptr);
    m_status.ShowObjectCount(m_list.RowCount(), static_cast<int>(m_list.SelectedRowsOfControl().size()));
}

void CUninst::OnAdd()
{
    std::string name, command;
    if (!ShortcutEntryDlg(GetAncestor(m_hwnd, GA_ROOT), name, command, true))
        return;
    std::vector<std::string> keys = m_place.registry.SubKeyNames();
    for (const UninstallEntry& entry : UninstallEntries::Shared())
        keys.push_back(entry.keyName);
    const std::string keyName = NewUninstallKeyName(name, keys);
    AppendUninstallEntry(m_place, name, command, keyName);
    FillKeeping(keyName); // what the registry now holds, whether or not it took the write
}

void CUninst::OnEdit()
{
    const std::optional<size_t> selected = FirstSelectedEntry();
    if (!selected)
        return;
    const UninstallEntry entry = UninstallEntries::Shared()[*selected];
    std::string name = entry.displayName, command = entry.command;
    if (!ShortcutEntryDlg(GetAncestor(m_hwnd, GA_ROOT), name, command, false))
        return;
    StoreUninstallEntry(m_place, *selected, name, command, entry.keyName);
    FillKeeping(entry.keyName);
}

void CUninst::OnDelete()
{
    const std::vector<size_t> selected = SelectedEntries();
    if (selected.empty())
        return;
    if (ShowMessage(LoadText(IDS_UNINSTALL_DELETE_CONFIRM), MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    RemoveUninstallEntries(m_place, selected);
    m_list.RemoveRows(m_list.SelectedRowsOfControl());
    FillKeeping(std::string());
}

void CUninst::OnUninstall()
{
    const std::optional<size_t> selected = FirstSelectedEntry();
    if (!selected)
        return;
    const UninstallEntry entry = UninstallEntries::Shared()[*selected];
    const std::string& command = entry.command;
    if (command.empty())
        return; // an entry with a name only has nothing to run
    // The program is started by its path only when it is there; otherwise the command runs as
    // it stands. Either way each argument of the command reaches the program once.
    std::string program = ProgramFromCommandLine(command);
    if (!IsExistingFile(program))
        program.clear();
    const UninstallLaunch launch = PlanUninstallLaunch(command, program, WindowsFolder());
    {
        CWaitCursor wait;
        RunProgram(false, kShowMode, launch.program, launch.arguments, std::string());
    }
    FillKeeping(entry.keyName); // an entry the uninstaller removed disappears
}

void CUninst::ShowListMenu(LPARAM messagePoint)
{
    const bool any = FirstSelectedEntry().has_value();
    ShowListContextMenu(m_hwnd, m_list.Hwnd(), IDR_UNINSTALL_MENU, messagePoint,
                        [any](HMENU menu) {
                            if (any)
                                return;
                            for (UINT id : {ID_UNINSTALL_MENU_EDIT, ID_UNINSTALL_MENU_RUN, ID_UNINSTALL_MENU_REMOVE})
                                EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED);
                        });
}

bool CUninst::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_UNINSTALL_ADD: if (code == BN_CLICKED) OnAdd(); return true;
    case IDC_UNINSTALL_EDIT: if (code == BN_CLICKED) OnEdit(); return true;
    case IDC_UNINSTALL_DELETE: if (code == BN_CLICKED) OnDelete(); return true;
    case IDC_UNINSTALL_RUN: if (code == BN_CLICKED) OnUninstall(); return true;
    case IDOK: OnUninstall(); return true; // Enter: the default button
    case ID_UNINSTALL_MENU_ADD: OnAdd(); return true;
    case ID_UNINSTALL_MENU_EDIT: OnEdit(); return true;
    case ID_UNINSTALL_MENU_RUN: OnUninstall(); return true;
    case ID_UNINSTALL_MENU_REMOVE: OnDelete(); return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CUninst::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED: ShowSelection(); return 0;
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
            OnDelete();
        return 0;
    default: return std::nullopt;
    }
}

std::optional<LRESULT> CUninst::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the list control itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        return header->idFrom == IDC_UNINSTALL_LIST ? OnListNotify(header) : std::nullopt;
    }
    if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == m_list.Hwnd()) {
        // After a right click (the list sends it once NM_RCLICK is left alone) at the mouse;
        // from Shift+F10 or the menu key under the selected row.
        ShowListMenu(lParam);
        return 0;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
