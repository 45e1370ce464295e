#pragma once
// Small GDI helpers of the shell: pictures from resources as alpha bitmaps, pictures drawn
// to a device, an off-screen buffer, and GDI objects owned by RAII.
#include <windows.h>

#include <memory>
#include <string>

class CPicture;

// A GDI object deleted when it goes out of scope.
template <class T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T handle) : m_handle(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : m_handle(other.m_handle) { other.m_handle = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = other.m_handle;
            other.m_handle = nullptr;
        }
        return *this;
    }
    void Reset(T handle = nullptr)
    {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = handle;
    }
    T Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    T m_handle = nullptr;
};

// Selects an object into a device context for the life of the scope.
class SelectInDC {
public:
    SelectInDC(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~SelectInDC() { SelectObject(m_dc, m_old); }
    SelectInDC(const SelectInDC&) = delete;
    SelectInDC& operator=(const SelectInDC&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// An off-screen bitmap the size of a rectangle, copied to the target in one step.
class OffscreenBuffer {
public:
    OffscreenBuffer(HDC target, const RECT& area);
    ~OffscreenBuffer();
    OffscreenBuffer(const OffscreenBuffer&) = delete;
    OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;
    HDC DC() const { return m_dc; }
    void CopyToTarget();

private:
    HDC m_target, m_dc;
    RECT m_area;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

// A picture as a premultiplied 32-bit bitmap, drawn with its transparency.
class CAlphaBitmap {
public:
    bool FromPicture(const CPicture& picture);
    bool IsEmpty() const { return !m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void Draw(HDC dc, int x, int y) const;
    void DrawScaled(HDC dc, int x, int y, int width, int height) const;

private:
    GdiObject<HBITMAP> m_bitmap;
    int m_width = 0, m_height = 0;
};

// Decodes a resource of type "TGA" through the picture library; null when it is missing
// or cannot be read.
std::unique_ptr<CPicture> LoadTgaResource(UINT id);
bool LoadAlphaBitmapResource(UINT id, CAlphaBitmap& bitmap);

// Stretches a picture into a rectangle of a device (COLORONCOLOR).
void DrawPicture(HDC dc, const CPicture& picture, const RECT& target);

// A font by face, LOGFONT height (negative: character height) and weight.
HFONT CreateSimpleFont(const char* face, int height, int weight, bool italic = false, bool underline = false);
// Colour with each channel raised by `amount`, at most 255.
COLORREF Lighter(COLORREF colour, int amount);
