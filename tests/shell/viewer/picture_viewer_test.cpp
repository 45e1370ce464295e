// The picture viewer window under Wine: its tabs with and without an alpha plane, the
// information sheet and its copy to the clipboard, the picture copy, full screen, closing and
// opening again. Keeps a screenshot of every tab in tests/shell/viewer/screenshots/.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "base/text.h"
#include "framework/preview.h"
#include "framework/print.h"
#include "picture/codec_registry.h"
#include "picture/codecs/bmp_codec.h"
#include "picture/codecs/codecs.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "shell/controls/dx_picture_win.h"
#include "shell/main_frame_win.h"
#include "shell/report_list_win.h"
#include "shell/viewer/picture_viewer_win.h"
#include "tests/support/pump_messages_win.h"

namespace {
const std::string kOutput = std::string(QUENTA_BINARY_DIR) + "/tests/shell/viewer/";

void Pump() { PumpMessagesAWhile(); }

// Hue across, brightness down, opaque in the middle and fading out to the edges.
std::unique_ptr<CPicture> ColourfulPicture(bool alpha, int width = 320, int height = 240)
{
    auto picture = std::make_unique<CPicture>();
    EXPECT_TRUE(picture->Create(width, height));
    if (alpha)
        picture->SetBitsPerPixel(32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double hue = x * 6.0 / width, light = 1.0 - y * 0.5 / height;
            const double f = hue - std::floor(hue);
            const double channels[6][3] = {{1, f, 0}, {1 - f, 1, 0}, {0, 1, f}, {0, 1 - f, 1}, {f, 0, 1}, {1, 0, 1 - f}};
            const double* rgb = channels[static_cast<int>(hue) % 6];
            const uint8_t bgr[3] = {uint8_t(rgb[2] * 255 * light), uint8_t(rgb[1] * 255 * light),
                                    uint8_t(rgb[0] * 255 * light)};
            picture->SetPixel(x, y, bgr);
            if (alpha) {
                const double dx = (x - width / 2.0) / (width / 2.0), dy = (y - height / 2.0) / (height / 2.0);
                const double d = std::sqrt(dx * dx + dy * dy);
                picture->SetAlpha(x, y, d < 0.5 ? 255 : d > 1.0 ? 0 : int(255 * (1.0 - d) * 2));
            }
        }
    return picture;
}

HWND Viewer() { return PictureViewerWindow(); }
HWND Tabs() { return GetDlgItem(Viewer(), 1032); }
HWND InfoEdit() { return GetDlgItem(Viewer(), 1334); }
HWND PictureControl() { return GetDlgItem(Viewer(), 1121); }

std::vector<std::string> TabLabels()
{
    std::vector<std::string> labels;
    const int count = static_cast<int>(SendMessageA(Tabs(), TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = "";
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(Tabs(), TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        labels.push_back(text);
    }
    return labels;
}

// Selects a tab the way a click does: the selection changes, then the owner is told.
void SelectTab(int index)
{
    SendMessageA(Tabs(), TCM_SETCURSEL, index, 0);
    NMHDR header{Tabs(), 1032, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(Viewer(), WM_NOTIFY, 1032, reinterpret_cast<LPARAM>(&header));
    Pump();
}

void Command(UINT id)
{
    SendMessageA(Viewer(), WM_COMMAND, id, 0);
    Pump();
}

std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(GetWindowTextA(window, text.data(), static_cast<int>(text.size())));
    return text;
}

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void ClearClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

// The window as the screen shows it, saved as a PNG file.
void Screenshot(HWND window, const std::string& name)
{
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    const int stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> dib(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(stride) * height);
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
    *info = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(memory, bitmap, 0, height, dib.data() + sizeof *info, reinterpret_cast<BITMAPINFO*>(info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    CPicture shot;
    ASSERT_TRUE(shot.FromDib(dib.data(), dib.size()));
    std::filesystem::create_directories(kOutput + "screenshots");
    EXPECT_EQ(PngCodec().WriteFile(kOutput + "screenshots/" + name + ".png", &shot, 24, false, nullptr), 1) << name;
}

// The screenshot shows the picture, not only a window: at points spread over the picture (as
// the control places it, shrunk to fit and centred) the screen has the picture's colours.
// `inner` keeps to the middle of the picture, where an alpha plane leaves it opaque.
void ExpectPictureOnScreen(const CPicture& picture, const std::string& what, bool inner = false)
{
    HWND control = PictureControl();
    RECT client{};
    GetClientRect(control, &client);
    const RECT target = CDxPicture::PlacePicture(picture.Width(), picture.Height(), client, false);
    POINT origin{0, 0};
    ClientToScreen(control, &origin);
    HDC screen = GetDC(nullptr);
    const int first = inner ? 2 : 1, last = inner ? 3 : 4;
    int distinct = 0;
    COLORREF previous = CLR_INVALID;
    for (int i = first; i <= last; ++i)
        for (int j = first; j <= last; ++j) {
            const int px = picture.Width() * i / 5, py = picture.Height() * j / 5;
            const int sx = origin.x + target.left + (target.right - target.left) * i / 5;
            const int sy = origin.y + target.top + (target.bottom - target.top) * j / 5;
            uint8_t bgr[3] = {};
            picture.GetPixel(px, py, bgr);
            const COLORREF shown = GetPixel(screen, sx, sy);
            const int off = std::max({std::abs(GetRValue(shown) - bgr[2]), std::abs(GetGValue(shown) - bgr[1]),
                                      std::abs(GetBValue(shown) - bgr[0])});
            EXPECT_LE(off, 40) << what << ": picture point " << px << "," << py << " is drawn as RGB "
                               << int(GetRValue(shown)) << "," << int(GetGValue(shown)) << ","
                               << int(GetBValue(shown)) << ", not " << int(bgr[2]) << "," << int(bgr[1]) << ","
                               << int(bgr[0]);
            distinct += shown != previous;
            previous = shown;
        }
    ReleaseDC(nullptr, screen);
    EXPECT_GT(distinct, 2) << what << ": one colour everywhere is no picture";
}

class PictureViewerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ClosePictureViewer();
        Pump();
    }
};
} // namespace

TEST_F(PictureViewerTest, TabsFollowTheAlphaPlaneAndEveryTabShows)
{
    auto picture = ColourfulPicture(true);
    ASSERT_TRUE(ShowPicture(picture.get(), false));
    Pump();
    ASSERT_NE(Viewer(), nullptr);
    EXPECT_EQ(WindowText(Viewer()), "Quenta - Picture Viewer");
    EXPECT_NE(GetMenu(Viewer()), nullptr);
    EXPECT_TRUE(IsWindowVisible(Viewer()));

    // Half the screen, centred.
    RECT r;
    GetWindowRect(Viewer(), &r);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.right - r.left, screenWidth / 2);
    EXPECT_EQ(r.bottom - r.top, screenHeight / 2);
    EXPECT_NEAR(r.left, screenWidth / 4, 1);

    const std::vector<std::string> labels = TabLabels();
    ASSERT_EQ(labels, (std::vector<std::string>{"RGB-A", "RGB", "Red", "Green", "Blue", "Alpha", "Info"}));
    for (size_t i = 0; i < labels.size(); ++i) {
        SelectTab(static_cast<int>(i));
        const bool info = labels[i] == "Info";
        EXPECT_EQ(IsWindowVisible(InfoEdit()) != FALSE, info) << labels[i];
        EXPECT_EQ(IsWindowVisible(PictureControl()) != FALSE, !info) << labels[i];
        Screenshot(Viewer(), "viewer_" + std::to_string(i) + "_" + labels[i]);
        if (labels[i] == "RGB")
            ExpectPictureOnScreen(*picture, "RGB tab");
        if (labels[i] == "RGB-A") // blended with the background where the alpha plane fades
            ExpectPictureOnScreen(*picture, "RGB-A tab", true);
    }

    // Showing a picture without alpha plane replaces the tabs; a large one is shrunk to fit.
    auto plain = ColourfulPicture(false, 1600, 400);
    const CPicture* large = plain.get();
    ASSERT_TRUE(ShowPicture(plain.release(), true));
    Pump();
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"RGB", "Red", "Green", "Blue", "Info"}));
    Screenshot(Viewer(), "viewer_large_shrunk");
    ExpectPictureOnScreen(*large, "large picture shrunk to fit");
}

