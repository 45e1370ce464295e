#include "picturetools/wallpaper/background_view_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/message.h"
#include "app/paths.h"
#include "app/picture_loading.h"
#include "app/settings.h"
#include "base/text.h"
#include "picture/codec_registry.h"
#include "picture/picture.h"
#include "picturetools/wallpaper/wallpaper_module.h"
#include "picturetools/wallpaper/wallpaper_system_win.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/control_helpers_win.h"
#include "shell/dropped_files_win.h"
#include "shell/editor_handover_win.h"
#include "shell/module_tips_win.h"
#include "shell/picture_open/picture_open_dialog_win.h"
#include "shell/viewer/picture_viewer_win.h"

namespace {
const char kSection[] = "WallPaper";

const FormText kTexts[] = {
    {IDC_WALLPAPER_LOAD, IDS_WALLPAPER_LOAD},          {IDC_WALLPAPER_VIEW, IDS_WALLPAPER_VIEW},
    {IDC_WALLPAPER_PRINT, IDS_WALLPAPER_PRINT},        {IDC_WALLPAPER_EDIT, IDS_WALLPAPER_EDIT},
    {IDC_WALLPAPER_RESET, IDS_WALLPAPER_RESET},        {IDC_WALLPAPER_DELETE, IDS_WALLPAPER_DELETE},
    {IDC_WALLPAPER_APPLY, IDS_WALLPAPER_APPLY},        {IDC_WALLPAPER_NORMAL, IDS_WALLPAPER_NORMAL},
    {IDC_WALLPAPER_MOSAIC, IDS_WALLPAPER_MOSAIC},      {IDC_WALLPAPER_STRETCH, IDS_WALLPAPER_STRETCH},
    {IDC_WALLPAPER_BESTFIT, IDS_WALLPAPER_BESTFIT},    {IDC_WALLPAPER_WIDTH_LABEL, IDS_WALLPAPER_WIDTH},
    {IDC_WALLPAPER_HEIGHT_LABEL, IDS_WALLPAPER_HEIGHT}, {IDC_WALLPAPER_MODE_GROUP, IDS_WALLPAPER_MODE_GROUP},
    {IDC_WALLPAPER_SIZE_GROUP, IDS_WALLPAPER_SIZE_GROUP}, {IDC_WALLPAPER_PICTURE_LABEL, IDS_WALLPAPER_PICTURE_LABEL},
    {IDC_WALLPAPER_TARGET_LABEL, IDS_WALLPAPER_TARGET_LABEL}, {IDC_WALLPAPER_SCREEN_LABEL, IDS_WALLPAPER_SCREEN_LABEL},
    {IDC_WALLPAPER_COLOR_LABEL, IDS_WALLPAPER_COLOR_LABEL},
};
// The tab strip and the preview grow with the form; the settings and buttons follow its right edge.
const ControlAnchor kAnchors[] = {
    {IDC_WALLPAPER_TABS, StretchRight},   {IDC_WALLPAPER_PREVIEW, StretchRight | StretchDown},
    {IDC_WALLPAPER_STATUS, FollowBottom | StretchRight}, {IDC_WALLPAPER_MODE_GROUP, FollowRight},
    {IDC_WALLPAPER_NORMAL, FollowRight},                {IDC_WALLPAPER_MOSAIC, FollowRight},
    {IDC_WALLPAPER_STRETCH, FollowRight},               {IDC_WALLPAPER_BESTFIT, FollowRight},
    {IDC_WALLPAPER_COLOR_LABEL, FollowRight},           {IDC_WALLPAPER_COLOR, FollowRight},
    {IDC_WALLPAPER_SIZE_GROUP, FollowRight},            {IDC_WALLPAPER_PICTURE_LABEL, FollowRight},
    {IDC_WALLPAPER_TARGET_LABEL, FollowRight},          {IDC_WALLPAPER_WIDTH_LABEL, FollowRight},
    {IDC_WALLPAPER_PICTURE_WIDTH, FollowRight},         {IDC_WALLPAPER_WIDTH, FollowRight},
    {IDC_WALLPAPER_WIDTH_SPIN, FollowRight},            {IDC_WALLPAPER_HEIGHT_LABEL, FollowRight},
    {IDC_WALLPAPER_PICTURE_HEIGHT, FollowRight},        {IDC_WALLPAPER_HEIGHT, FollowRight},
    {IDC_WALLPAPER_HEIGHT_SPIN, FollowRight},           {IDC_WALLPAPER_SCREEN_LABEL, FollowRight},
    {IDC_WALLPAPER_SCREEN_SIZE, FollowRight},           {IDC_WALLPAPER_LOAD, FollowRight},
    {IDC_WALLPAPER_VIEW, FollowRight},                  {IDC_WALLPAPER_PRINT, FollowRight},
    {IDC_WALLPAPER_EDIT, FollowRight},                  {IDC_WALLPAPER_RESET, FollowRight},
    {IDC_WALLPAPER_DELETE, FollowRight},                {IDC_WALLPAPER_APPLY, FollowRight},
};
const FormText kTips[] = {
    {IDC_WALLPAPER_LOAD, IDS_WALLPAPER_LOAD_TIP},   {IDC_WALLPAPER_VIEW, IDS_WALLPAPER_VIEW_TIP},
    {IDC_WALLPAPER_PRINT, IDS_WALLPAPER_PRINT_TIP}, {IDC_WALLPAPER_EDIT, IDS_WALLPAPER_EDIT_TIP},
    {IDC_WALLPAPER_RESET, IDS_WALLPAPER_RESET_TIP}, {IDC_WALLPAPER_DELETE, IDS_WALLPAPER_DELETE_TIP},
    {IDC_WALLPAPER_COLOR, IDS_WALLPAPER_COLOR_TIP},
};
const ModuleForm kForm{IDD_WALLPAPER, kTexts, kAnchors, 0};

struct ModeRadio {
    int controlId;
    WallpaperMode mode;
};
const ModeRadio kModeRadios[] = {{IDC_WALLPAPER_NORMAL, WallpaperMode::Normal},
                                 {IDC_WALLPAPER_MOSAIC, WallpaperMode::Mosaic},
                                 {IDC_WALLPAPER_STRETCH, WallpaperMode::Stretch},
                                 {IDC_WALLPAPER_BESTFIT, WallpaperMode::BestFit}};

void SetText(HWND form, int id, const std::string& text) { SetDlgItemTextA(form, id, text.c_str()); }

void Enable(HWND form, std::initializer_list<int> ids, bool enabled)
{
    for (int id : ids)
        EnableWindow(GetDlgItem(form, id), enabled);
}
} // namespace

