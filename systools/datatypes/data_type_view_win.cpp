#include "systools/datatypes/data_type_view_win.h"

#include <commctrl.h>

#include <algorithm>

#include "app/message.h"
#include "base/progress.h"
#include "base/text.h"
#include "filetools/filetypes/choose_file_win.h"
#include "filetools/filetypes/file_type_icon_cache.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/icon_picker_dlg_win.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/context_menu_win.h"
#include "shell/control_helpers_win.h"
#include "shell/module_tips_win.h"
#include "systools/datatypes/data_type_rules.h"
#include "systools/datatypes/data_type_table.h"
#include "systools/datatypes/datatypes_module.h"
#include "systools/datatypes/new_type_dlg_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_DATATYPE_CHANGE_ICON, IDS_DATATYPE_CHANGE_ICON},
    {IDC_DATATYPE_APPLY, IDS_DATATYPE_APPLY},
    {IDC_DATATYPE_ADD, IDS_DATATYPE_ADD},
    {IDC_DATATYPE_SELECT_PROGRAM, IDS_BUTTON_BROWSE},
    {IDC_DATATYPE_NAME_LABEL, IDS_DATATYPE_NAME_LABEL},
    {IDC_DATATYPE_EXTENSION_LABEL, IDS_DATATYPE_EXTENSION_LABEL},
    {IDC_DATATYPE_COMMAND_LABEL, IDS_DATATYPE_COMMAND_LABEL},
};
// The list takes what the view grows by; the edit boxes widen, the rest keeps to the bottom.
const ControlAnchor kAnchors[] = {
    {IDC_DATATYPE_LIST, StretchRight | StretchDown},
    {IDC_DATATYPE_ICON, FollowBottom},
    {IDC_DATATYPE_NAME_LABEL, FollowBottom},
    {IDC_DATATYPE_NAME, FollowBottom | StretchRight},
    {IDC_DATATYPE_CHANGE_ICON, FollowBottom | FollowRight},
    {IDC_DATATYPE_EXTENSION_LABEL, FollowBottom},
    {IDC_DATATYPE_EXTENSION, FollowBottom},
    {IDC_DATATYPE_COMMAND_LABEL, FollowBottom},
    {IDC_DATATYPE_COMMAND, FollowBottom | StretchRight},
    {IDC_DATATYPE_SELECT_PROGRAM, FollowBottom | FollowRight},
    {IDC_DATATYPE_ADD, FollowBottom},
    {IDC_DATATYPE_APPLY, FollowBottom | FollowRight},
};
const FormText kTips[] = {{IDC_DATATYPE_CHANGE_ICON, IDS_TIP_CHANGE_TYPE_ICON},
                          {IDC_DATATYPE_SELECT_PROGRAM, IDS_TIP_SELECT_PROGRAM},
                          {IDC_DATATYPE_APPLY, IDS_TIP_APPLY},
                          {IDC_DATATYPE_ADD, IDS_TIP_ADD_DATA_TYPE}};
const ModuleForm kForm{IDD_DATATYPES, kTexts, kAnchors, IDS_DATATYPE_REPORT_TITLE};

constexpr int kEditLimit = 512;
constexpr int kRowsPaintedOneByOne = 30; // after this row the list repaints once at the end
constexpr int kInitialImages = 64, kImageGrowth = 32;

// The cache's description of an extension ("txt" is its key).
int IconSlotOfExtension(const std::string& extension) { return TheFileTypeIconCache().IndexOf(extension); }

// The large icon of a location, else shell32's first icon, else the program's data-type icon.
HICON IconOrFallback(const std::string& location, bool small)
{
    if (HICON icon = small ? LoadIconPairFromLocation(location, true) : LoadIconFromLocation(location))
        return icon;
    return ShellIcon(0, small, IDI_DATA_TYPE);
}
} // namespace

std::unique_ptr<CQnFormView> CreateDataTypeView() { return std::make_unique<CDataType>(); }

