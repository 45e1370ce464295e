#include "picturetools/translator/convert_view_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <numeric>

#include "app/message.h"
#include "app/paths.h"
#include "app/picture_loading.h"
#include "base/text.h"
#include "framework/frame.h"
#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/translator/converter_settings.h"
#include "picturetools/translator/file_ops.h"
#include "picturetools/translator/output_choices.h"
#include "picturetools/translator/throttled_display.h"
#include "picturetools/translator/translator_module.h"
#include "picturetools/translator/translator_observer.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/control_helpers_win.h"
#include "shell/dropped_files_win.h"
#include "shell/file_drag_win.h"
#include "shell/folder_browser_win.h"
#include "shell/module_tips_win.h"
#include "shell/picture_open/picture_open_dialog_win.h"
#include "shell/system_image_list_win.h"
#include "shell/viewer/picture_viewer_win.h"
#include "shell/working_window_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_TRANSLATOR_ADD_FILES, IDS_BUTTON_ADD_FILES},       {IDC_TRANSLATOR_ADD_FOLDER, IDS_BUTTON_ADD_FOLDER},
    {IDC_TRANSLATOR_REMOVE, IDS_BUTTON_REMOVE},             {IDC_TRANSLATOR_OUTPUT_LABEL, IDS_LABEL_OUTPUT_FOLDER},
    {IDC_TRANSLATOR_BROWSE, IDS_BUTTON_BROWSE},             {IDC_TRANSLATOR_TYPE_LABEL, IDS_LABEL_TYPE},
    {IDC_TRANSLATOR_DEPTH_LABEL, IDS_LABEL_COLOR_DEPTH},    {IDC_TRANSLATOR_QUALITY_LABEL, IDS_LABEL_JPEG_QUALITY},
    {IDC_TRANSLATOR_COMPRESS, IDS_CHECK_COMPRESS},          {IDC_TRANSLATOR_START, IDS_BUTTON_START},
};
// The list grows with the form; everything below it follows the bottom edge.
const ControlAnchor kAnchors[] = {
    {IDC_TRANSLATOR_LIST, StretchRight | StretchDown},
    {IDC_TRANSLATOR_ADD_FILES, FollowBottom},           {IDC_TRANSLATOR_ADD_FOLDER, FollowBottom},
    {IDC_TRANSLATOR_REMOVE, FollowBottom},              {IDC_TRANSLATOR_OUTPUT_LABEL, FollowBottom},
    {IDC_TRANSLATOR_OUTPUT, FollowBottom | StretchRight}, {IDC_TRANSLATOR_BROWSE, FollowBottom | FollowRight},
    {IDC_TRANSLATOR_TYPE_LABEL, FollowBottom},          {IDC_TRANSLATOR_TYPE, FollowBottom},
    {IDC_TRANSLATOR_DEPTH_LABEL, FollowBottom},         {IDC_TRANSLATOR_DEPTH, FollowBottom},
    {IDC_TRANSLATOR_QUALITY_LABEL, FollowBottom},       {IDC_TRANSLATOR_QUALITY, FollowBottom},
    {IDC_TRANSLATOR_QUALITY_SPIN, FollowBottom},        {IDC_TRANSLATOR_COMPRESS, FollowBottom},
    {IDC_TRANSLATOR_START, FollowBottom | FollowRight},
};
const FormText kTips[] = {{IDC_TRANSLATOR_ADD_FILES, IDS_TIP_ADD_PICTURES}, {IDC_TRANSLATOR_REMOVE, IDS_TIP_REMOVE_FILES},
                             {IDC_TRANSLATOR_ADD_FOLDER, IDS_TIP_ADD_FOLDER}, {IDC_TRANSLATOR_BROWSE, IDS_TIP_SELECT_OUTPUT}};
const ModuleForm kForm{IDD_TRANSLATOR, kTexts, kAnchors, IDS_TRANSLATOR_REPORT_TITLE};

} // namespace

CQnConvert::CQnConvert() : CQnFormView(kForm) {}

std::unique_ptr<CQnFormView> CreateTranslatorView() { return std::make_unique<CQnConvert>(); }

bool CQnConvert::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_list.ReplaceControl(m_hwnd, IDC_TRANSLATOR_LIST);
    m_list.AddColumns({{IDS_COLUMN_NAME, 100}, {IDS_COLUMN_FORMAT, 200}, {IDS_COLUMN_PATH, 200}});
    AttachSystemSmallImages(m_list.Hwnd());
    SetReportList(&m_list);
    for (const FormatChoice& format : WritableFormats()) // the item data is the codec table index
        AddComboItem(Item(IDC_TRANSLATOR_TYPE), format.text, format.codecIndex);
    const ConverterSettings settings = ReadConverterSettings();
    SendDlgItemMessageA(m_hwnd, IDC_TRANSLATOR_QUALITY_SPIN, UDM_SETRANGE32, 0, 100);
    SetDlgItemInt(m_hwnd, IDC_TRANSLATOR_QUALITY, static_cast<UINT>(settings.quality), FALSE);
    SelectFormat(settings.type);
    SetDlgItemTextA(m_hwnd, IDC_TRANSLATOR_OUTPUT, settings.outputDirectory.c_str());
    EnableWindow(Item(IDC_TRANSLATOR_START), FALSE);
    EnableWindow(Item(IDC_TRANSLATOR_REMOVE), FALSE);
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    DragAcceptFiles(m_hwnd, TRUE);
    return false;
}

