#include "picturetools/syspicture/syspicture_view_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/message.h"
#include "app/paths.h"
#include "app/picture_loading.h"
#include "base/progress.h"
#include "base/text.h"
#include "picture/codec_registry.h"
#include "picture/picture.h"
#include "picturetools/syspicture/syspicture_module.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/control_helpers_win.h"
#include "shell/dropped_files_win.h"
#include "shell/editor_handover_win.h"
#include "shell/module_tips_win.h"
#include "shell/picture_open/picture_open_dialog_win.h"
#include "shell/viewer/picture_viewer_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_SYSPICTURE_LOAD, IDS_SYSPICTURE_LOAD},
    {IDC_SYSPICTURE_RESET, IDS_SYSPICTURE_RESET},
    {IDC_SYSPICTURE_DELETE, IDS_SYSPICTURE_DELETE},
    {IDC_SYSPICTURE_APPLY, IDS_SYSPICTURE_APPLY},
    {IDC_SYSPICTURE_EDIT, IDS_SYSPICTURE_EDIT},
    {IDC_SYSPICTURE_VIEW, IDS_SYSPICTURE_VIEW},
    {IDC_SYSPICTURE_PRINT, IDS_SYSPICTURE_PRINT},
    {IDC_SYSPICTURE_RESIZE_GROUP, IDS_SYSPICTURE_RESIZE_GROUP},
    {IDC_SYSPICTURE_NORMAL, IDS_SYSPICTURE_NORMAL},
    {IDC_SYSPICTURE_STRETCH, IDS_SYSPICTURE_STRETCH},
    {IDC_SYSPICTURE_BESTFIT, IDS_SYSPICTURE_BESTFIT},
    {IDC_SYSPICTURE_MOSAIC, IDS_SYSPICTURE_MOSAIC},
    {IDC_SYSPICTURE_DITHERING_LABEL, IDS_SYSPICTURE_DITHERING_LABEL},
    {IDC_SYSPICTURE_BACKGROUND_LABEL, IDS_SYSPICTURE_BACKGROUND_LABEL},
    {IDC_SYSPICTURE_BAR_GROUP, IDS_SYSPICTURE_BAR_GROUP},
    {IDC_SYSPICTURE_ENABLE_BAR, IDS_SYSPICTURE_ENABLE_BAR},
    {IDC_SYSPICTURE_COLOURS_LABEL, IDS_SYSPICTURE_COLOURS_LABEL},
    {IDC_SYSPICTURE_ORIENTATION_LABEL, IDS_SYSPICTURE_ORIENTATION_LABEL},
    {IDC_SYSPICTURE_LEFT_LABEL, IDS_SYSPICTURE_LEFT_LABEL},
    {IDC_SYSPICTURE_TOP_LABEL, IDS_SYSPICTURE_TOP_LABEL},
    {IDC_SYSPICTURE_RIGHT_LABEL, IDS_SYSPICTURE_RIGHT_LABEL},
    {IDC_SYSPICTURE_BOTTOM_LABEL, IDS_SYSPICTURE_BOTTOM_LABEL},
    {IDC_SYSPICTURE_FIRST_LABEL, IDS_SYSPICTURE_FIRST_LABEL},
    {IDC_SYSPICTURE_SECOND_LABEL, IDS_SYSPICTURE_SECOND_LABEL},
};
// The tabs and the preview grow with the form; the settings and buttons follow its right edge.
constexpr int kRightColumn[] = {
    IDC_SYSPICTURE_RESIZE_GROUP, IDC_SYSPICTURE_NORMAL, IDC_SYSPICTURE_STRETCH, IDC_SYSPICTURE_BESTFIT,
    IDC_SYSPICTURE_MOSAIC, IDC_SYSPICTURE_DITHERING_LABEL, IDC_SYSPICTURE_DITHERING, IDC_SYSPICTURE_BACKGROUND_LABEL,
    IDC_SYSPICTURE_BACKGROUND, IDC_SYSPICTURE_BAR_GROUP, IDC_SYSPICTURE_ENABLE_BAR, IDC_SYSPICTURE_COLOURS_LABEL,
    IDC_SYSPICTURE_COLOURS, IDC_SYSPICTURE_COLOURS_SPIN, IDC_SYSPICTURE_ORIENTATION_LABEL, IDC_SYSPICTURE_ORIENTATION,
    IDC_SYSPICTURE_LEFT_LABEL, IDC_SYSPICTURE_LEFT, IDC_SYSPICTURE_LEFT_SPIN, IDC_SYSPICTURE_TOP_LABEL,
    IDC_SYSPICTURE_TOP, IDC_SYSPICTURE_TOP_SPIN, IDC_SYSPICTURE_RIGHT_LABEL, IDC_SYSPICTURE_RIGHT,
    IDC_SYSPICTURE_RIGHT_SPIN, IDC_SYSPICTURE_BOTTOM_LABEL, IDC_SYSPICTURE_BOTTOM, IDC_SYSPICTURE_BOTTOM_SPIN,
    IDC_SYSPICTURE_FIRST_LABEL, IDC_SYSPICTURE_FIRST, IDC_SYSPICTURE_SECOND_LABEL, IDC_SYSPICTURE_SECOND,
    IDC_SYSPICTURE_LOAD, IDC_SYSPICTURE_RESET, IDC_SYSPICTURE_DELETE, IDC_SYSPICTURE_EDIT,
    IDC_SYSPICTURE_VIEW, IDC_SYSPICTURE_PRINT,
};
const std::vector<ControlAnchor> kAnchors = [] {
    std::vector<ControlAnchor> anchors{{IDC_SYSPICTURE_TABS, StretchRight | StretchDown},
                                       {IDC_SYSPICTURE_PREVIEW, StretchRight | StretchDown},
                                       {IDC_SYSPICTURE_STATUS, FollowBottom | StretchRight},
                                       {IDC_SYSPICTURE_APPLY, FollowRight | FollowBottom}};
    for (int id : kRightColumn)
        anchors.push_back({id, FollowRight});
    return anchors;
}();
const FormText kTips[] = {
    {IDC_SYSPICTURE_FIRST, IDS_SYSPICTURE_FIRST_TIP},
    {IDC_SYSPICTURE_SECOND, IDS_SYSPICTURE_SECOND_TIP},
    {IDC_SYSPICTURE_BACKGROUND, IDS_SYSPICTURE_BACKGROUND_TIP},
    {IDC_SYSPICTURE_ENABLE_BAR, IDS_SYSPICTURE_ENABLE_BAR_TIP},
    {IDC_SYSPICTURE_COLOURS, IDS_SYSPICTURE_COLOURS_TIP},
};
const ModuleForm kForm{IDD_SYSPICTURE, kTexts, kAnchors, 0};

