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

void RemoveTestPrinter()
{
    PRINTER_DEFAULTSA access{};
    access.DesiredAccess = PRINTER_ALL_ACCESS;
    HANDLE printer = nullptr;
    char name[sizeof kPrinter];
    std::snprintf(name, sizeof name, "%s", kPrinter);
    if (OpenPrinterA(name, &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
}

// The generic PostScript driver of Wine with the PPD that winspool.drv carries.
bool AddTestPrinter()
{
    HMODULE winspool = LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = winspool ? FindResourceA(winspool, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
    if (!resource)
        return false;
    const void* ppd = LockResource(LoadResource(winspool, resource));
    const DWORD ppdSize = SizeofResource(winspool, resource);
    char environment[] = "Windows x64";
    char directory[MAX_PATH] = "";
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, environment, 1, reinterpret_cast<BYTE*>(directory), sizeof directory, &needed);
    const std::string ppdPath = std::string(directory) + "\\quenta_test.ppd";
    std::FILE* out = std::fopen(ppdPath.c_str(), "wb");
    if (!out)
        return false;
    std::fwrite(ppd, 1, ppdSize, out);
    std::fclose(out);

    char name[sizeof kPrinter], driver[] = "wineps.drv", port[] = "FILE:", processor[] = "winprint", datatype[] = "RAW";
    std::snprintf(name, sizeof name, "%s", kPrinter);
    DRIVER_INFO_3A info{};
    info.cVersion = 3;
    info.pName = name;
    info.pEnvironment = environment;
    info.pDriverPath = driver;
    info.pDataFile = const_cast<char*>(ppdPath.c_str());
    info.pConfigFile = driver;
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES))
        return false;
    PRINTER_INFO_2A printer{};
    printer.pPrinterName = name;
    printer.pPortName = port;
    printer.pDriverName = name;
    printer.pPrintProcessor = processor;
    printer.pDatatype = datatype;
    HANDLE handle = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (!handle)
        return false;
    ClosePrinter(handle);
    return SetDefaultPrinterA(name) != FALSE;
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
    RemoveTestPrinter();
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

    ASSERT_TRUE(AddTestPrinter());
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
    RemoveTestPrinter();
}