TEST_F(PictureViewerTest, FrenchTextsWhenTheLanguageIsFrench)
{
    SetTextLanguage(0x040C);
    auto picture = ColourfulPicture(true);
    const bool shown = ShowPicture(picture.get(), false);
    Pump();
    if (shown) {
        EXPECT_EQ(WindowText(Viewer()), "Quenta - Visionneuse d'images");
        EXPECT_EQ(TabLabels(), (std::vector<std::string>{"RVB-A", "RVB", "Rouge", "Vert", "Bleu", "Alpha", "Infos"}));
        char menu[32] = "";
        GetMenuStringA(GetMenu(Viewer()), 0, menu, sizeof menu, MF_BYPOSITION);
        EXPECT_STREQ(menu, "&Fichier");
        SelectTab(6);
        EXPECT_NE(WindowText(InfoEdit()).find("Largeur            : 320\r\n"), std::string::npos);
        Screenshot(Viewer(), "viewer_info_french");
    }
    SetTextLanguage(0x0409);
    EXPECT_TRUE(shown);
}

TEST(DxPicturePlacement, ShrinksToFitKeepingProportionsButNeverEnlarges)
{
    const RECT area{10, 20, 410, 320}; // 400 x 300
    RECT r = CDxPicture::PlacePicture(100, 50, area, false);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 50);
    EXPECT_EQ(r.left, 160);
    EXPECT_EQ(r.top, 145);
    r = CDxPicture::PlacePicture(1600, 400, area, false);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 100);
    EXPECT_EQ(r.top, 120);
    r = CDxPicture::PlacePicture(100, 150, area, true); // full screen fills the height
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 300);
}