void CDataTypeList::SortBy(int column, bool ascending)
{
    m_column = column;
    m_ascending = ascending;
    // The model keeps the control's selection through the sort.
    SelectAll(false);
    for (int row : SelectedRowsOfControl())
        SelectRow(row, true);
    SortRows(column, ascending);
    if (!Hwnd())
        return;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(Hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    item.stateMask = LVIS_SELECTED;
    for (int row : GetSelectedRows())
        SendMessageA(Hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CDataTypeList::OnColumnClick(int column)
{
    SortBy(column, column == m_column ? !m_ascending : true);
}

CDataType::CDataType() : CQnFormView(kForm) {}

CDataType::~CDataType()
{
    SetReportList(nullptr);
    m_apply.Detach();
    if (m_images)
        ImageList_Destroy(m_images);
    DestroyIconIfAny(m_ownedIcon);
}

bool CDataType::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_list.ReplaceControl(m_hwnd, IDC_DATATYPE_LIST);
    m_list.AddColumns({{IDS_COLUMN_NAME, 200}, {IDS_COLUMN_EXTENSION, 100}, {IDS_COLUMN_COMMAND_LINE, 200}});
    SetReportList(&m_list);
    for (int edit : {IDC_DATATYPE_NAME, IDC_DATATYPE_COMMAND, IDC_DATATYPE_EXTENSION})
        SendMessageA(Item(edit), EM_LIMITTEXT, kEditLimit, 0);
    m_apply.Attach(m_hwnd, IDC_DATATYPE_APPLY, [this] { return ApplyChanges(); });
    m_apply.Watch({IDC_DATATYPE_NAME, IDC_DATATYPE_COMMAND});
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    return false;
}

void CDataType::InitModule() { Refill(); }

void CDataType::Refill()
{
    {
        CBusyScope busy;
        CRegistryAccess registry;
        DataTypeTable::Shared().Fill(registry, busy.Progress(), IconSlotOfExtension);
    }
    FillList();
}

int CDataType::ImageOfSlot(int slot)
{
    if (slot < 0)
        return -1;
    if (auto known = m_imageOfSlot.find(slot); known != m_imageOfSlot.end())
        return known->second;
    if (!m_images) {
        m_images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                    ILC_COLOR32 | ILC_MASK, kInitialImages, kImageGrowth);
        m_list.SetImageList(m_images, LVSIL_SMALL);
    }
    HICON icon = static_cast<HICON>(TheFileTypeIconCache().Icon(slot, true));
    const int image = icon ? ImageList_AddIcon(m_images, icon) : -1;
    m_imageOfSlot[slot] = image;
    return image;
}

void CDataType::ShowRow(int row, int entryIndex)
{
    const DataTypeEntry* entry = DataTypeTable::Shared().At(entryIndex);
    if (!entry)
        return;
    m_list.SetCellText(row, 0, entry->description);
    m_list.SetCellText(row, 1, entry->extension);
    m_list.SetCellText(row, 2, entry->command);
    m_list.SetRowImage(row, ImageOfSlot(entry->iconIndex));
}

// One row per type not removed, with the status naming each; the first rows paint as they
// come, the rest at once at the end.
void CDataType::FillList()
{
    m_list.DeleteAllRows();
    const DataTypeTable& table = DataTypeTable::Shared();
    int count = 0;
    for (int i = 0; i < table.Count(); ++i)
        count += table.At(i)->removed ? 0 : 1;
    HWND list = m_list.Hwnd();
    bool locked = false;
    {
        CBusyScope busy;
        busy.SetRange(count);
        const std::string pattern = LoadText(IDS_RETRIEVING_ITEM);
        int position = 0;
        for (int i = 0; i < table.Count(); ++i) {
            const DataTypeEntry& entry = *table.At(i);
            if (entry.removed)
                continue;
            busy.Step(position, FillConversions(pattern, {entry.description, std::to_string(position + 1), std::to_string(count)}));
            const int row = m_list.InsertRow(m_list.RowCount(), entry.description, -1, i);
            ShowRow(row, i);
            if (!locked) {
                UpdateWindow(list);
                if (row >= kRowsPaintedOneByOne) {
                    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
                    locked = true;
                }
            }
            ++position;
        }
    }
    if (locked)
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    m_list.SortBy(0, true);
    SelectOnly(m_list.RowCount() > 0 ? 0 : -1);
    m_list.FinishFill();
    InvalidateRect(list, nullptr, TRUE);
    ShowSelection();
}

void CDataType::SelectOnly(int row)
{
    HWND list = m_list.Hwnd();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0)
        return;
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
}

