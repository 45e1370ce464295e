#include "shell/report_export.h"

#include <gtest/gtest.h>

#include "base/progress.h"
#include "shell/report_model.h"
#include "test_files.h"

namespace {
CReportModel SmallList()
{
    CReportModel list;
    list.AddColumn(0, {"Name", AlignLeft, 150});
    list.AddColumn(1, {"Size", AlignRight, 50, /*noWrap=*/true});
    list.InsertRow(0, "a.txt");
    list.SetCellText(0, 1, "1,024");
    list.InsertRow(1, "b & c");
    return list;
}

CReportModel NumberedList(int rows)
{
    CReportModel list;
    list.AddColumn(0, {"N", AlignLeft, 10});
    list.AddColumn(1, {"Twice", AlignCentre, 10});
    for (int i = 0; i < rows; ++i) {
        list.InsertRow(i, std::to_string(i));
        list.SetCellText(i, 1, std::to_string(2 * i));
    }
    return list;
}

// Cancels on the given call of SetPos, counting from 1.
int g_posCalls = 0, g_cancelAtCall = 0;
bool CountingPos(int64_t)
{
    return ++g_posCalls < g_cancelAtCall;
}

CQnCallbackProgress CancellingSink(int cancelAtCall)
{
    g_posCalls = 0;
    g_cancelAtCall = cancelAtCall;
    CQnCallbackProgress sink;
    sink.onPos = CountingPos;
    return sink;
}
} // namespace

TEST(ReportExport, FormatFollowsTheExtension)
{
    EXPECT_EQ(ExportFormatOfPath("C:\\a\\list.HtMl"), ExportFormat::Html);
    EXPECT_EQ(ExportFormatOfPath("list.htm"), ExportFormat::Html);
    EXPECT_EQ(ExportFormatOfPath("list.Csv"), ExportFormat::Csv);
    EXPECT_EQ(ExportFormatOfPath("list"), ExportFormat::Text);
    EXPECT_EQ(ExportFormatOfPath("C:\\my.dir\\list"), ExportFormat::Text);
    EXPECT_EQ(ExportFormatOfPath("list.txt"), ExportFormat::Text);
}

TEST(ReportExport, TextPadsColumnsAndUpperCasesHeaders)
{
    const std::string path = ScratchPath("small.txt");
    ASSERT_EQ(SaveReportAsText(SmallList(), path, ' ', CQnProgress::Silent()), ExportResult::Written);
    EXPECT_EQ(ReadBytes(path), "NAME    SIZE  \r\n"
                               "a.txt  1,024  \r\n"
                               "b & c         \r\n");

    // A header longer than every cell fixes the width; a centred column pads on the left.
    CReportModel list;
    list.AddColumn(0, {"Description\xE9", AlignCentre, 10});
    list.AddColumn(1, {"x", AlignLeft, 10});
    list.SetColumnPrinted(1, false);
    list.InsertRow(0, "ab");
    list.SetCellText(0, 1, "hidden");
    ASSERT_EQ(SaveReportAsText(list, path, ' ', CQnProgress::Silent()), ExportResult::Written);
    EXPECT_EQ(ReadBytes(path), "DESCRIPTION\xC9  \r\n"
                               "          ab  \r\n");
}

TEST(ReportExport, CsvReplacesCommasWithoutQuoting)
{
    const std::string path = ScratchPath("small.csv");
    ASSERT_EQ(SaveReportAsText(SmallList(), path, ',', CQnProgress::Silent()), ExportResult::Written);
    EXPECT_EQ(ReadBytes(path), "a.txt,1 024\r\n"
                               "b & c,\r\n");
}

TEST(ReportExport, ListWithoutColumnsWritesEachRowsText)
{
    CReportModel list;
    list.InsertRow(0, "first");
    list.InsertRow(1, "second");
    for (char separator : {' ', ','}) {
        const std::string path = ScratchPath("nocolumns.txt");
        ASSERT_EQ(SaveReportAsText(list, path, separator, CQnProgress::Silent()), ExportResult::Written);
        EXPECT_EQ(ReadBytes(path), "first\r\nsecond\r\n");
    }
}

