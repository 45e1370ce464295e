#include "framework/preview.h"

#include <algorithm>
#include <map>

namespace {
enum : UINT { IdPrint = 0xE180, IdNext, IdPrevious, IdPages, IdZoomIn, IdZoomOut, IdClose };
constexpr int kToolbarHeight = 34;
constexpr int kMaxZoom = 3;

class CPreviewWindow : public CWindow, public CCommandTarget {
public:
    CPreviewWindow(CFrameWindow& frame, IPrintable& document, HDC printer)
        : m_frame(frame), m_document(document), m_printer(printer)
    {
    }

    bool Start()
    {
        m_info.preview = true;
        if (!m_document.OnPreparePrinting(m_info))
            return false;
        m_info.drawArea = {0, 0, GetDeviceCaps(m_printer, HORZRES), GetDeviceCaps(m_printer, VERTRES)};
        m_document.OnBeginPrinting(m_printer, m_info);
        m_begun = true;
        if (m_info.maxPage == 0xFFFF || m_info.maxPage < m_info.minPage)
            m_info.maxPage = m_info.minPage;
        m_page = m_info.minPage;
        if (!Create(0, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, 0, 0, 0, 0,
                    m_frame.Hwnd(), 0xE901)) {
            m_document.OnEndPrinting(m_printer, m_info);
            m_begun = false;
            return false;
        }
        CreateButtons();
        m_frame.SetViewReplacement(this, this);
        UpdateButtons();
        SetFocus(m_hwnd);
        return true;
    }

    void Close()
    {
        if (m_closing)
            return;
        m_closing = true;
        m_frame.SetViewReplacement(nullptr, nullptr);
        Destroy();
    }

    bool RunCommand(UINT id) override
    {
        if (id == ID_FILE_PRINT || id == ID_FILE_PRINT_DIRECT) {
            Print();
            return true;
        }
        // Commands that would change the document are not available while it is previewed.
        return id == ID_FILE_PRINT_PREVIEW;
    }

    std::optional<bool> IsCommandEnabled(UINT id) override
    {
        if (id == ID_FILE_PRINT || id == ID_FILE_PRINT_DIRECT)
            return true;
        if (id == ID_FILE_PRINT_PREVIEW)
            return false;
        return std::nullopt;
    }

protected:
    WindowClassSpec ClassSpec() const override
    {
        return {"QuentaPrintPreview", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr};
    }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        static constexpr MessageEntry<CPreviewWindow> kMessages[] = {
            {WM_PAINT, &CPreviewWindow::OnPaint},
            {WM_ERASEBKGND, &CPreviewWindow::OnEraseBackground},
            {WM_SIZE, &CPreviewWindow::OnSize},
            {WM_COMMAND, &CPreviewWindow::OnCommand},
            {WM_KEYDOWN, &CPreviewWindow::OnKeyDown},
            {WM_VSCROLL, &CPreviewWindow::OnVScroll},
            {WM_HSCROLL, &CPreviewWindow::OnHScroll},
            {WM_MOUSEWHEEL, &CPreviewWindow::OnMouseWheel},
            {WM_LBUTTONDOWN, &CPreviewWindow::OnLButtonDown},
        };
        if (auto result = DispatchMessageMap(*this, kMessages, message, wParam, lParam))
            return *result;
        return CWindow::OnMessage(message, wParam, lParam);
    }

