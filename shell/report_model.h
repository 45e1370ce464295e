#pragma once
// The data of a report list: column records, rows of cell texts, selection and the print
// settings of the list. The Win32 control (report_list_win) shows this model; exports and
// print layout read it, so all of them work and are tested without a window.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum ColumnAlignment : int { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

// How a column's cells compare when the user sorts by it. Number and date columns compare the
// row's sort key of the cell when the module set one (a size in bytes, a file time), else the
// numbers in the text.
enum class SortKind { TextNoCase, Number, DateTime };

struct ReportColumn {
    std::string header;
    int alignment = AlignLeft;
    int width = 100;      // on-screen width in pixels
    bool noWrap = false;  // keeps its text on one line in HTML output
    bool printed = true;  // printed and exported
    SortKind sort = SortKind::TextNoCase;
};

struct ReportRow {
    std::vector<std::string> cells;
    int image = -1;
    intptr_t data = 0;
    bool selected = false;
    std::vector<std::optional<int64_t>> sortKeys; // per column, set by SetCellSortKey
};

class CReportModel {
public:
    virtual ~CReportModel() = default;

    // Overridable by modules, in this order.
    virtual std::string GetCellText(int row, int column) const;
    virtual bool IsColumnPrinted(int column) const;
    virtual bool IsColumnNoWrap(int column) const;
    // Current on-screen width of a column; the control reports the live width.
    virtual int ColumnPixelWidth(int column) const;

    // Columns.
    int AddColumn(int index, const ReportColumn& column);
    void RemoveAllColumns();
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    const ReportColumn& Column(int column) const { return m_columns[column]; }
    void SetColumnPrinted(int column, bool printed);
    void SetColumnWidth(int column, int width);
    std::vector<int> PrintedColumns() const;

    // Rows. Indexes out of range are ignored (setters) or give empty values (getters).
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int InsertRow(int row, const std::string& text, int image = -1, intptr_t data = 0);
    bool SetCellText(int row, int column, const std::string& text);
    bool SetRowImage(int row, int image);
    void DeleteAllRows();
    bool DeleteRow(int row);
    // Deletes the listed rows (any order, duplicates and bad indexes ignored) in one pass.
    void DeleteRows(const std::vector<int>& rows);
    // The value a Number or DateTime column sorts this cell by.
    bool SetCellSortKey(int row, int column, int64_t key);
    intptr_t RowData(int row) const;
    int RowImage(int row) const;
    const std::string& StoredText(int row, int column) const;

    // Sorting by a comparator of whole rows (negative, zero, positive); without one, by the
    // column's sort kind (CompareCells). Equal rows keep their order.
    using RowCompare = std::function<int(const ReportRow&, const ReportRow&)>;
    void SortRows(int column, bool ascending = true, RowCompare compare = {});

    // Selection.
    bool IsRowSelected(int row) const;
    void SelectRow(int row, bool selected);
    void SelectRange(int first, int last, bool selected);
    void SelectAll(bool selected);
    std::vector<int> GetSelectedRows() const;

    // Print title (the "&&[File]" macro) and the footer note text.
    void SetPrintTitle(const std::string& title) { m_printTitle = title; }
    const std::string& PrintTitle() const { return m_printTitle; }
    void SetPrintNote(const std::string& note) { m_printNote = note; }
    const std::string& PrintNote() const { return m_printNote; }

protected:
    // Called after rows or columns change, so a view can refresh.
    virtual void OnRowsChanged() {}
    virtual void OnColumnsChanged() {}

private:
    std::vector<ReportColumn> m_columns;
    std::vector<ReportRow> m_rows;
    std::string m_printTitle, m_printNote;
};

// Case-insensitive comparison of single-byte texts (ASCII and Western letters).
int CompareNoCase(const std::string& a, const std::string& b);
// Order of two cells of a column of the given kind (negative, zero, positive). Number: texts
// without digits first, then by value (blanks, commas, dots and apostrophes between digits
// group thousands); DateTime: by the numbers of the text in turn. A key, when both cells have
// one, decides first.
int CompareCells(SortKind kind, const std::string& a, const std::string& b,
                 std::optional<int64_t> keyA = {}, std::optional<int64_t> keyB = {});
// Upper case of a Western single-byte text.
std::string ToUpperAnsi(const std::string& text);

// Widths of the 256 single-byte characters, taken once from a list control and shared by
// every list; a text's width is the sum of its characters' widths.
class CCharWidthTable {
public:
    static CCharWidthTable& Shared();
    bool IsFilled() const { return m_filled; }
    void Fill(const int (&widths)[256]);
    int Measure(const std::string& text) const;

private:
    int m_widths[256] = {};
    bool m_filled = false;
};
