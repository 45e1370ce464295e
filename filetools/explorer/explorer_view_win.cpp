#include "filetools/explorer/explorer_view_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>

#include "app/folder_listing.h"
#include "app/settings.h"
#include "base/size_text.h"
#include "base/text.h"
#include "filetools/common/free_names.h"
#include "filetools/explorer/explorer_module.h"
#include "filetools/explorer/folder_summary.h"
#include "filetools/filetypes/desktop_objects_win.h"
#include "picture/picture.h"
#include "picturetools/browser/thumbnail_engine.h"
#include "res/resource.h"
#include "shell/capture_tabs_win.h"
#include "shell/module_host_win.h"

namespace {
const char kSection[] = "Explorer";
const char kCurrentPath[] = "CurrentPath";
const char kDefaultPath[] = "c:\\";
constexpr int kMargin = 4;
constexpr int kRowsBeforeRedrawStops = 30; // a long fill shows its first rows, then paints once
constexpr int kRowsPerPaint = 50;          // the report repaints while it fills

constexpr UINT_PTR kThumbnailTimer = 13;  // starts the thumbnail engine after the tab shows
constexpr UINT kThumbnailTimerDelay = 100; // ms
constexpr UINT kThumbnailNoteMessage = WM_APP + 13;

const ModuleForm kForm{IDD_EXPLORER, {}, {}, IDS_EXPLORER_REPORT_TITLE};

// Paint messages that wait, so that a long fill shows its progress.
void PumpPaintMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageA(&message);
}

