#include "picturetools/capture/snap_view_win.h"

#include <commdlg.h>

#include <algorithm>

#include "app/message.h"
#include "app/paths.h"
#include "base/text.h"
#include "framework/frame.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/capture/capture_module.h"
#include "picturetools/capture/capture_settings.h"
#include "picturetools/capture/screen_grab_win.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/control_helpers_win.h"
#include "shell/module_tips_win.h"
#include "shell/viewer/picture_viewer_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_CAPTURE_KEY_LABEL, IDS_CAPTURE_HOT_KEY},    {IDC_CAPTURE_MODIFIERS, IDS_CAPTURE_MODIFIERS},
    {IDC_CAPTURE_ALT, IDS_CAPTURE_ALT},              {IDC_CAPTURE_SHIFT, IDS_CAPTURE_SHIFT},
    {IDC_CAPTURE_CTRL, IDS_CAPTURE_CTRL},            {IDC_CAPTURE_KIND, IDS_CAPTURE_KIND},
    {IDC_CAPTURE_FULL_SCREEN, IDS_CAPTURE_FULL_SCREEN}, {IDC_CAPTURE_WINDOW, IDS_CAPTURE_WINDOW},
    {IDC_CAPTURE_CLIENT, IDS_CAPTURE_CLIENT},        {IDC_CAPTURE_MULTIPLE, IDS_CAPTURE_MULTIPLE},
    {IDC_CAPTURE_START, IDS_BUTTON_START},           {IDC_CAPTURE_SAVE, IDS_SAVE_TITLE},
    {IDC_CAPTURE_COPY, IDS_CAPTURE_COPY},            {IDC_CAPTURE_VIEW, IDS_CAPTURE_VIEW},
    {IDC_CAPTURE_PRINT, IDS_CAPTURE_PRINT},          {IDC_CAPTURE_DELETE, IDS_CAPTURE_DELETE},
};
// The tabs and the preview on them grow with the form; the choices stay at the top left.
const ControlAnchor kAnchors[] = {
    {IDC_CAPTURE_TABS, StretchRight | StretchDown},
    {IDC_CAPTURE_PREVIEW, StretchRight | StretchDown},
};
const FormText kTips[] = {
    {IDC_CAPTURE_START, IDS_TIP_CAPTURE_START},   {IDC_CAPTURE_VIEW, IDS_TIP_CAPTURE_VIEW},
    {IDC_CAPTURE_SAVE, IDS_TIP_CAPTURE_SAVE},     {IDC_CAPTURE_PRINT, IDS_TIP_CAPTURE_PRINT},
    {IDC_CAPTURE_DELETE, IDS_TIP_CAPTURE_DELETE}, {IDC_CAPTURE_COPY, IDS_TIP_CAPTURE_COPY},
    {IDC_CAPTURE_MULTIPLE, IDS_TIP_CAPTURE_MULTIPLE}, {IDC_CAPTURE_KEY, IDS_TIP_CAPTURE_KEY},
};
const ModuleForm kForm{IDD_CAPTURE, kTexts, kAnchors, IDS_CAPTURE_REPORT_TITLE};
const int kCaptureButtons[] = {IDC_CAPTURE_SAVE, IDC_CAPTURE_COPY, IDC_CAPTURE_VIEW, IDC_CAPTURE_PRINT,
                               IDC_CAPTURE_DELETE};

std::string HotKeyText(const HotKeyChoice& choice)
{
    return choice.functionNumber ? FormatText(choice.textId, std::to_string(choice.functionNumber))
                                 : LoadText(choice.textId);
}
} // namespace

CQnSnap::CQnSnap() : CQnFormView(kForm) {}

CQnSnap::~CQnSnap()
{
    m_arming.Disarm();
    SetPicturePrinter(nullptr);
}

std::unique_ptr<CQnFormView> CreateCaptureView() { return std::make_unique<CQnSnap>(); }

bool CQnSnap::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    HWND combo = Item(IDC_CAPTURE_KEY);
    for (const HotKeyChoice& choice : HotKeyChoices())
        AddComboItem(combo, HotKeyText(choice), static_cast<int>(choice.virtualKey));
    const CaptureSettings settings = ReadCaptureSettings();
    SendMessageA(combo, CB_SETCURSEL, settings.hotKeyIndex, 0);
    CheckDlgButton(m_hwnd, IDC_CAPTURE_ALT, settings.alt ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_CAPTURE_SHIFT, settings.shift ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_CAPTURE_CTRL, settings.control ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_CAPTURE_MULTIPLE, settings.multipleCaptures ? BST_CHECKED : BST_UNCHECKED);
    const int kindButton = settings.kind == CaptureKind::Window   ? IDC_CAPTURE_WINDOW
                           : settings.kind == CaptureKind::Client ? IDC_CAPTURE_CLIENT
                                                                  : IDC_CAPTURE_FULL_SCREEN;
    CheckRadioButton(m_hwnd, IDC_CAPTURE_FULL_SCREEN, IDC_CAPTURE_CLIENT, kindButton);

    m_tabs.Attach(Item(IDC_CAPTURE_TABS));
    m_tabs.SetCurrentCallback([this] { OnCurrentChanged(); });
    // The preview takes the place (and id) of the template's placeholder, above the tabs.
    HWND placeholder = Item(IDC_CAPTURE_PREVIEW);
    RECT area{};
    GetWindowRect(placeholder, &area);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&area), 2);
    DestroyWindow(placeholder);
    m_preview.CreateControl(m_hwnd, IDC_CAPTURE_PREVIEW, area);
    SetWindowPos(m_preview.Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetPicturePrinter(&m_preview.Printer());
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    OnCurrentChanged();
    return false;
}