void CQnConvert::InitModule() { OnListChanged(); }

bool CQnConvert::SelectFormat(int codecIndex)
{
    const bool found = SelectComboData(Item(IDC_TRANSLATOR_TYPE), codecIndex); // else the first format
    RefillDepths();
    return found;
}

void CQnConvert::RefillDepths()
{
    HWND combo = Item(IDC_TRANSLATOR_DEPTH);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    const int codecIndex = SelectedComboData(Item(IDC_TRANSLATOR_TYPE), -1);
    if (codecIndex < 0)
        return;
    const DepthOffer offer = OfferDepths(*g_pictureCodecs[codecIndex]);
    for (const DepthChoice& choice : offer.choices)
        AddComboItem(combo, LoadText(choice.textId), choice.bits);
    SendMessageA(combo, CB_SETCURSEL, offer.preselected, 0);
    EnableWindow(combo, offer.listEnabled);
    EnableWindow(Item(IDC_TRANSLATOR_DEPTH_LABEL), offer.listEnabled);
    ShowControls(m_hwnd, {IDC_TRANSLATOR_QUALITY_LABEL, IDC_TRANSLATOR_QUALITY, IDC_TRANSLATOR_QUALITY_SPIN},
                 offer.showQuality);
    ShowControls(m_hwnd, {IDC_TRANSLATOR_COMPRESS}, offer.showCompress);
}

const ConvertItem& CQnConvert::ItemAtRow(int row) const { return *CRowRecords<ConvertItem>::FromData(m_list.RowData(row)); }

std::vector<std::string> CQnConvert::PathsOfRows(const std::vector<int>& rows) const
{
    std::vector<std::string> paths;
    for (int row : rows)
        paths.push_back(ItemAtRow(row).Path());
    return paths;
}

bool CQnConvert::AddFile(const std::string& path, bool loud)
{
    std::optional<ConvertItem> probed = ProbeConvertItem(path);
    if (!probed) {
        if (loud)
            ShowMessage(FormatText(IDS_UNKNOWN_FILE_TYPE, PathNamePart(path)));
        return false;
    }
    probed->icon = SystemSmallIconIndex(path);
    const ConvertItem item = *probed;
    const int row = m_list.InsertRow(m_list.RowCount(), item.name, item.icon,
                                     m_items.Add(std::make_unique<ConvertItem>(std::move(*probed))));
    m_list.SetCellText(row, 1, item.info);
    m_list.SetCellText(row, 2, item.folder);
    SendMessageA(m_list.Hwnd(), LVM_ENSUREVISIBLE, row, FALSE);
    UpdateWindow(m_list.Hwnd());
    OnListChanged();
    return true;
}

void CQnConvert::AddFiles(const std::vector<std::string>& paths, bool loud, bool rememberFolder)
{
    if (paths.empty())
        return;
    CBusyScope busy;
    busy.SetRange(static_cast<int64_t>(paths.size()));
    for (size_t i = 0; i < paths.size(); ++i) {
        if (!busy.Step(static_cast<int64_t>(i), FormatText(IDS_STATUS_ADDING_FILE, PathNamePart(paths[i]))))
            break;
        if (AddFile(paths[i], loud) && rememberFolder)
            WriteAddFileDirectory(PathFolderPart(paths[i]));
    }
}

void CQnConvert::AddFolder(const std::string& folder) { AddFiles(FilesInFolder(folder), false); }

void CQnConvert::RemoveSelected()
{
    const std::vector<int> rows = m_list.SelectedRowsOfControl();
    std::vector<intptr_t> records;
    for (int row : rows)
        records.push_back(m_list.RowData(row));
    m_list.RemoveRows(rows);
    m_items.RemoveData(records);
    OnListChanged();
}

void CQnConvert::OnListChanged()
{
    const int selected = static_cast<int>(m_list.SelectedRowsOfControl().size());
    EnableWindow(Item(IDC_TRANSLATOR_REMOVE), selected > 0);
    UpdateStartButton();
    m_status.ShowObjectCount(m_list.RowCount(), selected);
}

void CQnConvert::UpdateStartButton()
{
    const bool ready = GetWindowTextLengthA(Item(IDC_TRANSLATOR_OUTPUT)) > 0 && m_list.RowCount() > 0;
    EnableWindow(Item(IDC_TRANSLATOR_START), ready);
}

