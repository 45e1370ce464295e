#include "shell/viewer/picture_viewer_win.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "base/text.h"
#include "base/text_win.h"
#include "framework/dialog.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "shell/controls/dx_picture_win.h"
#include "shell/gdi_helpers_win.h"
#include "shell/main_frame_win.h"
#include "shell/viewer/picture_file_facts_win.h"
#include "shell/viewer/picture_info.h"
#include "shell/viewer/viewer_pages.h"

namespace {
enum : WORD { IdTabs = 1032, IdPicture = 1121, IdInfo = 1334 };
constexpr int kInfoMargin = 4;

CDialogTemplate BuildLayout()
{
    CDialogTemplate layout(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                               WS_CLIPCHILDREN,
                           0, 0, 0, 320, 200, LoadText(IDS_VIEWER_TITLE));
    layout.AddControl(CDialogTemplate::Edit, "", IdInfo,
                      WS_CHILD | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                          ES_AUTOHSCROLL,
                      4, 20, 312, 176, WS_EX_CLIENTEDGE);
    layout.AddControl(WC_TABCONTROLA, "", IdTabs, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 320,
                      200);
    return layout;
}

class WaitCursor {
public:
    WaitCursor() : m_old(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(m_old); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_old;
};

// The frame's current module view when it can print now (no modal dialog, no preview showing).
CQnFormView* PrintingView()
{
    CMainFrame* frame = MainFrame();
    if (!frame || !frame->Hwnd() || !IsWindowEnabled(frame->Hwnd()) || frame->ViewReplacement())
        return nullptr;
    return frame->CurrentView();
}

class CPictureViewer : public CDialog {
public:
    CPictureViewer() : CDialog(&m_layout) {}

    bool Show(std::unique_ptr<CPicture> picture, const std::string& filePath)
    {
        if (!picture || picture->IsEmpty())
            return false;
        const std::string& path = filePath.empty() ? picture->Description() : filePath;
        m_facts = ReadPictureFileFacts(path);
        m_display.SetPicture(nullptr, false); // it may show the picture about to be freed
        m_picture = std::move(picture);
        if (!m_hwnd) {
            INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
            InitCommonControlsEx(&controls);
            m_layout = BuildLayout();
            HWND owner = MainFrame() ? MainFrame()->Hwnd() : nullptr;
            if (!CreateModeless(owner)) {
                m_picture.reset();
                return false;
            }
        }
        FillTabs();
        ShowWindow(m_hwnd, IsIconic(m_hwnd) ? SW_RESTORE : SW_SHOW);
        BringWindowToTop(m_hwnd);
        return true;
    }

protected:
    bool OnInitDialog() override
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        if (HMENU menu = LoadMenuInTextLanguage(instance, IDR_PICTURE_VIEWER_MENU))
            SetMenu(m_hwnd, menu); // destroyed with the window
        if (HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PICTURE_VIEWER))) {
            SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        }
        SetWindowTextA(m_hwnd, LoadText(IDS_VIEWER_TITLE).c_str());

