#pragma once
// The screen as a test sees it: one capture that can be saved as a 24-bit BMP file and asked
// for the colour at a point, so that a screenshot proves what is drawn, not only that it was
// taken.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

class ScreenCapture {
public:
    // Captures the whole screen now.
    ScreenCapture()
        : m_width(GetSystemMetrics(SM_CXSCREEN)), m_height(GetSystemMetrics(SM_CYSCREEN)),
          m_stride((m_width * 3 + 3) & ~3), m_bits(static_cast<size_t>(m_stride) * m_height)
    {
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, m_width, m_height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, m_width, m_height, screen, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        BITMAPINFOHEADER info = Header();
        GetDIBits(memory, bitmap, 0, m_height, m_bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The colour at a screen point; black outside the screen.
    COLORREF At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height)
            return RGB(0, 0, 0);
        const unsigned char* p = &m_bits[static_cast<size_t>(m_height - 1 - y) * m_stride + x * 3];
        return RGB(p[2], p[1], p[0]);
    }

    bool SaveBmp(const std::string& path) const
    {
        BITMAPINFOHEADER info = Header();
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + static_cast<DWORD>(m_bits.size());
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (!out)
            return false;
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(m_bits.data(), 1, m_bits.size(), out);
        return std::fclose(out) == 0;
    }

private:
    BITMAPINFOHEADER Header() const
    {
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = m_width;
        info.biHeight = m_height;
        info.biPlanes = 1;
        info.biBitCount = 24;
        return info;
    }

    int m_width, m_height, m_stride;
    std::vector<unsigned char> m_bits;
};

inline bool SaveScreenBmp(const std::string& path) { return ScreenCapture().SaveBmp(path); }

// The largest difference of one channel between two colours.
inline int ColourDistance(COLORREF a, COLORREF b)
{
    const int dr = std::abs(GetRValue(a) - GetRValue(b)), dg = std::abs(GetGValue(a) - GetGValue(b)),
              db = std::abs(GetBValue(a) - GetBValue(b));
    return dr > dg ? (dr > db ? dr : db) : (dg > db ? dg : db);
}

// A colour far from grey: a picture's, never a frame's, a text's or a background's.
inline bool IsChromatic(COLORREF c, int minimumSpread = 60)
{
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int high = r > g ? (r > b ? r : b) : (g > b ? g : b), low = r < g ? (r < b ? r : b) : (g < b ? g : b);
    return high - low >= minimumSpread;
}

inline std::string ColourText(COLORREF c)
{
    char text[32];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// Rows of a screen rectangle that show a picture, grouped into bands separated by rows that do
// not: one band per picture stacked down a bar or list. Bands shorter than `minimumRows` are noise.
inline std::vector<std::pair<int, int>> ChromaticBands(const ScreenCapture& screen, const RECT& area, int minimumRows = 6)
{
    std::vector<std::pair<int, int>> bands;
    int start = -1;
    for (int y = area.top; y <= area.bottom; ++y) {
        bool coloured = false;
        for (int x = area.left; y < area.bottom && x < area.right && !coloured; ++x)
            coloured = IsChromatic(screen.At(x, y));
        if (coloured && start < 0)
            start = y;
        if (!coloured && start >= 0) {
            if (y - start >= minimumRows)
                bands.emplace_back(start, y);
            start = -1;
        }
    }
    return bands;
}
