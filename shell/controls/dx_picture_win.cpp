#include "shell/controls/dx_picture_win.h"

#include <commdlg.h>

#include <algorithm>

#include "app/main_window.h"
#include "app/message.h"
#include "base/progress.h"
#include "base/text.h"
#include "picture/codecs/bmp_codec.h"
#include "picture/codecs/codecs.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "shell/gdi_helpers_win.h"
#include "shell/print_layout.h"

// The borderless top-most window of the full-screen display. It shows the control's current
// picture on black and ends on any key, any click or when another window is activated.
class CDxPicture::CFullScreen : public CWindow {
public:
    explicit CFullScreen(CDxPicture& owner) : m_owner(owner) {}

    bool Open()
    {
        HWND anchor = m_owner.Hwnd();
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!GetMonitorInfoA(MonitorFromWindow(anchor, MONITOR_DEFAULTTONEAREST), &monitor))
            return false;
        const RECT& r = monitor.rcMonitor;
        if (!Create(WS_EX_TOPMOST, "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                    GetAncestor(anchor, GA_ROOT), 0))
            return false;
        ShowWindow(m_hwnd, SW_SHOW);
        SetForegroundWindow(m_hwnd);
        SetFocus(m_hwnd);
        return true;
    }

protected:
    WindowClassSpec ClassSpec() const override
    {
        return {"QuentaDxPictureFullScreen", CS_DBLCLKS, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))};
    }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_hwnd, &ps);
            const RECT area = ClientRect();
            OffscreenBuffer buffer(dc, area);
            FillRect(buffer.DC(), &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            if (m_owner.HasPicture()) {
                const CPicture& picture = *m_owner.Picture();
                Draw(buffer.DC(), picture, PlacePicture(picture.Width(), picture.Height(), area, true));
            }
            buffer.CopyToTarget();
            EndPaint(m_hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
            PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE)
                PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
            break;
        case WM_CLOSE:
            DestroyWindow(m_hwnd);
            return 0;
        }
        return CWindow::OnMessage(message, wParam, lParam);
    }

private:
    CDxPicture& m_owner;
};

CDxPicture::CDxPicture() = default;

CDxPicture::~CDxPicture() = default;

WindowClassSpec CDxPicture::ClassSpec() const { return {"QuentaDxPicture", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW}; }

bool CDxPicture::CreateControl(HWND parent, UINT id, const RECT& rect, DWORD extraStyle)
{
    return Create(0, "", WS_CHILD | WS_VISIBLE | extraStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent, id);
}

void CDxPicture::SetPicture(const CPicture* picture, bool copy)
{
    std::unique_ptr<CPicture> owned;
    if (picture && copy) {
        owned = std::make_unique<CPicture>();
        if (!owned->CopyFrom(*picture))
            owned.reset();
        picture = owned.get();
    }
    m_picture = picture;
    m_owned = std::move(owned); // the previous copy goes only once nothing points to it
    PictureChanged();
}

void CDxPicture::TakePicture(std::unique_ptr<CPicture> picture)
{
    m_picture = picture.get();
    m_owned = std::move(picture);
    PictureChanged();
}

void CDxPicture::PictureChanged()
{
    m_scaled.Reset();
    if (m_hwnd)
        InvalidateRect(m_hwnd, nullptr, FALSE);
    if (m_fullScreen && m_fullScreen->Hwnd())
        InvalidateRect(m_fullScreen->Hwnd(), nullptr, FALSE);
}

bool CDxPicture::HasPicture() const { return m_picture && !m_picture->IsEmpty(); }

RECT CDxPicture::PlacePicture(int width, int height, const RECT& area, bool enlarge)
{
    const PrintRect box{area.left, area.top, area.right, area.bottom};
    if (!enlarge && width <= box.Width() && height <= box.Height()) {
        const int left = area.left + (box.Width() - width) / 2, top = area.top + (box.Height() - height) / 2;
        return {left, top, left + width, top + height};
    }
    const PrintRect fitted = FitPicture(width, height, box);
    return {fitted.left, fitted.top, fitted.right, fitted.bottom};
}