        m_font.Reset(CreateFontA(15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New"));
        HWND info = Item(IdInfo);
        SendMessageA(info, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
        SendMessageA(info, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(kInfoMargin, kInfoMargin));
        SendMessageA(info, EM_SETLIMITTEXT, 0, 0);

        const RECT none{0, 0, 0, 0};
        m_display.CreateControl(m_hwnd, IdPicture, none);
        SetWindowPos(m_display.Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(info, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

        const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
        const int width = screenWidth / 2, height = screenHeight / 2;
        SetWindowPos(m_hwnd, nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Layout();
        CQnFormView::SetPictureViewerOpen(true);
        return true;
    }

    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_SIZE:
            Layout();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {240, 180};
            return 0;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IdTabs && header->code == TCN_SELCHANGE) {
                ShowPage(static_cast<int>(SendMessageA(Item(IdTabs), TCM_GETCURSEL, 0, 0)));
                return 0;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            if (reinterpret_cast<HWND>(lParam) == Item(IdInfo)) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            break;
        case WM_INITMENUPOPUP:
            UpdateMenu(reinterpret_cast<HMENU>(wParam));
            return 0;
        }
        return CDialog::OnMessage(message, wParam, lParam);
    }

    bool OnCommand(WORD id, WORD code) override
    {
        switch (id) {
        case ID_VIEWER_SAVE_BMP:
            m_display.SaveBmp(SuggestedBmpName());
            return true;
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_PREVIEW:
            Print(id == ID_FILE_PRINT_PREVIEW);
            return true;
        case ID_FILE_PRINT_SETUP:
        case ID_HELP_CONTENTS:
        case ID_APP_ABOUT_QUENTA:
            if (CMainFrame* frame = MainFrame())
                frame->RouteCommand(id);
            return true;
        case ID_VIEWER_CLOSE:
            DestroyModeless();
            return true;
        case ID_EDIT_COPY:
            Copy();
            return true;
        case ID_VIEWER_FULL_SCREEN:
            m_display.ShowFullScreen();
            return true;
        }
        return CDialog::OnCommand(id, code);
    }

    // Enter does not close the window; Escape and the close box do.
    void OnOK() override {}

    void OnDestroyed() override
    {
        CQnFormView::SetPictureViewerOpen(false);
        m_display.SetPicture(nullptr, false);
        m_picture.reset();
        m_facts.reset();
        m_tabs.clear();
        m_font.Reset();
    }

private:
    void FillTabs()
    {
        HWND tabs = Item(IdTabs);
        SendMessageA(tabs, TCM_DELETEALLITEMS, 0, 0);
        m_tabs = ViewerTabsFor(m_picture->HasAlpha());
        for (size_t i = 0; i < m_tabs.size(); ++i) {
            std::string label = LoadText(m_tabs[i].labelId);
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = label.data();
            SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
        Layout();
        ShowPage(0);
    }

    void ShowPage(int index)
    {
        if (index < 0 || index >= static_cast<int>(m_tabs.size()) || !m_picture)
            return;
        const WaitCursor wait;
        const ViewerPage page = m_tabs[index].page;
        HWND info = Item(IdInfo);
        if (page == ViewerPage::Info) {
            const std::vector<InfoItem> items = BuildPictureInfoItems(*m_picture, m_facts ? &*m_facts : nullptr);
            SetWindowTextA(info, FormatInfoText(items).c_str());
            m_display.SetPicture(nullptr, false);
        } else if (page == ViewerPage::Rgb || (page == ViewerPage::RgbAlpha && !m_picture->HasAlpha())) {
            m_display.SetPicture(m_picture.get(), false);
        } else {
            m_display.TakePicture(MakePagePicture(*m_picture, page));
        }
        const bool showText = page == ViewerPage::Info;
        ShowWindow(info, showText ? SW_SHOW : SW_HIDE);
        m_display.Show(!showText);
    }

    bool OnInfoPage() const
    {
        const int index = static_cast<int>(SendMessageA(Item(IdTabs), TCM_GETCURSEL, 0, 0));
        return index >= 0 && index < static_cast<int>(m_tabs.size()) && m_tabs[index].page == ViewerPage::Info;
    }

    void Layout()
    {
        if (!m_hwnd)
            return;
        RECT client;
        GetClientRect(m_hwnd, &client);
        HWND tabs = Item(IdTabs);
        MoveWindow(tabs, client.left, client.top, client.right - client.left, client.bottom - client.top, TRUE);
        RECT page = client;
        SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
        const int width = std::max<int>(0, page.right - page.left), height = std::max<int>(0, page.bottom - page.top);
        MoveWindow(Item(IdInfo), page.left, page.top, width, height, TRUE);
        if (m_display.Hwnd())
            MoveWindow(m_display.Hwnd(), page.left, page.top, width, height, TRUE);
    }

    void Copy()
    {
        if (OnInfoPage()) {
            HWND info = Item(IdInfo);
            SendMessageA(info, EM_SETSEL, 0, -1);
            SendMessageA(info, WM_COPY, 0, 0);
            SendMessageA(info, EM_SETSEL, static_cast<WPARAM>(-1), 0);
        } else {
            m_display.CopyToClipboard();
        }
    }

    // The picture printed: the one shown, or the picture itself on the information page.
    const CPicture* PrintedPicture() const { return m_display.HasPicture() ? m_display.Picture() : m_picture.get(); }

    void Print(bool preview)
    {
        CQnFormView* view = PrintingView();
        const CPicture* shown = PrintedPicture();
        if (!view || !shown)
            return;
        // The print job runs after this command returns and may outlive the window (a
        // preview stays open), so it gets a copy of its own that lives until the next print.
        auto copy = std::make_unique<CPicture>();
        if (!copy->CopyFrom(*shown))
            return;
        if (m_facts)
            copy->SetName(m_facts->name);
        if (!view->PicturePrinter())
            view->SetPicturePrinter(&m_display.Printer());
        view->PrintPicture(copy.get(), preview);
        m_printCopy.swap(copy);
    }

    std::string SuggestedBmpName() const
    {
        if (!m_facts)
            return {};
        const size_t dot = m_facts->name.find_last_of('.');
        return m_facts->name.substr(0, dot) + ".bmp";
    }

    void UpdateMenu(HMENU menu)
    {
        const bool hasPicture = m_display.HasPicture();
        const bool canPrint = PrintingView() != nullptr;
        const bool hasFrame = MainFrame() != nullptr;
        const struct {
            UINT id;
            bool enabled;
        } states[] = {
            {ID_VIEWER_SAVE_BMP, hasPicture},    {ID_FILE_PRINT, canPrint},      {ID_FILE_PRINT_PREVIEW, canPrint},
            {ID_FILE_PRINT_SETUP, hasFrame},     {ID_EDIT_COPY, true},           {ID_VIEWER_FULL_SCREEN, hasPicture},
            {ID_HELP_CONTENTS, hasFrame},        {ID_APP_ABOUT_QUENTA, hasFrame},
        };
        for (const auto& state : states)
            EnableMenuItem(menu, state.id, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
    }

    CDialogTemplate m_layout = BuildLayout();
    std::unique_ptr<CPicture> m_picture;
    std::optional<PictureFileFacts> m_facts;
    std::vector<ViewerTab> m_tabs;
    CDxPicture m_display;
    GdiObject<HFONT> m_font;
    std::unique_ptr<CPicture> m_printCopy;
};

CPictureViewer& Viewer()
{
    static CPictureViewer viewer;
    return viewer;
}
} // namespace

bool ShowPicture(std::unique_ptr<CPicture> picture, const std::string& filePath)
{
    try {
        return Viewer().Show(std::move(picture), filePath);
    } catch (...) {
        return false;
    }
}

bool ShowPicture(CPicture* picture, bool takeOwnership, const std::string& filePath)
{
    if (takeOwnership)
        return ShowPicture(std::unique_ptr<CPicture>(picture), filePath);
    if (!picture)
        return false;
    try {
        auto copy = std::make_unique<CPicture>();
        if (!copy->CopyFrom(*picture))
            return false;
        return ShowPicture(std::move(copy), filePath);
    } catch (...) {
        return false;
    }
}

void ClosePictureViewer()
{
    if (HWND window = Viewer().Hwnd())
        DestroyWindow(window);
}

HWND PictureViewerWindow() { return Viewer().Hwnd(); }