const unsigned kTargetTitles[kSysTargetCount] = {IDS_SYSPICTURE_STARTUP, IDS_SYSPICTURE_END, IDS_SYSPICTURE_STOP};
// In the order of the stored "ResizeMode".
const int kResizeRadios[] = {IDC_SYSPICTURE_NORMAL, IDC_SYSPICTURE_STRETCH, IDC_SYSPICTURE_BESTFIT,
                             IDC_SYSPICTURE_MOSAIC};
const unsigned kDitheringTexts[] = {IDS_SYSPICTURE_ERROR_DITHERING, IDS_SYSPICTURE_NO_DITHERING,
                                    IDS_SYSPICTURE_GREY_SCALE};
const unsigned kOrientationTexts[] = {IDS_SYSPICTURE_LEFT_TO_RIGHT, IDS_SYSPICTURE_RIGHT_TO_LEFT,
                                      IDS_SYSPICTURE_TOP_TO_BOTTOM, IDS_SYSPICTURE_BOTTOM_TO_TOP};
struct Spin {
    int spin, low, high;
};
const Spin kSpins[] = {{IDC_SYSPICTURE_COLOURS_SPIN, kMinBarColours, kMaxBarColours},
                       {IDC_SYSPICTURE_LEFT_SPIN, 0, kLogoWidth},
                       {IDC_SYSPICTURE_RIGHT_SPIN, 0, kLogoWidth},
                       {IDC_SYSPICTURE_TOP_SPIN, 0, kLogoHeight},
                       {IDC_SYSPICTURE_BOTTOM_SPIN, 0, kLogoHeight}};
// Shown on the start-up tab only; all but the check box follow it.
const std::initializer_list<int> kBarControls = {
    IDC_SYSPICTURE_COLOURS_LABEL, IDC_SYSPICTURE_COLOURS, IDC_SYSPICTURE_COLOURS_SPIN,
    IDC_SYSPICTURE_ORIENTATION_LABEL, IDC_SYSPICTURE_ORIENTATION, IDC_SYSPICTURE_LEFT_LABEL, IDC_SYSPICTURE_LEFT,
    IDC_SYSPICTURE_LEFT_SPIN, IDC_SYSPICTURE_TOP_LABEL, IDC_SYSPICTURE_TOP, IDC_SYSPICTURE_TOP_SPIN,
    IDC_SYSPICTURE_RIGHT_LABEL, IDC_SYSPICTURE_RIGHT, IDC_SYSPICTURE_RIGHT_SPIN, IDC_SYSPICTURE_BOTTOM_LABEL,
    IDC_SYSPICTURE_BOTTOM, IDC_SYSPICTURE_BOTTOM_SPIN, IDC_SYSPICTURE_FIRST_LABEL, IDC_SYSPICTURE_FIRST,
    IDC_SYSPICTURE_SECOND_LABEL, IDC_SYSPICTURE_SECOND};

