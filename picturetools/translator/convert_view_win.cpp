#include "picturetools/translator/convert_view_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "app/main_window.h"
#include "app/message.h"
#include "app/progress.h"
#include "app/text.h"
#include "framework/frame.h"
#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/translator/converter_settings.h"
#include "picturetools/translator/output_choices.h"
#include "app/paths.h"
#include "picturetools/translator/convert_form_win.h"
#include "shell/file_drag_win.h"
#include "shell/folder_browser_win.h"
#include "picturetools/translator/translator_run_win.h"
#include "res/resource.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_host_win.h"
#include "shell/module_views.h"
#include "shell/picture_open/picture_open_dialog_win.h"
#include "shell/viewer/picture_viewer_win.h"

namespace {
constexpr int kNameWidth = 100, kFormatWidth = 200, kPathWidth = 200;
constexpr unsigned kRemoveMenuCommand = 1;
constexpr unsigned kViewMenuCommand = 2;

std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

int SmallIconIndex(const std::string& path)
{
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}

HIMAGELIST SystemSmallIcons()
{
    SHFILEINFOA info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

// Shows an item's picture in the picture viewer; an unknown file is reported by the loader.
void ShowItemPicture(const std::string& path)
{
    if (std::unique_ptr<CPicture> picture{LoadPictureOrComplain(path, nullptr, false)})
        ShowPicture(std::move(picture), path);
}

void ShowInStatusBar(const std::string& text)
{
    if (CFrameWindow* frame = CFrameWindow::Main())
        if (CStatusBar* bar = frame->StatusBar())
            bar->SetPaneText(0, text);
}
} // namespace

ConvertFormLayout::ConvertFormLayout() : form(BuildConvertForm()) {}

CQnConvert::CQnConvert() : CQnFormView(form.get()) { SetReportTitle(LoadText(IDS_TRANSLATOR_REPORT_TITLE)); }

CQnConvert::~CQnConvert()
{
    if (m_tooltipObserver)
        RemoveMessageObserver(m_tooltipObserver);
    SetReportList(nullptr);
}

bool CQnConvert::OnInitDialog()
{
    CaptureLayout();
    SetUpList();
    FillFormats();
    const ConverterSettings settings = ReadConverterSettings();
    SendDlgItemMessageA(m_hwnd, IDC_TRANSLATOR_QUALITY_SPIN, UDM_SETRANGE32, 0, 100);
    SetDlgItemInt(m_hwnd, IDC_TRANSLATOR_QUALITY, static_cast<UINT>(settings.quality), FALSE);
    SelectFormat(settings.type);
    SetDlgItemTextA(m_hwnd, IDC_TRANSLATOR_OUTPUT, settings.outputDirectory.c_str());
    EnableWindow(Item(IDC_TRANSLATOR_START), FALSE);
    EnableWindow(Item(IDC_TRANSLATOR_REMOVE), FALSE);
    RegisterTooltips();
    DragAcceptFiles(m_hwnd, TRUE);
    return CQnFormView::OnInitDialog();
}

void CQnConvert::InitModule() { OnListChanged(); }

void CQnConvert::SetUpList()
{
    m_list.ReplaceControl(m_hwnd, IDC_TRANSLATOR_LIST);
    ReportColumn name{LoadText(IDS_COLUMN_NAME)};
    name.width = kNameWidth;
    ReportColumn format{LoadText(IDS_COLUMN_FORMAT)};
    format.width = kFormatWidth;
    ReportColumn path{LoadText(IDS_COLUMN_PATH)};
    path.width = kPathWidth;
    m_list.AddColumn(0, name);
    m_list.AddColumn(1, format);
    m_list.AddColumn(2, path);
    m_list.SetImageList(SystemSmallIcons(), LVSIL_SMALL);
    SetReportList(&m_list);
}

void CQnConvert::FillFormats()
{
    HWND combo = Item(IDC_TRANSLATOR_TYPE);
    for (const FormatChoice& format : WritableFormats()) {
        const auto at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(format.text.c_str()));
        SendMessageA(combo, CB_SETITEMDATA, at, format.codecIndex);
    }
}

bool CQnConvert::SelectFormat(int codecIndex)
{
    HWND combo = Item(IDC_TRANSLATOR_TYPE);
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    int position = count > 0 ? 0 : -1; // a stale setting falls back to the first format
    for (int i = 0; i < count; ++i)
        if (static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, i, 0)) == codecIndex)
            position = i;
    SendMessageA(combo, CB_SETCURSEL, position, 0);
    RefillDepths();
    return position >= 0 && SelectedCodecIndex() == codecIndex;
}

int CQnConvert::SelectedCodecIndex() const
{
    HWND combo = Item(IDC_TRANSLATOR_TYPE);
    const auto at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? -1 : static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, at, 0));
}

