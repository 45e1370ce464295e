#include "shell/main_frame_win.h"

#include <ctime>

#include "app/main_window.h"
#include "app/services.h"
#include "base/progress.h"
#include "base/text.h"
#include "base/text_win.h"
#include "framework/preview.h"
#include "res/resource.h"
#include "shell/module_catalogue.h"
#include "shell/module_factory_win.h"

namespace {
CMainFrame* g_mainFrame = nullptr;
IModuleHost* g_moduleHost = nullptr;

// Keeps the window alive during a long operation: paints, the Cancel button and Escape;
// other input is dropped.
void PumpBusyMessages(CBusyBar& bar)
{
    static DWORD lastPump = 0;
    const DWORD now = GetTickCount();
    if (now - lastPump < 30)
        return;
    lastPump = now;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            bar.Cancel();
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
        if (msg.hwnd == bar.CancelButton())
            DispatchMessageA(&msg);
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageA(&msg);
}

void OnProgressRange(int32_t low, int32_t high)
{
    if (g_mainFrame)
        g_mainFrame->SetProgressRange(low, high);
}

bool OnProgressPos(int64_t position)
{
    if (!g_mainFrame)
        return true;
    g_mainFrame->SetProgressPos(static_cast<int>(position));
    PumpBusyMessages(g_mainFrame->BusyBar());
    return !g_mainFrame->BusyBar().IsCancelled();
}

void OnProgressText(const std::string& text)
{
    if (g_mainFrame)
        g_mainFrame->SetProgressText(text);
}
} // namespace

IModuleHost* ModuleHost() { return g_moduleHost; }
void SetModuleHost(IModuleHost* host) { g_moduleHost = host; }
CMainFrame* MainFrame() { return g_mainFrame; }

const CommandEntry<CMainFrame> CMainFrame::s_commands[6] = {
    {ID_APP_EXIT, &CMainFrame::OnExit, nullptr},
    {ID_FILE_PRINT_SETUP, &CMainFrame::OnPrintSetup, nullptr},
    {ID_HELP_CONTENTS, &CMainFrame::OnHelpContents, nullptr},
    {ID_APP_ABOUT_QUENTA, &CMainFrame::OnAbout, nullptr},
    {ID_APP_ABOUT, &CMainFrame::OnAbout, nullptr},
    {ID_SHOW_MODULE_HELP, &CMainFrame::OnShowModuleHelp, nullptr},
};

CMainFrame::CMainFrame()
{
    g_mainFrame = this;
    SetModuleHost(this);
}

CMainFrame::~CMainFrame()
{
    m_view.reset();
    if (g_moduleHost == this)
        SetModuleHost(nullptr);
    if (g_mainFrame == this)
        g_mainFrame = nullptr;
}

WindowClassSpec CMainFrame::ClassSpec() const
{
    WindowClassSpec classInfo{"QuentaMainFrame"};
    classInfo.background = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    classInfo.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    return classInfo;
}

bool CMainFrame::CreateFrame(int showCommand)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RECT work{0, 0, 1024, 768};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = std::min(980, static_cast<int>(work.right - work.left));
    const int height = std::min(720, static_cast<int>(work.bottom - work.top));
    // The frame owns the menu and destroys it with the window.
    HMENU menu = LoadMenuInTextLanguage(instance, IDR_MAINFRAME);
    if (!Create(0, LoadText(IDS_APP_TITLE), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2,
                width, height, nullptr, reinterpret_cast<UINT_PTR>(menu)))
        return false;
    MakeMain();
    SetAccelerators(LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME)));
    ShowWindow(m_hwnd, showCommand);
    UpdateWindow(m_hwnd);
    return true;
}

LRESULT CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    static constexpr MessageEntry<CMainFrame> kMessages[] = {
        {WM_CREATE, &CMainFrame::OnCreate},
        {WM_DESTROY, &CMainFrame::OnDestroy},
    };
    if (auto result = DispatchMessageMap(*this, kMessages, message, wParam, lParam))
        return *result;
    return CFrameWindow::OnMessage(message, wParam, lParam);
}

