#include "framework/window.h"

namespace {
const char kObjectProperty[] = "QuentaFrameworkObject";
}

CWindow::~CWindow()
{
    if (m_hwnd) {
        RemovePropA(m_hwnd, kObjectProperty);
        if (m_previousProc)
            SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        else
            DestroyWindow(m_hwnd);
    }
}

WindowClassSpec CWindow::ClassSpec() const { return {"QuentaWindow"}; }

bool CWindow::Create(DWORD exStyle, const std::string& title, DWORD style, int x, int y, int width, int height,
                     HWND parent, UINT_PTR menuOrId)
{
    const WindowClassSpec classInfo = ClassSpec();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExA(instance, classInfo.name, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = classInfo.style;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = classInfo.cursor ? classInfo.cursor : LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = classInfo.background;
        wc.hIcon = classInfo.icon;
        wc.lpszClassName = classInfo.name;
        if (!RegisterClassExA(&wc))
            return false;
    }
    return CreateWindowExA(exStyle, classInfo.name, title.c_str(), style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(menuOrId), instance, this) != nullptr;
}

void CWindow::Destroy()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

void CWindow::Show(bool show)
{
    if (m_hwnd)
        ShowWindow(m_hwnd, show ? SW_SHOW : SW_HIDE);
}

RECT CWindow::ClientRect() const
{
    RECT rect{};
    if (m_hwnd)
        GetClientRect(m_hwnd, &rect);
    return rect;
}

void CWindow::SetText(const std::string& text)
{
    if (m_hwnd)
        SetWindowTextA(m_hwnd, text.c_str());
}

std::string CWindow::Text() const
{
    if (!m_hwnd)
        return {};
    std::string text(static_cast<size_t>(GetWindowTextLengthA(m_hwnd)) + 1, '\0');
    text.resize(GetWindowTextA(m_hwnd, text.data(), static_cast<int>(text.size())));
    return text;
}

CWindow* CWindow::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<CWindow*>(GetPropA(hwnd, kObjectProperty)) : nullptr;
}

bool CWindow::Subclass(HWND hwnd)
{
    if (!hwnd || m_hwnd)
        return false;
    m_hwnd = hwnd;
    SetPropA(hwnd, kObjectProperty, this);
    m_previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    return m_previousProc != nullptr;
}

LRESULT CWindow::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_previousProc)
        return CallWindowProcA(m_previousProc, m_hwnd, message, wParam, lParam);
    return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT CWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        if (auto result = ReflectToControl(message, wParam, lParam))
            return *result;
    }
    return Default(message, wParam, lParam);
}

LRESULT CWindow::Deliver(CWindow* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    try {
        result = self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // Exceptions never cross the window procedure.
        result = DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(hwnd, kObjectProperty);
        self->m_hwnd = nullptr;
        self->m_previousProc = nullptr;
        self->OnFinalMessage();
    }
    return result;
}

LRESULT CALLBACK CWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindow* self = FromHandle(hwnd);
    if (!self && message == WM_NCCREATE) {
        self = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) {
            self->m_hwnd = hwnd;
            SetPropA(hwnd, kObjectProperty, self);
        }
    }
    if (!self)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    return Deliver(self, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindow::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindow* self = FromHandle(hwnd);
    if (!self)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Put the control's own procedure back before it sees its last message.
        WNDPROC previous = self->m_previousProc;
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(hwnd, kObjectProperty);
        self->m_hwnd = nullptr;
        self->m_previousProc = nullptr;
        LRESULT result = CallWindowProcA(previous, hwnd, message, wParam, lParam);
        self->OnFinalMessage();
        return result;
    }
    return Deliver(self, hwnd, message, wParam, lParam);
}

std::optional<LRESULT> ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam) {
        if (CWindow* control = CWindow::FromHandle(reinterpret_cast<HWND>(lParam)))
            return control->OnReflectedCommand(HIWORD(wParam));
    } else if (message == WM_NOTIFY && lParam) {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (CWindow* control = CWindow::FromHandle(header->hwndFrom))
            return control->OnReflectedNotify(header);
    }
    return std::nullopt;
}

namespace {
StringLoader g_stringLoader = nullptr;
}

void SetStringLoader(StringLoader loader) { g_stringLoader = loader; }

std::string LoadFrameworkString(UINT id, const char* fallback)
{
    if (g_stringLoader) {
        std::string text = g_stringLoader(id);
        return text.empty() ? std::string(fallback) : text;
    }
    char buffer[1024];
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, length) : std::string(fallback);
}
