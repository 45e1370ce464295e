#include "systools/disks/disk_info_view_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>

#include "app/message.h"
#include "app/services.h"
#include "base/text.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/icon_picker_dlg_win.h"
#include "res/resource.h"
#include "shell/module_tips_win.h"
#include "systools/disks/disk_info_module.h"
#include "systools/disks/disk_operations.h"
#include "systools/disks/disk_properties_dlg_win.h"
#include "systools/disks/disk_system_win.h"
#include "systools/disks/disk_texts.h"


namespace {
const FormText kTexts[] = {
    {IDC_DISK_LABEL_TEXT, IDS_DISK_VOLUME_LABEL}, {IDC_DISK_CHANGE, IDS_DISK_CHANGE},
    {IDC_DISK_RESET, IDS_DISK_RESET},             {IDC_DISK_APPLY, IDS_DISK_APPLY},
    {IDC_DISK_ICON_GROUP, IDS_DISK_VOLUME_ICON},
};
const FormText kTips[] = {{IDC_DISK_CHANGE, IDS_TIP_CHANGE_DISK_ICON},
                          {IDC_DISK_RESET, IDS_TIP_RESET_DISK_ICON},
                          {IDC_DISK_APPLY, IDS_TIP_APPLY}};
const ControlAnchor kAnchors[] = {
    {IDC_DISK_LIST, StretchRight | StretchDown},
    {IDC_DISK_LABEL_TEXT, FollowBottom},
    {IDC_DISK_LABEL, FollowBottom},
    {IDC_DISK_ICON_GROUP, FollowBottom},
    {IDC_DISK_ICON, FollowBottom},
    {IDC_DISK_CHANGE, FollowBottom},
    {IDC_DISK_RESET, FollowBottom},
    {IDC_DISK_APPLY, FollowBottom | FollowRight},
};
const ModuleForm kForm{IDD_DISKINFO, kTexts, kAnchors, IDS_DISKINFO_REPORT_TITLE};

enum Column { ColumnName, ColumnLetter, ColumnType, ColumnSize, ColumnFree, ColumnSerial, ColumnMaxName, ColumnFileSystem };

std::string EditText(HWND edit)
{
    const int length = GetWindowTextLengthA(edit);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(edit, text.data(), length + 1)));
    return text;
}
} // namespace

std::unique_ptr<CQnFormView> CreateDiskInfoView() { return std::make_unique<CDiskInfo>(); }

CDiskInfo::CDiskInfo() : CDiskInfo(std::make_unique<CWin32DiskSystem>()) {}

CDiskInfo::CDiskInfo(std::unique_ptr<IDiskSystem> system) : CQnFormView(kForm), m_system(std::move(system)) {}

CDiskInfo::~CDiskInfo()
{
    m_apply.Detach();
    SetReportList(nullptr);
    if (m_smallIcons)
        ImageList_Destroy(m_smallIcons);
    if (m_shownIcon)
        DestroyIcon(m_shownIcon);
}

bool CDiskInfo::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_list.ReplaceControl(m_hwnd, IDC_DISK_LIST);
    m_list.AddColumns({{IDS_COLUMN_NAME, 100},
                       {IDS_DISK_LETTER, 50},
                       {IDS_COLUMN_TYPE, 100},
                       {IDS_COLUMN_SIZE, 100, SortKind::Number, AlignRight},
                       {IDS_DISK_FREE_SPACE, 100, SortKind::Number, AlignRight},
                       {IDS_DISK_SERIAL, 100, SortKind::Number},
                       {IDS_DISK_MAX_NAME, 100, SortKind::Number, AlignRight},
                       {IDS_DISK_FILE_SYSTEM, 100}});
    m_smallIcons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 4);
    m_list.SetImageList(m_smallIcons, LVSIL_SMALL);
    SetReportList(&m_list);
    m_apply.Attach(m_hwnd, IDC_DISK_APPLY, [this] { return WriteChanges(); });
    m_apply.Watch(IDC_DISK_LABEL);
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    return false;
}

void CDiskInfo::InitModule() { Fill(); }

