// The picture open dialog: GetOpenFileName with a child template (preview check box, preview
// area and size line to the right of the standard controls) and a hook that follows the
// selection.
#include "shell/picture_open/picture_open_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <exception>
#include <memory>

#include "app/services.h"
#include "app/settings.h"
#include "base/progress.h"
#include "base/text.h"
#include "framework/dialog_template.h"
#include "picture/codec_registry.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "shell/gdi_helpers_win.h"
#include "shell/picture_open/open_file_names.h"
#include "shell/picture_open/preview_fit.h"

namespace {
constexpr const char* kSettingsSection = "LoadPicture";
constexpr const char* kPreviewSetting = "EnablePreview";
constexpr const char* kHelpPage = "local\\filesselector.htm";
// Room for a long multiple selection (folder and names, each NUL-ended).
constexpr size_t kResultBufferSize = 64 * 1024;

class PreviewPanel {
public:
    void Attach(HWND panel)
    {
        m_panel = panel;
        CheckDlgButton(m_panel, IDC_PICTURE_OPEN_PREVIEW_CHECK,
                       CQnSettings().ReadBool(kSettingsSection, kPreviewSetting, false) ? BST_CHECKED
                                                                                          : BST_UNCHECKED);
    }

    bool Enabled() const { return IsDlgButtonChecked(m_panel, IDC_PICTURE_OPEN_PREVIEW_CHECK) == BST_CHECKED; }

    void OnPreviewSwitched()
    {
        CQnSettings().WriteBool(kSettingsSection, kPreviewSetting, Enabled());
        if (Enabled())
            Follow();
        else
            Show("", nullptr);
    }

    // The selection changed: load the selected file when it is a file other than the one shown.
    void Follow()
    {
        if (!Enabled())
            return;
        const std::string path = SelectedPath();
        if (path.empty() || path == m_shownPath)
            return;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return;
        HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        // A preview that cannot be read stays empty: no message while the user browses.
        auto picture = std::make_unique<CPicture>();
        if (!LoadPicture(path, picture.get(), &CQnProgress::Silent()))
            picture.reset();
        SetCursor(old);
        Show(path, std::move(picture));
    }

    void Draw(const DRAWITEMSTRUCT& item) const
    {
        const RECT& area = item.rcItem;
        FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
        if (m_picture) {
            const int left = area.left + (area.right - area.left - m_picture->Width()) / 2;
            const int top = area.top + (area.bottom - area.top - m_picture->Height()) / 2;
            const RECT target{left, top, left + m_picture->Width(), top + m_picture->Height()};
            DrawPicture(item.hDC, *m_picture, target);
        }
        DrawEdge(item.hDC, const_cast<RECT*>(&area), EDGE_SUNKEN, BF_RECT);
    }

private:
    std::string SelectedPath() const
    {
        char path[MAX_PATH * 2] = "";
        const LRESULT length = SendMessageA(GetParent(m_panel), CDM_GETFILEPATH, sizeof path,
                                            reinterpret_cast<LPARAM>(path));
        if (length <= 0 || static_cast<size_t>(length) > sizeof path)
            return {};
        path[sizeof path - 1] = '\0';
        return path;
    }

    // Fits the picture into the area inside the frame and shows it, its original size below;
    // a picture that did not load or fit leaves both empty.
    void Show(const std::string& path, std::unique_ptr<CPicture> picture)
    {
        m_shownPath = path;
        std::string sizeText;
        if (picture) {
            sizeText = std::to_string(picture->Width()) + " x " + std::to_string(picture->Height());
            RECT area{};
            GetClientRect(GetDlgItem(m_panel, IDC_PICTURE_OPEN_PREVIEW), &area);
            const int border = 2 * GetSystemMetrics(SM_CXEDGE);
            if (!FitPictureToPreview(*picture, area.right - 2 * border, area.bottom - 2 * border)) {
                picture.reset();
                sizeText.clear();
            }
        }
        m_picture = std::move(picture);
        SetDlgItemTextA(m_panel, IDC_PICTURE_OPEN_SIZE, sizeText.c_str());
        InvalidateRect(GetDlgItem(m_panel, IDC_PICTURE_OPEN_PREVIEW), nullptr, FALSE);
    }