void Enable(HWND form, std::initializer_list<int> ids, bool enabled)
{
    for (int id : ids)
        EnableWindow(GetDlgItem(form, id), enabled);
}

// The number typed into an edit; `fallback` when it holds none.
int EditNumber(HWND form, int id, int fallback)
{
    BOOL read = FALSE;
    const int value = static_cast<int>(GetDlgItemInt(form, id, &read, TRUE));
    return read ? value : fallback;
}

// "%s (%dx%d)" and the like: each conversion takes the next argument, in order.
std::string FillIn(const std::string& format, std::initializer_list<std::string> arguments)
{
    std::string text;
    auto next = arguments.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'd')) {
            if (next != arguments.end())
                text += *next++;
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

// A group box paints only its frame, and the form clips its children out of its own painting:
// the box's inside gets the form's background as the labels have it.
LRESULT CALLBACK OpaqueGroupProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_ERASEBKGND) {
        HWND form = GetParent(box);
        auto* brush = reinterpret_cast<HBRUSH>(SendMessageA(form, WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(box)));
        RECT client{};
        GetClientRect(box, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

std::string WindowsFolder()
{
    char folder[MAX_PATH] = "";
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder) : std::string("C:\\Windows");
}
} // namespace

CSysPicture::CSysPicture() : CSysPicture(StandardSysPictureFiles(WindowsFolder())) {}

CSysPicture::CSysPicture(SysPictureFiles files) : CQnFormView(kForm), m_model(std::move(files)) {}

CSysPicture::~CSysPicture()
{
    SetPicturePrinter(nullptr);
    if (IsWindow(m_hwnd))
        for (int group : {IDC_SYSPICTURE_RESIZE_GROUP, IDC_SYSPICTURE_BAR_GROUP})
            RemoveWindowSubclass(Item(group), OpaqueGroupProc, 0);
}

std::unique_ptr<CQnFormView> CreateSysPictureView() { return std::make_unique<CSysPicture>(); }

std::string CSysPicture::TargetTitle(int target) const { return LoadText(kTargetTitles[target]); }

bool CSysPicture::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    HWND tabs = Item(IDC_SYSPICTURE_TABS);
    for (int target = 0; target < kSysTargetCount; ++target) {
        std::string text = TargetTitle(target);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageA(tabs, TCM_INSERTITEMA, target, reinterpret_cast<LPARAM>(&item));
    }
    // The preview takes the place (and id) of the template's frame.
    HWND frame = Item(IDC_SYSPICTURE_PREVIEW);
    RECT rect{};
    GetWindowRect(frame, &rect);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    DestroyWindow(frame);
    m_preview.CreateControl(m_hwnd, IDC_SYSPICTURE_PREVIEW, rect, WS_BORDER);
    // The tabs lie under everything else: first in the template, they would paint over the
    // controls on their page whenever the form is resized.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int group : {IDC_SYSPICTURE_RESIZE_GROUP, IDC_SYSPICTURE_BAR_GROUP})
        SetWindowSubclass(Item(group), OpaqueGroupProc, 0, 0);
    SetPicturePrinter(&m_preview.Printer());

    m_background.AttachControl(Item(IDC_SYSPICTURE_BACKGROUND));
    m_first.AttachControl(Item(IDC_SYSPICTURE_FIRST));
    m_second.AttachControl(Item(IDC_SYSPICTURE_SECOND));
    for (const Spin& spin : kSpins)
        SendDlgItemMessageA(m_hwnd, spin.spin, UDM_SETRANGE32, spin.low, spin.high);
    for (size_t i = 0; i < std::size(kDitheringTexts); ++i)
        AddComboItem(Item(IDC_SYSPICTURE_DITHERING), LoadText(kDitheringTexts[i]), static_cast<int>(i));
    for (size_t i = 0; i < std::size(kOrientationTexts); ++i)
        AddComboItem(Item(IDC_SYSPICTURE_ORIENTATION), LoadText(kOrientationTexts[i]), static_cast<int>(i));
    SendMessageA(Item(IDC_SYSPICTURE_ORIENTATION), CB_SETCURSEL, 0, 0);
    ShowSettings(ReadSysPictureSettings());
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    DragAcceptFiles(m_hwnd, TRUE);
    return false;
}