bool CQnSnap::OnCommand(WORD id, WORD code)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_CAPTURE_START: Start(); return true;
    case IDC_CAPTURE_SAVE: OnSave(); return true;
    case IDC_CAPTURE_COPY: OnCopy(); return true;
    case IDC_CAPTURE_VIEW: OnView(); return true;
    case IDC_CAPTURE_PRINT: OnPrint(); return true;
    case IDC_CAPTURE_DELETE: OnDelete(); return true;
    default: return false;
    }
}

CaptureKind CQnSnap::ChosenKind() const
{
    if (IsDlgButtonChecked(m_hwnd, IDC_CAPTURE_WINDOW) == BST_CHECKED)
        return CaptureKind::Window;
    if (IsDlgButtonChecked(m_hwnd, IDC_CAPTURE_CLIENT) == BST_CHECKED)
        return CaptureKind::Client;
    return CaptureKind::FullScreen;
}

unsigned CQnSnap::ChosenKey() const
{
    const int code = SelectedComboData(GetDlgItem(m_hwnd, IDC_CAPTURE_KEY), -1);
    return code < 0 ? HotKeyChoices()[0].virtualKey : static_cast<unsigned>(code);
}

unsigned CQnSnap::ChosenModifiers() const
{
    return HotKeyModifiers(IsDlgButtonChecked(m_hwnd, IDC_CAPTURE_ALT) == BST_CHECKED,
                           IsDlgButtonChecked(m_hwnd, IDC_CAPTURE_CTRL) == BST_CHECKED,
                           IsDlgButtonChecked(m_hwnd, IDC_CAPTURE_SHIFT) == BST_CHECKED);
}

HWND CQnSnap::MainWindow() const { return GetAncestor(m_hwnd, GA_ROOT); }

bool CQnSnap::Start()
{
    HWND main = MainWindow();
    ShowWindow(main, SW_MINIMIZE);
    if (m_arming.Arm(m_hwnd, main, ChosenKey(), ChosenModifiers(), [this] { CaptureNow(); }))
        return true;
    ShowWindow(main, SW_RESTORE);
    return false;
}

bool CQnSnap::CaptureNow()
{
    bool added = false;
    {
        HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        std::unique_ptr<CPicture> picture = Capture(ChosenKind());
        if (picture) {
            const std::string label = FormatText(IDS_CAPTURE_TAB, std::to_string(m_capturesTaken + 1));
            added = m_tabs.Add(std::move(picture), label);
            if (added)
                ++m_capturesTaken;
        }
        SetCursor(old);
    }
    // One capture per session unless multiple captures are on: showing the window disarms.
    if (IsDlgButtonChecked(m_hwnd, IDC_CAPTURE_MULTIPLE) != BST_CHECKED)
        ShowWindow(MainWindow(), SW_RESTORE);
    return added;
}

void CQnSnap::OnCurrentChanged()
{
    const CPicture* current = m_tabs.Current();
    m_preview.SetPicture(current, false);
    // The tab control leaves the place of a removed last tab as it was.
    InvalidateRect(m_tabs.Strip().Hwnd(), nullptr, TRUE);
    for (int id : kCaptureButtons)
        EnableWindow(Item(id), current != nullptr);
}

bool CQnSnap::SaveCurrentTo(const std::string& path)
{
    const CPicture* current = m_tabs.Current();
    if (!current)
        return false;
    CBusyScope busy;
    busy.Step(0, FormatText(IDS_CAPTURE_SAVING, PathNamePart(path)));
    // Written beside the target and then moved over it: a failed write neither leaves a damaged
    // file nor destroys the file it was to replace.
    const std::string temporary = path + ".~tmp";
    CPicture copy;
    bool written = copy.CopyFrom(*current) && BmpCodec().WriteFile(temporary, &copy, 24, false, &busy.Progress()) == 1;
    written = written && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!written)
        DeleteFileA(temporary.c_str());
    return written;
}

void CQnSnap::OnSave()
{
    if (!m_tabs.Current())
        return;
    std::string filter = BmpCodec().Filter() + LoadText(IDS_FILTER_ALL_FILES);
    std::replace(filter.begin(), filter.end(), '|', '\0');
    const std::string title = LoadText(IDS_SAVE_TITLE);
    const std::string folder = ReadCaptureSettings().saveDirectory;
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = MainWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = "BMP";
    // The chosen folder must not stay the program's current folder (it could not be removed).
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&ofn))
        return;
    WriteCaptureSaveDirectory(FolderOf(file));
    if (!SaveCurrentTo(file))
        ShowMessage(FormatText(IDS_CANNOT_WRITE_FILE, file));
}

void CQnSnap::OnCopy() { m_preview.CopyToClipboard(); }

void CQnSnap::OnView()
{
    if (const CPicture* current = m_tabs.Current())
        ShowPicture(const_cast<CPicture*>(current), false);
}

void CQnSnap::OnPrint()
{
    if (const CPicture* current = m_tabs.Current())
        PrintPicture(current, false);
}

void CQnSnap::OnDelete()
{
    m_tabs.DeleteCurrent();
}