    HWND m_panel = nullptr;
    std::string m_shownPath;
    std::unique_ptr<CPicture> m_picture;
};

// The Help button opens the file selector's page. The button's command is taken before the
// dialog sees it: some systems never pass the dialog's CDN_HELP on to the hook.
LRESULT CALLBACK HelpButtonSubclass(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_COMMAND && LOWORD(wParam) == pshHelp) {
        try {
            ShowHelpPage(kHelpPage);
        } catch (const std::exception&) {
        }
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(dialog, HelpButtonSubclass, 0);
    return DefSubclassProc(dialog, message, wParam, lParam);
}

// The hook is the child dialog's procedure; its panel object lives in the window's user data.
UINT_PTR HandleHookMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* preview = reinterpret_cast<PreviewPanel*>(GetWindowLongPtrA(panel, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG: {
        const auto* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        preview = reinterpret_cast<PreviewPanel*>(ofn->lCustData);
        SetWindowLongPtrA(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(preview));
        preview->Attach(panel);
        SetWindowSubclass(GetParent(panel), HelpButtonSubclass, 0, 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (preview && LOWORD(wParam) == IDC_PICTURE_OPEN_PREVIEW_CHECK && HIWORD(wParam) == BN_CLICKED)
            preview->OnPreviewSwitched();
        return 0;
    case WM_DRAWITEM:
        if (preview && wParam == IDC_PICTURE_OPEN_PREVIEW) {
            preview->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return 0;
    case WM_NOTIFY: {
        const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
        if (preview && notify->hdr.code == CDN_SELCHANGE)
            preview->Follow();
        return 0;
    }
    default:
        return 0;
    }
}

UINT_PTR CALLBACK PreviewHook(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return HandleHookMessage(panel, message, wParam, lParam);
    } catch (const std::exception&) {
        return 0; // no memory for the preview: the dialog goes on without it
    }
}

// The child template: stc32 stands for the standard controls, the preview goes to its right.
CDialogTemplate PreviewTemplate()
{
    CDialogTemplate layout(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL, 0, 0, 0, 150, 160,
                           "");
    layout.AddControl(CDialogTemplate::Static, "", stc32, WS_CHILD, 0, 0, 10, 150);
    layout.AddControl(CDialogTemplate::Button, LoadText(IDS_PREVIEW_CHECK), IDC_PICTURE_OPEN_PREVIEW_CHECK,
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 14, 8, 120, 10);
    layout.AddControl(CDialogTemplate::Static, "", IDC_PICTURE_OPEN_PREVIEW, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW,
                      14, 22, 128, 112);
    layout.AddControl(CDialogTemplate::Static, "", IDC_PICTURE_OPEN_SIZE,
                      WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 14, 138, 128, 10);
    return layout;
}
} // namespace

std::vector<std::string> RunPictureOpenDialog(HWND owner, const PictureOpenOptions& options)
{
    const CDialogTemplate layout = PreviewTemplate();
    const std::string filter = OpenDialogFilter(options.filter);
    std::vector<char> result(kResultBufferSize, '\0');
    const DWORD folder = GetFileAttributesA(options.initialFolder.c_str());
    const bool folderExists =
        !options.initialFolder.empty() && folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY);
    PreviewPanel preview;

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = reinterpret_cast<HINSTANCE>(const_cast<DLGTEMPLATE*>(layout.Data()));
    ofn.lpstrFilter = options.filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = result.data();
    ofn.nMaxFile = static_cast<DWORD>(result.size());
    ofn.lpstrInitialDir = folderExists ? options.initialFolder.c_str() : nullptr;
    ofn.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
    ofn.lpstrDefExt = options.defaultExtension.empty() ? nullptr : options.defaultExtension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE | OFN_SHOWHELP | OFN_HIDEREADONLY |
                OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                (options.multiSelect ? OFN_ALLOWMULTISELECT : 0);
    ofn.lpfnHook = PreviewHook;
    ofn.lCustData = reinterpret_cast<LPARAM>(&preview);
    if (!GetOpenFileNameA(&ofn))
        return {};
    if (!options.multiSelect)
        return {std::string(result.data())};
    return ParseOpenFileNames(result.data(), result.size());
}
