// The artwork as the program loads it from its resources: icons in every size, cursors, the
// Targa, JPEG and AVI resources by their custom types, and the busy animation played by the
// Animate common control.
#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

TEST(ArtResources, IconsLoadInEverySize)
{
    for (int id : {IDR_MAINFRAME, IDI_REPORT, IDI_QUENTA, IDI_MESSAGE, IDI_HAND_POINTER, IDI_INSTALL,
                   IDI_UNINSTALL, IDI_PICTURE_VIEWER, IDI_DATA_TYPE}) {
        for (int size : {16, 32, 48}) {
            HICON icon = static_cast<HICON>(
                LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << id << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bm{};
            GetObjectW(info.hbmColor, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, size) << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

TEST(ArtResources, TabBitmapsAreSixteenPixelsWithTheirKeyColourInTheCorner)
{
    for (int id : {IDB_EXPLORER_TAB_FILES, IDB_EXPLORER_TAB_PICTURES, IDB_EXPLORER_TAB_REPORT,
                   IDB_EXPLORER_TAB_INFO, IDB_TOOLS_TAB_ALL, IDB_TOOLS_TAB_MAKER, IDB_TOOLS_TAB_SYSTEM,
                   IDB_TOOLS_TAB_CUSTOM}) {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr) << id;
        BITMAP bm{};
        GetObjectW(bitmap, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 16) << id;
        EXPECT_EQ(bm.bmHeight, 16) << id;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        const bool magenta = id == IDB_EXPLORER_TAB_FILES || id == IDB_EXPLORER_TAB_PICTURES ||
                             id == IDB_EXPLORER_TAB_REPORT;
        // Every glyph leaves at least one corner to the key colour.
        int keyed = 0;
        for (POINT p : {POINT{0, 0}, POINT{15, 0}, POINT{0, 15}, POINT{15, 15}})
            keyed += GetPixel(dc, p.x, p.y) == (magenta ? RGB(255, 0, 255) : RGB(0, 255, 0));
        EXPECT_GT(keyed, 0) << id;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
}

TEST(ArtResources, CursorsLoad)
{
    for (int id : {IDC_HELP_ZONE, IDC_HAND_POINTER})
        EXPECT_NE(LoadCursorW(Module(), MAKEINTRESOURCEW(id)), nullptr) << id;
}

DWORD ResourceSize(int id, const wchar_t* type)
{
    HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(id), type);
    return found ? SizeofResource(Module(), found) : 0;
}

TEST(ArtResources, PicturesAreThereByTheirTypes)
{
    for (int id : {IDR_PIC_TRANSLATOR, IDR_PIC_DATATYPES, IDR_PIC_DISKINFO, IDR_PIC_EXPLORER,
                   IDR_PIC_FONTS, IDR_PIC_MISC, IDR_PIC_FINDER, IDR_PIC_CAPTURE, IDR_PIC_UNINSTALL,
                   IDR_PIC_WALLPAPER, IDR_PIC_WINCOLORS, IDR_PIC_WINDOWS, IDR_PIC_SYSINFO,
                   IDR_PIC_SYSPICTURE, IDR_PIC_TOOLS, IDR_PIC_ACQUIRE, IDR_PIC_SHORTCUTS,
                   IDR_PIC_START, IDR_PIC_ONLINE})
        EXPECT_EQ(ResourceSize(id, L"TGA"), 18u + 32 * 32 * 4) << id;
    for (int id : {IDR_PIC_ZONE_HELP, IDR_PIC_ZONE_PRINT, IDR_PIC_ZONE_PREVIEW, IDR_PIC_ZONE_SAVE})
        EXPECT_EQ(ResourceSize(id, L"TGA"), 18u + 24 * 24 * 4) << id;
    EXPECT_GT(ResourceSize(IDR_SPLASH_COLOUR, L"JPEG"), 1000u);
    EXPECT_GT(ResourceSize(IDR_SPLASH_MASK, L"JPEG"), 500u);
}

TEST(ArtResources, AnimateControlPlaysTheBusyAnimation)
{
    INITCOMMONCONTROLSEX init{sizeof init, ICC_ANIMATE_CLASS};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    HWND animate = CreateWindowExW(0, ANIMATE_CLASSW, L"", WS_POPUP | ACS_TRANSPARENT, 0, 0, 48, 48,
                                   nullptr, nullptr, Module(), nullptr);
    ASSERT_NE(animate, nullptr);
    EXPECT_TRUE(SendMessageW(animate, ACM_OPENW, reinterpret_cast<WPARAM>(Module()),
                             reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDR_AVI_BUSY))));
    EXPECT_TRUE(SendMessageW(animate, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF)));
    EXPECT_TRUE(SendMessageW(animate, ACM_STOP, 0, 0));
    DestroyWindow(animate);
}

}  // namespace
