#pragma once
// The standard print loop: printer dialog, a "Printing" status dialog with abort, the page
// loop; print set-up; and the printer device shared by printing and preview.
#include <windows.h>

#include <string>

struct CPrintInfo {
    int minPage = 1, maxPage = 0xFFFF; // maxPage: set by the document once it knows
    int fromPage = 1, toPage = 0xFFFF;
    int currentPage = 1;
    bool preview = false;
    bool continuePrinting = true; // the document clears it to stop the page loop
    std::string documentName;
    RECT drawArea{};              // the page in device pixels
};

// A printable document: the hooks the print loop and the preview call, in this order.
class IPrintable {
public:
    virtual ~IPrintable() = default;
    virtual bool OnPreparePrinting(CPrintInfo& info) { (void)info; return true; }
    virtual void OnBeginPrinting(HDC dc, CPrintInfo& info) { (void)dc; (void)info; }
    virtual void OnPrint(HDC dc, CPrintInfo& info) = 0;
    virtual void OnEndPrinting(HDC dc, CPrintInfo& info) { (void)dc; (void)info; }
};

// A job without the printer dialog: a ready printer device and, optionally, an output file.
struct DirectPrintJob {
    HDC dc = nullptr;
    std::string outputFile;
};

enum class PrintOutcome { Printed, Cancelled, Failed };

// Runs the whole print job. Failures to start it are told to the user (61702).
PrintOutcome PrintDocument(HWND owner, IPrintable& document, const DirectPrintJob* direct = nullptr);
// The printer set-up dialog; its choice is used by later jobs and previews.
void PrintSetup(HWND owner);
// A device of the chosen (or default) printer, or null when there is none. Caller deletes it.
HDC CreatePrinterDC();
// Tells the user a framework message (string id) through the program's message function.
void ShowFrameworkMessage(UINT stringId, const char* fallback);
using FrameworkMessageFn = void (*)(const std::string& text);
void SetFrameworkMessageFunction(FrameworkMessageFn function);