void CSysPicture::ShowSettings(const SysPictureSettings& settings)
{
    for (size_t i = 0; i < std::size(kResizeRadios); ++i)
        CheckDlgButton(m_hwnd, kResizeRadios[i],
                       static_cast<int>(settings.resizeMode) == static_cast<int>(i) ? BST_CHECKED : BST_UNCHECKED);
    SelectComboData(Item(IDC_SYSPICTURE_DITHERING), static_cast<int>(settings.dithering));
    CheckDlgButton(m_hwnd, IDC_SYSPICTURE_ENABLE_BAR, settings.barEnabled ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(m_hwnd, IDC_SYSPICTURE_COLOURS, static_cast<UINT>(settings.barColours), FALSE);
    SetDlgItemInt(m_hwnd, IDC_SYSPICTURE_LEFT, static_cast<UINT>(settings.bar.left), TRUE);
    SetDlgItemInt(m_hwnd, IDC_SYSPICTURE_TOP, static_cast<UINT>(settings.bar.top), TRUE);
    SetDlgItemInt(m_hwnd, IDC_SYSPICTURE_RIGHT, static_cast<UINT>(settings.bar.right), TRUE);
    SetDlgItemInt(m_hwnd, IDC_SYSPICTURE_BOTTOM, static_cast<UINT>(settings.bar.bottom), TRUE);
    m_first.SetColor(settings.firstColour);
    m_second.SetColor(settings.secondColour);
    m_background.SetColor(settings.backgroundColour);
}

SysPictureSettings CSysPicture::SettingsOfControls() const
{
    SysPictureSettings settings;
    for (size_t i = 0; i < std::size(kResizeRadios); ++i)
        if (IsDlgButtonChecked(m_hwnd, kResizeRadios[i]) == BST_CHECKED)
            settings.resizeMode = ResizeModeFromStored(static_cast<int>(i));
    settings.dithering = DitheringFromStored(SelectedComboData(GetDlgItem(m_hwnd, IDC_SYSPICTURE_DITHERING), 0));
    settings.barColours = BarColoursFromEdit(EditNumber(m_hwnd, IDC_SYSPICTURE_COLOURS, -1));
    settings.barEnabled = IsDlgButtonChecked(m_hwnd, IDC_SYSPICTURE_ENABLE_BAR) == BST_CHECKED;
    settings.bar = NormaliseBarRect({EditNumber(m_hwnd, IDC_SYSPICTURE_LEFT, 0), EditNumber(m_hwnd, IDC_SYSPICTURE_TOP, 0),
                                     EditNumber(m_hwnd, IDC_SYSPICTURE_RIGHT, 0),
                                     EditNumber(m_hwnd, IDC_SYSPICTURE_BOTTOM, 0)});
    settings.firstColour = m_first.Color();
    settings.secondColour = m_second.Color();
    settings.backgroundColour = m_background.Color();
    return settings;
}

void CSysPicture::InitModule()
{
    {
        CBusyScope busy;
        for (int target = 0; target < kSysTargetCount; ++target)
            m_model.ReadTarget(target, TargetTitle(target), &busy.Progress());
    }
    SelectTarget(0);
}

const CPicture* CSysPicture::Picture() const { return m_model.State(m_target).picture.get(); }

void CSysPicture::SelectTarget(int target)
{
    m_target = target >= 0 && target < kSysTargetCount ? target : 0;
    SendMessageA(Item(IDC_SYSPICTURE_TABS), TCM_SETCURSEL, m_target, 0);
    ShowTarget();
}

void CSysPicture::ShowTarget()
{
    const SysTargetState& state = m_model.State(m_target);
    const CPicture* picture = state.picture.get();
    const std::string name = picture ? PathNamePart(picture->Description()) : std::string();
    const std::string status = picture ? FillIn(LoadText(IDS_SYSPICTURE_STATUS), {name, std::to_string(picture->Width()),
                                                                                  std::to_string(picture->Height())})
                                       : LoadText(IDS_SYSPICTURE_NONE);
    SetDlgItemTextA(m_hwnd, IDC_SYSPICTURE_STATUS, status.c_str());
    m_status.Show(status);
    Enable(m_hwnd, {IDC_SYSPICTURE_VIEW, IDC_SYSPICTURE_PRINT, IDC_SYSPICTURE_EDIT, IDC_SYSPICTURE_DELETE}, picture);
    Enable(m_hwnd, {IDC_SYSPICTURE_APPLY}, !state.installed);
    m_preview.SetPicture(picture, false);
    SetReportTitle(picture ? FormatText(IDS_SYSPICTURE_REPORT_TITLE, name) : LoadText(IDS_APP_TITLE));
    UpdateBarControls();
}

void CSysPicture::UpdateBarControls()
{
    const bool startup = m_target == static_cast<int>(SysTarget::Startup);
    ShowControls(m_hwnd, {IDC_SYSPICTURE_BAR_GROUP, IDC_SYSPICTURE_ENABLE_BAR}, startup);
    ShowControls(m_hwnd, kBarControls, startup);
    Enable(m_hwnd, kBarControls, IsDlgButtonChecked(m_hwnd, IDC_SYSPICTURE_ENABLE_BAR) == BST_CHECKED);
}

bool CSysPicture::LoadFile(const std::string& path)
{
    std::unique_ptr<CPicture> picture;
    {
        CBusyScope busy;
        picture.reset(LoadPictureOrComplain(path, &busy.Progress(), false));
    }
    if (!picture)
        return false;
    m_model.ReplacePicture(m_target, std::move(picture));
    ShowTarget();
    return true;
}

void CSysPicture::OnLoadClicked()
{
    const PictureOpenOptions options{LoadText(IDS_SYSPICTURE_LOAD_TITLE), GetOpenFilterString(), "BMP",
                                     ReadLoadPictureDirectory(), false};
    const std::vector<std::string> paths = RunPictureOpenDialog(GetAncestor(m_hwnd, GA_ROOT), options);
    if (paths.empty())
        return;
    WriteLoadPictureDirectory(WithoutTrailingSeparator(PathFolderPart(paths.front())));
    LoadFile(paths.front());
}

void CSysPicture::Apply()
{
    const SysPictureSettings settings = SettingsOfControls();
    WriteSysPictureSettings(settings);
    ShowSettings(settings); // a reversed rectangle shows as it was stored, swapped
    LogoRequest request;
    request.settings = settings;
    request.withBar = settings.barEnabled;
    request.orientation = static_cast<BarOrientation>(
        std::clamp(SelectedComboData(Item(IDC_SYSPICTURE_ORIENTATION), 0), 0, 3));
    ApplyOutcome outcome;
    {
        CBusyScope busy;
        busy.Progress().SetText(LoadText(IDS_SYSPICTURE_PREPARING));
        outcome = m_model.Apply(m_target, request, TargetTitle(m_target), &busy.Progress());
    }
    ShowTarget();
    if (outcome.result == ApplyResult::NotWritten)
        ShowMessage(FormatText(IDS_SYSPICTURE_CANNOT_WRITE, outcome.path));
    else if (outcome.result == ApplyResult::NotRemoved)
        ShowMessage(FormatText(IDS_SYSPICTURE_CANNOT_REMOVE, outcome.path));
}

bool CSysPicture::OnCommand(WORD id, WORD code)
{
    const CPicture* picture = Picture();
    switch (id) {
    case IDC_SYSPICTURE_LOAD: if (code == BN_CLICKED) OnLoadClicked(); return true;
    case IDC_SYSPICTURE_VIEW:
        if (code == BN_CLICKED && picture)
            ShowPicture(const_cast<CPicture*>(picture), false);
        return true;
    case IDC_SYSPICTURE_PRINT:
        if (code == BN_CLICKED && picture)
            PrintPicture(picture, false);
        return true;
    case IDC_SYSPICTURE_EDIT:
        if (code == BN_CLICKED && picture)
            HandPictureToEditor(GetAncestor(m_hwnd, GA_ROOT), *picture);
        return true;
    case IDC_SYSPICTURE_RESET:
        if (code == BN_CLICKED) {
            {
                CBusyScope busy;
                m_model.ReadTarget(m_target, TargetTitle(m_target), &busy.Progress());
            }
            ShowTarget();
        }
        return true;
    case IDC_SYSPICTURE_DELETE:
        if (code == BN_CLICKED) {
            m_model.RemovePicture(m_target);
            ShowTarget();
        }
        return true;
    case IDC_SYSPICTURE_APPLY: if (code == BN_CLICKED) Apply(); return true;
    case IDC_SYSPICTURE_ENABLE_BAR: if (code == BN_CLICKED) UpdateBarControls(); return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CSysPicture::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_SYSPICTURE_TABS && header->code == TCN_SELCHANGE) {
            SelectTarget(static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
            return 0;
        }
        return std::nullopt;
    }
    if (message == WM_DROPFILES) {
        const std::vector<std::string> paths = TakeDroppedFiles(reinterpret_cast<HDROP>(wParam));
        if (!paths.empty())
            LoadFile(paths.front());
        return 0;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}
