// Module 0: the product information panel.
#include <ctime>

#include "base/text.h"
#include "res/resource.h"
#include "shell/gdi_helpers_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/start_panel_win.h"

namespace {

class CStartPanel : public CQnFormView {
public:
    CStartPanel() : CQnFormView(&EmptyFormTemplate()) { LoadAlphaBitmapResource(IDR_PIC_START, m_logo); }

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: InvalidateRect(m_hwnd, nullptr, FALSE); break;
        }
        return CQnFormView::OnMessage(message, wParam, lParam);
    }

private:
    void Paint()
    {
        PAINTSTRUCT ps;
        HDC screen = BeginPaint(m_hwnd, &ps);
        RECT client;
        GetClientRect(m_hwnd, &client);
        OffscreenBuffer buffer(screen, client);
        HDC dc = buffer.DC();
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

        // A coloured band across the top holds the product picture and name.
        const int band = 150;
        TRIVERTEX vertices[2] = {{client.left, client.top, 0x7000, 0x4800, 0xB800, 0},
                                 {client.right, band, 0xE000, 0x5800, 0x4800, 0}};
        GRADIENT_RECT gradient = {0, 1};
        GradientFill(dc, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_H);
        const int logoSize = 96;
        m_logo.DrawScaled(dc, 40, (band - logoSize) / 2, logoSize, logoSize);

        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        const int textLeft = 40 + logoSize + 28;
        DrawLine(dc, LoadText(IDS_APP_TITLE), "Arial", -34, FW_BOLD, {textLeft, 34, client.right - 20, 80});
        char year[8];
        const std::time_t now = std::time(nullptr);
        std::strftime(year, sizeof year, "%Y", std::localtime(&now));
        DrawLine(dc, FormatText(IDS_PRODUCT_NOTICE, year), "Arial", -15, FW_NORMAL, {textLeft, 84, client.right - 20, 110});

        SetTextColor(dc, RGB(0x30, 0x36, 0x44));
        RECT credits = {40, band + 36, client.right - 40, client.bottom - 20};
        for (unsigned id : {IDS_CREDITS_PROGRAMMING, IDS_CREDITS_ARTWORK}) {
            const std::string text = LoadText(id);
            GdiObject<HFONT> font(CreateSimpleFont("Arial", -16, FW_NORMAL));
            SelectInDC select(dc, font.Get());
            RECT measured = credits;
            DrawTextA(dc, text.c_str(), -1, &measured, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
            DrawTextA(dc, text.c_str(), -1, &credits, DT_WORDBREAK | DT_NOPREFIX);
            credits.top = measured.bottom + 14;
        }
        buffer.CopyToTarget();
        EndPaint(m_hwnd, &ps);
    }

    static void DrawLine(HDC dc, const std::string& text, const char* face, int height, int weight, RECT area)
    {
        GdiObject<HFONT> font(CreateSimpleFont(face, height, weight));
        SelectInDC select(dc, font.Get());
        DrawTextA(dc, text.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }

    CAlphaBitmap m_logo;
};
} // namespace

std::unique_ptr<CQnFormView> CreateStartPanelView() { return std::make_unique<CStartPanel>(); }