HICON DefaultFileIcon()
{
    SHFILEINFOA info{};
    SHGetFileInfoA("file", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                   SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_LARGEICON);
    return info.hIcon;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WithoutTrailingSeparator(const std::string& folder)
{
    if (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        return folder.substr(0, folder.size() - 1);
    return folder;
}
} // namespace

struct CQnExplorer::ThumbnailNote {
    unsigned run = 0;
    int code = kBrowseStarted;
    int cellWidth = 0, cellHeight = 0;
    std::string path;
    HBITMAP bitmap = nullptr; // the cell picture, owned by the note until it is shown
    int width = 0, height = 0, bits = 0;
    ~ThumbnailNote()
    {
        if (bitmap)
            DeleteObject(bitmap);
    }
};

std::unique_ptr<CQnFormView> CreateExplorerView() { return std::make_unique<CQnExplorer>(); }

CQnExplorer::CQnExplorer()
    : CQnFormView(kForm), m_iconResolver([this](const PendingIcon& pending) { return ResolveFileIcon(pending); })
{
}

CQnExplorer::~CQnExplorer()
{
    m_iconResolver.Stop();
    ++m_thumbnailRun; // notes handled while waiting for the worker are dropped
    if (m_thumbnailsStarted)
        BrowseFolder(BrowseRequest{}); // stops the engine and waits for its worker
    SetReportList(nullptr);
    SetPicturePrinter(nullptr);
    if (m_iconImages)
        ImageList_Destroy(m_iconImages);
}

bool CQnExplorer::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    RECT client;
    GetClientRect(m_hwnd, &client);
    m_firstSize = {client.right, client.bottom};
    const RECT treeRect{kMargin, kMargin, client.right / 3, client.bottom - kMargin};
    m_tree.CreateControl(m_hwnd, IDC_EXPLORER_TREE, treeRect);
    for (const auto& [object, root] : {std::pair{DesktopObject::MyComputer, CDxDirTree::Root::Computer},
                                       std::pair{DesktopObject::NetworkNeighborhood, CDxDirTree::Root::Network}}) {
        const DesktopObjectLook look = DesktopObjectNameAndIcon(object);
        m_tree.SetRootLook(root, look.name, look.icon);
        if (look.icon)
            DestroyIcon(look.icon);
    }
    m_tree.SetSelectionCallback([this](const std::string& path) {
        m_folder = path.empty() ? std::string() : WithTrailingSeparator(path);
        OnFolderOrTabChanged();
    });

    m_tabs.Attach(Item(IDC_EXPLORER_TABS));
    m_tabs.AddTab(IDS_TAB_FILES, IDB_EXPLORER_TAB_FILES, RGB(255, 0, 255));
    m_tabs.AddTab(IDS_TAB_PICTURES, IDB_EXPLORER_TAB_PICTURES, RGB(255, 0, 255));
    m_tabs.AddTab(IDS_TAB_REPORT, IDB_EXPLORER_TAB_REPORT, RGB(255, 0, 255));
    m_tabs.AddTab(IDS_TAB_INFO, IDB_EXPLORER_TAB_INFO, RGB(0, 255, 0));
    m_tabs.SetSelectionCallback([this](int tab) { ShowTab(tab); });
    // The lists lie on the tab control's page: the tab control stays beneath them.
    SetWindowPos(m_tabs.Hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    m_icons.ReplaceControl(m_hwnd, IDC_EXPLORER_ICONS);
    m_icons.AddColumns({{IDS_COLUMN_NAME, 250}});
    m_report.ReplaceControl(m_hwnd, IDC_EXPLORER_REPORT);
    m_report.AddColumns({{IDS_COLUMN_NAME, 180},
                         {IDS_COLUMN_SIZE, 70, SortKind::Number, AlignRight},
                         {IDS_COLUMN_TYPE, 140},
                         {IDS_COLUMN_MODIFIED, 120, SortKind::DateTime},
                         {IDS_COLUMN_ATTRIBUTES, 70, SortKind::TextNoCase, AlignRight}});
    m_summary.ReplaceControl(m_hwnd, IDC_EXPLORER_SUMMARY);
    m_summary.AddColumns({{IDS_COLUMN_NAME, 120}, {IDS_COLUMN_VALUE, 300}});
    // A picture to print or preview goes through a list of its own, never shown.
    m_picturePrinter.CreateList(m_hwnd, IDC_EXPLORER_PICTURE, RECT{0, 0, 0, 0});
    ShowWindow(m_picturePrinter.Hwnd(), SW_HIDE);
    SetPicturePrinter(&m_picturePrinter);
    m_iconResolver.SetOwner(m_hwnd);
    LayOut(client.right, client.bottom);
    return false;
}

void CQnExplorer::InitModule()
{
    const std::string path = CQnSettings().ReadString(kSection, kCurrentPath, kDefaultPath);
    if (!ShowFolder(path))
        ShowFolder(kDefaultPath);
}

bool CQnExplorer::ShowFolder(const std::string& folder)
{
    if (!m_tree.SetPath(folder))
        return false;
    m_folder = WithTrailingSeparator(m_tree.Path());
    OnFolderOrTabChanged(); // nothing more when the tree's selection already showed it
    return true;
}

void CQnExplorer::ShowTab(int tab)
{
    if (tab < TabFiles || tab > TabInfo)
        return;
    if (m_tabs.Selection() != tab)
        m_tabs.Select(tab);
    m_tab = tab;
    OnFolderOrTabChanged();
}

CReportList* CQnExplorer::CurrentList()
{
    switch (m_tab) {
    case TabFiles:
    case TabPictures: return &m_icons;
    case TabReport: return &m_report;
    case TabInfo: return &m_summary;
    default: return nullptr;
    }
}

void CQnExplorer::OnFolderOrTabChanged()
{
    if (m_folder == m_shownFolder && m_tab == m_shownTab)
        return;
    m_iconResolver.Stop();
    KillTimer(m_hwnd, kThumbnailTimer);
    ++m_thumbnailRun; // a running engine's further notes are dropped
    ClearIconList();
    m_report.DeleteAllRows();
    m_records.Clear();
    m_summary.DeleteAllRows();
    ShowWindow(m_icons.Hwnd(), m_tab == TabFiles || m_tab == TabPictures ? SW_SHOW : SW_HIDE);
    ShowWindow(m_report.Hwnd(), m_tab == TabReport ? SW_SHOW : SW_HIDE);
    ShowWindow(m_summary.Hwnd(), m_tab == TabInfo ? SW_SHOW : SW_HIDE);
    SetReportTitle(FormatText(IDS_EXPLORER_REPORT_TITLE, m_folder));
    SetReportList(CurrentList());
    m_shownFolder = m_folder;
    m_shownTab = m_tab;
    if (IModuleHost* host = ModuleHost())
        host->SetWindowTitleExtra(&m_folder);
    if (!m_folder.empty()) {
        switch (m_tab) {
        case TabFiles: FillFiles(); break;
        case TabPictures: FillPictures(); break;
        case TabReport: FillReport(); break;
        case TabInfo: FillInfo(); break;
        default: break;
        }
        CQnSettings().WriteString(kSection, kCurrentPath, m_folder);
    }
    UpdateStatus();
}

void CQnExplorer::ClearIconList()
{
    m_icons.DeleteAllRows();
    m_icons.SetImageList(nullptr, LVSIL_NORMAL);
    if (m_iconImages) {
        ImageList_Destroy(m_iconImages);
        m_iconImages = nullptr;
    }
}

void CQnExplorer::FillFiles()
{
    FolderListing listing = ListFolder(m_folder);
    std::vector<FolderEntry> files = FilesOf(listing.entries);
    SortByName(files);
    m_iconImages = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, static_cast<int>(files.size()), 16);
    HICON fallback = DefaultFileIcon();
    m_icons.SetImageList(m_iconImages, LVSIL_NORMAL);
    ListView_SetIconSpacing(m_icons.Hwnd(), -1, -1); // the system's spacing of large icons
    for (size_t i = 0; i < files.size(); ++i) {
        if (static_cast<int>(i) == kRowsBeforeRedrawStops)
            SendMessageA(m_icons.Hwnd(), WM_SETREDRAW, FALSE, 0);
        const int image = fallback ? ImageList_AddIcon(m_iconImages, fallback) : -1;
        m_icons.InsertRow(static_cast<int>(i), files[i].name, image);
    }
    if (files.size() > kRowsBeforeRedrawStops)
        SendMessageA(m_icons.Hwnd(), WM_SETREDRAW, TRUE, 0);
    if (fallback)
        DestroyIcon(fallback);
    m_icons.FinishFill();
    InvalidateRect(m_icons.Hwnd(), nullptr, TRUE);
    for (size_t i = 0; i < files.size(); ++i)
        m_iconResolver.Add({static_cast<int>(i), m_folder + files[i].name});
}

