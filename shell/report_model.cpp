#include "shell/report_model.h"

#include <algorithm>

namespace {
// Slot `column` of a row's cells or sort keys, made when the row has fewer.
template <class T>
T& SlotOf(std::vector<T>& slots, int column)
{
    if (static_cast<int>(slots.size()) <= column)
        slots.resize(column + 1);
    return slots[column];
}

unsigned char UpperOf(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    // Western code page: accented small letters sit 0x20 above their capitals.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}

const std::string kEmpty;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsGroupMark(char c) { return c == ' ' || c == ',' || c == '.' || c == '\'' || c == '\xA0'; }

// The first number of a text, its grouping marks ignored; nothing when it has no digit.
std::optional<long double> LeadingNumber(const std::string& text)
{
    size_t i = text.find_first_of("0123456789");
    if (i == std::string::npos)
        return std::nullopt;
    const bool negative = i > 0 && text[i - 1] == '-';
    long double value = 0;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i]))
            value = value * 10 + (text[i] - '0');
        else if (!(IsGroupMark(text[i]) && i + 1 < text.size() && IsDigit(text[i + 1])))
            break;
    }
    return negative ? -value : value;
}

// Every run of digits of a text, in order ("12/31/99 23:59" gives 12, 31, 99, 23, 59).
std::vector<long long> DigitRuns(const std::string& text)
{
    std::vector<long long> runs;
    for (size_t i = 0; i < text.size();) {
        if (!IsDigit(text[i])) {
            ++i;
            continue;
        }
        long long value = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            value = value < 100000000000000000LL ? value * 10 + (text[i] - '0') : value;
        runs.push_back(value);
    }
    return runs;
}

template <class T>
int ThreeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}
} // namespace

int CompareCells(SortKind kind, const std::string& a, const std::string& b, std::optional<int64_t> keyA,
                 std::optional<int64_t> keyB)
{
    if (kind != SortKind::TextNoCase && keyA && keyB && *keyA != *keyB)
        return ThreeWay(*keyA, *keyB);
    if (kind == SortKind::Number) {
        const auto x = LeadingNumber(a), y = LeadingNumber(b);
        if (x.has_value() != y.has_value())
            return x ? 1 : -1;
        if (x && *x != *y)
            return ThreeWay(*x, *y);
    } else if (kind == SortKind::DateTime) {
        if (const int order = ThreeWay(DigitRuns(a), DigitRuns(b)))
            return order;
    }
    return CompareNoCase(a, b);
}

int CompareNoCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int x = UpperOf(static_cast<unsigned char>(a[i]));
        const int y = UpperOf(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x - y;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::string ToUpperAnsi(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(UpperOf(static_cast<unsigned char>(c)));
    return out;
}

std::string CReportModel::GetCellText(int row, int column) const { return StoredText(row, column); }

bool CReportModel::IsColumnPrinted(int column) const
{
    return column >= 0 && column < ColumnCount() && m_columns[column].printed;
}

bool CReportModel::IsColumnNoWrap(int column) const
{
    return column >= 0 && column < ColumnCount() && m_columns[column].noWrap;
}

int CReportModel::ColumnPixelWidth(int column) const
{
    return column >= 0 && column < ColumnCount() ? m_columns[column].width : 0;
}

int CReportModel::AddColumn(int index, const ReportColumn& column)
{
    index = std::clamp(index, 0, ColumnCount());
    m_columns.insert(m_columns.begin() + index, column);
    for (ReportRow& row : m_rows)
        if (static_cast<int>(row.cells.size()) > index)
            row.cells.insert(row.cells.begin() + index, std::string());
    OnColumnsChanged();
    return index;
}

void CReportModel::RemoveAllColumns()
{
    m_columns.clear();
    OnColumnsChanged();
}

void CReportModel::SetColumnPrinted(int column, bool printed)
{
    if (column >= 0 && column < ColumnCount())
        m_columns[column].printed = printed;
}

void CReportModel::SetColumnWidth(int column, int width)
{
    if (column >= 0 && column < ColumnCount())
        m_columns[column].width = std::max(0, width);
}

std::vector<int> CReportModel::PrintedColumns() const
{
    std::vector<int> printed;
    for (int c = 0; c < ColumnCount(); ++c)
        if (IsColumnPrinted(c))
            printed.push_back(c);
    return printed;
}

int CReportModel::InsertRow(int row, const std::string& text, int image, intptr_t data)
{
    row = std::clamp(row, 0, RowCount());
    ReportRow entry;
    entry.cells.push_back(text);
    entry.image = image;
    entry.data = data;
    m_rows.insert(m_rows.begin() + row, std::move(entry));
    OnRowsChanged();
    return row;
}

bool CReportModel::SetCellText(int row, int column, const std::string& text)
{
    if (row < 0 || row >= RowCount() || column < 0)
        return false;
    SlotOf(m_rows[row].cells, column) = text;
    OnRowsChanged();
    return true;
}

bool CReportModel::SetRowImage(int row, int image)
{
    if (row < 0 || row >= RowCount())
        return false;
    m_rows[row].image = image;
    OnRowsChanged();
    return true;
}

void CReportModel::DeleteAllRows()
{
    m_rows.clear();
    OnRowsChanged();
}

bool CReportModel::DeleteRow(int row)
{
    if (row < 0 || row >= RowCount())
        return false;
    m_rows.erase(m_rows.begin() + row);
    OnRowsChanged();
    return true;
}

void CReportModel::DeleteRows(const std::vector<int>& rows)
{
    std::vector<bool> gone(m_rows.size(), false);
    for (int row : rows)
        if (row >= 0 && row < RowCount())
            gone[row] = true;
    size_t kept = 0;
    for (size_t row = 0; row < m_rows.size(); ++row)
        if (!gone[row]) {
            if (kept != row)
                m_rows[kept] = std::move(m_rows[row]);
            ++kept;
        }
    m_rows.resize(kept);
    OnRowsChanged();
}

bool CReportModel::SetCellSortKey(int row, int column, int64_t key)
{
    if (row < 0 || row >= RowCount() || column < 0)
        return false;
    SlotOf(m_rows[row].sortKeys, column) = key;
    return true;
}

intptr_t CReportModel::RowData(int row) const { return row >= 0 && row < RowCount() ? m_rows[row].data : 0; }

int CReportModel::RowImage(int row) const { return row >= 0 && row < RowCount() ? m_rows[row].image : -1; }

const std::string& CReportModel::StoredText(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0)
        return kEmpty;
    const auto& cells = m_rows[row].cells;
    return column < static_cast<int>(cells.size()) ? cells[column] : kEmpty;
}

void CReportModel::SortRows(int column, bool ascending, RowCompare compare)
{
    if (!compare) {
        const SortKind kind = column >= 0 && column < ColumnCount() ? m_columns[column].sort : SortKind::TextNoCase;
        compare = [column, kind](const ReportRow& a, const ReportRow& b) {
            const auto cell = [column](const ReportRow& r) -> const std::string& {
                return column >= 0 && column < static_cast<int>(r.cells.size()) ? r.cells[column] : kEmpty;
            };
            const auto key = [column](const ReportRow& r) -> std::optional<int64_t> {
                return column >= 0 && column < static_cast<int>(r.sortKeys.size()) ? r.sortKeys[column]
                                                                                   : std::nullopt;
            };
            return CompareCells(kind, cell(a), cell(b), key(a), key(b));
        };
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const ReportRow& a, const ReportRow& b) {
        const int order = compare(a, b);
        return ascending ? order < 0 : order > 0;
    });
    OnRowsChanged();
}

bool CReportModel::IsRowSelected(int row) const { return row >= 0 && row < RowCount() && m_rows[row].selected; }

void CReportModel::SelectRow(int row, bool selected)
{
    if (row >= 0 && row < RowCount())
        m_rows[row].selected = selected;
}

void CReportModel::SelectRange(int first, int last, bool selected)
{
    first = std::max(first, 0);
    last = std::min(last, RowCount() - 1);
    for (int row = first; row <= last; ++row)
        m_rows[row].selected = selected;
}

void CReportModel::SelectAll(bool selected) { SelectRange(0, RowCount() - 1, selected); }

std::vector<int> CReportModel::GetSelectedRows() const
{
    std::vector<int> rows;
    for (int row = 0; row < RowCount(); ++row)
        if (m_rows[row].selected)
            rows.push_back(row);
    return rows;
}

CCharWidthTable& CCharWidthTable::Shared()
{
    static CCharWidthTable table;
    return table;
}

void CCharWidthTable::Fill(const int (&widths)[256])
{
    std::copy(std::begin(widths), std::end(widths), m_widths);
    m_filled = true;
}

int CCharWidthTable::Measure(const std::string& text) const
{
    int width = 0;
    for (unsigned char c : text)
        width += m_widths[c];
    return width;
}
