#include "systools/datatypes/new_type_dlg_win.h"

#include "app/paths.h"
#include "app/settings.h"
#include "base/text.h"
#include "filetools/filetypes/choose_file_win.h"
#include "filetools/filetypes/file_type_icon_cache.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/icon_location.h"
#include "filetools/filetypes/icon_picker_dlg_win.h"
#include "res/resource.h"
#include "shell/control_helpers_win.h"
#include "shell/module_form_win.h"
#include "systools/datatypes/data_type_table.h"

namespace {
const FormText kTexts[] = {
    {IDC_NEWTYPE_EXTENSION_LABEL, IDS_NEWTYPE_EXTENSION_LABEL},
    {IDC_NEWTYPE_NAME_LABEL, IDS_NEWTYPE_NAME_LABEL},
    {IDC_NEWTYPE_COMMAND_LABEL, IDS_NEWTYPE_COMMAND_LABEL},
    {IDC_NEWTYPE_SELECT_PROGRAM, IDS_BUTTON_BROWSE},
    {IDC_NEWTYPE_SELECT_ICON, IDS_NEWTYPE_SELECT_ICON},
    {IDC_NEWTYPE_OK, IDS_BUTTON_OK},
    {IDC_NEWTYPE_CANCEL, IDS_BUTTON_CANCEL},
};
constexpr int kEditLimit = 512;
constexpr const char* kExecutableFolderValue = "ExecutableOpenDir"; // in the product key itself

HICON IconOrFallback(const std::string& location)
{
    if (HICON icon = LoadIconFromLocation(location))
        return icon;
    return ShellIcon(0, false, IDI_DATA_TYPE);
}
} // namespace

CNewTypeDlg::CNewTypeDlg() : CDialog(IDD_NEW_DATATYPE) {}

CNewTypeDlg::~CNewTypeDlg() { DestroyIconIfAny(m_ownedIcon); }

bool CNewTypeDlg::OnInitDialog()
{
    SetWindowTextA(m_hwnd, LoadText(IDS_NEWTYPE_TITLE).c_str());
    ApplyControlTexts(m_hwnd, kTexts);
    SendMessageA(Item(IDC_NEWTYPE_EXTENSION), EM_LIMITTEXT, kEditLimit, 0);
    SendMessageA(Item(IDC_NEWTYPE_COMMAND), EM_LIMITTEXT, kEditLimit, 0);
    SendMessageA(Item(IDC_NEWTYPE_NAME), CB_LIMITTEXT, kEditLimit, 0);
    const DataTypeTable& table = DataTypeTable::Shared();
    HWND names = Item(IDC_NEWTYPE_NAME);
    for (int i = 0; i < table.Count(); ++i) {
        const DataTypeEntry& entry = *table.At(i);
        if (entry.removed)
            continue;
        const std::string text = FormatText(IDS_NEWTYPE_ITEM, entry.description, entry.extension);
        const auto at = SendMessageA(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (at >= 0)
            SendMessageA(names, CB_SETITEMDATA, static_cast<WPARAM>(at), i);
    }
    EnableWindow(Item(IDC_NEWTYPE_OK), FALSE);
    m_pendingIcon.clear();
    return true;
}

void CNewTypeDlg::ShowIcon(HICON icon, bool owned)
{
    SendDlgItemMessageA(m_hwnd, IDC_NEWTYPE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    DestroyIconIfAny(m_ownedIcon);
    m_ownedIcon = owned ? icon : nullptr;
}

void CNewTypeDlg::OnTypeChosen()
{
    HWND names = Item(IDC_NEWTYPE_NAME);
    const auto at = SendMessageA(names, CB_GETCURSEL, 0, 0);
    if (at < 0)
        return;
    const auto index = static_cast<int>(SendMessageA(names, CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
    const DataTypeEntry* entry = DataTypeTable::Shared().At(index);
    if (!entry)
        return;
    SetDlgItemTextA(m_hwnd, IDC_NEWTYPE_COMMAND, entry->command.c_str());
    ShowIcon(static_cast<HICON>(TheFileTypeIconCache().Icon(entry->iconIndex, false)), false);
    m_pendingIcon = entry->iconLocation;
}

void CNewTypeDlg::OnSelectIcon()
{
    if (IconPickerDlg(m_hwnd, m_pendingIcon))
        ShowIcon(IconOrFallback(m_pendingIcon), true);
}

void CNewTypeDlg::OnSelectProgram()
{
    CQnSettings settings;
    ChooseFileRequest request;
    request.filterTextId = IDS_FILTER_EXECUTABLES;
    request.title = LoadText(IDS_SELECT_TITLE);
    request.defaultExtension = "EXE";
    request.initialFolder = settings.ReadString("", kExecutableFolderValue);
    const std::string program = ChooseFileToOpen(m_hwnd, request);
    if (program.empty())
        return;
    settings.WriteString("", kExecutableFolderValue, FolderOf(program));
    if (m_pendingIcon.empty()) {
        m_pendingIcon = FormatIconLocation(program, 0);
        ShowIcon(IconOrFallback(m_pendingIcon), true);
    }
    SetDlgItemTextA(m_hwnd, IDC_NEWTYPE_COMMAND, (program + " %1").c_str());
}

void CNewTypeDlg::OnOK()
{
    const std::string extension = WindowText(Item(IDC_NEWTYPE_EXTENSION));
    if (extension.empty())
        return;
    CRegistryAccess registry;
    const auto result = DataTypeTable::Shared().SetDataType(registry, extension, WindowText(Item(IDC_NEWTYPE_NAME)),
                                                            WindowText(Item(IDC_NEWTYPE_COMMAND)), m_pendingIcon);
    if (result.index < 0) {
        // No key of its own ("name.", a separator) or refused by the registry.
        MessageBeep(MB_ICONEXCLAMATION);
        SetFocus(Item(IDC_NEWTYPE_EXTENSION));
        return;
    }
    m_result = result.index;
    EndDialog(1);
}

bool CNewTypeDlg::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_NEWTYPE_EXTENSION:
        if (code == EN_CHANGE)
            EnableWindow(Item(IDC_NEWTYPE_OK), !WindowText(Item(IDC_NEWTYPE_EXTENSION)).empty());
        return true;
    case IDC_NEWTYPE_NAME:
        if (code == CBN_SELCHANGE)
            OnTypeChosen();
        return true;
    case IDC_NEWTYPE_SELECT_ICON: if (code == BN_CLICKED) OnSelectIcon(); return true;
    case IDC_NEWTYPE_SELECT_PROGRAM: if (code == BN_CLICKED) OnSelectProgram(); return true;
    case IDC_NEWTYPE_OK: if (code == BN_CLICKED) OnOK(); return true;
    case IDC_NEWTYPE_CANCEL: if (code == BN_CLICKED) EndDialog(0); return true;
    default: return CDialog::OnCommand(id, code);
    }
}

int RunNewTypeDialog(HWND owner)
{
    CNewTypeDlg dialog;
    return dialog.DoModal(owner) == 1 ? dialog.ResultIndex() : -1;
}