TEST(ReportExport, HtmlTableUsesColoursFontsAndPercentages)
{
    const std::string path = ScratchPath("small.htm");
    ListPrintSettings settings;
    ASSERT_EQ(SaveReportAsHtml(SmallList(), path, settings, CQnProgress::Silent()), ExportResult::Written);
    const std::string header = "<FONT  SIZE=\"2\" COLOR=\"#FFFFFF\" FACE=\"Arial\"><B>";
    const std::string text = "<FONT  SIZE=\"2\" COLOR=\"#000000\" FACE=\"Arial\">";
    EXPECT_EQ(ReadBytes(path),
              "<HTML>\r\n\r\n<HEAD>\r\n<TITLE></TITLE>\r\n</HEAD>\r\n\r\n<BODY>\r\n"
              "<TABLE BORDER=\"1\" CELLPADDING=\"2\" BORDERCOLORDARK=\"#000000\" BORDERCOLORLIGHT=\"#000000\">\r\n"
              "<TR>\r\n<TD ALIGN=\"LEFT\" WIDTH=\"75%\" NOWRAP BGCOLOR=\"#000000\">" + header + "Name</B></FONT></TD>"
              "\r\n<TD ALIGN=\"RIGHT\" WIDTH=\"50%\" NOWRAP BGCOLOR=\"#000000\">" + header + "Size</B></FONT></TD>"
              "\r\n</TR>\r\n"
              "<TR>\r\n<TD ALIGN=\"LEFT\" VALIGN=\"TOP\" WIDTH=\"75%\" BGCOLOR=\"#FFFFFF\">" + text + "a.txt</FONT></TD>"
              "\r\n<TD ALIGN=\"RIGHT\" VALIGN=\"TOP\" WIDTH=\"50%\" NOWRAP BGCOLOR=\"#FFFFFF\">" + text + "1,024</FONT></TD>"
              "\r\n</TR>\r\n"
              "<TR>\r\n<TD ALIGN=\"LEFT\" VALIGN=\"TOP\" WIDTH=\"75%\" BGCOLOR=\"#FFFFF0\">" + text + "b &amp; c</FONT></TD>"
              "\r\n<TD ALIGN=\"RIGHT\" VALIGN=\"TOP\" WIDTH=\"50%\" NOWRAP BGCOLOR=\"#FFFFF0\">"
              "<FONT  SIZE=\"2\" COLOR=\"#FFFFF0\" FACE=\"Arial\">.</FONT></TD>"
              "\r\n</TR>\r\n"
              "</TABLE>\r\n</BODY>\r\n\r\n</HTML>");
}

TEST(ReportExport, HtmlOfZeroWidthColumnsSharesTheTable)
{
    CReportModel list;
    list.AddColumn(0, {"A", AlignLeft, 0});
    list.AddColumn(1, {"B", AlignLeft, 0});
    list.InsertRow(0, "x");
    const std::string path = ScratchPath("zero.htm");
    ASSERT_EQ(SaveReportAsHtml(list, path, ListPrintSettings(), CQnProgress::Silent()), ExportResult::Written);
    EXPECT_NE(ReadBytes(path).find("VALIGN=\"TOP\" WIDTH=\"50%\""), std::string::npos);
}

TEST(ReportExport, CancelKeepsTextLinesButWritesNoHtml)
{
    const CReportModel list = NumberedList(6);
    // Text: six calls in the width pass, then rows 0 and 1 are written before the cancel.
    const std::string text = ScratchPath("cancel.txt");
    CQnCallbackProgress sink = CancellingSink(9);
    ASSERT_EQ(SaveReportAsText(list, text, ' ', sink), ExportResult::Cancelled);
    EXPECT_EQ(ReadBytes(text), "N  TWICE  \r\n0      0  \r\n1      2  \r\n");
    EXPECT_FALSE(sink.IsActive());

    const std::string csv = ScratchPath("cancel.csv");
    sink = CancellingSink(4);
    ASSERT_EQ(SaveReportAsText(list, csv, ',', sink), ExportResult::Cancelled);
    EXPECT_EQ(ReadBytes(csv), "0,0\r\n1,2\r\n2,4\r\n");

    const std::string page = ScratchPath("cancel.htm");
    std::remove(page.c_str());
    sink = CancellingSink(2);
    ASSERT_EQ(SaveReportAsHtml(list, page, ListPrintSettings(), sink), ExportResult::Cancelled);
    EXPECT_FALSE(FileExists(page));
    EXPECT_FALSE(sink.IsActive());
}

TEST(ReportExport, UnwritableFileFails)
{
    const std::string path = ScratchPath("no/such/folder/list.txt");
    EXPECT_EQ(SaveReportAsText(SmallList(), path, ' ', CQnProgress::Silent()), ExportResult::Failed);
    EXPECT_EQ(SaveReportAsHtml(SmallList(), path, ListPrintSettings(), CQnProgress::Silent()),
              ExportResult::Failed);
}

TEST(ReportModel, SortingSelectionAndColumnInsertion)
{
    CReportModel list = NumberedList(3);
    list.SetCellText(0, 0, "b");
    list.SetCellText(1, 0, "A");
    list.SetCellText(2, 0, "c");
    list.SelectRow(0, true);
    list.SortRows(0);
    EXPECT_EQ(list.StoredText(0, 0), "A");
    EXPECT_EQ(list.StoredText(1, 0), "b");
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{1}); // selection travels with its row
    list.SortRows(0, false);
    EXPECT_EQ(list.StoredText(0, 0), "c");

    list.AddColumn(1, {"New"});
    EXPECT_EQ(list.StoredText(0, 1), "");
    EXPECT_EQ(list.StoredText(0, 2), "4");
    EXPECT_EQ(list.StoredText(5, 0), "");
    EXPECT_FALSE(list.SetCellText(-1, 0, "x"));
    list.SelectAll(true);
    EXPECT_EQ(list.GetSelectedRows().size(), 3u);
}
