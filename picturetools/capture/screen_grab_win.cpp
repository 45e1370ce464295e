#include "picturetools/capture/screen_grab_win.h"

#include "picture/picture.h"
#include "shell/gdi_helpers_win.h"

std::unique_ptr<CPicture> GrabFullScreen()
{
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!screen)
        return nullptr;
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    auto picture = std::make_unique<CPicture>();
    bool grabbed = false;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = width > 0 && height > 0 ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (memory && bitmap && picture->Create(static_cast<unsigned>(width), static_cast<unsigned>(height))) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        grabbed = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
        SelectObject(memory, old);
        // The picture's block is a bottom-up 24-bit DIB: its header describes exactly the rows
        // GetDIBits is to fill.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        grabbed = grabbed && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), picture->Bits(), &info,
                                       DIB_RGB_COLORS) == height;
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    DeleteDC(screen);
    if (!grabbed)
        return nullptr;
    return picture;
}

std::unique_ptr<CPicture> GrabScreenArea(const RECT& area)
{
    std::unique_ptr<CPicture> screen = GrabFullScreen();
    if (!screen)
        return nullptr;
    const std::optional<ScreenRect> kept =
        CropToScreen({area.left, area.top, area.right, area.bottom}, screen->Width(), screen->Height());
    if (!kept)
        return nullptr;
    return screen->Crop(kept->left, kept->top, kept->right, kept->bottom);
}

bool CaptureAreaOfWindow(HWND window, bool clientOnly, RECT& area)
{
    if (!window || !IsWindow(window))
        return false;
    if (!clientOnly)
        return GetWindowRect(window, &area) != FALSE;
    if (!GetClientRect(window, &area))
        return false;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return true;
}

std::unique_ptr<CPicture> Capture(CaptureKind kind)
{
    if (kind == CaptureKind::FullScreen)
        return GrabFullScreen();
    RECT area{};
    if (!CaptureAreaOfWindow(GetForegroundWindow(), kind == CaptureKind::Client, area))
        return nullptr;
    return GrabScreenArea(area);
}
