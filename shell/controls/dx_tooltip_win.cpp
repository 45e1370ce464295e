#include "shell/controls/dx_tooltip_win.h"

#include <algorithm>
#include <vector>

#include "app/tooltip_settings.h"
#include "framework/frame.h"
#include "shell/controls/balloon_layout.h"
#include "shell/controls/tooltip_tracker.h"

namespace {
constexpr const char* kBalloonClass = "DxToolTipBalloon";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriod = 1; // ms
constexpr int kMaxTextWidth = 400;

struct Tool {
    HWND window = nullptr; // null for a rectangle of the owner
    RECT rect{};           // owner client coordinates (rectangle tools)
    std::string text;
};

std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(std::max(GetWindowTextLengthA(window), 0)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

balloon::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// One GDI object for the scope of a paint.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : m_object(object) {}
    ~GdiObject()
    {
        if (m_object)
            DeleteObject(m_object);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    template <class T>
    T Get() const { return static_cast<T>(m_object); }

private:
    HGDIOBJ m_object;
};
} // namespace

struct CDxToolTip::State : ITooltipListener {
    HWND owner = nullptr;
    HWND balloonWindow = nullptr;
    HFONT font = nullptr;
    StatusCallback status;
    std::vector<Tool> tools;
    CTooltipTracker tracker{*this};
    // The balloon being shown.
    std::string shownText;
    balloon::Layout layout;
    COLORREF background = 0, foreground = 0;
    int observer = 0; // the framework message observer relaying to this tooltip, if any

    ~State() override { Close(); }