void CQnConvert::StartBatch()
{
    const int codecIndex = SelectedComboData(Item(IDC_TRANSLATOR_TYPE), -1);
    const std::string folder = WindowText(Item(IDC_TRANSLATOR_OUTPUT));
    if (m_running || codecIndex < 0 || folder.empty() || m_list.RowCount() == 0)
        return;
    m_running = true;
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    CGraphicsCodec& codec = *g_pictureCodecs[codecIndex];
    const int quality = QualityFromText(WindowText(Item(IDC_TRANSLATOR_QUALITY)));
    ConvertSettings settings;
    settings.codec = &codec;
    settings.bits = SelectedComboData(Item(IDC_TRANSLATOR_DEPTH), 0);
    settings.writeOption = IsDlgButtonChecked(m_hwnd, IDC_TRANSLATOR_COMPRESS) == BST_CHECKED;
    settings.quality = &codec == &JpgCodec() ? quality : -1;
    settings.outputFolder = folder;
    std::vector<int> rows(static_cast<size_t>(m_list.RowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    CWorkingWindow window;
    window.Open(CFrameWindow::Main() ? CFrameWindow::Main()->Hwnd() : GetAncestor(m_hwnd, GA_ROOT));
    window.SetFilesRange(static_cast<int>(rows.size()));
    CThrottledDisplay display(window); // the file bar is checked every few hundredths of a second
    CTranslatorObserver observer(display);
    RunBatchConvert(PathsOfRows(rows), settings, observer); // reports through the observer only
    window.Close();
    WriteConverterRun(codecIndex, folder, quality); // also after a cancelled run
    SetCursor(old);
    m_running = false;
}

void CQnConvert::OnAddFilesClicked()
{
    const PictureOpenOptions options{LoadText(IDS_LOAD_PICTURE_TITLE), GetOpenFilterString(), "BMP",
                                     ReadConverterSettings().addFileDirectory, true};
    AddFiles(RunPictureOpenDialog(GetAncestor(m_hwnd, GA_ROOT), options), true, true);
}

void CQnConvert::OnBrowseClicked(bool forOutput)
{
    const std::string folder = BrowseForFolder(GetAncestor(m_hwnd, GA_ROOT), LoadText(IDS_SELECT_FOLDER_TITLE));
    if (folder.empty())
        return;
    if (forOutput)
        SetDlgItemTextA(m_hwnd, IDC_TRANSLATOR_OUTPUT, folder.c_str());
    else
        AddFolder(folder);
}

void CQnConvert::ViewItem(int row)
{
    if (row < 0 || row >= m_list.RowCount())
        return;
    const std::string path = ItemAtRow(row).Path();
    if (std::unique_ptr<CPicture> picture{LoadPictureOrComplain(path, nullptr, false)})
        ShowPicture(std::move(picture), path);
}

bool CQnConvert::OnCommand(WORD id, WORD code)
{
    switch (id) {
    case IDC_TRANSLATOR_ADD_FILES: if (code == BN_CLICKED) OnAddFilesClicked(); return true;
    case IDC_TRANSLATOR_ADD_FOLDER: if (code == BN_CLICKED) OnBrowseClicked(false); return true;
    case IDC_TRANSLATOR_REMOVE: if (code == BN_CLICKED) RemoveSelected(); return true;
    case IDC_TRANSLATOR_BROWSE: if (code == BN_CLICKED) OnBrowseClicked(true); return true;
    case IDC_TRANSLATOR_START: if (code == BN_CLICKED) StartBatch(); return true;
    case IDC_TRANSLATOR_TYPE: if (code == CBN_SELCHANGE) RefillDepths(); return true;
    case IDC_TRANSLATOR_OUTPUT: if (code == EN_CHANGE) UpdateStartButton(); return true;
    case ID_TRANSLATOR_REMOVE: RemoveSelected(); return true;
    case ID_TRANSLATOR_VIEW:
        if (const std::vector<int> rows = m_list.SelectedRowsOfControl(); !rows.empty())
            ViewItem(rows.front());
        return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CQnConvert::OnListNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED: OnListChanged(); return 0;
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
            RemoveSelected();
        return 0;
    case NM_DBLCLK: ViewItem(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem); return 0;
    case LVN_BEGINDRAG: DragFilesOut(PathsOfRows(m_list.SelectedRowsOfControl())); return 0;
    case NM_RCLICK: m_list.ShowContextMenu(IDR_TRANSLATOR_LIST_MENU, m_hwnd, true); return 0;
    default: return std::nullopt;
    }
}

std::optional<LRESULT> CQnConvert::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the list control itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        return header->idFrom == IDC_TRANSLATOR_LIST ? OnListNotify(header) : std::nullopt;
    }
    if (message == WM_DROPFILES) {
        AddFiles(TakeDroppedFiles(reinterpret_cast<HDROP>(wParam)), false);
        return 0;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
