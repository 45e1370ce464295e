#include "systools/colours/colour_view_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "app/message.h"
#include "app/services.h"
#include "app/settings.h"
#include "base/text.h"
#include "res/resource.h"
#include "shell/control_helpers_win.h"
#include "shell/module_tips_win.h"
#include "systools/colours/colours_module.h"
#include "systools/colours/swatch_images_win.h"
#include "systools/colours/theme_apply_win.h"
#include "systools/colours/wait_cursor_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_WINCOLORS_COLOR_GROUP, IDS_WINCOLORS_COLOR_GROUP},
    {IDC_WINCOLORS_RED_LABEL, IDS_WINCOLORS_RED},
    {IDC_WINCOLORS_GREEN_LABEL, IDS_WINCOLORS_GREEN},
    {IDC_WINCOLORS_BLUE_LABEL, IDS_WINCOLORS_BLUE},
    {IDC_WINCOLORS_WYSIWYG, IDS_WINCOLORS_WYSIWYG},
    {IDC_WINCOLORS_APPLY, IDS_WINCOLORS_APPLY},
    {IDC_WINCOLORS_RESET, IDS_WINCOLORS_RESET},
    {IDC_WINCOLORS_DEFAULT, IDS_WINCOLORS_DEFAULT},
    {IDC_WINCOLORS_THEME_GROUP, IDS_WINCOLORS_THEME_GROUP},
    {IDC_WINCOLORS_THEME_FILE_LABEL, IDS_WINCOLORS_THEME_FILE},
    {IDC_WINCOLORS_THEME_BROWSE, IDS_BUTTON_BROWSE},
    {IDC_WINCOLORS_THEME_APPLY, IDS_WINCOLORS_APPLY},
    {IDC_WINCOLORS_DEFAULT_THEME, IDS_WINCOLORS_DEFAULT_THEME},
};
// The list grows with the view; the two groups on the right follow its right edge.
const ControlAnchor kAnchors[] = {
    {IDC_WINCOLORS_LIST, StretchRight | StretchDown},
    {IDC_WINCOLORS_COLOR_GROUP, FollowRight},     {IDC_WINCOLORS_NAME, FollowRight},
    {IDC_WINCOLORS_PREVIEW, FollowRight},         {IDC_WINCOLORS_RED_LABEL, FollowRight},
    {IDC_WINCOLORS_RED, FollowRight},             {IDC_WINCOLORS_RED_SPIN, FollowRight},
    {IDC_WINCOLORS_GREEN_LABEL, FollowRight},     {IDC_WINCOLORS_GREEN, FollowRight},
    {IDC_WINCOLORS_GREEN_SPIN, FollowRight},      {IDC_WINCOLORS_BLUE_LABEL, FollowRight},
    {IDC_WINCOLORS_BLUE, FollowRight},            {IDC_WINCOLORS_BLUE_SPIN, FollowRight},
    {IDC_WINCOLORS_WYSIWYG, FollowRight},         {IDC_WINCOLORS_APPLY, FollowRight},
    {IDC_WINCOLORS_RESET, FollowRight},           {IDC_WINCOLORS_DEFAULT, FollowRight},
    {IDC_WINCOLORS_THEME_GROUP, FollowRight},     {IDC_WINCOLORS_THEME_FILE_LABEL, FollowRight},
    {IDC_WINCOLORS_THEME_FILE, FollowRight},      {IDC_WINCOLORS_THEME_BROWSE, FollowRight},
    {IDC_WINCOLORS_THEME_APPLY, FollowRight},     {IDC_WINCOLORS_DEFAULT_THEME, FollowRight},
};
const FormText kTips[] = {
    {IDC_WINCOLORS_WYSIWYG, IDS_TIP_WYSIWYG},
    {IDC_WINCOLORS_RESET, IDS_TIP_RESET},
    {IDC_WINCOLORS_DEFAULT, IDS_TIP_DEFAULT},
    {IDC_WINCOLORS_APPLY, IDS_TIP_APPLY},
    {IDC_WINCOLORS_THEME_APPLY, IDS_WINCOLORS_TIP_THEME_APPLY},
    {IDC_WINCOLORS_THEME_BROWSE, IDS_WINCOLORS_TIP_THEME_BROWSE},
    {IDC_WINCOLORS_DEFAULT_THEME, IDS_WINCOLORS_TIP_DEFAULT_THEME},
};
const ModuleForm kForm{IDD_WINCOLORS, kTexts, kAnchors, IDS_WINCOLORS_REPORT_TITLE};