int CDataType::SelectedEntry() const
{
    const int row = ListView_GetNextItem(m_list.Hwnd(), -1, LVNI_SELECTED);
    return row < 0 ? -1 : static_cast<int>(m_list.RowData(row));
}

int CDataType::RowOfEntry(int entryIndex) const
{
    for (int row = 0; row < m_list.RowCount(); ++row)
        if (m_list.RowData(row) == entryIndex)
            return row;
    return -1;
}

void CDataType::ShowLargeIcon(HICON icon, bool owned)
{
    SendDlgItemMessageA(m_hwnd, IDC_DATATYPE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    DestroyIconIfAny(m_ownedIcon);
    m_ownedIcon = owned ? icon : nullptr;
}

// The selected type's texts and icon; its icon location is what Apply writes until changed.
void CDataType::ShowSelection()
{
    const DataTypeEntry* entry = DataTypeTable::Shared().At(SelectedEntry());
    {
        CApplyTracker::Quiet quiet(m_apply);
        SetDlgItemTextA(m_hwnd, IDC_DATATYPE_NAME, entry ? entry->description.c_str() : "");
        SetDlgItemTextA(m_hwnd, IDC_DATATYPE_COMMAND, entry ? entry->command.c_str() : "");
        SetDlgItemTextA(m_hwnd, IDC_DATATYPE_EXTENSION, entry ? entry->extension.c_str() : "");
    }
    ShowLargeIcon(entry ? static_cast<HICON>(TheFileTypeIconCache().Icon(entry->iconIndex, false)) : nullptr, false);
    m_pendingIcon = entry ? entry->iconLocation : std::string();
    m_apply.Reset();
    for (int id : {IDC_DATATYPE_NAME, IDC_DATATYPE_COMMAND, IDC_DATATYPE_CHANGE_ICON, IDC_DATATYPE_SELECT_PROGRAM})
        EnableWindow(Item(id), entry != nullptr);
    UpdateCount();
}

void CDataType::UpdateCount()
{
    m_status.ShowObjectCount(m_list.RowCount(), static_cast<int>(m_list.SelectedRowsOfControl().size()));
}

// The slot the type's extension owns gets the icons of its new location; the extension's
// slot keeps its key. Without a location the shell's icons stay: nothing better replaces them.
void CDataType::RefreshIcons(int entryIndex)
{
    DataTypeEntry* entry = DataTypeTable::Shared().At(entryIndex);
    if (!entry || entry->iconIndex < 0 || entry->iconLocation.empty())
        return;
    HICON small = IconOrFallback(entry->iconLocation, true);
    HICON large = IconOrFallback(entry->iconLocation, false);
    if (!TheFileTypeIconCache().ReplaceIcons(entry->iconIndex, small, large))
        return;
    if (auto known = m_imageOfSlot.find(entry->iconIndex); known != m_imageOfSlot.end() && known->second >= 0 && small)
        ImageList_ReplaceIcon(m_images, known->second, small);
    else
        m_imageOfSlot.erase(entry->iconIndex);
}

bool CDataType::ApplyChanges()
{
    const int index = SelectedEntry();
    const DataTypeEntry* entry = DataTypeTable::Shared().At(index);
    if (!entry)
        return false;
    CRegistryAccess registry;
    const std::string extension = entry->extension;
    const auto result = DataTypeTable::Shared().SetDataType(registry, extension,
                                                            WindowText(Item(IDC_DATATYPE_NAME)),
                                                            WindowText(Item(IDC_DATATYPE_COMMAND)), m_pendingIcon);
    if (result.index < 0) {
        // Refused: the list shows what the registry holds now.
        Refill();
        return false;
    }
    RefreshIcons(result.index);
    const int row = RowOfEntry(result.index);
    ShowRow(row, result.index);
    ListView_RedrawItems(m_list.Hwnd(), row, row);
    ShowSelection();
    return true;
}

void CDataType::OnChangeIcon()
{
    if (!IconPickerDlg(GetAncestor(m_hwnd, GA_ROOT), m_pendingIcon))
        return;
    ShowLargeIcon(IconOrFallback(m_pendingIcon, false), true);
    m_apply.MarkChanged();
}

void CDataType::OnSelectProgram()
{
    ChooseFileRequest request;
    request.filterTextId = IDS_FILTER_PROGRAMS;
    request.title = LoadText(IDS_SELECT_TITLE);
    request.defaultExtension = "EXE";
    const std::string program = ChooseFileToOpen(GetAncestor(m_hwnd, GA_ROOT), request);
    if (program.empty())
        return;
    SetDlgItemTextA(m_hwnd, IDC_DATATYPE_COMMAND, program.c_str());
    m_apply.MarkChanged();
}

void CDataType::RemoveSelected()
{
    const std::vector<int> rows = m_list.SelectedRowsOfControl();
    if (rows.empty() || ShowMessage(LoadText(IDS_DATATYPE_REMOVE_CONFIRM), MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    std::vector<int> entries;
    for (int row : rows)
        entries.push_back(static_cast<int>(m_list.RowData(row)));
    const std::vector<int> removed = DataTypeTable::Shared().Remove(entries);
    std::vector<int> gone;
    for (size_t i = 0; i < rows.size(); ++i)
        if (std::find(removed.begin(), removed.end(), entries[i]) != removed.end())
            gone.push_back(rows[i]);
    m_list.RemoveRows(gone);
    ShowSelection();
}

void CDataType::AddNewType()
{
    const int index = RunNewTypeDialog(GetAncestor(m_hwnd, GA_ROOT));
    DataTypeEntry* entry = DataTypeTable::Shared().At(index);
    if (!entry)
        return;
    if (entry->iconIndex < 0)
        entry->iconIndex = IconSlotOfExtension(entry->extension);
    RefreshIcons(index);
    int row = RowOfEntry(index);
    if (row < 0)
        row = m_list.InsertRow(m_list.RowCount(), entry->description, -1, index);
    ShowRow(row, index);
    SelectOnly(row);
    InvalidateRect(m_list.Hwnd(), nullptr, FALSE);
    ShowSelection();
}

bool CDataType::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_DATATYPE_CHANGE_ICON: if (code == BN_CLICKED) OnChangeIcon(); return true;
    case IDC_DATATYPE_SELECT_PROGRAM: if (code == BN_CLICKED) OnSelectProgram(); return true;
    case IDC_DATATYPE_ADD: if (code == BN_CLICKED) AddNewType(); return true;
    case ID_DATATYPE_ADD: AddNewType(); return true;
    case ID_DATATYPE_DELETE: RemoveSelected(); return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CDataType::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
            ShowSelection();
        return 0;
    }
    case LVN_ODSTATECHANGED: ShowSelection(); return 0;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
            RemoveSelected();
        return 0;
    case NM_RCLICK: {
        const bool none = m_list.SelectedRowsOfControl().empty();
        ShowListContextMenu(m_hwnd, m_list.Hwnd(), IDR_DATATYPE_MENU, static_cast<LPARAM>(GetMessagePos()),
                            [none](HMENU menu) {
                                if (none)
                                    EnableMenuItem(menu, ID_DATATYPE_DELETE, MF_BYCOMMAND | MF_GRAYED);
                            });
        return 0;
    }
    default: return std::nullopt;
    }
}

std::optional<LRESULT> CDataType::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the list control itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        return header->idFrom == IDC_DATATYPE_LIST ? OnListNotify(header) : std::nullopt;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
