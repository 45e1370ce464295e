#include "filetools/finder/finder_view_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <set>

#include "app/message.h"
#include "app/paths.h"
#include "base/text.h"
#include "filetools/finder/combo_history_win.h"
#include "filetools/finder/finder_module.h"
#include "filetools/finder/finder_result_win.h"
#include "filetools/finder/finder_run.h"
#include "filetools/finder/finder_settings.h"
#include "filetools/finder/search_drives.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/control_helpers_win.h"
#include "shell/folder_browser_win.h"
#include "shell/module_tips_win.h"
#include "shell/system_image_list_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_FINDER_PATTERNS_LABEL, IDS_FINDER_LABEL_PATTERNS},
    {IDC_FINDER_FOLDER_LABEL, IDS_FINDER_LABEL_FOLDER},
    {IDC_FINDER_SELECT_FOLDER, IDS_FINDER_SELECT_FOLDER},
    {IDC_FINDER_INCLUDE_SUBFOLDERS, IDS_FINDER_INCLUDE_SUBFOLDERS},
    {IDC_FINDER_ADD_TO_LIST, IDS_FINDER_ADD_TO_LIST},
    {IDC_FINDER_SEARCH_IN_LIST, IDS_FINDER_SEARCH_IN_LIST},
    {IDC_FINDER_START, IDS_FINDER_START},
};
// The boxes keep their place; the tabs widen and the list grows with the view.
const ControlAnchor kAnchors[] = {
    {IDC_FINDER_START, FollowRight},
    {IDC_FINDER_ANIMATION, FollowRight},
    {IDC_FINDER_TABS, StretchRight},
    {IDC_FINDER_LIST, StretchRight | StretchDown},
};
const FormText kTips[] = {{IDC_FINDER_ADD_TO_LIST, IDS_TIP_FINDER_ADD_TO_LIST},
                          {IDC_FINDER_SELECT_FOLDER, IDS_TIP_FINDER_SELECT_FOLDER},
                          {IDC_FINDER_SEARCH_IN_LIST, IDS_TIP_FINDER_SEARCH_IN_LIST}};
const ModuleForm kForm{IDD_FINDER, kTexts, kAnchors, IDS_FINDER_REPORT_TITLE};

constexpr LPARAM kAllDisksData = -1, kFolderData = 0;
constexpr intptr_t kNoRecord = -1;
constexpr int kDropDownHeight = 200;
constexpr int kMaxPaintRounds = 64; // a window that never validates cannot hold the search
constexpr DWORD kPaintInterval = 100; // ms between paint rounds while a search adds rows

HICON SmallShellIcon(const std::string& path)
{
    SHFILEINFOA info{};
    return SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) ? info.hIcon : nullptr;
}

bool IsChecked(HWND form, int id) { return IsDlgButtonChecked(form, id) == BST_CHECKED; }
void SetChecked(HWND form, int id, bool on) { CheckDlgButton(form, id, on ? BST_CHECKED : BST_UNCHECKED); }
} // namespace

std::unique_ptr<CQnFormView> CreateFinderView() { return std::make_unique<CQnSearch>(); }

CQnSearch::CQnSearch() : CQnFormView(kForm) {}

CQnSearch::~CQnSearch()
{
    SetReportList(nullptr);
    for (HICON icon : m_icons)
        DestroyIcon(icon);
}

bool CQnSearch::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    ReplaceFolderBox();
    m_list.ReplaceControl(m_hwnd, IDC_FINDER_LIST);
    AttachSystemSmallImages(m_list.Hwnd());
    SetResultColumns();
    SetReportList(&m_list);
    m_tabs.Attach(Item(IDC_FINDER_TABS));
    m_tabs.AddTab(LoadText(IDS_FINDER_TAB_RESULTS), -1);
    m_tabs.AddTab(LoadText(IDS_FINDER_TAB_FOLDERS), -1);
    m_tabs.SetSelectionCallback([this](int tab) { ShowTab(tab); });
    FillFolderBox();
    LoadComboHistory(kFinderSection, Item(IDC_FINDER_PATTERNS));
    ReadSettingsIntoControls();
    Animate_Open(Item(IDC_FINDER_ANIMATION), MAKEINTRESOURCEA(IDR_AVI_BUSY));
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    return false;
}

void CQnSearch::InitModule()
{
    // The results of an earlier visit are still there: their drives get their tabs again.
    for (const FileRecord& result : FinderResults::Shared())
        NoteDrive(DriveLetterOf(result.path));
    const bool any = !FinderResults::Shared().IsEmpty();
    EnableWindow(Item(IDC_FINDER_SEARCH_IN_LIST), any);
    ShowTab(kAllResultsTab);
}

