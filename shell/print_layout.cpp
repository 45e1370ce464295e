#include "shell/print_layout.h"

#include <algorithm>
#include <cstdint>

namespace {
int MulDiv64(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return 0;
    const int64_t product = static_cast<int64_t>(value) * numerator;
    const int64_t half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}
} // namespace

int MillimetresToPixels(int mm, const PrintDeviceMetrics& device)
{
    return MulDiv64(mm, device.horzRes, device.horzSizeMm);
}

int ScaleToPrinter(int value, int printerDpi, int screenDpi) { return MulDiv64(value, printerDpi, screenDpi); }

PrintLayout ComputePrintLayout(const ListPrintSettings& s, const PrintDeviceMetrics& device, int textLineHeight,
                               int tabHeaderLineHeight, int rowCount, bool pictureMode)
{
    PrintLayout layout;
    auto px = [&](int mm) { return MillimetresToPixels(std::max(mm, 0), device); };
    layout.inner = {px(s.marginLeft + 1), px(s.marginTop), device.horzRes - px(s.marginRight + 1),
                    device.vertRes - px(s.marginBottom)};
    layout.cellMargin = px(s.cellMargin);
    layout.table = layout.inner;
    if (s.headerEnabled) {
        layout.headerBand = {layout.inner.left, layout.inner.top, layout.inner.right,
                             layout.inner.top + px(s.headerHeight)};
        layout.table.top = layout.headerBand.bottom;
    }
    if (s.footerEnabled) {
        layout.footerBand = {layout.inner.left, layout.inner.bottom - px(s.footerHeight), layout.inner.right,
                             layout.inner.bottom};
        layout.table.bottom = layout.footerBand.top;
    }
    layout.rowHeight = std::max(1, textLineHeight + 2 * layout.cellMargin);
    layout.headerRowHeight = std::max(1, tabHeaderLineHeight + 2 * layout.cellMargin);
    // A page holds at least one row, whatever the fonts, so the job always ends.
    layout.rowsPerPage = std::max(1, (layout.table.Height() - layout.headerRowHeight) / layout.rowHeight);
    layout.pageCount = pictureMode ? 1 : std::max(1, (rowCount + layout.rowsPerPage - 1) / layout.rowsPerPage);
    return layout;
}

int FirstRowOfPage(const PrintLayout& layout, int page) { return (page - 1) * layout.rowsPerPage; }

int RowsOnPage(const PrintLayout& layout, int page, int rowCount)
{
    const int first = FirstRowOfPage(layout, page);
    return std::clamp(rowCount - first, 0, layout.rowsPerPage);
}

std::string ExpandPrintMacros(const std::string& text, const PrintMacroValues& values)
{
    struct Macro {
        const char* name;
        std::string value;
    };
    // "&&[Pages]" before "&&[Page]": the longer name wins.
    const Macro macros[] = {{"&&[File]", values.file},
                            {"&&[Date]", values.date},
                            {"&&[Hour]", values.hour},
                            {"&&[Pages]", std::to_string(values.pages)},
                            {"&&[Page]", std::to_string(values.page)}};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text.compare(i, 2, "&&") == 0) {
            for (const Macro& macro : macros) {
                const std::string name = macro.name;
                if (text.compare(i, name.size(), name) == 0) {
                    out += macro.value;
                    i += name.size();
                    replaced = true;
                    break;
                }
            }
            if (!replaced) {
                out += '&';
                i += 2;
                replaced = true;
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

std::vector<int> ScaleColumnWidths(const std::vector<int>& widths, int total)
{
    std::vector<int> scaled(widths.size(), 0);
    if (widths.empty())
        return scaled;
    int64_t sum = 0;
    for (int w : widths)
        sum += std::max(w, 0);
    int used = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        scaled[i] = sum > 0 ? static_cast<int>(std::max(widths[i], 0) * static_cast<int64_t>(total) / sum)
                            : total / static_cast<int>(widths.size());
        used += scaled[i];
    }
    scaled.back() += total - used; // rounding remainder goes to the last column
    return scaled;
}

PrintRect FitPicture(int pictureWidth, int pictureHeight, const PrintRect& area)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || area.Width() <= 0 || area.Height() <= 0)
        return {area.left, area.top, area.left, area.top};
    int width = area.Width();
    int height = static_cast<int>(static_cast<int64_t>(pictureHeight) * width / pictureWidth);
    if (height > area.Height()) {
        height = area.Height();
        width = static_cast<int>(static_cast<int64_t>(pictureWidth) * height / pictureHeight);
    }
    const int left = area.left + (area.Width() - width) / 2;
    const int top = area.top + (area.Height() - height) / 2;
    return {left, top, left + width, top + height};
}
