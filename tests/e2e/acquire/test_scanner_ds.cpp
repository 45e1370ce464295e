// A TWAIN data source for tests only: a flatbed scanner that delivers a configurable number
// of generated pages (QUENTA_TEST_SCANNER_PAGES, 3 unless set) by native transfer. With its
// user interface it shows a small window whose "Scan" button starts the pages and whose
// closing asks the application to close the source; without it, it scans at once. It tells
// the application of both through the events it returns from MSG_PROCESSEVENT, after posting
// a null message to the application's window so that its loop asks.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "picturetools/acquire/twain_protocol.h"
#include "tests/e2e/acquire/test_scanner_pages.h"

using namespace twain;

namespace {
constexpr int kScanButton = 1;
constexpr int kPagesLabel = 2;
const char kWindowClass[] = "QuentaTestScanner";

struct Scanner {
    bool open = false;
    bool enabled = false;
    int pages = 3;        // per scan
    int remaining = 0;    // pages of the current scan not yet ended
    int delivered = 0;    // pages delivered since the source was opened
    uint16_t event = MSG_NULL;
    HWND parent = nullptr;
    HWND window = nullptr;
} g_scanner;

HINSTANCE g_instance = nullptr;

void Signal(uint16_t event)
{
    g_scanner.event = event;
    if (g_scanner.parent)
        PostMessageA(g_scanner.parent, WM_NULL, 0, 0);
    else
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void StartScan()
{
    g_scanner.remaining = g_scanner.pages;
    if (g_scanner.remaining > 0)
        Signal(MSG_XFERREADY);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kScanButton && HIWORD(wParam) == BN_CLICKED && g_scanner.enabled)
            StartScan();
        return 0;
    case WM_CLOSE: // the application closes the source, and the source its window
        Signal(MSG_CLOSEDSREQ);
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void ShowWindowOfScanner()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = g_instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass); // fails harmlessly once registered
    g_scanner.window = CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "Test Scanner",
                                       WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 600, 80, 240, 110,
                                       g_scanner.parent, nullptr, g_instance, nullptr);
    char label[64];
    wsprintfA(label, "Flatbed, %d page(s) per scan", g_scanner.pages);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND text = CreateWindowExA(0, "STATIC", label, WS_CHILD | WS_VISIBLE, 12, 10, 210, 18, g_scanner.window,
                                reinterpret_cast<HMENU>(kPagesLabel), g_instance, nullptr);
    HWND button = CreateWindowExA(0, "BUTTON", "Scan", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 70, 40, 90, 26,
                                  g_scanner.window, reinterpret_cast<HMENU>(kScanButton), g_instance, nullptr);
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void HideWindowOfScanner()
{
    if (g_scanner.window)
        DestroyWindow(g_scanner.window);
    g_scanner.window = nullptr;
}

void FillIdentity(TwIdentity& identity)
{
    const uint32_t id = identity.id; // the manager's number for us
    identity = TwIdentity{};
    identity.id = id;
    identity.version.majorNum = 1;
    identity.version.language = 13;
    identity.version.country = 1;
    SetTwainString(identity.version.info, "Quenta test scanner");
    identity.protocolMajor = 1;
    identity.protocolMinor = 9;
    identity.supportedGroups = DG_CONTROL_AND_IMAGE;
    SetTwainString(identity.manufacturer, "Quenta Tests");
    SetTwainString(identity.productFamily, "Flatbed");
    SetTwainString(identity.productName, "Quenta Test Flatbed");
}

uint16_t Control(uint16_t argument, uint16_t message, void* data)
{
    switch (argument) {
    case DAT_IDENTITY:
        if (message == MSG_GET) {
            FillIdentity(*static_cast<TwIdentity*>(data));
            return TWRC_SUCCESS;
        }
        if (message == MSG_OPENDS) {
            const char* pages = std::getenv("QUENTA_TEST_SCANNER_PAGES");
            g_scanner = Scanner{};
            g_scanner.pages = pages ? std::atoi(pages) : 3;
            g_scanner.open = true;
            if (data)
                FillIdentity(*static_cast<TwIdentity*>(data));
            return TWRC_SUCCESS;
        }
        if (message == MSG_CLOSEDS) {
            HideWindowOfScanner();
            g_scanner.open = false;
            return TWRC_SUCCESS;
        }
        return TWRC_FAILURE;
    case DAT_USERINTERFACE: {
        auto* ui = static_cast<TwUserInterface*>(data);
        if (message == MSG_ENABLEDS && g_scanner.open && !g_scanner.enabled) {
            g_scanner.enabled = true;
            g_scanner.parent = static_cast<HWND>(ui->parent);
            if (ui->showUI)
                ShowWindowOfScanner();
            else
                StartScan();
            return TWRC_SUCCESS;
        }
        if (message == MSG_DISABLEDS && g_scanner.enabled) {
            g_scanner.enabled = false;
            g_scanner.event = MSG_NULL;
            HideWindowOfScanner();
            return TWRC_SUCCESS;
        }
        return TWRC_FAILURE;
    }
    case DAT_EVENT: {
        auto* event = static_cast<TwEvent*>(data);
        event->message = MSG_NULL;
        if (message != MSG_PROCESSEVENT || !g_scanner.enabled)
            return TWRC_NOTDSEVENT;
        if (g_scanner.event != MSG_NULL) {
            event->message = g_scanner.event;
            g_scanner.event = MSG_NULL;
            return TWRC_DSEVENT;
        }
        return TWRC_NOTDSEVENT;
    }
    case DAT_PENDINGXFERS: {
        auto* pending = static_cast<TwPendingXfers*>(data);
        if (message == MSG_ENDXFER && g_scanner.remaining > 0)
            --g_scanner.remaining;
        else if (message == MSG_RESET)
            g_scanner.remaining = 0;
        pending->count = static_cast<uint16_t>(g_scanner.remaining);
        pending->reserved = 0;
        return TWRC_SUCCESS;
    }
    case DAT_STATUS: std::memset(data, 0, 4); return TWRC_SUCCESS;
    default: return TWRC_FAILURE;
    }
}

uint16_t NativeTransfer(void* data)
{
    if (g_scanner.remaining <= 0)
        return TWRC_FAILURE;
    const std::vector<uint8_t> dib = test_scanner::PageDib(g_scanner.delivered);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, dib.size());
    if (!memory)
        return TWRC_FAILURE;
    std::memcpy(GlobalLock(memory), dib.data(), dib.size());
    GlobalUnlock(memory);
    *static_cast<HGLOBAL*>(data) = memory;
    ++g_scanner.delivered;
    return TWRC_XFERDONE;
}
} // namespace

extern "C" __declspec(dllexport) uint16_t WINAPI DS_Entry(TwIdentity*, uint32_t group, uint16_t argument,
                                                          uint16_t message, void* data)
{
    if (group == DG_CONTROL)
        return Control(argument, message, data);
    if (group == DG_IMAGE && argument == DAT_IMAGENATIVEXFER && message == MSG_GET && data)
        return NativeTransfer(data);
    return TWRC_FAILURE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_instance = instance;
    return TRUE;
}