const char kSection[] = "WinColors";
const char kThemeDirectory[] = "ThemeDirectory";
const char kThemeExtension[] = "THM";
constexpr int kPartLimit = 255;
constexpr int kNameColumnWidth = 130;
const int kPartEdits[] = {IDC_WINCOLORS_RED, IDC_WINCOLORS_GREEN, IDC_WINCOLORS_BLUE};
const int kPartSpins[] = {IDC_WINCOLORS_RED_SPIN, IDC_WINCOLORS_GREEN_SPIN, IDC_WINCOLORS_BLUE_SPIN};

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
} // namespace

std::unique_ptr<CQnFormView> CreateWinColorView() { return std::make_unique<CWinColor>(); }

CWinColor::CWinColor() : CQnFormView(kForm) {}

CWinColor::~CWinColor()
{
    UndoPreview();
    SetReportList(nullptr);
    if (m_swatches)
        ImageList_Destroy(m_swatches);
}

bool CWinColor::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_startColours = ReadTableColours();
    m_currentColours = m_startColours;
    m_list.ReplaceControl(m_hwnd, IDC_WINCOLORS_LIST);
    SetReportList(&m_list);
    // The template's static marks the place of the colour button.
    HWND placeholder = Item(IDC_WINCOLORS_PREVIEW);
    RECT rect{};
    GetWindowRect(placeholder, &rect);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    HWND previous = GetWindow(placeholder, GW_HWNDPREV);
    DestroyWindow(placeholder);
    if (m_preview.CreateControl(m_hwnd, IDC_WINCOLORS_PREVIEW, rect))
        SetWindowPos(m_preview.Hwnd(), previous ? previous : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_preview.SetChangeCallback([](void* view) { static_cast<CWinColor*>(view)->OnPreviewButtonChanged(); }, this);
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    return false;
}

void CWinColor::InitModule()
{
    // The name column is wide enough for the longest key name beside its swatch.
    m_list.AddColumns({{IDS_COLUMN_NAME, kNameColumnWidth}, {IDS_COLUMN_DESCRIPTION, 100}});
    for (int spin : kPartSpins)
        SendMessageA(Item(spin), UDM_SETRANGE32, 0, kPartLimit);
    EnableWindow(Item(IDC_WINCOLORS_THEME_APPLY), FALSE);
    Refresh(0);
    // The description column takes what the name leaves of the list's width.
    RECT client{};
    GetClientRect(m_list.Hwnd(), &client);
    const int rest = client.right - m_list.ColumnPixelWidth(0) - GetSystemMetrics(SM_CXVSCROLL);
    if (rest > 100)
        ListView_SetColumnWidth(m_list.Hwnd(), 1, rest);
}

void CWinColor::OnDestroyed()
{
    UndoPreview(); // a preview never outlives the view
    CQnFormView::OnDestroyed();
}

void CWinColor::Refresh(int row)
{
    CWaitCursor wait;
    m_currentColours = ReadTableColours();
    HIMAGELIST old = m_swatches;
    m_swatches = CreateSwatchImages(m_currentColours);
    m_list.SetImageList(m_swatches, LVSIL_SMALL);
    if (old)
        ImageList_Destroy(old);
    m_list.DeleteAllRows();
    const auto table = SystemColourTable();
    for (int i = 0; i < kSystemColourRows; ++i) {
        m_list.InsertRow(i, table[i].keyName, i, i);
        m_list.SetCellText(i, 1, LoadText(table[i].descriptionId));
    }
    m_list.FinishFill();
    m_shownRow = -1;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_list.Hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    SendMessageA(m_list.Hwnd(), LVM_ENSUREVISIBLE, row, FALSE);
    OnSelectionChanged();
    m_status.ShowObjectCount(kSystemColourRows, 1);
}