int CQnConvert::SelectedBits() const
{
    HWND combo = Item(IDC_TRANSLATOR_DEPTH);
    const auto at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? 0 : static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, at, 0));
}

void CQnConvert::RefillDepths()
{
    HWND combo = Item(IDC_TRANSLATOR_DEPTH);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    const int codecIndex = SelectedCodecIndex();
    if (codecIndex < 0)
        return;
    const DepthOffer offer = OfferDepths(*g_pictureCodecs[codecIndex]);
    for (const DepthChoice& choice : offer.choices) {
        const std::string text = LoadText(choice.textId);
        const auto at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(combo, CB_SETITEMDATA, at, choice.bits);
    }
    SendMessageA(combo, CB_SETCURSEL, offer.preselected, 0);
    EnableWindow(combo, offer.listEnabled);
    EnableWindow(Item(IDC_TRANSLATOR_DEPTH_LABEL), offer.listEnabled);
    const int quality = offer.showQuality ? SW_SHOW : SW_HIDE;
    for (int id : {IDC_TRANSLATOR_QUALITY_LABEL, IDC_TRANSLATOR_QUALITY, IDC_TRANSLATOR_QUALITY_SPIN})
        ShowWindow(Item(id), quality);
    ShowWindow(Item(IDC_TRANSLATOR_COMPRESS), offer.showCompress ? SW_SHOW : SW_HIDE);
}

void CQnConvert::RegisterTooltips()
{
    m_tooltip = std::make_unique<CDxToolTip>();
    // The tip's text stands in the status bar while it shows; the object count comes back after.
    if (!m_tooltip->AttachOwner(m_hwnd, [this](const std::string& text) {
            ShowInStatusBar(text.empty() ? m_statusText : text);
        }))
        return;
    m_tooltip->AddTool(Item(IDC_TRANSLATOR_ADD_FILES), LoadText(IDS_TIP_ADD_PICTURES));
    m_tooltip->AddTool(Item(IDC_TRANSLATOR_REMOVE), LoadText(IDS_TIP_REMOVE_FILES));
    m_tooltip->AddTool(Item(IDC_TRANSLATOR_ADD_FOLDER), LoadText(IDS_TIP_ADD_FOLDER));
    m_tooltip->AddTool(Item(IDC_TRANSLATOR_BROWSE), LoadText(IDS_TIP_SELECT_OUTPUT));
    m_tooltipObserver = AddMessageObserver([tip = m_tooltip.get()](const MSG& msg) { tip->RelayEvent(msg); });
}

const ConvertItem& CQnConvert::ItemAtRow(int row) const
{
    return *reinterpret_cast<const ConvertItem*>(m_list.RowData(row));
}

bool CQnConvert::AddFile(const std::string& path, bool loud)
{
    std::optional<ConvertItem> probed = ProbeConvertItem(path);
    if (!probed) {
        if (loud)
            ShowMessage(FormatText(IDS_UNKNOWN_FILE_TYPE, PathNamePart(path)));
        return false;
    }
    auto item = std::make_unique<ConvertItem>(std::move(*probed));
    item->icon = SmallIconIndex(path);
    const int row = m_list.InsertRow(m_list.RowCount(), item->name, item->icon, reinterpret_cast<intptr_t>(item.get()));
    m_list.SetCellText(row, 1, item->info);
    m_list.SetCellText(row, 2, item->folder);
    m_items.push_back(std::move(item));
    SendMessageA(m_list.Hwnd(), LVM_ENSUREVISIBLE, row, FALSE);
    UpdateWindow(m_list.Hwnd());
    OnListChanged();
    return true;
}

void CQnConvert::AddFiles(const std::vector<std::string>& paths, bool loud, bool rememberFolder)
{
    if (paths.empty())
        return;
    CQnCallbackProgress& progress = MainWindowProgress();
    IModuleHost* host = ModuleHost();
    if (host)
        host->SetBusy(true);
    progress.ResetCancel();
    progress.Begin();
    progress.SetRange(0, static_cast<int64_t>(paths.size()));
    for (size_t i = 0; i < paths.size(); ++i) {
        progress.SetText(FormatText(IDS_STATUS_ADDING_FILE, PathNamePart(paths[i])));
        if (!progress.SetPos(static_cast<int64_t>(i)))
            break;
        if (AddFile(paths[i], loud) && rememberFolder)
            WriteAddFileDirectory(PathFolderPart(paths[i]));
    }
    progress.End(true);
    progress.ResetCancel();
    if (host)
        host->SetBusy(false);
}

