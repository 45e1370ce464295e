#include "systools/shortcuts/shortcuts_view_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>

#include "app/folder_listing.h"
#include "app/message.h"
#include "app/paths.h"
#include "base/text.h"
#include "filetools/common/shell_context_menu_win.h"
#include "filetools/properties/file_properties_dlg_win.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/context_menu_win.h"
#include "shell/dropped_files_win.h"
#include "shell/module_tips_win.h"
#include "shell/picture_open/open_file_names.h"
#include "shell/system_image_list_win.h"
#include "systools/shortcuts/shortcut_ops_win.h"
#include "systools/shortcuts/shortcuts_module.h"
#include "systools/uninstall/shortcut_entry_dlg_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_SHORTCUTS_NAME_LABEL, IDS_SHORTCUTS_LABEL_NAME},
    {IDC_SHORTCUTS_COMMAND_LABEL, IDS_SHORTCUTS_LABEL_COMMAND},
    {IDC_SHORTCUTS_BROWSE, IDS_BUTTON_BROWSE},
    {IDC_SHORTCUTS_ADD, IDS_SHORTCUTS_ADD},
    {IDC_SHORTCUTS_DELETE, IDS_SHORTCUTS_DELETE},
    {IDC_SHORTCUTS_APPLY, IDS_SHORTCUTS_APPLY},
};
// The list grows with the view; the fields and buttons below it keep to the bottom edge, the
// edits widen.
const ControlAnchor kAnchors[] = {
    {IDC_SHORTCUTS_TABS, StretchRight},
    {IDC_SHORTCUTS_LIST, StretchRight | StretchDown},
    {IDC_SHORTCUTS_ICON, FollowBottom},
    {IDC_SHORTCUTS_NAME_LABEL, FollowBottom},
    {IDC_SHORTCUTS_COMMAND_LABEL, FollowBottom},
    {IDC_SHORTCUTS_NAME, FollowBottom | StretchRight},
    {IDC_SHORTCUTS_COMMAND, FollowBottom | StretchRight},
    {IDC_SHORTCUTS_BROWSE, FollowBottom | FollowRight},
    {IDC_SHORTCUTS_ADD, FollowBottom | FollowRight},
    {IDC_SHORTCUTS_DELETE, FollowBottom | FollowRight},
    {IDC_SHORTCUTS_APPLY, FollowBottom | FollowRight},
};
const FormText kTips[] = {{IDC_SHORTCUTS_BROWSE, IDS_TIP_SELECT_APPLICATION},
                          {IDC_SHORTCUTS_ADD, IDS_TIP_ADD_SHORTCUT},
                          {IDC_SHORTCUTS_DELETE, IDS_TIP_DELETE_SHORTCUT},
                          {IDC_SHORTCUTS_APPLY, IDS_TIP_APPLY}};
const ModuleForm kForm{IDD_SHORTCUTS, kTexts, kAnchors, IDS_SHORTCUTS_REPORT_TITLE};

constexpr COLORREF kTabKey = RGB(255, 0, 255);
constexpr int kNameColumnWidth = 160;
constexpr int kTargetColumnWidth = 400;

UINT TabBitmapOf(PlaceImage image)
{
    switch (image) {
    case PlaceImage::QuickLaunch: return IDB_SHORTCUTS_TAB_QUICK_LAUNCH;
    case PlaceImage::Startup: return IDB_SHORTCUTS_TAB_STARTUP;
    default: return IDB_SHORTCUTS_TAB_DESKTOP;
    }
}

bool IsLinkFile(const FolderEntry& entry)
{
    const std::string& name = entry.name;
    return !entry.IsFolder() && name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".lnk") == 0;
}

std::string TextOf(HWND control)
{
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    const int got = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

std::string RetrievingText(const std::string& name, int position, int count)
{
    return FillConversions(LoadText(IDS_SHORTCUTS_RETRIEVING), {name, std::to_string(position), std::to_string(count)});
}
} // namespace

std::unique_ptr<CQnFormView> CreateShortcutsView() { return std::make_unique<CQnRun>(); }

CQnRun::CQnRun() : CQnFormView(kForm) {}

CQnRun::~CQnRun()
{
    SetReportList(nullptr);
    if (m_largeIcon)
        DestroyIcon(m_largeIcon);
}