// The template's combo box marks the place of the folder box, an icon combo box of its own.
void CQnSearch::ReplaceFolderBox()
{
    HWND placeholder = Item(IDC_FINDER_FOLDER);
    RECT rect{};
    GetWindowRect(placeholder, &rect);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    rect.bottom = rect.top + kDropDownHeight;
    HWND previous = GetWindow(placeholder, GW_HWNDPREV);
    DestroyWindow(placeholder);
    if (m_folders.CreateControl(m_hwnd, IDC_FINDER_FOLDER, rect, CBS_DROPDOWN | CBS_AUTOHSCROLL))
        SetWindowPos(m_folders.Hwnd(), previous ? previous : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CQnSearch::FillFolderBox()
{
    const std::vector<char> letters = SearchedDriveLetters(ListLogicalDrives());
    m_allDisksText = AllDisksEntryText(LoadText(IDS_FINDER_ALL_DISKS), letters);
    m_folders.AddItem(m_allDisksText, kAllDisksData);
    for (char letter : letters) {
        const std::string root = DriveRoot(letter);
        HICON icon = SmallShellIcon(root);
        if (icon)
            m_icons.push_back(icon);
        m_folders.AddItem(root, kFolderData, icon);
    }
}

void CQnSearch::ReadSettingsIntoControls()
{
    const FinderSettings settings = ReadFinderSettings();
    SetChecked(m_hwnd, IDC_FINDER_INCLUDE_SUBFOLDERS, settings.includeSubFolders);
    SetChecked(m_hwnd, IDC_FINDER_ADD_TO_LIST, settings.addToList);
    SetChecked(m_hwnd, IDC_FINDER_SEARCH_IN_LIST, settings.searchInList);
    int at = m_folders.FindItem(settings.lastFolder);
    if (at < 0)
        at = m_folders.AddItem(settings.lastFolder, kFolderData);
    m_folders.Select(at);
}

bool CQnSearch::AllDisksChosen() const
{
    const int at = m_folders.Selection();
    return at >= 0 && m_folders.ItemData(at) == kAllDisksData && m_folders.CurrentText() == m_folders.ItemText(at);
}

void CQnSearch::SetResultColumns()
{
    m_list.RemoveAllColumns();
    m_list.AddColumns({{IDS_COLUMN_NAME, 160},
                       {IDS_COLUMN_FOLDER, 220},
                       {IDS_COLUMN_SIZE, 70, SortKind::Number, AlignRight},
                       {IDS_COLUMN_TYPE, 120},
                       {IDS_COLUMN_MODIFIED, 120, SortKind::DateTime}});
}

void CQnSearch::OnStartClicked()
{
    if (m_running) {
        m_running = false; // the search ends at its next found file
        return;
    }
    RunSearch();
}

void CQnSearch::RunSearch()
{
    HWND patterns = Item(IDC_FINDER_PATTERNS);
    const std::string patternText = WindowText(patterns);
    const auto old = SendMessageA(patterns, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(patternText.c_str()));
    if (old != CB_ERR)
        SendMessageA(patterns, CB_DELETESTRING, static_cast<WPARAM>(old), 0);
    SendMessageA(patterns, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(patternText.c_str()));
    SetWindowTextA(patterns, patternText.c_str());
    SaveComboHistory(kFinderSection, patterns);

    FinderRequest request;
    request.search.patterns = patternText;
    request.search.startFolder = m_folders.CurrentText();
    request.search.includeSubFolders = IsChecked(m_hwnd, IDC_FINDER_INCLUDE_SUBFOLDERS);
    request.search.allDisks = AllDisksChosen();
    request.addToList = IsChecked(m_hwnd, IDC_FINDER_ADD_TO_LIST);
    request.searchInList = IsChecked(m_hwnd, IDC_FINDER_SEARCH_IN_LIST);
    WriteFinderSettings({request.search.includeSubFolders, request.addToList, request.searchInList,
                         request.search.startFolder});

    HWND animation = Item(IDC_FINDER_ANIMATION);
    Animate_Play(animation, 0, -1, -1);
    if (m_shownTab != kAllResultsTab) // new rows join the list of all results
        ShowTab(kAllResultsTab);
    std::vector<std::string> listed;
    for (const FileRecord& result : FinderResults::Shared())
        listed.push_back(result.path);
    FinderHooks hooks;
    hooks.clearResults = [this] { ClearResults(); };
    hooks.pumpMessages = [this] { PumpWhileRunning(); };
    hooks.addResult = [this](const std::string& path) { AddResult(path); };
    hooks.isRunning = [this] { return m_running; };
    hooks.tellTooMany = [] { ShowMessage(LoadText(IDS_FINDER_TOO_MANY), MessageButtons::Ok); };
    {
        CBusyScope busy;
        SetDlgItemTextA(m_hwnd, IDC_FINDER_START, LoadText(IDS_FINDER_STOP).c_str());
        m_running = true;
        m_lastPaint = GetTickCount();
        m_builder.Forget(); // type names and icons may have changed since the last search
        m_list.Hold();
        RunFinderSearch(request, listed, hooks, busy.Progress());
        m_list.Release();
        m_running = false;
    }
    Animate_Stop(animation);
    SetDlgItemTextA(m_hwnd, IDC_FINDER_START, LoadText(IDS_FINDER_START).c_str());
    const bool any = !FinderResults::Shared().IsEmpty();
    if (!any)
        SetChecked(m_hwnd, IDC_FINDER_SEARCH_IN_LIST, false);
    EnableWindow(Item(IDC_FINDER_SEARCH_IN_LIST), any);
    m_list.SortRows(0, true);
    SetReportList(&m_list);
    AfterListChange();
}

// While the engine runs, the window repaints and the Start/Stop button works; all other input
// waits until the search has ended. The new rows reach the list and the window repaints ten
// times a second, which a user cannot tell from every match, at a fraction of the cost.
void CQnSearch::PumpWhileRunning()
{
    MSG message;
    const DWORD now = GetTickCount();
    if (now - m_lastPaint >= kPaintInterval) {
        m_lastPaint = now;
        m_list.Flush();
        for (int round = 0;
             round < kMaxPaintRounds && PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++round)
            DispatchMessageA(&message);
    }
    HWND start = Item(IDC_FINDER_START);
    while (PeekMessageA(&message, start, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void CQnSearch::AddResult(const std::string& path)
{
    const size_t record = FinderResults::Shared().Append(m_builder.Build(path));
    AppendRow(record);
    NoteDrive(DriveLetterOf(path));
}

void CQnSearch::AppendRow(size_t record)
{
    const FileRecord& result = FinderResults::Shared()[record];
    const int row = m_list.InsertRow(m_list.RowCount(), {}, -1, static_cast<intptr_t>(record));
    FillCells(row, result);
}

void CQnSearch::FillCells(int row, const FileRecord& result)
{
    m_list.SetCellText(row, 0, PathNamePart(result.path));
    m_list.SetRowImage(row, result.iconIndex);
    m_list.SetCellText(row, 1, result.folder);
    m_list.SetCellText(row, 2, result.sizeText);
    m_list.SetCellText(row, 3, result.typeName);
    m_list.SetCellText(row, 4, result.modifiedText);
    m_list.SetCellSortKey(row, 2, static_cast<int64_t>(result.byteSize));
    m_list.SetCellSortKey(row, 4, static_cast<int64_t>(result.modified));
}

// A drive's tab goes in at its letter's place among the drive tabs, after the two fixed ones.
void CQnSearch::NoteDrive(char letter)
{
    if (letter < 'A' || letter > 'Z' || m_drives[letter - 'A'].inserted)
        return;
    DriveTab& drive = m_drives[letter - 'A'];
    drive.label = DriveRoot(letter);
    if (drive.image < 0) {
        if (HICON icon = SmallShellIcon(drive.label)) {
            drive.image = m_tabs.AddIcon(icon);
            DestroyIcon(icon);
        }
    }
    int position = kFoldersTab + 1;
    for (int before = 0; before < letter - 'A'; ++before)
        position += m_drives[before].inserted ? 1 : 0;
    m_tabs.InsertTab(position, drive.label, drive.image);
    drive.inserted = true;
}

void CQnSearch::ClearResults()
{
    FinderResults::Shared().Clear();
    m_list.DeleteAllRows();
    for (int tab = m_tabs.Count() - 1; tab > kFoldersTab; --tab)
        m_tabs.RemoveTab(tab);
    for (DriveTab& drive : m_drives)
        drive.inserted = false;
    m_tabs.Select(kAllResultsTab);
    m_shownTab = kAllResultsTab;
}

char CQnSearch::DriveOfTab(int tab) const
{
    return tab > kFoldersTab ? DriveLetterOf(m_tabs.TabText(tab)) : 0;
}

void CQnSearch::ShowTab(int tab)
{
    if (tab < 0 || tab >= m_tabs.Count())
        return;
    m_shownTab = tab;
    if (m_tabs.Selection() != tab)
        m_tabs.Select(tab);
    if (tab == kFoldersTab)
        ListFolders();
    else
        ListResults(DriveOfTab(tab));
    AfterListChange();
}

// The results whose file still exists, all of them or those on one drive.
void CQnSearch::ListResults(char drive)
{
    m_list.DeleteAllRows();
    SetResultColumns();
    const FinderResults& results = FinderResults::Shared();
    for (size_t i = 0; i < results.Count(); ++i)
        if ((drive == 0 || IsOnDrive(results[i].path, drive)) && FileStillExists(results[i].path))
            AppendRow(i);
    m_list.SortRows(0, true);
}

// Each folder that holds results, once, sorted.
void CQnSearch::ListFolders()
{
    m_list.DeleteAllRows();
    m_list.RemoveAllColumns();
    m_list.AddColumns({{IDS_COLUMN_FOLDER, 400}});
    auto noCase = [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; };
    std::set<std::string, decltype(noCase)> folders(noCase);
    for (const FileRecord& result : FinderResults::Shared())
        folders.insert(result.folder);
    for (const std::string& folder : folders)
        m_list.InsertRow(m_list.RowCount(), folder, -1, kNoRecord);
}

void CQnSearch::AfterListChange()
{
    m_status.ShowObjectCount(m_list.RowCount(), static_cast<int>(m_list.SelectedRowsOfControl().size()));
}

const FileRecord* CQnSearch::ResultOfRow(int row) const
{
    const intptr_t data = m_list.RowData(row);
    if (m_shownTab == kFoldersTab || row < 0 || row >= m_list.RowCount() || data < 0)
        return nullptr;
    return FinderResults::Shared().At(static_cast<size_t>(data));
}

void CQnSearch::OnSelectFolder()
{
    const std::string folder =
        BrowseForFolder(GetAncestor(m_hwnd, GA_ROOT), LoadText(IDS_FINDER_FOLDER_TITLE));
    if (folder.empty())
        return;
    int at = m_folders.FindItem(folder);
    if (at < 0)
        at = m_folders.AddItem(folder, kFolderData);
    m_folders.Select(at);
}

// The explorer's file actions on the selected results; paths come from the records, and a
// renamed or changed file gets its record refilled. The folders tab has no files to act on.
void CQnSearch::RunFileAction(int action)
{
    if (m_running || m_shownTab == kFoldersTab)
        return;
    DoFileAction(*this, m_list, {}, action, 0, this);
    AfterListChange();
}

std::string CQnSearch::PathOfRow(int row) const
{
    const FileRecord* record = ResultOfRow(row);
    return record ? record->path : std::string();
}

void CQnSearch::RefreshRow(int row, const std::string& path)
{
    const intptr_t data = m_list.RowData(row);
    FileRecord* record = data < 0 ? nullptr : FinderResults::Shared().At(static_cast<size_t>(data));
    if (!record)
        return;
    m_builder.Refill(*record, path);
    FillCells(row, *record);
}

bool CQnSearch::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_FINDER_START: if (code == BN_CLICKED) OnStartClicked(); return true;
    case IDC_FINDER_SELECT_FOLDER: if (code == BN_CLICKED && !m_running) OnSelectFolder(); return true;
    case ID_FILE_ACTION_OPEN: RunFileAction(kFileActionOpen); return true;
    case ID_FILE_ACTION_COPY: RunFileAction(kFileActionCopy); return true;
    case ID_FILE_ACTION_MOVE: RunFileAction(kFileActionMove); return true;
    case ID_FILE_ACTION_DELETE: RunFileAction(kFileActionDelete); return true;
    case ID_FILE_ACTION_RENAME: RunFileAction(kFileActionRename); return true;
    case ID_FILE_ACTION_PROPERTIES: RunFileAction(kFileActionProperties); return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CQnSearch::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED: AfterListChange(); return 0;
    case NM_DBLCLK: RunFileAction(kFileActionOpen); return 0;
    case LVN_BEGINDRAG: RunFileAction(kFileActionDrag); return 0;
    case NM_RCLICK:
        if (m_shownTab != kFoldersTab)
            m_list.ShowContextMenu(IDR_FINDER_LIST_MENU, m_hwnd, true);
        return 0;
    default: return std::nullopt;
    }
}

std::optional<LRESULT> CQnSearch::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the list control itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        return header->idFrom == IDC_FINDER_LIST ? OnListNotify(header) : std::nullopt;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
