#include "shell/gdi_helpers_win.h"

#include <algorithm>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

OffscreenBuffer::OffscreenBuffer(HDC target, const RECT& area)
    : m_target(target), m_dc(CreateCompatibleDC(target)), m_area(area),
      m_bitmap(CreateCompatibleBitmap(target, std::max<LONG>(1, area.right - area.left),
                                      std::max<LONG>(1, area.bottom - area.top))),
      m_old(SelectObject(m_dc, m_bitmap))
{
    SetWindowOrgEx(m_dc, area.left, area.top, nullptr);
}

OffscreenBuffer::~OffscreenBuffer()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

void OffscreenBuffer::CopyToTarget()
{
    BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left, m_area.bottom - m_area.top, m_dc,
           m_area.left, m_area.top, SRCCOPY);
}

bool CAlphaBitmap::FromPicture(const CPicture& picture)
{
    if (picture.IsEmpty())
        return false;
    const int width = picture.Width(), height = picture.Height();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return false;
    auto* out = static_cast<uint8_t*>(bits);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = picture.Row(y);
        const uint8_t* alpha = picture.HasAlpha() ? picture.Alpha() + static_cast<size_t>(y) * width : nullptr;
        for (int x = 0; x < width; ++x, out += 4) {
            const int a = alpha ? alpha[x] : 255;
            out[0] = static_cast<uint8_t>(row[3 * x] * a / 255);
            out[1] = static_cast<uint8_t>(row[3 * x + 1] * a / 255);
            out[2] = static_cast<uint8_t>(row[3 * x + 2] * a / 255);
            out[3] = static_cast<uint8_t>(a);
        }
    }
    m_bitmap.Reset(bitmap);
    m_width = width;
    m_height = height;
    return true;
}

void CAlphaBitmap::Draw(HDC dc, int x, int y) const { DrawScaled(dc, x, y, m_width, m_height); }

void CAlphaBitmap::DrawScaled(HDC dc, int x, int y, int width, int height) const
{
    if (!m_bitmap)
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, m_bitmap.Get());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, width, height, source, 0, 0, m_width, m_height, blend);
    SelectObject(source, old);
    DeleteDC(source);
}

std::unique_ptr<CPicture> LoadTgaResource(UINT id)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), "TGA");
    if (!resource)
        return nullptr;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, resource);
    if (!data || size == 0)
        return nullptr;
    CGraphicsStream stream;
    stream.OpenMemory(data, size);
    auto picture = std::make_unique<CPicture>();
    if (!TgaCodec().ReadStream(stream, picture.get(), nullptr))
        return nullptr;
    return picture;
}

bool LoadAlphaBitmapResource(UINT id, CAlphaBitmap& bitmap)
{
    std::unique_ptr<CPicture> picture = LoadTgaResource(id);
    return picture && bitmap.FromPicture(*picture);
}

void DrawPicture(HDC dc, const CPicture& picture, const RECT& target)
{
    if (picture.IsEmpty())
        return;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    const DibHeader* header = picture.Header();
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                  header->biWidth, std::abs(header->biHeight), const_cast<CPicture&>(picture).Bits(),
                  reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

HFONT CreateSimpleFont(const char* face, int height, int weight, bool italic, bool underline)
{
    return CreateFontA(height, 0, 0, 0, weight, italic, underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

COLORREF Lighter(COLORREF colour, int amount)
{
    auto raise = [amount](int channel) { return std::min(255, channel + amount); };
    return RGB(raise(GetRValue(colour)), raise(GetGValue(colour)), raise(GetBValue(colour)));
}