bool CQnExplorer::ResolveFileIcon(const PendingIcon& pending)
{
    if (!m_iconImages)
        return false;
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(pending.path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON) || !info.hIcon)
        return true;
    ImageList_ReplaceIcon(m_iconImages, pending.image, info.hIcon);
    DestroyIcon(info.hIcon);
    // Rows are inserted in image order; a row removed since only moves later rows up.
    const int row = std::min(pending.image, m_icons.RowCount() - 1);
    if (row >= 0)
        ListView_RedrawItems(m_icons.Hwnd(), std::max(0, row - 1), row);
    return true;
}

void CQnExplorer::FillPictures()
{
    // The icon list was just cleared, so the engine runs on every visit; its cache file makes a
    // folder seen before quick.
    SetTimer(m_hwnd, kThumbnailTimer, kThumbnailTimerDelay, nullptr);
}

void CQnExplorer::StartThumbnails()
{
    KillTimer(m_hwnd, kThumbnailTimer);
    if (m_tab != TabPictures || m_folder.empty())
        return;
    const HWND view = m_hwnd;
    const unsigned run = ++m_thumbnailRun;
    BrowseRequest request;
    request.folder = m_folder;
    // On the engine's worker thread: the cell becomes a bitmap there, the view gets a note.
    request.receiver = [view, run](const BrowseEvent& event) {
        auto note = std::make_unique<ThumbnailNote>();
        note->run = run;
        note->code = event.code;
        note->cellWidth = event.cellWidth;
        note->cellHeight = event.cellHeight;
        note->path = event.path;
        note->width = event.width;
        note->height = event.height;
        note->bits = event.bits;
        if (event.code == kBrowseThumbnail && event.cell)
            note->bitmap = BitmapOfPicture(*event.cell);
        if (PostMessageA(view, kThumbnailNoteMessage, 0, reinterpret_cast<LPARAM>(note.get())))
            note.release(); // the view owns it now
    };
    m_thumbnailsStarted = true;
    BrowseFolder(request);
}

void CQnExplorer::OnThumbnailNote(ThumbnailNote& note)
{
    if (note.run != m_thumbnailRun || m_tab != TabPictures)
        return;
    switch (note.code) {
    case kBrowseStarted:
        ClearIconList();
        m_iconImages = ImageList_Create(std::max(1, note.cellWidth), std::max(1, note.cellHeight), ILC_COLOR24, 16, 16);
        m_icons.SetImageList(m_iconImages, LVSIL_NORMAL);
        // Room for the two caption lines under each cell.
        ListView_SetIconSpacing(m_icons.Hwnd(), note.cellWidth + 40, note.cellHeight + 40);
        break;
    case kBrowseThumbnail: {
        const int image = m_iconImages && note.bitmap ? ImageList_Add(m_iconImages, note.bitmap, nullptr) : -1;
        char caption[MAX_PATH + 64];
        std::snprintf(caption, sizeof caption, LoadText(IDS_THUMBNAIL_CAPTION).c_str(), note.width, note.height,
                      note.bits, LoadText(note.bits == 1 ? IDS_CAPTION_BIT : IDS_CAPTION_BITS).c_str(),
                      FileNamePart(note.path).c_str());
        const int row = m_icons.InsertRow(m_icons.RowCount(), caption, image);
        m_icons.FinishFill();
        SendMessageA(m_icons.Hwnd(), LVM_ENSUREVISIBLE, row, FALSE);
        break;
    }
    case kBrowseFinished:
        m_icons.FinishFill();
        ListView_Arrange(m_icons.Hwnd(), LVA_DEFAULT); // at the cells' spacing
        UpdateStatus();
        break;
    default: break;
    }
}

