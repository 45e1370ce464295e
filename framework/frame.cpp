#include "framework/frame.h"

namespace {
CFrameWindow* g_mainFrame = nullptr;
HHOOK g_messageHook = nullptr;
bool g_idlePosted = false;
// Posted to the main frame to run the idle update after the waiting messages.
const UINT kIdleMessage = RegisterWindowMessageA("QuentaFrameworkIdle");

struct ObserverEntry {
    int id;
    MessageObserver observer;
};
std::vector<ObserverEntry>& Observers()
{
    static std::vector<ObserverEntry> observers;
    return observers;
}

struct FilterEntry {
    int id;
    MessageFilter filter;
};
std::vector<FilterEntry>& Filters()
{
    static std::vector<FilterEntry> filters;
    return filters;
}

bool FilterTakes(const MSG& msg)
{
    if (Filters().empty())
        return false;
    const std::vector<FilterEntry> filters = Filters(); // a filter may add or remove filters
    for (const FilterEntry& entry : filters)
        if (entry.filter(msg))
            return true;
    return false;
}

void NotifyObservers(const MSG& msg)
{
    if (Observers().empty())
        return;
    // A copy: an observer may add or remove observers while it runs.
    const std::vector<ObserverEntry> observers = Observers();
    for (const ObserverEntry& entry : observers)
        entry.observer(msg);
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM lParam)
{
    if (code == HC_ACTION && removal == PM_REMOVE) {
        MSG& msg = *reinterpret_cast<MSG*>(lParam);
        CFrameWindow* main = CFrameWindow::Main();
        if (msg.message == kIdleMessage) {
            g_idlePosted = false;
        } else if (msg.message != WM_TIMER && msg.message != WM_PAINT && msg.message != WM_NULL && main &&
                   main->Hwnd() && !g_idlePosted) {
            g_idlePosted = PostMessageA(main->Hwnd(), kIdleMessage, 0, 0) != 0;
        }
        try {
            if (PreTranslateFrameworkMessage(msg))
                msg.message = WM_NULL; // handled here: the loop sees nothing
        } catch (...) {
        }
    }
    return CallNextHookEx(g_messageHook, code, removal, lParam);
}
} // namespace

void InstallFrameworkMessageHook()
{
    if (!g_messageHook)
        g_messageHook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
}

CFrameWindow::~CFrameWindow()
{
    if (g_mainFrame == this)
        g_mainFrame = nullptr;
}

CFrameWindow* CFrameWindow::Main() { return g_mainFrame; }

void CFrameWindow::MakeMain() { g_mainFrame = this; }

LRESULT CFrameWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    static constexpr MessageEntry<CFrameWindow> kMessages[] = {
        {WM_SIZE, &CFrameWindow::OnSizeMessage},
        {WM_COMMAND, &CFrameWindow::OnCommandMessage},
        {WM_INITMENUPOPUP, &CFrameWindow::OnInitMenuPopup},
        {WM_MENUSELECT, &CFrameWindow::OnMenuSelect},
        {WM_DESTROY, &CFrameWindow::OnDestroyMessage},
    };
    if (message == kIdleMessage && kIdleMessage != 0) {
        OnIdleUpdate();
        return 0;
    }
    if (auto result = DispatchMessageMap(*this, kMessages, message, wParam, lParam))
        return *result;
    return CWindow::OnMessage(message, wParam, lParam);
}

