#include "shell/print_layout.h"

#include <gtest/gtest.h>

namespace {
// A4 at 300 dpi.
const PrintDeviceMetrics kA4{2480, 3508, 210, 297};
} // namespace

TEST(PrintLayout, MarginsBandsAndRowsPerPage)
{
    ListPrintSettings s;
    const PrintLayout layout = ComputePrintLayout(s, kA4, 50, 60, 100, false);
    const int mm = 2480 / 210; // about 11.8 pixels
    EXPECT_NEAR(layout.inner.left, 2 * 11.81, 1);
    EXPECT_NEAR(layout.inner.top, 1 * 11.81, 1);
    EXPECT_NEAR(2480 - layout.inner.right, 2 * 11.81, 1);
    EXPECT_EQ(layout.headerBand.top, layout.inner.top);
    EXPECT_NEAR(layout.headerBand.Height(), 15 * 11.81, 1);
    EXPECT_EQ(layout.table.top, layout.headerBand.bottom);
    EXPECT_EQ(layout.table.bottom, layout.footerBand.top);
    EXPECT_EQ(layout.footerBand.bottom, layout.inner.bottom);
    const int cell = MillimetresToPixels(2, kA4);
    EXPECT_EQ(layout.rowHeight, 50 + 2 * cell);
    EXPECT_EQ(layout.rowsPerPage, (layout.table.Height() - (60 + 2 * cell)) / layout.rowHeight);
    EXPECT_EQ(layout.pageCount, (100 + layout.rowsPerPage - 1) / layout.rowsPerPage);
    EXPECT_GT(mm, 0);

    EXPECT_EQ(FirstRowOfPage(layout, 2), layout.rowsPerPage);
    EXPECT_EQ(RowsOnPage(layout, layout.pageCount, 100), 100 - (layout.pageCount - 1) * layout.rowsPerPage);
    EXPECT_EQ(RowsOnPage(layout, layout.pageCount + 1, 100), 0);
}

TEST(PrintLayout, WithoutBandsTheTableFillsTheMargins)
{
    ListPrintSettings s;
    s.headerEnabled = s.footerEnabled = false;
    const PrintLayout layout = ComputePrintLayout(s, kA4, 50, 50, 0, false);
    EXPECT_EQ(layout.table.top, layout.inner.top);
    EXPECT_EQ(layout.table.bottom, layout.inner.bottom);
    EXPECT_EQ(layout.pageCount, 1);
}

TEST(PrintLayout, HugeFontsStillPrintOneRowPerPageAndPictureIsOnePage)
{
    ListPrintSettings s;
    const PrintLayout layout = ComputePrintLayout(s, kA4, 100000, 50, 7, false);
    EXPECT_EQ(layout.rowsPerPage, 1);
    EXPECT_EQ(layout.pageCount, 7);
    EXPECT_EQ(ComputePrintLayout(s, kA4, 50, 50, 1000, true).pageCount, 1);
    // A device that reports no size does not divide by zero.
    EXPECT_EQ(ComputePrintLayout(s, PrintDeviceMetrics{}, 10, 10, 5, false).inner.left, 0);
}

TEST(PrintLayout, MacrosAndAmpersands)
{
    PrintMacroValues values{"List & Co", "12/07/26", "10:11:12", 2, 5};
    EXPECT_EQ(ExpandPrintMacros("Page : &&[Page] / &&[Pages]", values), "Page : 2 / 5");
    EXPECT_EQ(ExpandPrintMacros("&&[File] - &&[Date] &&[Hour]", values), "List & Co - 12/07/26 10:11:12");
    EXPECT_EQ(ExpandPrintMacros("No macros here", values), "No macros here");
    EXPECT_EQ(ExpandPrintMacros("A && B &&[Other] &x", values), "A & B &[Other] &x");
}

TEST(PrintLayout, ColumnWidthsScaleAndFontsScale)
{
    EXPECT_EQ(ScaleColumnWidths({100, 300}, 2000), (std::vector<int>{500, 1500}));
    EXPECT_EQ(ScaleColumnWidths({1, 1, 1}, 100), (std::vector<int>{33, 33, 34}));
    EXPECT_EQ(ScaleColumnWidths({0, 0}, 10), (std::vector<int>{5, 5}));
    EXPECT_EQ(ScaleToPrinter(14, 300, 96), 44);
    const PrintRect fit = FitPicture(200, 100, {0, 0, 1000, 1000});
    EXPECT_EQ(fit.top, 250);
    EXPECT_EQ(fit.Width(), 1000);
    EXPECT_EQ(fit.Height(), 500);
}
