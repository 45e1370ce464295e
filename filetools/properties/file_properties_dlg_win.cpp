#include "filetools/properties/file_properties_dlg_win.h"

#include <iterator>

#include "app/paths.h"
#include "base/text.h"
#include "filetools/filetypes/file_type_icon_cache.h"
#include "filetools/properties/attribute_boxes.h"
#include "filetools/properties/file_record.h"
#include "filetools/properties/file_type_name.h"
#include "filetools/properties/size_text.h"
#include "res/resource.h"
#include "shell/module_form_win.h"

namespace {
const char* const kTimeFormat = "%A, %B %d, %Y %I:%M:%S %p";

const FormText kTexts[] = {
    {IDC_PROPERTIES_TYPE_LABEL, IDS_PROPERTIES_TYPE},
    {IDC_PROPERTIES_LOCATION_LABEL, IDS_PROPERTIES_LOCATION},
    {IDC_PROPERTIES_SIZE_LABEL, IDS_PROPERTIES_SIZE},
    {IDC_PROPERTIES_DOS_NAME_LABEL, IDS_PROPERTIES_DOS_NAME},
    {IDC_PROPERTIES_CREATED_LABEL, IDS_PROPERTIES_CREATED},
    {IDC_PROPERTIES_MODIFIED_LABEL, IDS_PROPERTIES_MODIFIED},
    {IDC_PROPERTIES_ACCESSED_LABEL, IDS_PROPERTIES_ACCESSED},
    {IDC_PROPERTIES_ATTRIBUTES_LABEL, IDS_PROPERTIES_ATTRIBUTES},
    {IDC_PROPERTIES_READ_ONLY, IDS_PROPERTIES_READ_ONLY},
    {IDC_PROPERTIES_HIDDEN, IDS_PROPERTIES_HIDDEN},
    {IDC_PROPERTIES_ARCHIVE, IDS_PROPERTIES_ARCHIVE},
    {IDC_PROPERTIES_SYSTEM, IDS_PROPERTIES_SYSTEM},
    {IDC_PROPERTIES_COMPRESSED, IDS_PROPERTIES_COMPRESSED},
    {IDC_PROPERTIES_APPLY, IDS_PROPERTIES_APPLY},
    {IDCANCEL, IDS_PROPERTIES_CLOSE},
};

// The file name part of the short path ("PROGRA~1.TXT"); the long name when there is no short one.
std::string MsDosName(const std::string& path)
{
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return PathNamePart(path);
    return PathNamePart(shortPath);
}
} // namespace

CFilePropertiesDlg::CFilePropertiesDlg(std::string path) : CDialog(IDD_FILE_PROPERTIES), m_path(std::move(path)) {}

bool CFilePropertiesDlg::OnInitDialog()
{
    SetWindowTextA(m_hwnd, FormatText(IDS_PROPERTIES_TITLE, PathNamePart(m_path)).c_str());
    ApplyControlTexts(m_hwnd, kTexts);
    // The cache keeps the icon for the whole run; the static only shows it.
    if (HICON icon = static_cast<HICON>(TheFileTypeIconCache().IconFor(m_path, false)))
        SendMessageA(Item(IDC_PROPERTIES_ICON), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    Refresh();
    return true;
}

void CFilePropertiesDlg::SetText(int id, const std::string& text) { SetDlgItemTextA(m_hwnd, id, text.c_str()); }

bool CFilePropertiesDlg::Checked(int id) const { return IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED; }

void CFilePropertiesDlg::Refresh()
{
    m_facts = FileFacts{};
    const bool known = ReadFileFacts(m_path, m_facts);
    SetText(IDC_PROPERTIES_NAME, PathNamePart(m_path));
    SetText(IDC_PROPERTIES_TYPE, GetFileTypeName(m_path));
    SetText(IDC_PROPERTIES_LOCATION, PathFolderPart(m_path));
    SetText(IDC_PROPERTIES_SIZE, known ? LongSizeText(m_facts.size) : std::string("?"));
    SetText(IDC_PROPERTIES_DOS_NAME, MsDosName(m_path));
    SetText(IDC_PROPERTIES_CREATED, FormatLocalStamp(m_facts.created, kTimeFormat));
    SetText(IDC_PROPERTIES_MODIFIED, FormatLocalStamp(m_facts.lastWrite, kTimeFormat));
    SetText(IDC_PROPERTIES_ACCESSED, FormatLocalStamp(m_facts.lastAccess, kTimeFormat));
    const AttributeBoxes boxes = BoxesOf(m_facts.attributes);
    CheckDlgButton(m_hwnd, IDC_PROPERTIES_READ_ONLY, boxes.readOnly ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_PROPERTIES_HIDDEN, boxes.hidden ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_PROPERTIES_ARCHIVE, boxes.archive ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_PROPERTIES_SYSTEM, boxes.system ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_PROPERTIES_COMPRESSED,
                   (m_facts.attributes & FILE_ATTRIBUTE_COMPRESSED) ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(Item(IDC_PROPERTIES_APPLY), FALSE);
}

void CFilePropertiesDlg::Apply()
{
    AttributeBoxes boxes;
    boxes.readOnly = Checked(IDC_PROPERTIES_READ_ONLY);
    boxes.hidden = Checked(IDC_PROPERTIES_HIDDEN);
    boxes.archive = Checked(IDC_PROPERTIES_ARCHIVE);
    // The system attribute is taken from the file as it is now, never from the box.
    FileFacts now;
    const uint32_t current = ReadFileFacts(m_path, now) ? now.attributes : m_facts.attributes;
    const DWORD attributes = AppliedAttributes(boxes, current);
    // A refusal leaves the file as it was; the refreshed fields show its real state.
    SetFileAttributesA(m_path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
    // Keep the keyboard on the dialog: the Apply button is about to be disabled.
    if (GetFocus() == Item(IDC_PROPERTIES_APPLY))
        SendMessageA(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL)), TRUE);
    Refresh();
}

bool CFilePropertiesDlg::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_PROPERTIES_READ_ONLY:
    case IDC_PROPERTIES_HIDDEN:
    case IDC_PROPERTIES_ARCHIVE:
        if (code == BN_CLICKED)
            EnableWindow(Item(IDC_PROPERTIES_APPLY), TRUE);
        return true;
    case IDC_PROPERTIES_APPLY:
        if (code == BN_CLICKED)
            Apply();
        return true;
    default:
        return CDialog::OnCommand(id, code);
    }
}

void ShowFileProperties(const std::string& path, HWND parent)
{
    CFilePropertiesDlg dialog(path);
    dialog.DoModal(parent ? parent : GetActiveWindow());
}