void CQnConvert::AddFolder(const std::string& folder)
{
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/')
        prefix += '\\';
    std::vector<std::string> paths;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((prefix + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            paths.push_back(prefix + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    AddFiles(paths, false);
}

void CQnConvert::RemoveSelected()
{
    std::vector<int> rows = m_list.SelectedRowsOfControl();
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows) {
        const ConvertItem* item = &ItemAtRow(row);
        m_list.DeleteRow(row);
        std::erase_if(m_items, [item](const std::unique_ptr<ConvertItem>& owned) { return owned.get() == item; });
    }
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_list.Hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    m_list.SelectAll(false);
    InvalidateRect(m_list.Hwnd(), nullptr, TRUE);
    OnListChanged();
}

void CQnConvert::OnListChanged()
{
    const int selected = static_cast<int>(m_list.SelectedRowsOfControl().size());
    EnableWindow(Item(IDC_TRANSLATOR_REMOVE), selected > 0);
    UpdateStartButton();
    m_statusText = ListStatusText(m_list.RowCount(), selected);
    ShowInStatusBar(m_statusText);
}

void CQnConvert::UpdateStartButton()
{
    const bool ready = GetWindowTextLengthA(Item(IDC_TRANSLATOR_OUTPUT)) > 0 && m_list.RowCount() > 0;
    EnableWindow(Item(IDC_TRANSLATOR_START), ready);
}

void CQnConvert::StartBatch()
{
    const int codecIndex = SelectedCodecIndex();
    const std::string folder = WindowText(Item(IDC_TRANSLATOR_OUTPUT));
    if (m_running || codecIndex < 0 || folder.empty() || m_list.RowCount() == 0)
        return;
    struct RunningFlag {
        bool& flag;
        explicit RunningFlag(bool& f) : flag(f) { flag = true; }
        ~RunningFlag() { flag = false; }
    } running(m_running);
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    CGraphicsCodec& codec = *g_pictureCodecs[codecIndex];
    const int quality = QualityFromText(WindowText(Item(IDC_TRANSLATOR_QUALITY)));

    ConvertSettings settings;
    settings.codec = &codec;
    settings.bits = SelectedBits();
    settings.writeOption = IsDlgButtonChecked(m_hwnd, IDC_TRANSLATOR_COMPRESS) == BST_CHECKED;
    settings.quality = &codec == &JpgCodec() ? quality : -1;
    settings.outputFolder = folder;
    std::vector<std::string> sources;
    for (int row = 0; row < m_list.RowCount(); ++row)
        sources.push_back(ItemAtRow(row).Path());

    HWND owner = CFrameWindow::Main() ? CFrameWindow::Main()->Hwnd() : GetAncestor(m_hwnd, GA_ROOT);
    RunTranslatorBatch(owner, sources, settings);
    // Also after a cancelled run.
    WriteConverterRun(codecIndex, folder, quality);
    SetCursor(old);
}

void CQnConvert::OnAddFilesClicked()
{
    PictureOpenOptions options;
    options.title = LoadText(IDS_LOAD_PICTURE_TITLE);
    options.filter = GetOpenFilterString();
    options.defaultExtension = "BMP";
    options.initialFolder = ReadConverterSettings().addFileDirectory;
    options.multiSelect = true;
    AddFiles(RunPictureOpenDialog(GetAncestor(m_hwnd, GA_ROOT), options), true, true);
}

void CQnConvert::OnAddFolderClicked()
{
    const std::string folder = BrowseForFolder(GetAncestor(m_hwnd, GA_ROOT), LoadText(IDS_SELECT_FOLDER_TITLE));
    if (!folder.empty())
        AddFolder(folder);
}

void CQnConvert::OnBrowseClicked()
{
    const std::string folder = BrowseForFolder(GetAncestor(m_hwnd, GA_ROOT), LoadText(IDS_SELECT_FOLDER_TITLE));
    if (!folder.empty())
        SetDlgItemTextA(m_hwnd, IDC_TRANSLATOR_OUTPUT, folder.c_str());
}

void CQnConvert::OnDropFiles(HDROP drop)
{
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = "";
        if (DragQueryFileA(drop, i, path, sizeof path))
            paths.push_back(path);
    }
    DragFinish(drop);
    AddFiles(paths, false);
}

void CQnConvert::ViewItem(int row)
{
    if (row >= 0 && row < m_list.RowCount())
        ShowItemPicture(ItemAtRow(row).Path());
}

void CQnConvert::DragSelectedOut()
{
    std::vector<std::string> paths;
    for (int row : m_list.SelectedRowsOfControl())
        paths.push_back(ItemAtRow(row).Path());
    DragFilesOut(paths);
}

bool CQnConvert::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_TRANSLATOR_ADD_FILES: if (code == BN_CLICKED) OnAddFilesClicked(); return true;
    case IDC_TRANSLATOR_ADD_FOLDER: if (code == BN_CLICKED) OnAddFolderClicked(); return true;
    case IDC_TRANSLATOR_REMOVE: if (code == BN_CLICKED) RemoveSelected(); return true;
    case IDC_TRANSLATOR_BROWSE: if (code == BN_CLICKED) OnBrowseClicked(); return true;
    case IDC_TRANSLATOR_START: if (code == BN_CLICKED) StartBatch(); return true;
    case IDC_TRANSLATOR_TYPE: if (code == CBN_SELCHANGE) RefillDepths(); return true;
    case IDC_TRANSLATOR_OUTPUT: if (code == EN_CHANGE) UpdateStartButton(); return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CQnConvert::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        OnListChanged();
        return 0;
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
            RemoveSelected();
        return 0;
    case NM_DBLCLK:
        ViewItem(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        return 0;
    case LVN_BEGINDRAG:
        DragSelectedOut();
        return 0;
    case NM_RCLICK: {
        HMENU menu = CreatePopupMenu();
        const std::vector<int> selected = m_list.SelectedRowsOfControl();
        const UINT state = MF_STRING | (selected.empty() ? MF_GRAYED : 0);
        const std::string view = LoadText(IDS_MENU_VIEW), remove = LoadText(IDS_BUTTON_REMOVE);
        AppendMenuA(menu, state, kViewMenuCommand, view.c_str());
        AppendMenuA(menu, state, kRemoveMenuCommand, remove.c_str());
        POINT at;
        GetCursorPos(&at);
        const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hwnd, nullptr);
        DestroyMenu(menu);
        if (chosen == kRemoveMenuCommand)
            RemoveSelected();
        else if (chosen == kViewMenuCommand && !selected.empty())
            ViewItem(selected.front());
        return 0;
    }
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> CQnConvert::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the list control itself
        if (header->idFrom == IDC_TRANSLATOR_LIST)
            return OnListNotify(header);
        return std::nullopt;
    }
    if (message == WM_DROPFILES) {
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED) {
        Relayout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}