void CFrameWindow::SetViewReplacement(CWindow* window, CCommandTarget* target)
{
    m_replacement = window;
    m_replacementTarget = target;
    if (m_view && m_view->Hwnd())
        ShowWindow(m_view->Hwnd(), window ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

RECT CFrameWindow::ViewArea() const
{
    RECT area = ClientRect();
    if (m_statusBar && m_statusBar->IsVisible())
        area.bottom -= m_statusBar->Height();
    for (CControlBar* bar : m_bars) {
        if (!bar->IsVisible())
            continue;
        switch (bar->Side()) {
        case DockSide::Bottom: area.bottom -= bar->Thickness(); break;
        case DockSide::Top: area.top += bar->Thickness(); break;
        case DockSide::Left: area.left += bar->Thickness(); break;
        }
    }
    return area;
}

void CFrameWindow::RecalcLayout()
{
    if (!m_hwnd)
        return;
    RECT area = ClientRect();
    if (m_statusBar && m_statusBar->IsVisible()) {
        SendMessageA(m_statusBar->Hwnd(), WM_SIZE, 0, 0);
        m_statusBar->Relayout();
        area.bottom -= m_statusBar->Height();
    }
    // Bottom bars sit on the status bar, top bars under the menu, left bars between them.
    for (DockSide side : {DockSide::Bottom, DockSide::Top, DockSide::Left}) {
        for (CControlBar* bar : m_bars) {
            if (bar->Side() != side || !bar->IsVisible())
                continue;
            const int t = bar->Thickness();
            RECT r = area;
            if (side == DockSide::Bottom) {
                r.top = area.bottom - t;
                area.bottom = r.top;
            } else if (side == DockSide::Top) {
                r.bottom = area.top + t;
                area.top = r.bottom;
            } else {
                r.right = area.left + t;
                area.left = r.right;
            }
            SetWindowPos(bar->Hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    HWND shown = m_replacement ? m_replacement->Hwnd() : (m_view ? m_view->Hwnd() : nullptr);
    if (shown)
        SetWindowPos(shown, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CFrameWindow::RouteCommand(UINT id)
{
    if (m_replacementTarget && m_replacementTarget->RunCommand(id))
        return true;
    if (!m_replacement && m_view && m_view->RunCommand(id))
        return true;
    return RunCommand(id);
}

std::optional<bool> CFrameWindow::RouteCommandState(UINT id)
{
    if (m_replacementTarget)
        if (auto state = m_replacementTarget->IsCommandEnabled(id))
            return state;
    if (!m_replacement && m_view)
        if (auto state = m_view->IsCommandEnabled(id))
            return state;
    return IsCommandEnabled(id);
}

LRESULT CFrameWindow::OnSizeMessage(WPARAM, LPARAM)
{
    RecalcLayout();
    return 0;
}

LRESULT CFrameWindow::OnCommandMessage(WPARAM wParam, LPARAM lParam)
{
    if (lParam) {
        if (auto result = ReflectToControl(WM_COMMAND, wParam, lParam))
            return *result;
    }
    if (RouteCommand(LOWORD(wParam)))
        return 0;
    return Default(WM_COMMAND, wParam, lParam);
}

LRESULT CFrameWindow::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(lParam))
        return Default(WM_INITMENUPOPUP, wParam, lParam); // the system menu
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue; // separators and submenus
        const bool enabled = RouteCommandState(id).value_or(false);
        EnableMenuItem(menu, i, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    return 0;
}

LRESULT CFrameWindow::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    if (!m_statusBar)
        return 0;
    const UINT item = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) {
        if (m_inMenu)
            m_statusBar->SetPaneText(0, m_textBeforeMenu);
        m_inMenu = false;
        return 0;
    }
    if (!m_inMenu) {
        m_textBeforeMenu = m_statusBar->PaneText(0);
        m_inMenu = true;
    }
    std::string prompt;
    if (!(flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) && item != 0) {
        prompt = LoadFrameworkString(item);
        prompt = prompt.substr(0, prompt.find('\n'));
    }
    m_statusBar->SetPaneText(0, prompt);
    return 0;
}

LRESULT CFrameWindow::OnDestroyMessage(WPARAM wParam, LPARAM lParam)
{
    if (g_mainFrame == this)
        PostQuitMessage(0);
    return Default(WM_DESTROY, wParam, lParam);
}

int AddMessageObserver(MessageObserver observer)
{
    static int lastId = 0;
    Observers().push_back({++lastId, std::move(observer)});
    return lastId;
}

void RemoveMessageObserver(int id)
{
    std::erase_if(Observers(), [id](const ObserverEntry& entry) { return entry.id == id; });
}

int AddMessageFilter(MessageFilter filter)
{
    static int lastId = 0;
    Filters().push_back({++lastId, std::move(filter)});
    return lastId;
}

void RemoveMessageFilter(int id)
{
    std::erase_if(Filters(), [id](const FilterEntry& entry) { return entry.id == id; });
}

bool PreTranslateFrameworkMessage(MSG& msg)
{
    NotifyObservers(msg);
    if (FilterTakes(msg))
        return true;
    CFrameWindow* main = CFrameWindow::Main();
    if (main && main->Hwnd() && main->Accelerators() && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
        (msg.hwnd == main->Hwnd() || IsChild(main->Hwnd(), msg.hwnd)) &&
        TranslateAcceleratorA(main->Hwnd(), main->Accelerators(), &msg))
        return true;
    // The outermost modeless dialog around the target handles dialog keys (Tab, mnemonics).
    HWND dialog = nullptr;
    for (HWND w = msg.hwnd; w; w = GetParent(w)) {
        if (CDialog* d = CDialog::FromHandle(w); d && !d->IsModal())
            dialog = w;
        if (!(GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD))
            break;
    }
    return dialog && IsDialogMessageA(dialog, &msg);
}

void RunIdleUpdate()
{
    if (CFrameWindow* main = CFrameWindow::Main(); main && main->Hwnd())
        main->OnIdleUpdate();
}

int RunFrameworkMessageLoop()
{
    MSG msg{};
    bool idle = true;
    for (;;) {
        try {
            if (idle && !g_messageHook && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                RunIdleUpdate();
                idle = false;
            }
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0)
                return static_cast<int>(msg.wParam);
            if (got < 0)
                return -1;
            if (g_messageHook || !PreTranslateFrameworkMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (msg.message != WM_TIMER && msg.message != WM_PAINT)
                idle = true;
        } catch (...) {
            // A failed message handler never ends the program; go on with the next message.
            idle = true;
        }
    }
}