void CQnExplorer::FillReport()
{
    m_filling = true;
    const FolderListing listing = ListFolder(m_folder);
    int added = 0;
    for (const FolderEntry& entry : FilesOf(listing.entries)) {
        auto record = std::make_unique<FileRecord>();
        BuildFileRecord(*record, m_folder + entry.name, false);
        AddReportRow(std::move(record));
        if (++added % kRowsPerPaint == 0) {
            m_report.FinishFill();
            PumpPaintMessages();
        }
    }
    m_report.SortRows(0, true, [](const ReportRow& a, const ReportRow& b) {
        const std::string& pathA = CRowRecords<FileRecord>::FromData(a.data)->path;
        const std::string& pathB = CRowRecords<FileRecord>::FromData(b.data)->path;
        return lstrcmpiA(pathA.c_str(), pathB.c_str());
    });
    m_report.FinishFill();
    m_filling = false;
}

void CQnExplorer::AddReportRow(std::unique_ptr<FileRecord> record)
{
    const FileRecord& shown = *record;
    const int row = m_report.InsertRow(m_report.RowCount(), FileNamePart(shown.path), -1, m_records.Add(std::move(record)));
    FillReportCells(row, shown);
}

void CQnExplorer::FillReportCells(int row, const FileRecord& record)
{
    m_report.SetCellText(row, 0, FileNamePart(record.path));
    m_report.SetCellText(row, 1, record.sizeText);
    m_report.SetCellSortKey(row, 1, static_cast<int64_t>(record.byteSize));
    m_report.SetCellText(row, 2, record.typeName);
    m_report.SetCellText(row, 3, record.modifiedText);
    m_report.SetCellSortKey(row, 3, static_cast<int64_t>(record.modified));
    m_report.SetCellText(row, 4, record.attributes);
}

std::string CQnExplorer::PathOfRow(int row) const
{
    const FileRecord* record = CRowRecords<FileRecord>::FromData(m_report.RowData(row));
    return record ? record->path : std::string();
}

void CQnExplorer::RefreshRow(int row, const std::string& path)
{
    auto* record = CRowRecords<FileRecord>::FromData(m_report.RowData(row));
    if (!record)
        return;
    BuildFileRecord(*record, path, false);
    FillReportCells(row, *record);
}

void CQnExplorer::FillInfo()
{
    const FolderListing listing = ListFolder(m_folder);
    const FolderSummary summary = SummariseFolder(m_folder, listing);
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(m_folder.c_str(), shortPath, MAX_PATH);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FileStamp created = 0;
    if (GetFileAttributesExA(WithoutTrailingSeparator(m_folder).c_str(), GetFileExInfoStandard, &data))
        created = (static_cast<FileStamp>(data.ftCreationTime.dwHighDateTime) << 32) | data.ftCreationTime.dwLowDateTime;
    const std::pair<unsigned, std::string> rows[] = {
        {IDS_COLUMN_NAME, summary.name},
        {IDS_INFO_PATH, summary.parent},
        {IDS_COLUMN_SIZE, LongSizeText(summary.totalSize)},
        {IDS_INFO_SHORT_NAME, shortPath},
        {IDS_INFO_CREATED, ModifiedText(created)},
        {IDS_INFO_FILE_COUNT, std::to_string(summary.files)},
        {IDS_INFO_FOLDER_COUNT, std::to_string(summary.folders)},
    };
    for (const auto& [textId, value] : rows) {
        const int row = m_summary.InsertRow(m_summary.RowCount(), LoadText(textId));
        m_summary.SetCellText(row, 1, value);
    }
    m_summary.FinishFill();
}

void CQnExplorer::RunFileAction(int action, int argument)
{
    CReportList* list = CurrentList();
    if (!list || m_tab == TabInfo)
        return;
    if (action == kFileActionDelete && m_tab != TabFiles && m_tab != TabReport)
        return;
    DoFileAction(*this, *list, m_folder, action, argument, m_tab == TabReport ? this : nullptr);
    if (action != kFileActionRename)
        RemoveVanishedRows();
    UpdateStatus();
}

