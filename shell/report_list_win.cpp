#include "shell/report_list_win.h"

#include <commctrl.h>

#include "app/settings.h"
#include "base/progress.h"
#include "base/text.h"
#include "picture/picture.h"
#include "shell/context_menu_win.h"

namespace {
// The 256-entry character width table, measured once from the first list.
void FillWidthTable(HWND list)
{
    CCharWidthTable& table = CCharWidthTable::Shared();
    if (table.IsFilled())
        return;
    int widths[256] = {};
    for (int c = 1; c < 256; ++c) {
        const char text[2] = {static_cast<char>(c), '\0'};
        widths[c] = static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    }
    table.Fill(widths);
}

int ListFormatOf(int alignment)
{
    switch (alignment) {
    case AlignRight: return LVCFMT_RIGHT;
    case AlignCentre: return LVCFMT_CENTER;
    default: return LVCFMT_LEFT;
    }
}
} // namespace

CReportList::CReportList() = default;

CReportList::~CReportList() = default;

bool CReportList::CreateList(HWND parent, UINT id, const RECT& rect, DWORD extraStyle)
{
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                                    extraStyle,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    return list && Subclass(list) && SetUp();
}

bool CReportList::ReplaceControl(HWND dialog, UINT id)
{
    HWND old = GetDlgItem(dialog, id);
    if (!old)
        return false;
    RECT rect;
    GetWindowRect(old, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(old, GWL_STYLE));
    HWND list = CreateWindowExA(static_cast<DWORD>(GetWindowLongPtrA(old, GWL_EXSTYLE)), WC_LISTVIEWA, "",
                                style | LVS_OWNERDATA, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!list)
        return false;
    SetWindowPos(list, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(list, WM_SETFONT, SendMessageA(old, WM_GETFONT, 0, 0), FALSE);
    DestroyWindow(old);
    return Subclass(list) && SetUp();
}

bool CReportList::SetUp()
{
    SendMessageA(m_hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP,
                 LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    if (!SendMessageA(m_hwnd, WM_GETFONT, 0, 0))
        SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    CQnSettings settings;
    m_background[0] = static_cast<COLORREF>(settings.ReadInt(kListPrintingSection, "TextBackgroundColor0", 0xFFFFFF));
    m_background[1] = static_cast<COLORREF>(settings.ReadInt(kListPrintingSection, "TextBackgroundColor1", 0xF0FFFF));
    FillWidthTable(m_hwnd);
    OnColumnsChanged();
    OnRowsChanged();
    return true;
}

int CReportList::ColumnPixelWidth(int column) const
{
    if (m_hwnd && column >= 0 && column < ColumnCount())
        return static_cast<int>(SendMessageA(m_hwnd, LVM_GETCOLUMNWIDTH, column, 0));
    return CReportModel::ColumnPixelWidth(column);
}

void CReportList::AddColumns(std::initializer_list<ColumnLayout> columns)
{
    for (const ColumnLayout& layout : columns) {
        ReportColumn column{LoadText(layout.textId), layout.alignment, layout.width};
        column.sort = layout.sort;
        AddColumn(ColumnCount(), column);
    }
}

void CReportList::OnColumnsChanged()
{
    if (!m_hwnd || m_syncing)
        return;
    HWND header = reinterpret_cast<HWND>(SendMessageA(m_hwnd, LVM_GETHEADER, 0, 0));
    const int shown = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = shown - 1; i >= 0; --i)
        SendMessageA(m_hwnd, LVM_DELETECOLUMN, i, 0);
    for (int i = 0; i < ColumnCount(); ++i) {
        const ReportColumn& column = Column(i);
        LVCOLUMNA lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        lvc.fmt = ListFormatOf(column.alignment);
        lvc.cx = column.width;
        lvc.pszText = const_cast<char*>(column.header.c_str());
        lvc.iSubItem = i;
        SendMessageA(m_hwnd, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&lvc));
    }
}

void CReportList::OnRowsChanged()
{
    if (!m_hwnd || m_syncing)
        return;
    const int count = static_cast<int>(SendMessageA(m_hwnd, LVM_GETITEMCOUNT, 0, 0));
    if (count != RowCount())
        SendMessageA(m_hwnd, LVM_SETITEMCOUNT, RowCount(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void CReportList::FinishFill()
{
    OnRowsChanged();
    UpdateWindow(m_hwnd);
}

void CReportList::SetImageList(HIMAGELIST list, int kind)
{
    if (m_hwnd)
        SendMessageA(m_hwnd, LVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(list));
}

void CReportList::ShowContextMenu(UINT menuId, HWND owner, bool needsSelection)
{
    const bool gray = needsSelection && SelectedRowsOfControl().empty();
    ShowListContextMenu(owner, m_hwnd, menuId, static_cast<LPARAM>(GetMessagePos()), [gray](HMENU popup) {
        if (gray)
            for (int item = GetMenuItemCount(popup) - 1; item >= 0; --item)
                EnableMenuItem(popup, static_cast<UINT>(item), MF_BYPOSITION | MF_GRAYED);
    });
}

CQnProgress& CReportList::ProgressSink() const { return ProgressOrSilent(m_progress); }

void CReportList::SetPicture(const CPicture* picture)
{
    m_picture = picture;
    if (picture)
        SetPrintTitle(picture->Name());
}

std::vector<int> CReportList::SelectedRowsOfControl() const
{
    std::vector<int> rows;
    if (!m_hwnd)
        return rows;
    for (int row = -1; (row = static_cast<int>(SendMessageA(m_hwnd, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
        rows.push_back(row);
    return rows;
}

void CReportList::RemoveRows(const std::vector<int>& rows)
{
    DeleteRows(rows);
    SelectAll(false);
    if (!m_hwnd)
        return;
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CReportList::PullSelection()
{
    SelectAll(false);
    for (int row : SelectedRowsOfControl())
        SelectRow(row, true);
}

void CReportList::PushSelection()
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    SendMessageA(m_hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int row : GetSelectedRows())
        SendMessageA(m_hwnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void CReportList::OnColumnClick(int column)
{
    m_sortAscending = column == m_sortColumn ? !m_sortAscending : true;
    m_sortColumn = column;
    PullSelection();
    SortRows(column, m_sortAscending);
    PushSelection();
}

std::optional<LRESULT> CReportList::OnReflectedNotify(NMHDR* header)
{
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if (item.mask & LVIF_TEXT) {
            const std::string text = GetCellText(item.iItem, item.iSubItem);
            lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
        }
        if (item.mask & LVIF_IMAGE)
            item.iImage = RowImage(item.iItem);
        return 0;
    }
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return 0;
    case NM_CUSTOMDRAW: {
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            draw->clrTextBk = m_background[draw->nmcd.dwItemSpec % 2];
            return CDRF_DODEFAULT;
        }
        return CDRF_DODEFAULT;
    }
    default:
        return std::nullopt;
    }
}
