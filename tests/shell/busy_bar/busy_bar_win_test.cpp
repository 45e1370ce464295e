// The busy bar in both languages under Wine: its Cancel button and its first text come from
// the string tables, and the button's text fits the button. A screenshot of each language is
// kept beside the test program (busy_bar_en.bmp, busy_bar_fr.bmp) for a look.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "res/resource.h"
#include "shell/busy_bar_win.h"
#include "tests/support/pump_messages_win.h"
#include "tests/support/text_width_win.h"

namespace {

constexpr unsigned kEnglish = 0x0409;
constexpr unsigned kFrench = 0x040C;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateHost()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "BusyBarTestHost";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "Busy bar", WS_POPUP | WS_VISIBLE, 20, 20, 600, 26, nullptr,
                           nullptr, wc.hInstance, nullptr);
}


std::string WindowText(HWND hwnd)
{
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Width of the button's text in the button's own font.
int TextWidthIn(HWND button)
{
    return TextWidthInFontOf(button, WindowText(button));
}

// The window's pixels as seen on the screen (24-bit rows, bottom-up), saved as a BMP file.
std::vector<unsigned char> CaptureWindow(HWND hwnd, const std::string& path, int* width, int* height)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, *width, *height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, *width, *height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = *width;
    info.biHeight = *height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = (*width * 3 + 3) & ~3;
    std::vector<unsigned char> bits(static_cast<size_t>(stride) * *height);
    GetDIBits(memory, bitmap, 0, *height, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(bits.data(), 1, bits.size(), out);
        std::fclose(out);
    }
    return bits;
}

// Pixels clearly darker than the button face inside `area` (window coordinates): drawn text.
int DarkPixels(const std::vector<unsigned char>& bits, int width, int height, const RECT& area)
{
    const int stride = (width * 3 + 3) & ~3;
    int dark = 0;
    for (int y = std::max(0, static_cast<int>(area.top)); y < std::min(height, static_cast<int>(area.bottom)); ++y)
        for (int x = std::max(0, static_cast<int>(area.left)); x < std::min(width, static_cast<int>(area.right)); ++x) {
            const unsigned char* p = &bits[static_cast<size_t>(height - 1 - y) * stride + x * 3];
            dark += p[0] + p[1] + p[2] < 3 * 64;
        }
    return dark;
}

struct Expected {
    unsigned language;
    const char* cancel;
    const char* waiting;
    const char* shot;
};

class BusyBarTest : public ::testing::TestWithParam<Expected> {
protected:
    void TearDown() override { SetTextLanguage(kEnglish); }
};

TEST_P(BusyBarTest, CancelAndWaitingTextComeFromTheStringTableAndFit)
{
    const Expected& expected = GetParam();
    SetTextLanguage(expected.language);
    HWND host = CreateHost();
    ASSERT_TRUE(host);
    CBusyBar bar;
    ASSERT_TRUE(bar.CreateBusyBar(host, 107));
    MoveWindow(bar.Hwnd(), 0, 0, 600, 26, TRUE);
    bar.SetMessageText(LoadText(IDS_PLEASE_WAIT));
    PumpMessagesAWhile();

    EXPECT_EQ(WindowText(bar.CancelButton()), expected.cancel);
    EXPECT_EQ(bar.MessageText(), expected.waiting);

    RECT button;
    GetWindowRect(bar.CancelButton(), &button);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&button), 2);
    const int room = button.right - button.left - 2 * GetSystemMetrics(SM_CXEDGE) - 4;
    EXPECT_LE(TextWidthIn(bar.CancelButton()), room) << expected.cancel << " does not fit its button";

    int width = 0, height = 0;
    const auto bits = CaptureWindow(host, std::string(QUENTA_BINARY_DIR) + "/tests/shell/busy_bar/" + expected.shot,
                                    &width, &height);
    EXPECT_GT(DarkPixels(bits, width, height, button), 10) << "the button's text is not drawn";
    EXPECT_GT(DarkPixels(bits, width, height, {0, 0, width / 2, height}), 20) << "the waiting text is not drawn";
    DestroyWindow(host);
}

INSTANTIATE_TEST_SUITE_P(Languages, BusyBarTest,
                         ::testing::Values(Expected{kEnglish, "Cancel", "Please wait", "busy_bar_en.bmp"},
                                           Expected{kFrench, "Annuler", "Veuillez patienter", "busy_bar_fr.bmp"}));

}  // namespace