int CWinColor::SelectedTableRow() const
{
    const std::vector<int> rows = m_list.SelectedRowsOfControl();
    if (rows.empty())
        return -1;
    const intptr_t row = m_list.RowData(rows.front());
    return row >= 0 && row < kSystemColourRows ? static_cast<int>(row) : -1;
}

bool CWinColor::WysiwygOn() const { return IsDlgButtonChecked(m_hwnd, IDC_WINCOLORS_WYSIWYG) == BST_CHECKED; }

void CWinColor::OnSelectionChanged()
{
    const int row = SelectedTableRow();
    if (row < 0 || row == m_shownRow)
        return;
    UndoPreview();
    ShowRow(row);
}

void CWinColor::ShowRow(int row)
{
    m_shownRow = row;
    const ColourRef colour = m_currentColours[row];
    {
        m_filling = true;
        SetDlgItemInt(m_hwnd, IDC_WINCOLORS_RED, RedOf(colour), FALSE);
        SetDlgItemInt(m_hwnd, IDC_WINCOLORS_GREEN, GreenOf(colour), FALSE);
        SetDlgItemInt(m_hwnd, IDC_WINCOLORS_BLUE, BlueOf(colour), FALSE);
        m_filling = false;
    }
    SetDlgItemTextA(m_hwnd, IDC_WINCOLORS_NAME, SystemColourTable()[row].keyName);
    m_preview.SetColor(colour);
    EnableWindow(Item(IDC_WINCOLORS_APPLY), FALSE);
    UpdateResetButton();
}

void CWinColor::UpdateResetButton()
{
    EnableWindow(Item(IDC_WINCOLORS_RESET), m_currentColours != m_startColours || m_previewedRow >= 0);
}

ColourParts CWinColor::EditedParts() const
{
    return ParseColourParts(WindowText(Item(IDC_WINCOLORS_RED)), WindowText(Item(IDC_WINCOLORS_GREEN)),
                            WindowText(Item(IDC_WINCOLORS_BLUE)));
}

void CWinColor::OnPartsEdited()
{
    if (m_filling || m_shownRow < 0)
        return;
    m_filling = true;
    EnableWindow(Item(IDC_WINCOLORS_APPLY), TRUE);
    const ColourRef preview = PreviewColour(EditedParts());
    m_preview.SetColor(preview);
    if (WysiwygOn()) {
        SetSystemColours({{SystemColourTable()[m_shownRow].index, preview}});
        m_previewedRow = m_shownRow;
    }
    UpdateResetButton();
    m_filling = false;
}

void CWinColor::OnWysiwygToggled()
{
    if (m_shownRow < 0)
        return;
    if (!WysiwygOn()) {
        UndoPreview();
        UpdateResetButton();
        return;
    }
    if (IsWindowEnabled(Item(IDC_WINCOLORS_APPLY))) { // an edit is pending: show it at once
        SetSystemColours({{SystemColourTable()[m_shownRow].index, PreviewColour(EditedParts())}});
        m_previewedRow = m_shownRow;
    }
}

void CWinColor::UndoPreview()
{
    if (m_previewedRow < 0)
        return;
    const int row = m_previewedRow;
    m_previewedRow = -1;
    SetSystemColours({{SystemColourTable()[row].index, m_currentColours[row]}});
}

void CWinColor::OnApply()
{
    if (m_shownRow < 0)
        return;
    const int row = m_shownRow;
    const ColourRef colour = AppliedColour(EditedParts());
    m_previewedRow = -1;
    SetSystemColours({{SystemColourTable()[row].index, colour}});
    m_currentColours[row] = colour;
    Refresh(row);
    EnableWindow(Item(IDC_WINCOLORS_DEFAULT), TRUE);
}