    void OnFinalMessage() override
    {
        if (m_begun)
            m_document.OnEndPrinting(m_printer, m_info);
        for (auto& [page, metafile] : m_pages)
            DeleteEnhMetaFile(metafile);
        DeleteDC(m_printer);
        if (m_frame.ViewReplacement() == this)
            m_frame.SetViewReplacement(nullptr, nullptr);
        delete this;
    }

private:
    void CreateButtons()
    {
        struct Button {
            UINT id;
            UINT textId;
            const char* text;
        };
        static const Button buttons[] = {
            {IdPrint, 0xF10B, "&Print..."},     {IdNext, 0xF10C, "&Next Page"},
            {IdPrevious, 0xF10D, "Pre&v Page"}, {IdPages, 0xF10E, "&Two Page"},
            {IdZoomIn, 0xF10F, "Zoom &In"},     {IdZoomOut, 0xF110, "Zoom &Out"},
            {IdClose, 0xF111, "&Close"},
        };
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        int x = 6;
        for (const Button& b : buttons) {
            HWND button = CreateWindowExA(0, "BUTTON", LoadFrameworkString(b.textId, b.text).c_str(),
                                          WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 5, 86, 24, m_hwnd,
                                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(b.id)),
                                          GetModuleHandleA(nullptr), nullptr);
            SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
            x += 90;
        }
    }

    void UpdateButtons()
    {
        EnableWindow(GetDlgItem(m_hwnd, IdNext), m_page + (m_twoPages ? 1 : 0) < m_info.maxPage);
        EnableWindow(GetDlgItem(m_hwnd, IdPrevious), m_page > m_info.minPage);
        EnableWindow(GetDlgItem(m_hwnd, IdPages), m_info.maxPage > m_info.minPage);
        SetDlgItemTextA(m_hwnd, IdPages, m_twoPages ? LoadFrameworkString(0xF112, "&One Page").c_str()
                                                    : LoadFrameworkString(0xF10E, "&Two Page").c_str());
        EnableWindow(GetDlgItem(m_hwnd, IdZoomIn), m_zoom < kMaxZoom);
        EnableWindow(GetDlgItem(m_hwnd, IdZoomOut), m_zoom > 1);
        UpdateScrollBars();
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }

    HENHMETAFILE Page(int page)
    {
        if (auto it = m_pages.find(page); it != m_pages.end())
            return it->second;
        // The frame of the metafile is the printable page in hundredths of a millimetre.
        const RECT frame = {0, 0, GetDeviceCaps(m_printer, HORZSIZE) * 100, GetDeviceCaps(m_printer, VERTSIZE) * 100};
        HDC dc = CreateEnhMetaFileA(m_printer, nullptr, &frame, nullptr);
        if (!dc)
            return nullptr;
        m_info.currentPage = page;
        m_document.OnPrint(dc, m_info);
        HENHMETAFILE metafile = CloseEnhMetaFile(dc);
        m_pages[page] = metafile;
        return metafile;
    }

    // Size of one page on screen at the current zoom.
    SIZE PageSize() const
    {
        const RECT client = ClientRect();
        const int width = std::max(1, static_cast<int>(client.right) - 24);
        const int height = std::max(1, static_cast<int>(client.bottom) - kToolbarHeight - 24);
        const int pages = m_twoPages ? 2 : 1;
        const double paperW = std::max(1, GetDeviceCaps(m_printer, HORZRES));
        const double paperH = std::max(1, GetDeviceCaps(m_printer, VERTRES));
        const double fit = std::min((width - 16.0 * (pages - 1)) / pages / paperW, height / paperH);
        return {static_cast<LONG>(paperW * fit * m_zoom), static_cast<LONG>(paperH * fit * m_zoom)};
    }

    SIZE ContentSize() const
    {
        const SIZE page = PageSize();
        const int pages = m_twoPages ? 2 : 1;
        return {page.cx * pages + 16 * (pages - 1) + 24, page.cy + 24};
    }

    void UpdateScrollBars()
    {
        const RECT client = ClientRect();
        const SIZE content = ContentSize();
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        si.nMax = m_zoom > 1 ? content.cx : 0;
        si.nPage = client.right;
        si.nPos = m_scroll.x;
        SetScrollInfo(m_hwnd, SB_HORZ, &si, TRUE);
        si.nMax = m_zoom > 1 ? content.cy : 0;
        si.nPage = std::max<LONG>(0, client.bottom - kToolbarHeight);
        si.nPos = m_scroll.y;
        SetScrollInfo(m_hwnd, SB_VERT, &si, TRUE);
        m_scroll.x = GetScrollPos(m_hwnd, SB_HORZ);
        m_scroll.y = GetScrollPos(m_hwnd, SB_VERT);
    }

    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }

    LRESULT OnPaint(WPARAM, LPARAM)
    {
        PAINTSTRUCT ps;
        HDC screen = BeginPaint(m_hwnd, &ps);
        const RECT client = ClientRect();
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom));
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
        RECT bar = {0, 0, client.right, kToolbarHeight};
        FillRect(dc, &bar, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &bar, EDGE_ETCHED, BF_BOTTOM);

        const SIZE page = PageSize();
        const SIZE content = ContentSize();
        const int pages = m_twoPages ? 2 : 1;
        int x = std::max(12, static_cast<int>(client.right - content.cx) / 2 + 12) - m_scroll.x;
        const int y = kToolbarHeight + std::max(12, static_cast<int>(client.bottom - kToolbarHeight - content.cy) / 2 + 12) -
                      m_scroll.y;
        IntersectClipRect(dc, 0, kToolbarHeight, client.right, client.bottom);
        for (int i = 0; i < pages && m_page + i <= m_info.maxPage; ++i) {
            RECT paper = {x, y, x + page.cx, y + page.cy};
            RECT shadow = {paper.left + 4, paper.top + 4, paper.right + 4, paper.bottom + 4};
            FillRect(dc, &shadow, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            FillRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            if (HENHMETAFILE metafile = Page(m_page + i)) {
                const int saved = SaveDC(dc);
                SetStretchBltMode(dc, HALFTONE);
                PlayEnhMetaFile(dc, metafile, &paper);
                RestoreDC(dc, saved);
            }
            FrameRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            x += page.cx + 16;
        }
        SelectClipRgn(dc, nullptr);
        BitBlt(screen, 0, kToolbarHeight, client.right, client.bottom - kToolbarHeight, dc, 0, kToolbarHeight, SRCCOPY);
        BitBlt(screen, 0, 0, client.right, kToolbarHeight, dc, 0, 0, SRCCOPY);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        EndPaint(m_hwnd, &ps);
        return 0;
    }

    LRESULT OnSize(WPARAM, LPARAM)
    {
        UpdateScrollBars();
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    }

    void GoTo(int page)
    {
        const int last = std::max(m_info.minPage, m_info.maxPage - (m_twoPages ? 1 : 0));
        m_page = std::clamp(page, m_info.minPage, last);
        UpdateButtons();
    }

    void Zoom(int zoom)
    {
        m_zoom = std::clamp(zoom, 1, kMaxZoom);
        m_scroll = {};
        UpdateButtons();
    }

    void Print()
    {
        HWND frame = m_frame.Hwnd();
        Close();
        PostMessageA(frame, WM_COMMAND, ID_FILE_PRINT, 0);
    }

    LRESULT OnCommand(WPARAM wParam, LPARAM)
    {
        switch (LOWORD(wParam)) {
        case IdPrint: Print(); break;
        case IdNext: GoTo(m_page + 1); break;
        case IdPrevious: GoTo(m_page - 1); break;
        case IdPages:
            m_twoPages = !m_twoPages;
            GoTo(m_page);
            break;
        case IdZoomIn: Zoom(m_zoom + 1); break;
        case IdZoomOut: Zoom(m_zoom - 1); break;
        case IdClose: Close(); return 0;
        }
        if (m_hwnd)
            SetFocus(m_hwnd);
        return 0;
    }

    LRESULT OnKeyDown(WPARAM key, LPARAM)
    {
        switch (key) {
        case VK_NEXT: GoTo(m_page + 1); break;
        case VK_PRIOR: GoTo(m_page - 1); break;
        case VK_ESCAPE: Close(); break;
        }
        return 0;
    }

    void Scroll(int bar, int request, int thumb)
    {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        GetScrollInfo(m_hwnd, bar, &si);
        int pos = si.nPos;
        switch (request) {
        case SB_LINEUP: pos -= 30; break;
        case SB_LINEDOWN: pos += 30; break;
        case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = thumb; break;
        default: return;
        }
        SetScrollPos(m_hwnd, bar, pos, TRUE);
        (bar == SB_HORZ ? m_scroll.x : m_scroll.y) = GetScrollPos(m_hwnd, bar);
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }

    LRESULT OnVScroll(WPARAM wParam, LPARAM)
    {
        Scroll(SB_VERT, LOWORD(wParam), HIWORD(wParam));
        return 0;
    }

    LRESULT OnHScroll(WPARAM wParam, LPARAM)
    {
        Scroll(SB_HORZ, LOWORD(wParam), HIWORD(wParam));
        return 0;
    }

    LRESULT OnMouseWheel(WPARAM wParam, LPARAM)
    {
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        if (m_zoom > 1)
            Scroll(SB_VERT, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        else
            GoTo(m_page + (delta > 0 ? -1 : 1));
        return 0;
    }

    LRESULT OnLButtonDown(WPARAM, LPARAM)
    {
        SetFocus(m_hwnd);
        Zoom(m_zoom < kMaxZoom ? m_zoom + 1 : 1);
        return 0;
    }

    CFrameWindow& m_frame;
    IPrintable& m_document;
    HDC m_printer;
    CPrintInfo m_info;
    std::map<int, HENHMETAFILE> m_pages;
    int m_page = 1;
    int m_zoom = 1;
    bool m_twoPages = false;
    bool m_begun = false;
    bool m_closing = false;
    POINT m_scroll{};
};
} // namespace

bool RunPrintPreview(CFrameWindow& frame, IPrintable& document)
{
    ClosePrintPreview(frame);
    HDC printer = CreatePrinterDC();
    if (!printer) {
        ShowFrameworkMessage(AFX_IDP_FAILED_TO_START_PRINT, "Could not start print job.");
        return false;
    }
    // The window owns itself from creation on and deletes itself at its last message.
    auto* preview = new CPreviewWindow(frame, document, printer);
    if (!preview->Start()) {
        delete preview;
        DeleteDC(printer);
        return false;
    }
    return true;
}

void ClosePrintPreview(CFrameWindow& frame)
{
    if (auto* preview = dynamic_cast<CPreviewWindow*>(frame.ViewReplacement()))
        preview->Close();
}