    bool Open(HWND ownerWindow)
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSEXA existing{};
        existing.cbSize = sizeof existing;
        if (!GetClassInfoExA(instance, kBalloonClass, &existing)) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.style = CS_SAVEBITS;
            wc.lpfnWndProc = BalloonProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.lpszClassName = kBalloonClass;
            if (!RegisterClassExA(&wc))
                return false;
        }
        owner = ownerWindow;
        balloonWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kBalloonClass, "",
                                        WS_POPUP, 0, 0, 0, 0, GetAncestor(ownerWindow, GA_ROOT), nullptr, instance,
                                        this);
        if (!balloonWindow) {
            owner = nullptr;
            return false;
        }
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            font = CreateFontIndirectA(&metrics.lfStatusFont);
        SetTimer(balloonWindow, kTimerId, kTimerPeriod, nullptr);
        return true;
    }

    void Close()
    {
        // Quietly: the owner may be on its way out, so its status callback is not called.
        status = nullptr;
        if (observer)
            RemoveMessageObserver(observer);
        observer = 0;
        tracker.Reset();
        if (balloonWindow) {
            KillTimer(balloonWindow, kTimerId);
            DestroyWindow(balloonWindow);
        }
        balloonWindow = nullptr;
        if (font)
            DeleteObject(font);
        font = nullptr;
        owner = nullptr;
        tools.clear();
    }

    bool BelongsToOwner(HWND window) const
    {
        return owner && window && (window == owner || IsChild(owner, window));
    }

    // The first tool holding the screen point.
    int ToolAt(POINT screenPoint) const
    {
        POINT p = screenPoint;
        ScreenToClient(owner, &p);
        std::vector<balloon::Rect> rects;
        rects.reserve(tools.size());
        for (const Tool& tool : tools) {
            RECT r = tool.rect;
            if (tool.window) {
                r = {};
                if (IsWindow(tool.window) && IsWindowVisible(tool.window)) {
                    GetWindowRect(tool.window, &r);
                    MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&r), 2);
                }
            }
            rects.push_back(ToRect(r));
        }
        return FindToolAt(rects, {p.x, p.y});
    }

    std::string ToolText(int index) const
    {
        if (index < 0 || index >= static_cast<int>(tools.size()))
            return {};
        const Tool& tool = tools[static_cast<size_t>(index)];
        if (tool.text.empty() && tool.window && IsWindow(tool.window))
            return WindowText(tool.window);
        return tool.text;
    }

    void OnMouseMove(const MSG& message)
    {
        if (!owner || !IsWindow(owner))
            return;
        const int tool = BelongsToOwner(message.hwnd) ? ToolAt(message.pt) : -1;
        const TooltipSettings& settings = ProcessTooltipSettings();
        tracker.OnMouseMove(tool, settings.enable, settings.showDelay);
    }

    void OnTick()
    {
        if (tracker.CurrentState() == CTooltipTracker::State::Idle || !owner)
            return;
        POINT cursor{};
        GetCursorPos(&cursor);
        const bool overOwner = IsWindow(owner) && BelongsToOwner(WindowFromPoint(cursor));
        tracker.OnTick(overOwner ? ToolAt(cursor) : -1, overOwner);
    }

    void OnToolChanged(int tool) override
    {
        if (status)
            status(ToolText(tool));
    }

    void OnShow(int tool) override
    {
        const TooltipSettings& settings = ProcessTooltipSettings();
        shownText = ToolText(tool);
        if (settings.shortTips)
            shownText = FirstLine(shownText);
        if (!balloonWindow || shownText.empty())
            return;
        background = settings.customColor ? settings.backgroundColor : GetSysColor(COLOR_INFOBK);
        foreground = settings.customColor ? settings.foregroundColor : GetSysColor(COLOR_INFOTEXT);

        const balloon::Size screen{GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
        RECT textRect{0, 0, std::min(kMaxTextWidth, screen.cx / 2), 0};
        HDC dc = GetDC(balloonWindow);
        HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(dc, shownText.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, oldFont);
        ReleaseDC(balloonWindow, dc);

        POINT cursor{};
        GetCursorPos(&cursor);
        layout = balloon::LayoutBalloon({textRect.right - textRect.left, textRect.bottom - textRect.top},
                                        balloon::Margins{}, {cursor.x, cursor.y}, screen,
                                        {settings.horizontalShadow, settings.verticalShadow});
        // The window region: the balloon's shape united with its shadow (the system owns it).
        HRGN region = ShapeRegion(settings.horizontalShadow, settings.verticalShadow);
        HRGN shape = ShapeRegion(0, 0);
        CombineRgn(region, region, shape, RGN_OR);
        DeleteObject(shape);
        SetWindowPos(balloonWindow, HWND_TOPMOST, layout.window.left, layout.window.top, layout.window.Width(),
                     layout.window.Height(), SWP_NOACTIVATE);
        SetWindowRgn(balloonWindow, region, FALSE);
        InvalidateRect(balloonWindow, nullptr, TRUE);
        ShowWindow(balloonWindow, SW_SHOWNOACTIVATE);
        UpdateWindow(balloonWindow);
    }

    void OnHide() override
    {
        if (balloonWindow)
            ShowWindow(balloonWindow, SW_HIDE);
    }

    // The rounded body united with the pointer, in window coordinates, moved by (dx, dy).
    HRGN ShapeRegion(int dx, int dy) const
    {
        const balloon::Rect& b = layout.body;
        HRGN body = CreateRoundRectRgn(b.left + dx, b.top + dy, b.right + dx + 1, b.bottom + dy + 1,
                                       balloon::kCornerDiameter, balloon::kCornerDiameter);
        POINT triangle[3];
        for (int i = 0; i < 3; ++i)
            triangle[i] = {layout.pointer[i].x + dx, layout.pointer[i].y + dy};
        // The tip row itself belongs to the pointer.
        triangle[2].y += layout.pointsUp ? -1 : 1;
        HRGN pointer = CreatePolygonRgn(triangle, 3, WINDING);
        CombineRgn(body, body, pointer, RGN_OR);
        DeleteObject(pointer);
        return body;
    }

    void Paint(HDC dc) const
    {
        const TooltipSettings& settings = ProcessTooltipSettings();
        GdiObject shadow(ShapeRegion(settings.horizontalShadow, settings.verticalShadow));
        GdiObject shape(ShapeRegion(0, 0));
        GdiObject shadowBrush(CreateSolidBrush(settings.shadowColor));
        GdiObject fillBrush(CreateSolidBrush(background));
        GdiObject frameBrush(CreateSolidBrush(foreground));
        FillRgn(dc, shadow.Get<HRGN>(), shadowBrush.Get<HBRUSH>());
        FillRgn(dc, shape.Get<HRGN>(), fillBrush.Get<HBRUSH>());
        FrameRgn(dc, shape.Get<HRGN>(), frameBrush.Get<HBRUSH>(), 1, 1);
        HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, foreground);
        RECT text{layout.text.left, layout.text.top, layout.text.right, layout.text.bottom};
        DrawTextA(dc, shownText.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, oldFont);
    }

    static LRESULT CALLBACK BalloonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<State*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        try {
            switch (message) {
            case WM_TIMER:
                if (self && wParam == kTimerId)
                    self->OnTick();
                return 0;
            case WM_NCHITTEST:
                return HTTRANSPARENT; // the cursor stays over the tool beneath the balloon
            case WM_MOUSEACTIVATE:
                return MA_NOACTIVATE;
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                PAINTSTRUCT paint;
                HDC dc = BeginPaint(window, &paint);
                if (self)
                    self->Paint(dc);
                EndPaint(window, &paint);
                return 0;
            }
            case WM_NCDESTROY:
                // Destroyed with the owner's top-level window.
                if (self && self->balloonWindow == window)
                    self->balloonWindow = nullptr;
                break;
            default:
                break;
            }
        } catch (...) {
            // Exceptions never cross the window procedure.
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

CDxToolTip::CDxToolTip() : m_state(std::make_unique<State>()) {}

CDxToolTip::~CDxToolTip() = default;

bool CDxToolTip::AttachOwner(HWND owner, StatusCallback status)
{
    Detach();
    if (!owner || !IsWindow(owner) || !m_state->Open(owner))
        return false;
    m_state->status = std::move(status);
    return true;
}

namespace {
void InsertTool(std::vector<Tool>& tools, Tool tool, int index)
{
    if (index >= 0 && static_cast<size_t>(index) < tools.size())
        tools.insert(tools.begin() + index, std::move(tool));
    else
        tools.push_back(std::move(tool));
}
} // namespace

void CDxToolTip::AddTool(HWND tool, const std::string& text, int index)
{
    if (!tool)
        return;
    m_state->tracker.Reset(); // indexes may shift
    InsertTool(m_state->tools, {tool, {}, text}, index);
}

void CDxToolTip::AddTool(const RECT& rect, const std::string& text, int index)
{
    m_state->tracker.Reset();
    InsertTool(m_state->tools, {nullptr, rect, text}, index);
}

void CDxToolTip::RelayEvent(const MSG& message)
{
    if (message.message == WM_MOUSEMOVE)
        m_state->OnMouseMove(message);
}

void CDxToolTip::RelayFrameworkMessages()
{
    if (!m_state->observer && m_state->owner)
        m_state->observer = AddMessageObserver([this](const MSG& message) { RelayEvent(message); });
}

void CDxToolTip::Detach() { m_state->Close(); }
