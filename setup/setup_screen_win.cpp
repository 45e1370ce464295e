#include "setup/setup_screen_win.h"

#include <ctime>
#include <string>

#include "app/program_state.h"
#include "app/quenta_app_win.h"
#include "base/text.h"
#include "res/resource.h"
#include "setup/setup_backdrop.h"
#include "setup/setup_wizard_win.h"

namespace {
constexpr UINT kStartWizard = WM_APP + 1;
constexpr int kTitleHeight = 36;
constexpr int kTitleShadowOffset = 4;
constexpr int kFooterHeight = 15;

struct SetupScreen {
    BackdropImage backdrop;
};

void ComposeScreen(SetupScreen& screen, int width, int height)
{
    if (!screen.backdrop.Create(width, height))
        return;
    const CQuentaApp* app = CQuentaApp::Instance();
    const SplashPictures* splash = app ? app->Splash() : nullptr;
    ComposeBackdrop(screen.backdrop, Program().displayDepth > 8, GetSysColor(COLOR_ACTIVECAPTION),
                    splash ? &splash->darkened : nullptr, splash ? &splash->splash : nullptr);
}

HFONT MakeFont(const char* face, int height, bool italic)
{
    return CreateFontA(-height, 0, 0, 0, FW_BOLD, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, face);
}

void PaintScreen(HWND window, HDC dc, const SetupScreen& screen)
{
    const BackdropImage& image = screen.backdrop;
    if (!image.bgr.empty()) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = image.width;
        info.bmiHeader.biHeight = -image.height; // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, image.width, image.height, 0, 0, 0, image.height, image.bgr.data(), &info,
                          DIB_RGB_COLORS);
    }
    SetBkMode(dc, TRANSPARENT);
    const std::string title = LoadText(IDS_SETUP_TITLE);
    HFONT titleFont = MakeFont("Times New Roman", kTitleHeight, true);
    HGDIOBJ previous = SelectObject(dc, titleFont);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 16 + kTitleShadowOffset, 16 + kTitleShadowOffset, title.c_str(), static_cast<int>(title.size()));
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 16, 16, title.c_str(), static_cast<int>(title.size()));

    std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    std::string footer = FormatText(IDS_PRODUCT_NOTICE, std::to_string(local.tm_year + 1900));
    HFONT footerFont = MakeFont("Arial", kFooterHeight, false);
    SelectObject(dc, footerFont);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT client;
    GetClientRect(window, &client);
    client.bottom -= 4;
    DrawTextA(dc, footer.c_str(), -1, &client, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
    DeleteObject(titleFont);
    DeleteObject(footerFont);
}

INT_PTR CALLBACK ScreenProc(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    auto* screen = reinterpret_cast<SetupScreen*>(GetWindowLongPtrA(window, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        screen = reinterpret_cast<SetupScreen*>(lParam);
        SetWindowTextA(window, LoadText(IDS_APP_TITLE).c_str());
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        ComposeScreen(*screen, width, height);
        SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_SHOWWINDOW);
        PostMessageA(window, kStartWizard, 0, 0);
        return TRUE;
    }
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (screen)
            PaintScreen(window, dc, *screen);
        EndPaint(window, &paint);
        return TRUE;
    }
    case kStartWizard: {
        UpdateWindow(window);
        const bool installed = CSetupOptionsWiz().DoModal(window);
        EndDialog(window, installed ? 1 : 0);
        return TRUE;
    }
    case WM_CLOSE: EndDialog(window, 0); return TRUE;
    default: return FALSE;
    }
}
} // namespace

INT_PTR RunSetupScreen()
{
    SetupScreen screen;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETUP_SCREEN), nullptr, ScreenProc,
                           reinterpret_cast<LPARAM>(&screen));
}
