#include "systools/disks/disk_properties_dlg_win.h"

#include <shellapi.h>

#include "app/settings.h"
#include "base/text.h"
#include "res/resource.h"
#include "shell/module_form_win.h"
#include "systools/disks/disk_texts.h"
#include "systools/disks/pie_geometry.h"

namespace {
const FormText kTexts[] = {
    {IDC_DISKPROP_TYPE_LABEL, IDS_DISKPROP_TYPE},   {IDC_DISKPROP_FILE_SYSTEM_LABEL, IDS_DISKPROP_FILE_SYSTEM},
    {IDC_DISKPROP_FREE_LABEL, IDS_DISKPROP_FREE},   {IDC_DISKPROP_USED_LABEL, IDS_DISKPROP_USED},
    {IDC_DISKPROP_TOTAL_LABEL, IDS_DISKPROP_TOTAL}, {IDC_DISKPROP_CLOSE, IDS_DISKPROP_CLOSE},
};

COLORREF ReadColour(const char* name, COLORREF fallback)
{
    return static_cast<COLORREF>(CQnSettings().ReadInt("", name, static_cast<int>(fallback))) & 0xFFFFFF;
}

PieRect PieRectOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
RECT RectOf(const PieRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// A GDI object selected into a DC for one drawing step.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(m_dc, m_old); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

void DrawSector(HDC dc, const PieRect& pie, const PieSector& sector, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    {
        Selected selectedBrush(dc, brush);
        Selected selectedPen(dc, GetStockObject(BLACK_PEN));
        if (sector.whole)
            Ellipse(dc, pie.left, pie.top, pie.right, pie.bottom);
        else
            Pie(dc, pie.left, pie.top, pie.right, pie.bottom, sector.start.x, sector.start.y, sector.end.x, sector.end.y);
    }
    DeleteObject(brush);
}
} // namespace

CDiskPropertiesDlg::CDiskPropertiesDlg(DiskRecord record) : CDialog(IDD_DISK_PROPERTIES), m_record(std::move(record)) {}

CDiskPropertiesDlg::~CDiskPropertiesDlg()
{
    if (m_icon)
        DestroyIcon(m_icon);
}

bool CDiskPropertiesDlg::OnInitDialog()
{
    SetWindowTextA(m_hwnd, LoadText(IDS_DISKPROP_TITLE).c_str());
    ApplyControlTexts(m_hwnd, kTexts);
    SHFILEINFOA info{};
    if (SHGetFileInfoA(m_record.rootPath.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON))
        m_icon = info.hIcon;
    if (m_icon) {
        SendMessageA(Item(IDC_DISKPROP_ICON), STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
        SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    }
    SetDlgItemTextA(m_hwnd, IDC_DISKPROP_HEADING,
                    FormatText(IDS_DISKPROP_HEADING, m_record.volumeLabel, m_record.rootPath).c_str());
    SetDlgItemTextA(m_hwnd, IDC_DISKPROP_TYPE, m_record.typeName.c_str());
    SetDlgItemTextA(m_hwnd, IDC_DISKPROP_FILE_SYSTEM, m_record.fileSystemName.c_str());
    const DiskShareTexts share = DescribeDiskShare(m_record.freeBytes, m_record.totalBytes);
    SetDlgItemTextA(m_hwnd, IDC_DISKPROP_FREE, share.freeText.c_str());
    SetDlgItemTextA(m_hwnd, IDC_DISKPROP_USED, share.usedText.c_str());
    SetDlgItemTextA(m_hwnd, IDC_DISKPROP_TOTAL, share.totalText.c_str());
    m_freeColour.AttachControl(Item(IDC_DISKPROP_FREE_COLOR));
    m_usedColour.AttachControl(Item(IDC_DISKPROP_USED_COLOR));
    m_freeColour.SetColor(ReadColour(kFreeColorValue, kDefaultFreeColor));
    m_usedColour.SetColor(ReadColour(kUsedColorValue, kDefaultUsedColor));
    m_freeColour.SetChangeCallback(&CDiskPropertiesDlg::OnColourChanged, this);
    m_usedColour.SetChangeCallback(&CDiskPropertiesDlg::OnColourChanged, this);
    return true;
}

void CDiskPropertiesDlg::OnColourChanged(void* dialog) { static_cast<CDiskPropertiesDlg*>(dialog)->StoreColours(); }

void CDiskPropertiesDlg::StoreColours()
{
    CQnSettings settings;
    settings.WriteInt("", kFreeColorValue, static_cast<int>(m_freeColour.Color()));
    settings.WriteInt("", kUsedColorValue, static_cast<int>(m_usedColour.Color()));
    InvalidateRect(Item(IDC_DISKPROP_CHART), nullptr, FALSE);
}

bool CDiskPropertiesDlg::OnCommand(WORD id, WORD code)
{
    if (id == IDC_DISKPROP_CLOSE) {
        EndDialog(IDCANCEL);
        return true;
    }
    return CDialog::OnCommand(id, code);
}

std::optional<LRESULT> CDiskPropertiesDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && wParam == IDC_DISKPROP_CHART) {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        PaintChart(draw->hDC, draw->rcItem);
        return TRUE;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}

void CDiskPropertiesDlg::PaintChart(HDC target, const RECT& frame) const
{
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0)
        return;
    // Drawn off screen and copied in one step, so a repaint does not flicker.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    if (!dc || !bitmap) {
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
        return;
    }
    {
        Selected selectedBitmap(dc, bitmap);
        RECT inner{0, 0, width, height};
        DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        const int gradientHeight = inner.bottom - inner.top;
        for (int line = 0; line < gradientHeight; ++line) {
            const int level = GradientLevel(line, gradientHeight);
            HBRUSH brush = CreateSolidBrush(RGB(level, level, level));
            const RECT row{inner.left, inner.top + line, inner.right, inner.top + line + 1};
            FillRect(dc, &row, brush);
            DeleteObject(brush);
        }
        const PieLayout pie = LayOutPie(PieRectOf(inner));
        if (pie.top.Width() > 0 && pie.top.Height() > 0) {
            {
                Selected brush(dc, GetStockObject(BLACK_BRUSH));
                Selected pen(dc, GetStockObject(BLACK_PEN));
                Ellipse(dc, pie.base.left, pie.base.top, pie.base.right, pie.base.bottom);
                const RECT band = RectOf(pie.band);
                FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            }
            const unsigned percent = FreePercent(m_record.freeBytes, m_record.totalBytes);
            for (const PieSector& sector : PieSectors(pie.top, percent))
                DrawSector(dc, pie.top, sector, sector.free ? m_freeColour.Color() : m_usedColour.Color());
        }
        BitBlt(target, frame.left, frame.top, width, height, dc, 0, 0, SRCCOPY);
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void ShowDiskProperties(const DiskRecord& record, HWND parent)
{
    CDiskPropertiesDlg dialog(record);
    dialog.DoModal(parent);
}
