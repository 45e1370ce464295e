#include "shell/report_export.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "base/progress.h"
#include "shell/html_writer.h"
#include "shell/report_model.h"

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool WriteLine(std::FILE* file, const std::string& line)
{
    const std::string bytes = line + "\r\n";
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

std::string Pad(const std::string& text, size_t width, int alignment)
{
    if (text.size() >= width)
        return text;
    const std::string blanks(width - text.size(), ' ');
    return alignment == AlignLeft ? text + blanks : blanks + text;
}

std::string CsvCell(std::string text)
{
    std::replace(text.begin(), text.end(), ',', ' ');
    return text;
}

int HtmlAlign(int columnAlignment)
{
    switch (columnAlignment) {
    case AlignRight: return html::Right;
    case AlignCentre: return html::Center;
    default: return html::Left;
    }
}

std::unique_ptr<html::HtmlText> FontText(const std::string& text, uint32_t colour, const PrintFontSpec& font)
{
    auto element = std::make_unique<html::HtmlText>(text);
    element->size = 2;
    element->colour = colour;
    element->face = font.face;
    element->bold = font.weight == 700;
    element->italic = font.italic != 0;
    element->underline = font.underline != 0;
    return element;
}
} // namespace

ExportFormat ExportFormatOfPath(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return ExportFormat::Text;
    const std::string ext = ToUpperAnsi(path.substr(dot + 1));
    if (ext == "HTM" || ext == "HTML")
        return ExportFormat::Html;
    if (ext == "CSV")
        return ExportFormat::Csv;
    return ExportFormat::Text;
}

ExportResult SaveReportAsText(const CReportModel& list, const std::string& path, char separator,
                              CQnProgress& progress)
{
    File file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return ExportResult::Failed;
    const int rows = list.RowCount();
    progress.Begin();
    progress.SetRange(0, rows);
    bool ok = true;
    bool cancelled = false;
    if (list.ColumnCount() == 0) {
        // A list without columns: each row's first text on its own line.
        for (int row = 0; row < rows && ok; ++row) {
            if (!progress.SetPos(row)) {
                cancelled = true;
                break;
            }
            ok = WriteLine(file.get(), list.GetCellText(row, 0));
        }
        progress.End();
        return !ok ? ExportResult::Failed : (cancelled ? ExportResult::Cancelled : ExportResult::Written);
    }

    const std::vector<int> columns = list.PrintedColumns();
    if (separator == ',') {
        for (int row = 0; row < rows && ok; ++row) {
            if (!progress.SetPos(row)) {
                cancelled = true;
                break;
            }
            std::string line;
            for (size_t i = 0; i < columns.size(); ++i) {
                if (i > 0)
                    line += ',';
                line += CsvCell(list.GetCellText(row, columns[i]));
            }
            ok = WriteLine(file.get(), line);
        }
        progress.End();
        return !ok ? ExportResult::Failed : (cancelled ? ExportResult::Cancelled : ExportResult::Written);
    }

    std::vector<size_t> widths;
    for (int column : columns)
        widths.push_back(list.Column(column).header.size());
    for (int row = 0; row < rows; ++row) {
        if (!progress.SetPos(row)) {
            cancelled = true;
            break;
        }
        for (size_t i = 0; i < columns.size(); ++i)
            widths[i] = std::max(widths[i], list.GetCellText(row, columns[i]).size());
    }
    auto lineOf = [&](auto textOf) {
        std::string line;
        for (size_t i = 0; i < columns.size(); ++i)
            line += Pad(textOf(columns[i]), widths[i], list.Column(columns[i]).alignment) + "  ";
        return line;
    };
    // A cancel during the width pass still writes the header; the row loop then stops at once.
    ok = WriteLine(file.get(), lineOf([&](int column) { return ToUpperAnsi(list.Column(column).header); }));
    for (int row = 0; row < rows && ok; ++row) {
        if (!progress.SetPos(row)) {
            cancelled = true;
            break;
        }
        ok = WriteLine(file.get(), lineOf([&](int column) { return list.GetCellText(row, column); }));
    }
    progress.End();
    return !ok ? ExportResult::Failed : (cancelled ? ExportResult::Cancelled : ExportResult::Written);
}

ExportResult SaveReportAsHtml(const CReportModel& list, const std::string& path, const ListPrintSettings& s,
                              CQnProgress& progress)
{
    progress.Begin();
    progress.SetTextById(kStatusGeneratingHtml);
    const std::vector<int> columns = list.PrintedColumns();
    const int rows = list.RowCount();
    const int count = static_cast<int>(columns.size());

    auto table = std::make_unique<html::HtmlTable>(rows + 1, count);
    table->border = 1;
    table->cellPadding = s.cellMargin;
    table->borderColourDark = s.tabHeaderBackground;
    table->borderColourLight = s.tabHeaderBackground;

    int64_t widthSum = 0;
    for (int column : columns)
        widthSum += std::max(list.ColumnPixelWidth(column), 0);
    auto percentOf = [&](int column) {
        // Columns of no width at all share the table equally.
        if (widthSum <= 0)
            return 100 / std::max(count, 1);
        return static_cast<int>(std::max(list.ColumnPixelWidth(column), 0) * int64_t{100} / widthSum);
    };

    for (int i = 0; i < count; ++i) {
        const int column = columns[i];
        html::HtmlCell* cell = table->GetCell(i, 0);
        cell->noWrap = true;
        cell->background = s.tabHeaderBackground;
        if (!list.IsColumnNoWrap(column))
            cell->width = percentOf(column);
        cell->align = HtmlAlign(list.Column(column).alignment);
        cell->AddChild(FontText(list.Column(column).header, s.tabHeaderTextColour, s.tabHeaderFont));
    }
    for (int row = 0; row < rows; ++row) {
        const uint32_t background = row % 2 == 0 ? s.rowBackground0 : s.rowBackground1;
        for (int i = 0; i < count; ++i) {
            const int column = columns[i];
            html::HtmlCell* cell = table->GetCell(i, row + 1);
            cell->align = HtmlAlign(list.Column(column).alignment);
            cell->valign = html::Top;
            cell->background = background;
            if (list.IsColumnNoWrap(column))
                cell->noWrap = true;
            else
                cell->width = percentOf(column);
            const std::string text = list.GetCellText(row, column);
            if (text.empty())
                cell->AddChild(FontText(".", background, s.textFont)); // keeps the row height, shows nothing
            else
                cell->AddChild(FontText(text, s.textColour, s.textFont));
        }
    }

    html::HtmlDocument document;
    document.hasTitle = true;
    document.AddBodyElement(std::move(table));
    const std::string page = document.Render(&progress);
    if (progress.IsCancelled()) {
        progress.End(true);
        return ExportResult::Cancelled;
    }
    File file(std::fopen(path.c_str(), "wb"));
    bool ok = file && std::fwrite(page.data(), 1, page.size(), file.get()) == page.size();
    if (file && std::fclose(file.release()) != 0)
        ok = false;
    progress.End(true);
    return ok ? ExportResult::Written : ExportResult::Failed;
}

ExportResult SaveReport(const CReportModel& list, const std::string& path, CQnProgress& progress)
{
    switch (ExportFormatOfPath(path)) {
    case ExportFormat::Html: return SaveReportAsHtml(list, path, LoadListPrintSettings(), progress);
    case ExportFormat::Csv: return SaveReportAsText(list, path, ',', progress);
    default: return SaveReportAsText(list, path, ' ', progress);
    }
}
