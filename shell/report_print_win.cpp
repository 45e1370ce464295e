// Printing of a report list: bands with macros, the table of printed columns, or a picture.
#include <ctime>

#include "base/progress.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "shell/report_list_win.h"

namespace {
HFONT CreatePrinterFont(const PrintFontSpec& fontInfo, HDC printer)
{
    HDC screen = GetDC(nullptr);
    const int screenX = GetDeviceCaps(screen, LOGPIXELSX), screenY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTA font{};
    font.lfHeight = ScaleToPrinter(fontInfo.height, GetDeviceCaps(printer, LOGPIXELSY), screenY);
    font.lfWidth = ScaleToPrinter(fontInfo.width, GetDeviceCaps(printer, LOGPIXELSX), screenX);
    font.lfEscapement = fontInfo.escapement;
    font.lfOrientation = fontInfo.orientation;
    font.lfWeight = fontInfo.weight;
    font.lfItalic = static_cast<BYTE>(fontInfo.italic);
    font.lfUnderline = static_cast<BYTE>(fontInfo.underline);
    font.lfStrikeOut = static_cast<BYTE>(fontInfo.strikeOut);
    font.lfCharSet = static_cast<BYTE>(fontInfo.charSet);
    font.lfOutPrecision = static_cast<BYTE>(fontInfo.outPrecision);
    font.lfClipPrecision = static_cast<BYTE>(fontInfo.clipPrecision);
    font.lfQuality = static_cast<BYTE>(fontInfo.quality);
    font.lfPitchAndFamily = static_cast<BYTE>(fontInfo.pitchAndFamily);
    lstrcpynA(font.lfFaceName, fontInfo.face.c_str(), LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

int LineHeight(HDC dc, HFONT font)
{
    SelectInDC select(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    return metrics.tmHeight;
}

std::string FormatNow(const char* format)
{
    char text[128] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        std::strftime(text, sizeof text, format, local);
    return text;
}

RECT ToRect(const PrintRect& r) { return {r.left, r.top, r.right, r.bottom}; }

void Line(HDC dc, HPEN pen, int x1, int y1, int x2, int y2)
{
    SelectInDC select(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

UINT DrawTextAlignment(int alignment)
{
    switch (alignment) {
    case AlignRight: return DT_RIGHT;
    case AlignCentre: return DT_CENTER;
    default: return DT_LEFT;
    }
}

// The product picture on white, for the header band.
std::unique_ptr<CPicture> LogoOnWhite()
{
    std::unique_ptr<CPicture> logo = LoadTgaResource(IDR_PIC_START);
    if (!logo || !logo->HasAlpha())
        return logo;
    for (int y = 0; y < logo->Height(); ++y) {
        uint8_t* row = logo->Row(y);
        const uint8_t* alpha = logo->AlphaRow(y);
        for (int x = 0; x < logo->Width() * 3; ++x)
            row[x] = static_cast<uint8_t>((row[x] * alpha[x / 3] + 255 * (255 - alpha[x / 3])) / 255);
    }
    return logo;
}
} // namespace

void CReportList::BeginPrinting(HDC dc, CPrintInfo& info)
{
    m_print = LoadListPrintSettings();
    m_headerFont.Reset(CreatePrinterFont(m_print.headerFont, dc));
    m_footerFont.Reset(CreatePrinterFont(m_print.footerFont, dc));
    m_textFont.Reset(CreatePrinterFont(m_print.textFont, dc));
    m_tabHeaderFont.Reset(CreatePrinterFont(m_print.tabHeaderFont, dc));
    const PrintDeviceMetrics device{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, HORZSIZE),
                                    GetDeviceCaps(dc, VERTSIZE)};
    m_layout = ComputePrintLayout(m_print, device, LineHeight(dc, m_textFont.Get()),
                                  LineHeight(dc, m_tabHeaderFont.Get()), RowCount(), IsPictureMode());
    if (!m_logo)
        m_logo = LogoOnWhite();
    m_jobTitle = PrintTitle();
    info.minPage = 1;
    info.maxPage = m_layout.pageCount;
}

void CReportList::EndPrinting()
{
    m_headerFont.Reset();
    m_footerFont.Reset();
    m_textFont.Reset();
    m_tabHeaderFont.Reset();
}

void CReportList::PrintPage(HDC dc, CPrintInfo& info)
{
    CQnProgress& progress = ProgressSink();
    char status[64];
    wsprintfA(status, "Page : %d / %d", info.currentPage, m_layout.pageCount);
    progress.SetText(status);
    progress.SetPos(0);

    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    if (m_print.headerEnabled)
        DrawBand(dc, m_layout.headerBand, m_headerFont.Get(), m_print.headerLeft, m_print.headerCenter,
                 m_print.headerRight, true, info);
    if (m_print.footerEnabled)
        DrawBand(dc, m_layout.footerBand, m_footerFont.Get(), m_print.footerLeft, m_print.footerCenter,
                 m_print.footerRight, false, info);
    if (IsPictureMode()) {
        const PrintRect area = FitPicture(m_picture->Width(), m_picture->Height(), m_layout.table);
        DrawPicture(dc, *m_picture, ToRect(area));
    } else {
        DrawRows(dc, info);
    }
    RestoreDC(dc, saved);
}

void CReportList::DrawBand(HDC dc, const PrintRect& band, HFONT font, const std::string& left,
                           const std::string& centre, const std::string& right, bool header, const CPrintInfo& info)
{
    const PrintMacroValues values{m_jobTitle, FormatNow("%x"), FormatNow("%X"), info.currentPage, m_layout.pageCount};
    RECT area = ToRect(band);
    if (header && m_logo && !m_logo->IsEmpty() && m_logo->Height() > 0) {
        const int height = band.Height() - m_layout.cellMargin * 2;
        const int width = m_logo->Width() * height / m_logo->Height();
        const RECT logo = {band.left, band.top + m_layout.cellMargin, band.left + width, band.top + m_layout.cellMargin + height};
        DrawPicture(dc, *m_logo, logo);
        area.left = logo.right + m_layout.inner.left;
    }
    SelectInDC select(dc, font);
    SetTextColor(dc, m_print.textColour);
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    auto draw = [&](const std::string& text, UINT alignment) {
        const std::string expanded = ExpandPrintMacros(text, values);
        if (!expanded.empty())
            DrawTextA(dc, expanded.c_str(), static_cast<int>(expanded.size()), &area, flags | alignment);
    };
    draw(left, DT_LEFT);
    draw(centre, DT_CENTER);
    draw(right, DT_RIGHT);
    if (!header && !PrintNote().empty()) {
        RECT note = ToRect(band);
        DrawTextA(dc, PrintNote().c_str(), -1, &note, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT | DT_NOPREFIX);
    }
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
    const int y = header ? band.bottom : band.top;
    Line(dc, pen.Get(), band.left, y, band.right, y);
}

void CReportList::DrawRows(HDC dc, const CPrintInfo& info)
{
    const std::vector<int> columns = PrintedColumns();
    if (columns.empty())
        return;
    std::vector<int> screenWidths;
    for (int column : columns)
        screenWidths.push_back(ColumnPixelWidth(column));
    const PrintRect& table = m_layout.table;
    const std::vector<int> widths = ScaleColumnWidths(screenWidths, table.Width());
    const int margin = m_layout.cellMargin;
    const int first = FirstRowOfPage(m_layout, info.currentPage);
    const int count = RowsOnPage(m_layout, info.currentPage, RowCount());
    const int headerGap = m_print.headerEnabled ? margin : 0;
    int top = table.top + headerGap;

    // Column-header row.
    RECT headerRow = {table.left, top, table.right, top + m_layout.headerRowHeight};
    GdiObject<HBRUSH> headerBrush(CreateSolidBrush(m_print.tabHeaderBackground));
    FillRect(dc, &headerRow, headerBrush.Get());
    {
        SelectInDC select(dc, m_tabHeaderFont.Get());
        SetTextColor(dc, m_print.tabHeaderTextColour);
        int x = table.left;
        for (size_t i = 0; i < columns.size(); ++i) {
            RECT cell = {x + margin, headerRow.top, x + widths[i] - margin, headerRow.bottom};
            const std::string& text = Column(columns[i]).header;
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DrawTextAlignment(Column(columns[i]).alignment));
            x += widths[i];
        }
    }
    top = headerRow.bottom;

    // Rows with alternating backgrounds.
    GdiObject<HBRUSH> brushes[2] = {GdiObject<HBRUSH>(CreateSolidBrush(m_print.rowBackground0)),
                                    GdiObject<HBRUSH>(CreateSolidBrush(m_print.rowBackground1))};
    SelectInDC select(dc, m_textFont.Get());
    SetTextColor(dc, m_print.textColour);
    CQnProgress& progress = ProgressSink();
    progress.SetRange(0, count);
    for (int i = 0; i < count; ++i) {
        const int row = first + i;
        RECT rowRect = {table.left, top, table.right, top + m_layout.rowHeight};
        FillRect(dc, &rowRect, brushes[row % 2].Get());
        int x = table.left;
        for (size_t c = 0; c < columns.size(); ++c) {
            RECT cell = {x + margin, rowRect.top, x + widths[c] - margin, rowRect.bottom};
            const std::string text = GetCellText(row, columns[c]);
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                          DrawTextAlignment(Column(columns[c]).alignment));
            x += widths[c];
        }
        top = rowRect.bottom;
        progress.SetPos(i);
    }

    // Grid in the header background colour.
    GdiObject<HPEN> grid(CreatePen(PS_SOLID, 2, m_print.tabHeaderBackground));
    const int gridTop = headerRow.top;
    for (int y = headerRow.bottom; y <= top; y += m_layout.rowHeight)
        Line(dc, grid.Get(), table.left, y, table.right, y);
    Line(dc, grid.Get(), table.left, gridTop, table.right, gridTop);
    int x = table.left;
    Line(dc, grid.Get(), x, gridTop, x, top);
    for (int w : widths) {
        x += w;
        Line(dc, grid.Get(), x, gridTop, x, top);
    }
}