void CWinColor::SetAllColours(const TableColours& colours)
{
    m_previewedRow = -1;
    SetTableColours(colours);
    Refresh(std::max(m_shownRow, 0));
}

void CWinColor::OnThemeApply()
{
    const std::string path = WindowText(Item(IDC_WINCOLORS_THEME_FILE));
    if (!IsReadableFile(path)) {
        ShowMessage(FormatText(IDS_FILE_NOT_FOUND, path));
    } else {
        UndoPreview();
        if (!ApplyThemeFile(path))
            ShowMessage(FormatText(IDS_WINCOLORS_THEME_FAILED, path));
        Refresh(std::max(m_shownRow, 0));
    }
    EnableWindow(Item(IDC_WINCOLORS_THEME_APPLY), FALSE);
}

void CWinColor::OnThemeBrowse()
{
    CQnSettings settings;
    const std::string folder = settings.ReadString(kSection, kThemeDirectory);
    std::string filter = LoadText(IDS_FILTER_THEMES);
    std::replace(filter.begin(), filter.end(), '|', '\0');
    const std::string title = LoadText(IDS_LOAD_TITLE);
    std::vector<char> file(MAX_PATH + 1, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hwnd;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = IsExistingFolder(folder) ? folder.c_str() : nullptr;
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = kThemeExtension;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&ofn))
        return;
    const std::string path = file.data();
    SetDlgItemTextA(m_hwnd, IDC_WINCOLORS_THEME_FILE, path.c_str());
    EnableWindow(Item(IDC_WINCOLORS_THEME_APPLY), TRUE);
    settings.WriteString(kSection, kThemeDirectory, FolderOf(path));
}

void CWinColor::OnDefaultTheme()
{
    if (ShowMessage(LoadText(IDS_THEME_RESTORE_CONFIRM), MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    UndoPreview();
    if (!ApplyDefaultTheme(SystemTempPath()))
        ShowMessage(LoadText(IDS_THEME_RESTORE_FAILED));
    Refresh(std::max(m_shownRow, 0));
}

void CWinColor::OnPreviewButtonChanged()
{
    const ColourRef colour = m_preview.Color();
    SetDlgItemInt(m_hwnd, IDC_WINCOLORS_RED, RedOf(colour), FALSE);
    SetDlgItemInt(m_hwnd, IDC_WINCOLORS_GREEN, GreenOf(colour), FALSE);
    SetDlgItemInt(m_hwnd, IDC_WINCOLORS_BLUE, BlueOf(colour), FALSE);
}

bool CWinColor::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_WINCOLORS_RED:
    case IDC_WINCOLORS_GREEN:
    case IDC_WINCOLORS_BLUE:
        if (code == EN_CHANGE)
            OnPartsEdited();
        return true;
    case IDC_WINCOLORS_THEME_FILE:
        if (code == EN_CHANGE)
            EnableWindow(Item(IDC_WINCOLORS_THEME_APPLY), GetWindowTextLengthA(Item(IDC_WINCOLORS_THEME_FILE)) > 0);
        return true;
    case IDC_WINCOLORS_WYSIWYG: OnWysiwygToggled(); return true;
    case IDC_WINCOLORS_APPLY: OnApply(); return true;
    case IDC_WINCOLORS_RESET: SetAllColours(m_startColours); return true;
    case IDC_WINCOLORS_DEFAULT: {
        TableColours defaults{};
        for (int row = 0; row < kSystemColourRows; ++row)
            defaults[row] = SystemColourTable()[row].defaultColour;
        SetAllColours(defaults);
        return true;
    }
    case IDC_WINCOLORS_THEME_APPLY: OnThemeApply(); return true;
    case IDC_WINCOLORS_THEME_BROWSE: OnThemeBrowse(); return true;
    case IDC_WINCOLORS_DEFAULT_THEME: OnDefaultTheme(); return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CWinColor::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the control itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == IDC_WINCOLORS_LIST &&
            (header->code == LVN_ITEMCHANGED || header->code == LVN_ODSTATECHANGED)) {
            OnSelectionChanged();
            return 0;
        }
        return std::nullopt;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