bool CQnRun::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_list.ReplaceControl(m_hwnd, IDC_SHORTCUTS_LIST);
    AttachSystemSmallImages(m_list.Hwnd());
    m_list.AddColumns({{IDS_SHORTCUTS_COLUMN_NAME, kNameColumnWidth}, {IDS_SHORTCUTS_COLUMN_TARGET, kTargetColumnWidth}});
    SetReportList(&m_list);

    m_places = AvailableShortcutPlaces();
    m_tabs.Attach(Item(IDC_SHORTCUTS_TABS));
    for (const PlaceFolder& place : m_places)
        m_tabs.AddTab(place.place->nameId, TabBitmapOf(place.place->image), kTabKey);
    m_tabs.SetSelectionCallback([this](int tab) { ShowPlace(tab); });

    m_apply.Attach(m_hwnd, IDC_SHORTCUTS_APPLY, [this] { return ApplyChanges(); });
    m_apply.Watch({IDC_SHORTCUTS_NAME, IDC_SHORTCUTS_COMMAND});
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    DragAcceptFiles(m_hwnd, TRUE);
    return false;
}

void CQnRun::InitModule() { ShowPlace(0); }

const std::string& CQnRun::PlaceFolderPath() const
{
    static const std::string none;
    return m_place >= 0 && m_place < PlaceCount() ? m_places[static_cast<size_t>(m_place)].folder : none;
}

void CQnRun::ShowPlace(int tab)
{
    if (tab < 0 || tab >= PlaceCount()) {
        m_place = -1;
        Fill();
        return;
    }
    if (m_tabs.Selection() != tab)
        m_tabs.Select(tab);
    m_place = tab;
    SetReportTitle(FormatText(IDS_SHORTCUTS_REPORT_TITLE, LoadText(m_places[static_cast<size_t>(tab)].place->nameId)));
    Fill();
}