LRESULT CMainFrame::OnCreate(WPARAM, LPARAM)
{
    if (!m_statusBar.CreateStatusBar(m_hwnd, AFX_IDW_STATUS_BAR) || !m_busyBar.CreateBusyBar(m_hwnd, IdBusyBar) ||
        !m_moduleBar.CreateModuleBar(m_hwnd, IdModuleBar) || !m_captionBar.CreateCaptionBar(m_hwnd, IdCaptionBar))
        return -1;
    m_busyBar.Show(false);
    SetStatusBar(&m_statusBar);
    AddBar(&m_busyBar);
    AddBar(&m_captionBar);
    AddBar(&m_moduleBar);
    PrepareModuleButtons();
    m_statusBar.SetPanes({0, IdTextPane, IdDatePane});
    m_statusBar.SetPaneText(0, LoadText(IDS_READY));
    BindProgressSink();
    m_toolTip.AttachOwner(m_hwnd, [this](const std::string& text) {
        m_statusBar.SetPaneText(0, text.empty() ? LoadText(IDS_READY) : text);
    });
    m_toolTip.RelayFrameworkMessages();

    // The placeholder view until the user picks a module: it draws nothing and has no list.
    m_view = std::make_unique<CQnFormView>(&EmptyFormTemplate());
    if (m_view->CreateView(m_hwnd, AFX_IDW_PANE_FIRST)) {
        SetActiveView(m_view.get());
        ShowWindow(m_view->Hwnd(), SW_SHOW);
    }
    UpdateModuleCaption(0);
    RecalcLayout();
    m_parts.Create(m_hwnd);
    return 0;
}

LRESULT CMainFrame::OnDestroy(WPARAM wParam, LPARAM lParam)
{
    ClosePrintPreview(*this);
    m_toolTip.Detach();
    SetActiveView(nullptr);
    m_view.reset();
    m_parts.Destroy();
    MainWindowProgress().onRange = nullptr;
    MainWindowProgress().onPos = nullptr;
    MainWindowProgress().onText = nullptr;
    return CFrameWindow::OnMessage(WM_DESTROY, wParam, lParam);
}

void CMainFrame::PrepareModuleButtons()
{
    std::vector<CModuleButtonList::Item> items;
    for (const ModuleRow& row : ModuleTable()) {
        CModuleButtonList::Item item;
        item.moduleId = row.moduleId;
        item.caption = ButtonCaption(LoadText(row.titleId));
        LoadAlphaBitmapResource(row.pictureId, item.picture);
        items.push_back(std::move(item));
    }
    m_moduleBar.List().SetItems(std::move(items), m_hwnd, ID_SWITCH_MODULE_FIRST);
    m_moduleBar.SetThickness(std::max(96, m_moduleBar.List().PreferredWidth() + 8));
}

void CMainFrame::BindProgressSink()
{
    CQnCallbackProgress& sink = MainWindowProgress();
    sink.onRange = OnProgressRange;
    sink.onPos = OnProgressPos;
    sink.onText = OnProgressText;
}

bool CMainFrame::RunCommand(UINT id)
{
    if (id >= ID_SWITCH_MODULE_FIRST && id <= ID_SWITCH_MODULE_LAST) {
        SwitchModule(static_cast<int>(id - ID_SWITCH_MODULE_FIRST));
        return true;
    }
    return RunCommandFromTable(*this, s_commands, id);
}

std::optional<bool> CMainFrame::IsCommandEnabled(UINT id)
{
    if (id >= ID_SWITCH_MODULE_FIRST && id <= ID_SWITCH_MODULE_LAST)
        return !m_busy;
    return CommandStateFromTable(*this, s_commands, id);
}

void CMainFrame::OnExit() { PostMessageA(m_hwnd, WM_CLOSE, 0, 0); }
void CMainFrame::OnPrintSetup() { PrintSetup(m_hwnd); }
void CMainFrame::OnHelpContents() { ShowHelpPage("local\\index.htm"); }
void CMainFrame::OnAbout() { SwitchModule(0); }
void CMainFrame::OnShowModuleHelp() { ShowModuleHelp(); }