void CQnExplorer::RemoveVanishedRows()
{
    CReportList* list = CurrentList();
    if (!list || m_tab == TabInfo)
        return;
    std::vector<int> gone;
    std::vector<intptr_t> goneRecords;
    for (int row = 0; row < list->RowCount(); ++row) {
        const std::string path = m_tab == TabReport ? PathOfRow(row) : RowPathInFolder(m_folder, list->StoredText(row, 0));
        if (!FileExists(path)) {
            gone.push_back(row);
            goneRecords.push_back(list->RowData(row));
        }
    }
    if (gone.empty())
        return;
    list->RemoveRows(gone);
    if (m_tab == TabReport)
        m_records.RemoveData(goneRecords);
}

void CQnExplorer::UpdateStatus()
{
    CReportList* list = CurrentList();
    const int rows = list ? list->RowCount() : 0;
    const int selected = list ? static_cast<int>(list->SelectedRowsOfControl().size()) : 0;
    m_status.ShowObjectCount(rows, selected);
}

void CQnExplorer::LayOut(int width, int height)
{
    width = std::max<int>(width, m_firstSize.cx); // never below the first size
    height = std::max<int>(height, m_firstSize.cy);
    const int treeRight = width / 3;
    if (m_tree.Hwnd())
        MoveWindow(m_tree.Hwnd(), kMargin, kMargin, treeRight - kMargin, height - 2 * kMargin, TRUE);
    if (!m_tabs.Hwnd())
        return;
    MoveWindow(m_tabs.Hwnd(), treeRight + kMargin, kMargin, width - treeRight - 2 * kMargin, height - 2 * kMargin, TRUE);
    const RECT page = m_tabs.PageRect();
    for (CReportList* list : {&m_icons, &m_report, &m_summary})
        if (list->Hwnd())
            MoveWindow(list->Hwnd(), page.left, page.top, page.right - page.left, page.bottom - page.top, TRUE);
}

bool CQnExplorer::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case ID_FILE_ACTION_COPY: RunFileAction(kFileActionCopy); return true;
    case ID_FILE_ACTION_MOVE: RunFileAction(kFileActionMove); return true;
    case ID_FILE_ACTION_DELETE: RunFileAction(kFileActionDelete); return true;
    case ID_FILE_ACTION_OPEN: RunFileAction(kFileActionOpen); return true;
    case ID_FILE_ACTION_RENAME: RunFileAction(kFileActionRename); return true;
    case ID_FILE_ACTION_PROPERTIES: RunFileAction(kFileActionProperties); return true;
    case ID_FILE_ACTION_VIEW: RunFileAction(kFileActionView); return true;
    case ID_FILE_ACTION_PRINT: RunFileAction(kFileActionPrint, 0); return true;
    case ID_FILE_ACTION_PRINT_PREVIEW: RunFileAction(kFileActionPrint, 1); return true;
    case ID_FILE_ACTION_EDIT: return true; // nothing to edit pictures with yet
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CQnExplorer::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        if (!m_filling)
            UpdateStatus();
        return 0;
    case NM_DBLCLK:
        RunFileAction(m_tab == TabPictures ? kFileActionView : kFileActionOpen);
        return 0;
    case LVN_BEGINDRAG: RunFileAction(kFileActionDrag); return 0;
    case NM_RCLICK: {
        CReportList* list = CurrentList();
        if (list && m_tab != TabInfo)
            list->ShowContextMenu(m_tab == TabPictures ? IDR_EXPLORER_PICTURE_MENU : IDR_EXPLORER_FILE_MENU, m_hwnd, true);
        return 0;
    }
    default: return std::nullopt;
    }
}

std::optional<LRESULT> CQnExplorer::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the control itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == IDC_EXPLORER_ICONS || header->idFrom == IDC_EXPLORER_REPORT)
            return OnListNotify(header);
        return std::nullopt;
    }
    if (message == kThumbnailNoteMessage) {
        std::unique_ptr<ThumbnailNote> note(reinterpret_cast<ThumbnailNote*>(lParam));
        if (note)
            OnThumbnailNote(*note);
        return 0;
    }
    if (message == WM_TIMER && wParam == kThumbnailTimer) {
        StartThumbnails();
        return 0;
    }
    if (message == WM_SIZE) {
        auto result = CQnFormView::OnMessage(message, wParam, lParam);
        LayOut(LOWORD(lParam), HIWORD(lParam));
        return result;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