void CDiskInfo::Fill()
{
    m_filling = true;
    m_shownRecord = -1;
    m_list.DeleteAllRows();
    ImageList_RemoveAll(m_smallIcons);
    m_records = EnumerateDisks(*m_system, LoadText(IDS_UNKNOWN));
    for (size_t i = 0; i < m_records.size(); ++i) {
        const DiskRecord& record = m_records[i];
        const int row = m_list.InsertRow(m_list.RowCount(), record.volumeLabel, AddSmallIcon(record.rootPath, {}),
                                         static_cast<intptr_t>(i));
        FillRowCells(row, record);
    }
    m_list.FinishFill();
    m_filling = false;
    if (m_list.RowCount() > 0)
        ListView_SetItemState(m_list.Hwnd(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    OnSelectionChanged();
}

void CDiskInfo::FillRowCells(int row, const DiskRecord& record)
{
    m_list.SetCellText(row, ColumnName, record.volumeLabel);
    m_list.SetCellText(row, ColumnLetter, record.rootPath.substr(0, 2));
    m_list.SetCellText(row, ColumnType, record.typeName);
    m_list.SetCellText(row, ColumnSize, MegabyteText(record.totalBytes));
    m_list.SetCellText(row, ColumnFree, MegabyteText(record.freeBytes));
    m_list.SetCellText(row, ColumnSerial, std::to_string(record.volumeSerial));
    m_list.SetCellText(row, ColumnMaxName, std::to_string(record.maxComponentLength));
    m_list.SetCellText(row, ColumnFileSystem, record.fileSystemName);
    // The whole 64-bit sizes decide the order (drives above 4 GB sort right).
    const auto key = [](uint64_t value) { return static_cast<int64_t>(std::min<uint64_t>(value, INT64_MAX)); };
    m_list.SetCellSortKey(row, ColumnSize, key(record.totalBytes));
    m_list.SetCellSortKey(row, ColumnFree, key(record.freeBytes));
    m_list.SetCellSortKey(row, ColumnSerial, record.volumeSerial);
    m_list.SetCellSortKey(row, ColumnMaxName, record.maxComponentLength);
}

int CDiskInfo::AddSmallIcon(const std::string& root, const std::string& location)
{
    HICON icon = nullptr;
    if (!location.empty())
        icon = LoadIconPairFromLocation(location, true);
    if (!icon) {
        SHFILEINFOA info{};
        if (SHGetFileInfoA(root.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
            icon = info.hIcon;
    }
    if (!icon)
        return -1;
    const int image = ImageList_AddIcon(m_smallIcons, icon);
    DestroyIcon(icon);
    return image;
}

const DiskRecord* CDiskInfo::RecordOfRow(int row) const
{
    if (row < 0 || row >= m_list.RowCount())
        return nullptr;
    const auto index = static_cast<size_t>(m_list.RowData(row));
    return index < m_records.size() ? &m_records[index] : nullptr;
}

int CDiskInfo::SelectedRow() const
{
    const std::vector<int> rows = m_list.SelectedRowsOfControl();
    return rows.empty() ? -1 : rows.front();
}

DiskRecord* CDiskInfo::SelectedRecord() { return const_cast<DiskRecord*>(RecordOfRow(SelectedRow())); }

void CDiskInfo::OnSelectionChanged()
{
    const DiskRecord* record = SelectedRecord();
    const int index = record ? static_cast<int>(record - m_records.data()) : -1;
    m_status.ShowObjectCount(m_list.RowCount(), record ? 1 : 0);
    if (index == m_shownRecord)
        return;
    m_shownRecord = index;
    {
        CApplyTracker::Quiet quiet(m_apply);
        SetDlgItemTextA(m_hwnd, IDC_DISK_LABEL, record ? record->volumeLabel.c_str() : "");
    }
    m_pendingIcon = record ? record->iconLocation : std::string();
    m_iconChanged = false;
    ShowPendingIcon();
    m_apply.Reset();
    // CD-ROM drives, and drives that cannot be made current (no medium), stay read-only.
    const bool writable = record && record->driveType != kDiskCdRom && m_system->CanMakeCurrent(record->rootPath);
    for (int id : {IDC_DISK_LABEL, IDC_DISK_CHANGE, IDC_DISK_RESET})
        EnableWindow(Item(id), writable);
    EnableWindow(Item(IDC_DISK_APPLY), FALSE);
}

void CDiskInfo::ShowPendingIcon()
{
    HICON icon = m_pendingIcon.empty() ? nullptr : LoadIconFromLocation(m_pendingIcon);
    if (!icon && m_shownRecord >= 0) {
        SHFILEINFOA info{};
        if (SHGetFileInfoA(m_records[m_shownRecord].rootPath.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON))
            icon = info.hIcon;
    }
    SendMessageA(Item(IDC_DISK_ICON), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (m_shownIcon)
        DestroyIcon(m_shownIcon);
    m_shownIcon = icon;
}

void CDiskInfo::SetPendingIcon(const std::string& location)
{
    if (!SelectedRecord())
        return;
    m_pendingIcon = location;
    m_iconChanged = true;
    ShowPendingIcon();
    m_apply.MarkChanged();
}

void CDiskInfo::ResetIcon()
{
    const DiskRecord* record = SelectedRecord();
    if (!record)
        return;
    const std::string location = DefaultDriveIcon(record->driveType, m_system->SystemFolder());
    if (!location.empty())
        SetPendingIcon(location);
}

void CDiskInfo::ChangeIcon()
{
    std::string location = m_pendingIcon;
    if (IconPickerDlg(m_hwnd, location))
        SetPendingIcon(location);
}

bool CDiskInfo::ApplyChanges() { return m_apply.Apply(); }

bool CDiskInfo::WriteChanges()
{
    DiskRecord* record = SelectedRecord();
    if (!record)
        return false;
    const std::string label = EditText(Item(IDC_DISK_LABEL));
    // Only what the user changed is written: the label as shown stays as it is on the volume.
    std::optional<std::string> newLabel;
    if (label != record->volumeLabel)
        newLabel = label;
    const std::string icon = m_iconChanged ? m_pendingIcon : std::string();
    if (!WriteVolumeLabelAndIcon(*m_system, record->rootPath, newLabel, icon)) {
        ShowMessage(FormatText(IDS_DISK_WRITE_FAILED, record->rootPath));
        return false;
    }
    if (newLabel)
        record->volumeLabel = DisplayedVolumeLabel(VolumeLabelToWrite(*newLabel));
    if (m_iconChanged)
        record->iconLocation = m_pendingIcon;
    m_iconChanged = false;
    const int row = SelectedRow();
    if (!icon.empty()) {
        HICON small = LoadIconPairFromLocation(icon, true);
        const int image = m_list.RowImage(row);
        if (small && image >= 0)
            ImageList_ReplaceIcon(m_smallIcons, image, small);
        else if (small)
            m_list.SetRowImage(row, ImageList_AddIcon(m_smallIcons, small));
        DestroyIconIfAny(small);
    }
    m_list.SetCellText(row, ColumnName, record->volumeLabel);
    InvalidateRect(m_list.Hwnd(), nullptr, FALSE);
    {
        CApplyTracker::Quiet quiet(m_apply);
        SetDlgItemTextA(m_hwnd, IDC_DISK_LABEL, record->volumeLabel.c_str());
    }
    return true;
}

void CDiskInfo::OpenSelected()
{
    if (const DiskRecord* record = SelectedRecord())
        OpenWithShell(record->rootPath);
}

void CDiskInfo::BrowseSelected()
{
    if (const DiskRecord* record = SelectedRecord())
        RunProgram(true, SW_SHOWNORMAL, WindowsFolder() + "\\explorer.exe", "/n,/e,/root," + record->rootPath, {});
}

void CDiskInfo::ShowPropertiesOfSelected()
{
    if (const DiskRecord* record = SelectedRecord())
        ShowDiskProperties(*record, m_hwnd);
}

bool CDiskInfo::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case ID_DISK_OPEN: OpenSelected(); return true;
    case ID_DISK_BROWSE: BrowseSelected(); return true;
    case ID_DISK_PROPERTIES: ShowPropertiesOfSelected(); return true;
    case IDC_DISK_CHANGE:
        if (code == BN_CLICKED)
            ChangeIcon();
        return true;
    case IDC_DISK_RESET:
        if (code == BN_CLICKED)
            ResetIcon();
        return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CDiskInfo::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_ITEMCHANGED:
        if (!m_filling)
            OnSelectionChanged();
        return 0;
    case NM_DBLCLK: OpenSelected(); return 0;
    case NM_RCLICK: m_list.ShowContextMenu(IDR_DISKINFO_MENU, m_hwnd, true); return 0;
    default: return std::nullopt;
    }
}

std::optional<LRESULT> CDiskInfo::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the control itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == IDC_DISK_LIST)
            return OnListNotify(header);
        return std::nullopt;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