void CDxPicture::Draw(HDC dc, const CPicture& picture, const RECT& target)
{
    if (picture.IsEmpty() || target.right <= target.left || target.bottom <= target.top)
        return;
    const bool shrinking = target.right - target.left < picture.Width() || target.bottom - target.top < picture.Height();
    const int oldMode = SetStretchBltMode(dc, shrinking ? HALFTONE : COLORONCOLOR);
    POINT oldOrigin;
    SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    const DibHeader* header = picture.Header();
    const auto* bits = reinterpret_cast<const uint8_t*>(header) + header->biSize;
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                  picture.Width(), picture.Height(), bits, reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS,
                  SRCCOPY);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
}

void CDxPicture::Paint(HDC dc)
{
    const RECT area = ClientRect();
    OffscreenBuffer buffer(dc, area);
    FillRect(buffer.DC(), &area, GetSysColorBrush(COLOR_BTNFACE));
    if (HasPicture()) {
        const RECT target = PlacePicture(m_picture->Width(), m_picture->Height(), area, false);
        const SIZE size{target.right - target.left, target.bottom - target.top};
        HDC scaledDC = CreateCompatibleDC(dc);
        if (!m_scaled || size.cx != m_scaledSize.cx || size.cy != m_scaledSize.cy) {
            m_scaled.Reset(CreateCompatibleBitmap(dc, std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1)));
            m_scaledSize = size;
            SelectInDC select(scaledDC, m_scaled.Get());
            Draw(scaledDC, *m_picture, {0, 0, size.cx, size.cy});
        }
        {
            SelectInDC select(scaledDC, m_scaled.Get());
            BitBlt(buffer.DC(), target.left, target.top, size.cx, size.cy, scaledDC, 0, 0, SRCCOPY);
        }
        DeleteDC(scaledDC);
    }
    buffer.CopyToTarget();
}

LRESULT CDxPicture::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        Paint(dc);
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCDESTROY:
        if (m_fullScreen)
            m_fullScreen->Destroy();
        break;
    }
    return CWindow::OnMessage(message, wParam, lParam);
}

bool CDxPicture::SaveBmp(const std::string& suggestedName)
{
    if (!HasPicture())
        return false;
    std::string filter = BmpCodec().Filter();
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.push_back('\0');
    char file[MAX_PATH] = "";
    lstrcpynA(file, suggestedName.c_str(), sizeof file);
    const std::string title = LoadText(IDS_VIEWER_SAVE_BMP_TITLE);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hwnd ? GetAncestor(m_hwnd, GA_ROOT) : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = "bmp";
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn))
        return false;

    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    // The picture goes to a temporary file first, so that a failed write never leaves a
    // damaged file, nor destroys the file it was to replace.
    const std::string target = file, temporary = target + ".~tmp";
    CPicture copy;
    CPicture* source = m_owned.get() == m_picture ? m_owned.get() : (copy.CopyFrom(*m_picture) ? &copy : nullptr);
    bool written = source && SaveBmp24(temporary, *source, &MainWindowProgress());
    if (written)
        written = MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!written) {
        DeleteFileA(temporary.c_str());
    }
    SetCursor(old);
    if (!written)
        ShowMessage(FormatText(IDS_CANNOT_WRITE_FILE, target));
    return written;
}

bool CDxPicture::CopyToClipboard()
{
    if (!HasPicture())
        return false;
    // The pixel block is a movable global memory block holding a packed DIB: a copy of it is
    // handed to the clipboard as it is.
    CPicture copy;
    if (!copy.CopyFrom(*m_picture) || !OpenClipboard(m_hwnd))
        return false;
    EmptyClipboard();
    HANDLE block = copy.Block().Release();
    const bool placed = block && SetClipboardData(CF_DIB, block);
    if (!placed && block)
        GlobalFree(block);
    CloseClipboard();
    return placed;
}

bool CDxPicture::ShowFullScreen()
{
    if (!HasPicture())
        return false;
    m_fullScreen = std::make_unique<CFullScreen>(*this);
    if (m_fullScreen->Open())
        return true;
    m_fullScreen.reset();
    return false;
}
