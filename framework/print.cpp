#include "framework/print.h"

#include <commdlg.h>

#include <algorithm>

#include "framework/command.h"
#include "framework/dialog.h"
#include "framework/window.h"

namespace {
HGLOBAL g_devMode = nullptr;
HGLOBAL g_devNames = nullptr;
FrameworkMessageFn g_messageFunction = nullptr;

// The modeless "Printing" dialog: document name, page, and Cancel.
class CPrintingDialog : public CDialog {
public:
    enum { IdDocument = 100, IdPage = 101 };
    explicit CPrintingDialog(const CDialogTemplate* layout) : CDialog(layout) {}
    bool aborted = false;

protected:
    void OnCancel() override
    {
        aborted = true;
        EnableWindow(Item(IDCANCEL), FALSE);
    }
};

CPrintingDialog* g_printing = nullptr;

BOOL CALLBACK AbortProc(HDC, int)
{
    MSG msg;
    while (!(g_printing && g_printing->aborted) && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!g_printing || !g_printing->Hwnd() || !IsDialogMessageA(g_printing->Hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return !(g_printing && g_printing->aborted);
}

CDialogTemplate PrintingLayout()
{
    CDialogTemplate layout(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 0, 0, 0, 180, 70,
                           LoadFrameworkString(0xF107, "Printing"));
    layout.AddControl(CDialogTemplate::Static, "", CPrintingDialog::IdDocument,
                      WS_CHILD | WS_VISIBLE | SS_CENTER | SS_ENDELLIPSIS, 8, 8, 164, 10);
    layout.AddControl(CDialogTemplate::Static, "", CPrintingDialog::IdPage, WS_CHILD | WS_VISIBLE | SS_CENTER, 8,
                      22, 164, 10);
    layout.AddControl(CDialogTemplate::Button, LoadFrameworkString(0xF108, "Cancel"), IDCANCEL,
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 65, 46, 50, 14);
    return layout;
}

struct PrinterDC {
    HDC dc = nullptr;
    bool owned = false;
    ~PrinterDC()
    {
        if (owned && dc)
            DeleteDC(dc);
    }
};

// The printer dialog; false when cancelled or failed (`failed` tells which).
bool AskPrinter(HWND owner, CPrintInfo& info, PrinterDC& printer, std::string& outputFile, bool& failed)
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = g_devMode;
    pd.hDevNames = g_devNames;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (info.maxPage != 0xFFFF && info.maxPage >= info.minPage) {
        pd.nMinPage = static_cast<WORD>(info.minPage);
        pd.nMaxPage = static_cast<WORD>(info.maxPage);
        pd.nFromPage = static_cast<WORD>(info.minPage);
        pd.nToPage = static_cast<WORD>(info.maxPage);
    } else {
        pd.Flags |= PD_NOPAGENUMS;
    }
    pd.nCopies = 1;
    const BOOL chosen = PrintDlgA(&pd);
    g_devMode = pd.hDevMode;
    g_devNames = pd.hDevNames;
    if (!chosen) {
        failed = CommDlgExtendedError() != 0;
        return false;
    }
    printer.dc = pd.hDC;
    printer.owned = true;
    if (pd.Flags & PD_PAGENUMS) {
        info.fromPage = pd.nFromPage;
        info.toPage = pd.nToPage;
    }
    if (pd.Flags & PD_PRINTTOFILE) {
        char path[MAX_PATH] = "";
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFile = path;
        ofn.nMaxFile = sizeof path;
        ofn.lpstrFilter = "Printer Files (*.prn)\0*.prn\0All Files (*.*)\0*.*\0";
        ofn.lpstrDefExt = "prn";
        const std::string title = LoadFrameworkString(0xF10A, "Print to File");
        ofn.lpstrTitle = title.c_str();
        ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        if (!GetSaveFileNameA(&ofn))
            return false;
        outputFile = path;
    }
    return true;
}
} // namespace

void SetFrameworkMessageFunction(FrameworkMessageFn function) { g_messageFunction = function; }

void ShowFrameworkMessage(UINT stringId, const char* fallback)
{
    const std::string text = LoadFrameworkString(stringId, fallback);
    if (g_messageFunction)
        g_messageFunction(text);
    else
        MessageBoxA(GetActiveWindow(), text.c_str(), "", MB_OK | MB_ICONEXCLAMATION);
}

PrintOutcome PrintDocument(HWND owner, IPrintable& document, const DirectPrintJob* direct)
{
    CPrintInfo info;
    if (!document.OnPreparePrinting(info))
        return PrintOutcome::Cancelled;
    PrinterDC printer;
    std::string outputFile;
    if (direct) {
        printer.dc = direct->dc;
        outputFile = direct->outputFile;
    } else {
        bool failed = false;
        if (!AskPrinter(owner, info, printer, outputFile, failed)) {
            if (failed)
                ShowFrameworkMessage(AFX_IDP_FAILED_TO_START_PRINT, "Could not start print job.");
            return failed ? PrintOutcome::Failed : PrintOutcome::Cancelled;
        }
    }
    if (!printer.dc) {
        ShowFrameworkMessage(AFX_IDP_FAILED_TO_START_PRINT, "Could not start print job.");
        return PrintOutcome::Failed;
    }
    HDC dc = printer.dc;
    info.drawArea = {0, 0, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};

    const CDialogTemplate layout = PrintingLayout();
    CPrintingDialog status(&layout);
    status.CreateModeless(owner);
    g_printing = &status;
    if (owner)
        EnableWindow(owner, FALSE);
    SetAbortProc(dc, AbortProc);

    DOCINFOA doc{};

    doc.cbSize = sizeof doc;
    if (info.documentName.empty() && owner) {
        char title[256] = "";
        GetWindowTextA(owner, title, sizeof title);
        info.documentName = title;
    }
    doc.lpszDocName = info.documentName.c_str();
    doc.lpszOutput = outputFile.empty() ? nullptr : outputFile.c_str();
    SetDlgItemTextA(status.Hwnd(), CPrintingDialog::IdDocument, info.documentName.c_str());

    auto finish = [&](PrintOutcome outcome) {
        g_printing = nullptr;
        if (owner)
            EnableWindow(owner, TRUE);
        status.DestroyModeless();
        if (owner)
            SetActiveWindow(owner);
        return outcome;
    };
    if (StartDocA(dc, &doc) <= 0) {
        finish(PrintOutcome::Failed);
        ShowFrameworkMessage(AFX_IDP_FAILED_TO_START_PRINT, "Could not start print job.");
        return PrintOutcome::Failed;
    }
    document.OnBeginPrinting(dc, info);
    const int last = std::min(info.toPage, info.maxPage);
    bool failed = false;
    const std::string pageFormat = LoadFrameworkString(0xF109, "Page %d");
    for (info.currentPage = std::max(info.fromPage, info.minPage); info.currentPage <= last; ++info.currentPage) {
        char pageText[64];
        wsprintfA(pageText, pageFormat.c_str(), info.currentPage);
        SetDlgItemTextA(status.Hwnd(), CPrintingDialog::IdPage, pageText);
        AbortProc(dc, 0);
        if (status.aborted)
            break;
        if (StartPage(dc) <= 0) {
            failed = true;
            break;
        }
        document.OnPrint(dc, info);
        if (EndPage(dc) <= 0) {
            failed = true;
            break;
        }
        if (!info.continuePrinting)
            break;
    }
    const bool aborted = status.aborted || failed;
    if (aborted)
        AbortDoc(dc);
    else
        EndDoc(dc);
    document.OnEndPrinting(dc, info);
    return finish(failed ? PrintOutcome::Failed : (status.aborted ? PrintOutcome::Cancelled : PrintOutcome::Printed));
}

void PrintSetup(HWND owner)
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = g_devMode;
    pd.hDevNames = g_devNames;
    pd.Flags = PD_PRINTSETUP;
    const BOOL chosen = PrintDlgA(&pd);
    g_devMode = pd.hDevMode;
    g_devNames = pd.hDevNames;
    if (!chosen && CommDlgExtendedError() != 0)
        ShowFrameworkMessage(AFX_IDP_FAILED_TO_START_PRINT, "Could not start print job.");
}

HDC CreatePrinterDC()
{
    if (g_devNames) {
        auto* names = static_cast<DEVNAMES*>(GlobalLock(g_devNames));
        const char* base = reinterpret_cast<const char*>(names);
        DEVMODEA* mode = g_devMode ? static_cast<DEVMODEA*>(GlobalLock(g_devMode)) : nullptr;
        HDC dc = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
        if (mode)
            GlobalUnlock(g_devMode);
        GlobalUnlock(g_devNames);
        if (dc)
            return dc;
    }
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&pd))
        return nullptr;
    if (pd.hDevMode)
        GlobalFree(pd.hDevMode);
    if (pd.hDevNames)
        GlobalFree(pd.hDevNames);
    return pd.hDC;
}