void CQnConvert::CaptureLayout()
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    m_initialSize = {client.right, client.bottom};
    struct Rule {
        int id;
        bool moveX, moveY, growX, growY;
    };
    static const Rule kRules[] = {
        {IDC_TRANSLATOR_LIST, false, false, true, true},
        {IDC_TRANSLATOR_ADD_FILES, false, true, false, false},
        {IDC_TRANSLATOR_ADD_FOLDER, false, true, false, false},
        {IDC_TRANSLATOR_REMOVE, false, true, false, false},
        {IDC_TRANSLATOR_OUTPUT_LABEL, false, true, false, false},
        {IDC_TRANSLATOR_OUTPUT, false, true, true, false},
        {IDC_TRANSLATOR_BROWSE, true, true, false, false},
        {IDC_TRANSLATOR_TYPE_LABEL, false, true, false, false},
        {IDC_TRANSLATOR_TYPE, false, true, false, false},
        {IDC_TRANSLATOR_DEPTH_LABEL, false, true, false, false},
        {IDC_TRANSLATOR_DEPTH, false, true, false, false},
        {IDC_TRANSLATOR_QUALITY_LABEL, false, true, false, false},
        {IDC_TRANSLATOR_QUALITY, false, true, false, false},
        {IDC_TRANSLATOR_QUALITY_SPIN, false, true, false, false},
        {IDC_TRANSLATOR_COMPRESS, false, true, false, false},
        {IDC_TRANSLATOR_START, true, true, false, false},
    };
    for (const Rule& rule : kRules) {
        RECT rect;
        GetWindowRect(Item(rule.id), &rect);
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
        m_anchors.push_back({rule.id, rect, rule.moveX, rule.moveY, rule.growX, rule.growY});
    }
}

void CQnConvert::Relayout(int width, int height)
{
    if (m_anchors.empty())
        return;
    // Below its first size the form keeps its layout and is clipped.
    const int dx = std::max(0, width - static_cast<int>(m_initialSize.cx));
    const int dy = std::max(0, height - static_cast<int>(m_initialSize.cy));
    HDWP positions = BeginDeferWindowPos(static_cast<int>(m_anchors.size()));
    for (const Anchored& a : m_anchors) {
        HWND control = Item(a.id);
        if (!control || !positions)
            continue;
        const int x = a.rect.left + (a.moveX ? dx : 0), y = a.rect.top + (a.moveY ? dy : 0);
        const int cx = a.rect.right - a.rect.left + (a.growX ? dx : 0);
        const int cy = a.rect.bottom - a.rect.top + (a.growY ? dy : 0);
        positions = DeferWindowPos(positions, control, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions)
        EndDeferWindowPos(positions);
}

std::unique_ptr<CQnFormView> CreateConvertView() { return std::make_unique<CQnConvert>(); }