TEST_F(PictureViewerTest, InformationSheetAndCopies)
{
    auto picture = ColourfulPicture(true);
    ASSERT_TRUE(ShowPicture(picture.get(), false));
    Pump();
    SelectTab(6);
    const std::string text = WindowText(InfoEdit());
    EXPECT_NE(text.find("Uncompressed : 300.0 Kb (307,200 bytes)\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Width        : 320\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Depth        : 32 Bits\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("# Colors     : 16777216\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Name"), std::string::npos) << "a picture from memory has no file lines";

    // Copy on the information page: the whole text, and nothing stays selected.
    ClearClipboard();
    Command(ID_EDIT_COPY);
    EXPECT_EQ(ClipboardText(), text);
    DWORD start = 1, end = 1;
    SendMessageA(InfoEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);

    // Copy on a picture page: the shown channel as a packed 24-bit bitmap.
    SelectTab(2); // Red
    ClearClipboard();
    Command(ID_EDIT_COPY);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, 320);
    EXPECT_EQ(header->biHeight, 240);
    EXPECT_EQ(header->biBitCount, 24);
    CPicture copied;
    EXPECT_TRUE(copied.FromDib(header, GlobalSize(data)));
    GlobalUnlock(data);
    CloseClipboard();
    uint8_t bgr[3], original[3];
    copied.GetPixel(10, 100, bgr);
    picture->GetPixel(10, 100, original);
    EXPECT_EQ(bgr[0], 0);
    EXPECT_EQ(bgr[1], 0);
    EXPECT_EQ(bgr[2], original[2]);

    // Full screen: a top-most window over the whole screen that any key ends.
    Command(ID_VIEWER_FULL_SCREEN);
    HWND full = FindWindowA("QuentaDxPictureFullScreen", nullptr);
    ASSERT_NE(full, nullptr);
    RECT r;
    GetWindowRect(full, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(GetWindowLongPtrA(full, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Screenshot(full, "viewer_full_screen");
    SendMessageA(full, WM_KEYDOWN, VK_SPACE, 0);
    Pump();
    EXPECT_FALSE(IsWindow(full));
}

TEST_F(PictureViewerTest, ClosingAndOpeningAgainWithAFile)
{
    auto picture = ColourfulPicture(false);
    ASSERT_TRUE(ShowPicture(picture.get(), false));
    Pump();
    HWND first = Viewer();
    ASSERT_NE(first, nullptr);
    Command(ID_VIEWER_CLOSE);
    EXPECT_EQ(Viewer(), nullptr);
    EXPECT_FALSE(IsWindow(first));

    // The close box closes it as well.
    ASSERT_TRUE(ShowPicture(picture.get(), false));
    Pump();
    SendMessageA(Viewer(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(Viewer(), nullptr);

    // A picture read from a file gets the file lines; the path comes from the picture itself.
    const std::string path = kOutput + "viewer_file_test.bmp";
    ASSERT_TRUE(SaveBmp24(path, *picture, nullptr));
    auto loaded = std::make_unique<CPicture>();
    ASSERT_TRUE(LoadPicture(path, loaded.get(), nullptr));
    ASSERT_TRUE(ShowPicture(std::move(loaded)));
    Pump();
    ASSERT_NE(Viewer(), nullptr);
    EXPECT_EQ(TabLabels().size(), 5u);
    SelectTab(4);
    const std::string text = WindowText(InfoEdit());
    EXPECT_EQ(text.rfind("Name         : viewer_file_test.bmp\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("Size         : 225.0 Kb (230,454 bytes)\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("MSDos Name   : "), std::string::npos) << text;
    EXPECT_NE(text.find("Attributes   : "), std::string::npos) << text;
    EXPECT_NE(text.find("Format       : Windows bitmap (BMP)\r\n"), std::string::npos) << text;
    Screenshot(Viewer(), "viewer_info_with_file");

    // An empty picture is refused and leaves the open window as it was.
    CPicture empty;
    EXPECT_FALSE(ShowPicture(&empty, false));
    EXPECT_EQ(WindowText(InfoEdit()), text);
    std::remove(path.c_str());
}

namespace {
std::string g_savePath;

int g_ticks = 0;
bool g_answered = false;

// Fills the save dialog of the viewer with g_savePath and confirms it. Should anything else
// come up, every dialog of the thread is closed after 5 s so that the test cannot hang.
void CALLBACK AnswerSaveDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA("#32770", "Save picture as BMP...");
    if (dialog && !g_answered) {
        SetDlgItemTextA(dialog, 0x47c, g_savePath.c_str()); // the file name box
        SetDlgItemTextA(dialog, 0x480, g_savePath.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        g_answered = true;
    } else if (!dialog && g_answered) {
        KillTimer(nullptr, timer);
    } else if (++g_ticks > 50) {
        KillTimer(nullptr, timer);
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM) {
                char name[16] = "";
                GetClassNameA(window, name, sizeof name);
                if (std::string(name) == "#32770")
                    PostMessageA(window, WM_CLOSE, 0, 0);
                return TRUE;
            },
            0);
    }
}
} // namespace

TEST_F(PictureViewerTest, SavesTheShownChannelAsBmpAndFollowsTheWindowSize)
{
    auto picture = ColourfulPicture(true);
    ASSERT_TRUE(ShowPicture(picture.get(), false));
    Pump();

    // The information text: Courier New on the window colours, 4-pixel margins.
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(InfoEdit(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Courier New");
    EXPECT_EQ(font.lfHeight, 15);
    const LRESULT margins = SendMessageA(InfoEdit(), EM_GETMARGINS, 0, 0);
    EXPECT_EQ(LOWORD(margins), 4);
    EXPECT_EQ(HIWORD(margins), 4);

    // The pages fill the tab control's page area, which fills the window.
    SetWindowPos(Viewer(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    RECT client, page, shown;
    GetClientRect(Viewer(), &client);
    GetClientRect(Tabs(), &page);
    EXPECT_EQ(page.right, client.right);
    EXPECT_EQ(page.bottom, client.bottom);
    SendMessageA(Tabs(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    GetWindowRect(PictureControl(), &shown);
    MapWindowPoints(nullptr, Viewer(), reinterpret_cast<POINT*>(&shown), 2);
    EXPECT_EQ(shown.left, page.left);
    EXPECT_EQ(shown.right, page.right);
    EXPECT_EQ(shown.bottom, page.bottom);

    // Save in BMP writes the channel shown, and leaves no temporary file behind.
    SelectTab(4); // Blue
    g_savePath = "Z:" + kOutput + "viewer_saved_blue.bmp"; // the dialog takes DOS paths only
    std::replace(g_savePath.begin(), g_savePath.end(), '/', '\\');
    std::remove(g_savePath.c_str());
    g_ticks = 0;
    g_answered = false;
    SetTimer(nullptr, 0, 100, AnswerSaveDialog);
    Command(ID_VIEWER_SAVE_BMP);
    CPicture saved;
    ASSERT_TRUE(LoadPicture(g_savePath, &saved, nullptr));
    EXPECT_EQ(saved.Width(), 320);
    EXPECT_EQ(saved.Height(), 240);
    uint8_t bgr[3], original[3];
    saved.GetPixel(200, 30, bgr);
    picture->GetPixel(200, 30, original);
    EXPECT_EQ(bgr[0], original[0]);
    EXPECT_EQ(bgr[1], 0);
    EXPECT_EQ(bgr[2], 0);
    EXPECT_FALSE(std::filesystem::exists(g_savePath + ".~tmp"));
    std::remove(g_savePath.c_str());
}

// Printing goes through the main window's current module view. A view without a picture
// printer of its own is lent the viewer's, which outlives any window that uses it. The main
// window made while the texts are French has the French menu.
TEST_F(PictureViewerTest, PrintsThroughTheCurrentModuleView)
{
    SetTextLanguage(0x040C);
    const bool created = CreateMainWindow(SW_SHOW);
    SetTextLanguage(0x0409);
    ASSERT_TRUE(created);
    static std::string message; // after the main window, which installs its own message box
    SetFrameworkMessageFunction([](const std::string& text) { message = text; });
    CMainFrame* frame = MainFrame();
    ASSERT_NE(frame, nullptr);
    char menu[32] = "";
    GetMenuStringA(GetMenu(frame->Hwnd()), 0, menu, sizeof menu, MF_BYPOSITION);
    EXPECT_STREQ(menu, "&Fichier");
    CQnFormView* view = frame->CurrentView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->PicturePrinter(), nullptr);

    auto picture = ColourfulPicture(true);
    ASSERT_TRUE(ShowPicture(picture.get(), false));
    Pump();
    EXPECT_EQ(GetWindow(Viewer(), GW_OWNER), frame->Hwnd());
    EXPECT_TRUE(view->CanPrint()) << "the open viewer enables printing";
    SelectTab(3); // Green
    Command(ID_FILE_PRINT_PREVIEW);
    Pump();
    CReportList* printer = view->PicturePrinter();
    ASSERT_NE(printer, nullptr);
    EXPECT_TRUE(printer->IsPictureMode());
    if (frame->ViewReplacement()) { // a printer exists in this prefix: the preview shows
        Screenshot(frame->Hwnd(), "viewer_print_preview");
        ClosePrintPreview(*frame);
        Pump();
    } else {
        EXPECT_EQ(message, "Could not start print job.");
    }

    // Closing the main window closes the viewer it owns.
    DestroyWindow(frame->Hwnd());
    Pump();
    EXPECT_EQ(Viewer(), nullptr);
    EXPECT_FALSE(view->CanPrint());
}