CQnBackground::CQnBackground() : CQnFormView(kForm) {}

CQnBackground::~CQnBackground() { SetPicturePrinter(nullptr); }

std::unique_ptr<CQnFormView> CreateWallpaperView() { return std::make_unique<CQnBackground>(); }

bool CQnBackground::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    HWND tabs = Item(IDC_WALLPAPER_TABS);
    for (unsigned textId : {IDS_WALLPAPER_CURRENT_USER, IDS_WALLPAPER_DEFAULT_USER}) {
        std::string text = LoadText(textId);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageA(tabs, TCM_INSERTITEMA, SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
    }
    // The preview takes the place (and id) of the template's frame.
    HWND frame = Item(IDC_WALLPAPER_PREVIEW);
    RECT rect{};
    GetWindowRect(frame, &rect);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    DestroyWindow(frame);
    m_preview.CreateControl(m_hwnd, IDC_WALLPAPER_PREVIEW, rect, WS_BORDER);
    SetWindowPos(m_preview.Hwnd(), Item(IDC_WALLPAPER_TABS), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetPicturePrinter(&m_preview.Printer());

    m_colour.AttachControl(Item(IDC_WALLPAPER_COLOR));
    m_colour.SetColor(static_cast<COLORREF>(CQnSettings().ReadInt(kSection, "BackgroundColor", 0)));
    for (int spin : {IDC_WALLPAPER_WIDTH_SPIN, IDC_WALLPAPER_HEIGHT_SPIN})
        SendDlgItemMessageA(m_hwnd, spin, UDM_SETRANGE32, kMinWallpaperDimension, kMaxWallpaperDimension);
    const PictureSize screen = DesktopWallpaperSystem().ScreenSize();
    SetText(m_hwnd, IDC_WALLPAPER_SCREEN_SIZE,
            FillConversions(LoadText(IDS_WALLPAPER_SCREEN_SIZE), {std::to_string(screen.width), std::to_string(screen.height)}));
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    DragAcceptFiles(m_hwnd, TRUE);
    return false;
}

void CQnBackground::InitModule()
{
    CBusyScope busy;
    for (int target = 0; target < kWallpaperTargetCount; ++target)
        m_model.ReadTarget(target, &busy.Progress());
    SelectTarget(0);
}

const CPicture* CQnBackground::Picture() const { return m_model.State(m_target).picture.get(); }

void CQnBackground::SelectTarget(int target)
{
    m_target = target == static_cast<int>(WallpaperTargetId::DefaultUser) ? 1 : 0;
    SendMessageA(Item(IDC_WALLPAPER_TABS), TCM_SETCURSEL, m_target, 0);
    ShowTarget();
}

void CQnBackground::ShowTarget()
{
    const WallpaperTargetState& state = m_model.State(m_target);
    const WallpaperTargetView view = DescribeWallpaperTarget(state);
    m_showing = true;
    SetText(m_hwnd, IDC_WALLPAPER_PICTURE_WIDTH, view.pictureWidth);
    SetText(m_hwnd, IDC_WALLPAPER_PICTURE_HEIGHT, view.pictureHeight);
    SetText(m_hwnd, IDC_WALLPAPER_WIDTH, view.targetWidth);
    SetText(m_hwnd, IDC_WALLPAPER_HEIGHT, view.targetHeight);
    SetText(m_hwnd, IDC_WALLPAPER_STATUS, view.status);
    for (const ModeRadio& radio : kModeRadios)
        CheckDlgButton(m_hwnd, radio.controlId, radio.mode == state.mode ? BST_CHECKED : BST_UNCHECKED);
    m_showing = false;
    m_status.Show(view.status);
    Enable(m_hwnd,
           {IDC_WALLPAPER_VIEW, IDC_WALLPAPER_PRINT, IDC_WALLPAPER_EDIT, IDC_WALLPAPER_DELETE, IDC_WALLPAPER_PREVIEW,
            IDC_WALLPAPER_WIDTH, IDC_WALLPAPER_WIDTH_SPIN, IDC_WALLPAPER_HEIGHT, IDC_WALLPAPER_HEIGHT_SPIN},
           view.hasPicture);
    Enable(m_hwnd, {IDC_WALLPAPER_APPLY}, view.canApply);
    Enable(m_hwnd, {IDC_WALLPAPER_COLOR, IDC_WALLPAPER_COLOR_LABEL}, view.colourEnabled);
    m_preview.SetPicture(state.picture.get(), false);
    SetReportTitle(view.reportTitle.empty() ? LoadText(IDS_APP_TITLE) : view.reportTitle);
}

bool CQnBackground::LoadFile(const std::string& path)
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

void CQnBackground::OnLoadClicked()
{
    const PictureOpenOptions options{LoadText(IDS_WALLPAPER_LOAD_TIP), GetOpenFilterString(), "BMP",
                                     CQnSettings().ReadString(kSection, "LoadPictureDirectory"), false};
    const std::vector<std::string> paths = RunPictureOpenDialog(GetAncestor(m_hwnd, GA_ROOT), options);
    if (paths.empty())
        return;
    std::string folder = WithoutTrailingSeparator(PathFolderPart(paths.front()));
    if (!folder.empty() && folder.back() == ':')
        folder += '\\'; // a drive's root keeps its separator: "C:" alone is not a folder
    CQnSettings().WriteString(kSection, "LoadPictureDirectory", folder);
    LoadFile(paths.front());
}

void CQnBackground::OnSizeEdited()
{
    if (m_showing || !Picture())
        return;
    BOOL widthRead = FALSE, heightRead = FALSE;
    const int width = static_cast<int>(GetDlgItemInt(m_hwnd, IDC_WALLPAPER_WIDTH, &widthRead, FALSE));
    const int height = static_cast<int>(GetDlgItemInt(m_hwnd, IDC_WALLPAPER_HEIGHT, &heightRead, FALSE));
    const PictureSize before = m_model.State(m_target).size;
    m_model.SetSize(m_target, {widthRead ? width : before.width, heightRead ? height : before.height});
}

void CQnBackground::Apply()
{
    const COLORREF background = m_colour.Color();
    CQnSettings().WriteInt(kSection, "BackgroundColor", static_cast<int>(background));
    WallpaperOutcome outcome;
    {
        CBusyScope busy;
        outcome = m_model.Apply(m_target, background, DesktopWallpaperSystem(), &busy.Progress());
    }
    ShowTarget();
    if (outcome.result != WallpaperResult::Installed)
        ShowMessage(FormatText(IDS_WALLPAPER_CANNOT_SET, outcome.path));
}

bool CQnBackground::OnCommand(WORD id, WORD code)
{
    for (const ModeRadio& radio : kModeRadios)
        if (id == radio.controlId) {
            if (code == BN_CLICKED && !m_showing) {
                m_model.SetMode(m_target, radio.mode);
                ShowTarget();
            }
            return true;
        }
    const CPicture* picture = Picture();
    switch (id) {
    case IDC_WALLPAPER_LOAD: if (code == BN_CLICKED) OnLoadClicked(); return true;
    case IDC_WALLPAPER_VIEW:
        if (code == BN_CLICKED && picture)
            ShowPicture(const_cast<CPicture*>(picture), false);
        return true;
    case IDC_WALLPAPER_PRINT:
        if (code == BN_CLICKED && picture)
            PrintPicture(picture, false);
        return true;
    case IDC_WALLPAPER_EDIT:
        if (code == BN_CLICKED && picture)
            HandPictureToEditor(GetAncestor(m_hwnd, GA_ROOT), *picture);
        return true;
    case IDC_WALLPAPER_RESET:
        if (code == BN_CLICKED) {
            CBusyScope busy;
            m_model.ReadTarget(m_target, &busy.Progress());
            ShowTarget();
        }
        return true;
    case IDC_WALLPAPER_DELETE:
        if (code == BN_CLICKED) {
            m_model.RemovePicture(m_target);
            ShowTarget();
        }
        return true;
    case IDC_WALLPAPER_APPLY: if (code == BN_CLICKED) Apply(); return true;
    case IDC_WALLPAPER_WIDTH:
    case IDC_WALLPAPER_HEIGHT:
        if (code == EN_CHANGE)
            OnSizeEdited();
        return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}

std::optional<LRESULT> CQnBackground::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_WALLPAPER_TABS && header->code == TCN_SELCHANGE) {
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