void CQnRun::Fill(const std::string& linkPath)
{
    m_filling = true;
    m_list.DeleteAllRows();
    m_records.Clear();
    const std::string folder = PlaceFolderPath();
    if (!folder.empty()) {
        HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        std::vector<FolderEntry> links;
        for (FolderEntry& entry : ListFolder(folder).entries)
            if (IsLinkFile(entry))
                links.push_back(std::move(entry));
        std::sort(links.begin(), links.end(),
                  [](const FolderEntry& a, const FolderEntry& b) { return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0; });
        CBusyScope busy;
        busy.SetRange(static_cast<int64_t>(links.size()));
        const int count = static_cast<int>(links.size());
        for (int i = 0; i < count; ++i) {
            const std::string path = JoinPath(folder, links[static_cast<size_t>(i)].name);
            const std::string text = RetrievingText(links[static_cast<size_t>(i)].name, i + 1, count);
            m_status.Show(text);
            busy.Step(i, text);
            auto entry = std::make_unique<Entry>(Entry{path, ReadShortcut(path).target});
            const std::string target = entry->target;
            const int row = m_list.InsertRow(m_list.RowCount(), ShortcutNameOfLink(links[static_cast<size_t>(i)].name),
                                             SystemSmallIconIndex(path), m_records.Add(std::move(entry)));
            m_list.SetCellText(row, 1, target);
        }
        SetCursor(previous);
    }
    m_list.FinishFill();
    m_filling = false;

    int selected = m_list.RowCount() > 0 ? 0 : -1;
    for (int row = 0; row < m_list.RowCount() && !linkPath.empty(); ++row)
        if (const Entry* entry = EntryOfRow(row); entry && SamePathIgnoringCase(entry->linkPath, linkPath))
            selected = row;
    if (selected >= 0) {
        ListView_SetItemState(m_list.Hwnd(), selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(m_list.Hwnd(), selected, FALSE);
    }
    OnSelectionChanged();
}

const CQnRun::Entry* CQnRun::EntryOfRow(int row) const
{
    return row >= 0 && row < m_list.RowCount() ? CRowRecords<Entry>::FromData(m_list.RowData(row)) : nullptr;
}

const CQnRun::Entry* CQnRun::SelectedEntry() const
{
    const std::vector<int> rows = m_list.SelectedRowsOfControl();
    const int focused = ListView_GetNextItem(m_list.Hwnd(), -1, LVNI_FOCUSED | LVNI_SELECTED);
    return EntryOfRow(focused >= 0 ? focused : rows.empty() ? -1 : rows.front());
}

std::vector<std::string> CQnRun::SelectedLinkPaths() const
{
    std::vector<std::string> paths;
    for (int row : m_list.SelectedRowsOfControl())
        if (const Entry* entry = EntryOfRow(row))
            paths.push_back(entry->linkPath);
    return paths;
}

void CQnRun::OnSelectionChanged()
{
    if (m_filling)
        return;
    const Entry* entry = SelectedEntry();
    {
        CApplyTracker::Quiet quiet(m_apply);
        SetDlgItemTextA(m_hwnd, IDC_SHORTCUTS_NAME, entry ? ShortcutNameOfLink(PathNamePart(entry->linkPath)).c_str() : "");
        SetDlgItemTextA(m_hwnd, IDC_SHORTCUTS_COMMAND, entry ? entry->target.c_str() : "");
    }
    m_apply.Reset();
    for (int id : {IDC_SHORTCUTS_NAME, IDC_SHORTCUTS_COMMAND, IDC_SHORTCUTS_BROWSE, IDC_SHORTCUTS_DELETE})
        EnableWindow(Item(id), entry != nullptr);
    ShowLargeIcon(entry ? entry->linkPath : std::string());
    UpdateStatus();
}

void CQnRun::ShowLargeIcon(const std::string& path)
{
    HICON icon = nullptr;
    SHFILEINFOA info{};
    if (!path.empty() && SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON))
        icon = info.hIcon;
    SendDlgItemMessageA(m_hwnd, IDC_SHORTCUTS_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (m_largeIcon)
        DestroyIcon(m_largeIcon);
    m_largeIcon = icon;
    ShowWindow(Item(IDC_SHORTCUTS_ICON), icon ? SW_SHOW : SW_HIDE);
}

void CQnRun::UpdateStatus()
{
    m_status.ShowObjectCount(m_list.RowCount(), static_cast<int>(m_list.SelectedRowsOfControl().size()));
}

bool CQnRun::ConfirmReplace(const std::string& name) const
{
    return ShowMessage(FormatText(IDS_SHORTCUTS_REPLACE, name), MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool CQnRun::ReportChange(ShortcutChange change, const std::string& name, const std::string& command,
                          const std::string& linkPath) const
{
    switch (change) {
    case ShortcutChange::Applied:
    case ShortcutChange::Unchanged: return true;
    case ShortcutChange::InvalidName: ShowMessage(FormatText(IDS_SHORTCUTS_BAD_NAME, name)); return false;
    case ShortcutChange::InvalidCommand: ShowMessage(FormatText(IDS_SHORTCUTS_BAD_COMMAND, command)); return false;
    case ShortcutChange::NotWritten:
        ShowMessage(FormatText(IDS_SHORTCUTS_NOT_WRITTEN, JoinPath(PlaceFolderPath(), LinkFileName(name))));
        return false;
    case ShortcutChange::OldKept: ShowMessage(FormatText(IDS_SHORTCUTS_OLD_KEPT, linkPath)); return false;
    case ShortcutChange::Declined: return false;
    }
    return false;
}

bool CQnRun::ApplyChanges()
{
    const Entry* entry = SelectedEntry();
    if (!entry)
        return false;
    ApplyRequest request;
    request.oldLinkPath = entry->linkPath;
    request.newName = TextOf(Item(IDC_SHORTCUTS_NAME));
    request.command = TextOf(Item(IDC_SHORTCUTS_COMMAND));
    request.commandChanged = request.command != entry->target;
    const std::string oldLink = entry->linkPath;
    std::string standing;
    const ShortcutChange change = ApplyShortcutChange(
        request, m_files, [this](const std::string& name) { return ConfirmReplace(name); }, &standing);
    const bool applied = ReportChange(change, request.newName, request.command, oldLink);
    if (change == ShortcutChange::InvalidName || change == ShortcutChange::InvalidCommand ||
        change == ShortcutChange::Declined)
        return false; // the typed texts stay for the user to mend
    Fill(standing);
    return applied;
}

void CQnRun::AddShortcutFromDialog()
{
    const std::string folder = PlaceFolderPath();
    if (folder.empty())
        return;
    std::string name, command;
    if (!ShortcutEntryDlg(m_hwnd, name, command, true))
        return;
    std::string added;
    const ShortcutChange change = AddShortcut(
        folder, name, command, m_files, [this](const std::string& n) { return ConfirmReplace(n); }, &added);
    ReportChange(change, name, command, added);
    Fill(added);
}

void CQnRun::AddDroppedFiles(const std::vector<std::string>& files)
{
    const std::string folder = PlaceFolderPath();
    if (folder.empty() || files.empty())
        return;
    const std::vector<DroppedLink> links =
        PlanDroppedLinks(files, folder, [this](const std::string& path) { return m_files.Exists(path); });
    std::string last;
    {
        CBusyScope busy;
        busy.SetRange(static_cast<int64_t>(links.size()));
        int64_t done = 0;
        for (const DroppedLink& link : links) {
            const std::string text = FormatText(IDS_SHORTCUTS_ADDING, PathNamePart(WithoutTrailingSeparator(link.file)));
            m_status.Show(text);
            busy.Step(done++, text);
            if (link.linkPath.empty())
                continue;
            const std::string target = WithoutTrailingSeparator(link.file);
            const ShortcutCommand command{WithoutTrailingSeparator(PathFolderPart(target)), PathNamePart(target), {}};
            if (m_files.CreateLink(link.linkPath, command))
                last = link.linkPath;
            else
                ShowMessage(FormatText(IDS_SHORTCUTS_NOT_WRITTEN, link.linkPath));
        }
    }
    Fill(last);
}

void CQnRun::DeleteSelected()
{
    std::vector<SelectedLink> selected;
    for (int row : m_list.SelectedRowsOfControl())
        if (const Entry* entry = EntryOfRow(row))
            selected.push_back({row, entry->linkPath});
    const unsigned question = RemoveQuestionId(selected.size());
    if (!question || ShowMessage(LoadText(question), MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    std::vector<int> removed;
    {
        CBusyScope busy;
        busy.SetRange(static_cast<int64_t>(selected.size()));
        int64_t done = 0;
        removed = RemoveSelectedLinks(selected, m_files, [&](const std::string& path) {
            const std::string text = FormatText(IDS_SHORTCUTS_REMOVING, path);
            m_status.Show(text);
            busy.Step(done++, text);
        });
    }
    for (const SelectedLink& link : selected)
        if (std::find(removed.begin(), removed.end(), link.row) == removed.end()) {
            ShowMessage(FormatText(IDS_SHORTCUTS_NOT_REMOVED, link.linkPath));
            break;
        }
    Fill();
}

void CQnRun::RunSelected()
{
    const Entry* entry = SelectedEntry();
    if (!entry)
        return;
    if (m_files.Exists(entry->target))
        RunShortcut(entry->linkPath);
    else // a link whose target is gone would start nothing without a word
        ShowMessage(FormatText(IDS_FILE_NOT_FOUND, entry->target));
}

void CQnRun::BrowseForProgram()
{
    char path[MAX_PATH] = "";
    const std::string title = LoadText(IDS_SELECT_TITLE);
    const std::string filter = OpenDialogFilter(LoadText(IDS_FILTER_PROGRAMS));
    const std::string current = TextOf(Item(IDC_SHORTCUTS_COMMAND));
    const std::string folder = WithoutTrailingSeparator(PathFolderPart(current));
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_hwnd;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = "EXE";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameA(&dialog))
        return;
    SetDlgItemTextA(m_hwnd, IDC_SHORTCUTS_COMMAND, path);
    ShowLargeIcon(path);
    m_apply.MarkChanged();
}

void CQnRun::ShowShellMenu(LPARAM messagePoint)
{
    const std::vector<std::string> paths = SelectedLinkPaths();
    if (paths.empty())
        return;
    bool chosen = false;
    ShowShellContextMenu(m_hwnd, paths, ContextMenuPoint(m_list.Hwnd(), messagePoint), [&](const std::string& verb) {
        chosen = true;
        if (lstrcmpiA(verb.c_str(), "properties") == 0) {
            ShowFileProperties(paths.front(), m_hwnd);
            return true;
        }
        if (lstrcmpiA(verb.c_str(), "rename") == 0) { // renaming is the name edit's job here
            SetFocus(Item(IDC_SHORTCUTS_NAME));
            SendDlgItemMessageA(m_hwnd, IDC_SHORTCUTS_NAME, EM_SETSEL, 0, -1);
            chosen = false;
            return true;
        }
        return false;
    });
    if (chosen) // the shell may have deleted, renamed or changed links
        Fill(SelectedEntry() ? SelectedEntry()->linkPath : std::string());
}

bool CQnRun::OnCommand(WORD id, WORD code)
{
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_SHORTCUTS_BROWSE: BrowseForProgram(); return true;
        case IDC_SHORTCUTS_ADD: AddShortcutFromDialog(); return true;
        case IDC_SHORTCUTS_DELETE: DeleteSelected(); return true;
        default: break;
        }
    }
    return CQnFormView::OnCommand(id, code);
}

std::optional<LRESULT> CQnRun::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY: {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the list control itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom != IDC_SHORTCUTS_LIST)
            return std::nullopt;
        switch (header->code) {
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED: OnSelectionChanged(); return 0;
        case NM_DBLCLK:
            if (reinterpret_cast<NMITEMACTIVATE*>(header)->iItem >= 0) // not on the empty part of the list
                RunSelected();
            return 0;
        case LVN_KEYDOWN:
            if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
                DeleteSelected();
            return 0;
        default: return std::nullopt;
        }
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == m_list.Hwnd()) {
            ShowShellMenu(lParam);
            return 0;
        }
        break;
    case WM_DROPFILES: AddDroppedFiles(TakeDroppedFiles(reinterpret_cast<HDROP>(wParam))); return 0;
    default: break;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
