// Prints a filled report list for real: without any printer the job fails with the
// framework's message; with a PostScript printer added to the test prefix it prints every
// page to a file (checked by check_printed_list.sh with Ghostscript).
#include <windows.h>

#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/frame.h"
#include "framework/preview.h"
#include "framework/print.h"
#include "tests/e2e/support/screen_win.h"
#include "tests/e2e/support/test_printer_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"

namespace {
const char kPrinter[] = "Quenta Test PostScript";
std::string g_lastMessage;

void CaptureMessage(const std::string& text) { g_lastMessage = text; }

std::string OutputPath(const char* name) { return std::string(QUENTA_BINARY_DIR) + "/tests/e2e/shell/" + name; }

class CTestListView : public CQnFormView {
public:
    CTestListView() : CQnFormView(&EmptyFormTemplate()) {}
    int pages = 0;
    void OnBeginPrinting(HDC dc, CPrintInfo& info) override
    {
        CQnFormView::OnBeginPrinting(dc, info);
        pages = info.maxPage;
    }
};

bool PrinterExists()
{
    HANDLE printer = nullptr;
    char name[sizeof kPrinter];
    std::snprintf(name, sizeof name, "%s", kPrinter);
    if (!OpenPrinterA(name, &printer, nullptr))
        return false;
    ClosePrinter(printer);
    return true;
}

void FillList(CReportList& list, int rows)
{
    list.AddColumn(0, {"Name", AlignLeft, 200});
    list.AddColumn(1, {"Size", AlignRight, 80});
    list.AddColumn(2, {"Kind", AlignCentre, 120});
    for (int row = 0; row < rows; ++row) {
        list.InsertRow(row, "File number " + std::to_string(row + 1) + " & more");
        list.SetCellText(row, 1, std::to_string((row + 1) * 1024));
        list.SetCellText(row, 2, row % 2 ? "Picture" : "Text");
    }
}
} // namespace

TEST(ListPrinting, FailsCleanlyWithoutPrinterThenPrintsEveryPage)
{
    SetFrameworkMessageFunction(CaptureMessage);
    e2e::RemoveTestPrinter(kPrinter);
    CTestListView view;
    CReportList list;
    FillList(list, 150);
    view.SetReportList(&list);

    HDC none = CreatePrinterDC();
    if (!none) {
        // No printer at all: the job cannot start, the user is told, nothing else happens.
        DirectPrintJob job;
        EXPECT_EQ(PrintDocument(nullptr, view, &job), PrintOutcome::Failed);
        EXPECT_EQ(g_lastMessage, "Could not start print job.");
    } else {
        DeleteDC(none);
    }

    ASSERT_TRUE(e2e::AddTestPrinter(kPrinter, "quenta_test.ppd"));
    ASSERT_TRUE(PrinterExists());
    HDC dc = CreateDCA(nullptr, kPrinter, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 300);
    const std::string output = OutputPath("printed_list.ps");
    std::remove(output.c_str());
    DirectPrintJob job;
    job.dc = dc;
    job.outputFile = output;
    EXPECT_EQ(PrintDocument(nullptr, view, &job), PrintOutcome::Printed);
    DeleteDC(dc);
    EXPECT_GT(view.pages, 1);
    EXPECT_EQ(list.PageCount(), view.pages);
    // The page count for the Ghostscript check.
    std::FILE* pages = std::fopen(OutputPath("printed_list.pages").c_str(), "wb");
    ASSERT_NE(pages, nullptr);
    std::fprintf(pages, "%d\n", view.pages);
    std::fclose(pages);
    std::FILE* printed = std::fopen(output.c_str(), "rb");
    ASSERT_NE(printed, nullptr);
    std::fclose(printed);

    // Print preview of the same list in a frame: page 1, drawn by the same print code.
    CFrameWindow frame;
    ASSERT_TRUE(frame.Create(0, "Preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1024, 740, nullptr, 0));
    EXPECT_TRUE(RunPrintPreview(frame, view));
    EXPECT_NE(frame.ViewReplacement(), nullptr);
    RedrawWindow(frame.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_TRUE(SaveScreenBmp(OutputPath("print_preview.bmp")));
    ClosePrintPreview(frame);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_EQ(frame.ViewReplacement(), nullptr);
    frame.Destroy();
    e2e::RemoveTestPrinter(kPrinter);
}