void CMainFrame::ShowModuleHelp() { ShowHelpPage(CatalogueRow(m_currentModule).helpPage); }

void CMainFrame::SwitchModule(int moduleId)
{
    if (moduleId == m_currentModule)
        return;
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    m_currentModule = moduleId;
    std::unique_ptr<CQnFormView> view = CreateModuleView(moduleId);
    if (!view) {
        SetCursor(old);
        return;
    }
    ClosePrintPreview(*this);
    if (!view->CreateView(m_hwnd, AFX_IDW_PANE_FIRST)) {
        SetCursor(old);
        return;
    }
    if (m_view && m_view->Hwnd())
        SetWindowLongPtrA(m_view->Hwnd(), GWLP_ID, AFX_IDW_PANE_FIRST + 1);
    SetActiveView(view.get());
    RecalcLayout();
    ShowWindow(view->Hwnd(), SW_SHOW);
    std::swap(m_view, view);
    view.reset(); // the old view goes now
    m_moduleBar.List().SetCurrentModule(moduleId);
    UpdateModuleCaption(moduleId);
    m_view->InitModule();
    SetCursor(old);
}

void CMainFrame::ModuleViewDestroyed(CQnFormView* view)
{
    if (m_activeModuleView == view)
        m_activeModuleView = nullptr;
}

void CMainFrame::UpdateModuleCaption(int moduleId)
{
    const int row = CatalogueRowOf(moduleId);
    const ModuleRow& entry = CatalogueRow(moduleId);
    m_moduleTitle = row == 0 ? std::string() : LoadText(entry.titleId);
    // Row 0 has no title of its own; the caption bar shows the product there.
    m_captionBar.SetModule(row == 0 ? LoadText(IDS_APP_TITLE) : m_moduleTitle, entry.pictureId);
    const std::string paneText = m_moduleTitle + " ";
    m_statusBar.SetPaneWidth(IdTextPane, m_statusBar.PaneWidthForText(paneText));
    m_statusBar.SetPaneText(IdTextPane, paneText);
    SetWindowTitleExtra(nullptr);
}

void CMainFrame::SetWindowTitleExtra(const std::string* extra)
{
    SetText(ComposeWindowTitle(LoadText(IDS_APP_TITLE), m_moduleTitle, extra));
}

void CMainFrame::ShowNavigationBars(bool show)
{
    m_captionBar.Show(show);
    m_moduleBar.Show(show);
    RecalcLayout();
}

void CMainFrame::SetBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy) {
        m_busyBar.ResetCancel();
        SetProgressPos(0);
        SetProgressText(LoadText(IDS_PLEASE_WAIT));
    }
    m_statusBar.Show(!busy);
    m_busyBar.Show(busy);
    RecalcLayout();
    RedrawWindow(m_statusBar.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RedrawWindow(m_busyBar.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CMainFrame::SetProgressRange(int low, int high) { m_busyBar.SetRange(low, high); }
void CMainFrame::SetProgressPos(int position) { m_busyBar.SetPos(position); }
void CMainFrame::SetProgressText(const std::string& text) { m_busyBar.SetMessageText(text); }

void CMainFrame::PostCommand(unsigned id) { PostMessageA(m_hwnd, WM_COMMAND, id, 0); }

void CMainFrame::OnIdleUpdate()
{
    char date[64] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        std::strftime(date, sizeof date, "%x", local);
    if (m_statusBar.PaneText(IdDatePane) != date) {
        m_statusBar.SetPaneWidth(IdDatePane, m_statusBar.PaneWidthForText(date));
        m_statusBar.SetPaneText(IdDatePane, date);
    }
    m_captionBar.SetZoneStates(IsRoutedCommandEnabled(ID_FILE_PRINT),
                               IsRoutedCommandEnabled(ID_FILE_SAVE_LIST));
}
