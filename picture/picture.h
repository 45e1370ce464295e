#pragma once
// The in-memory picture: one bottom-up 24-bit DIB (40-byte header + rows, pixels B,G,R),
// a row table whose row 0 is the top row, an optional palette (the picture's logical colours
// when its depth is 8 or less) and an optional alpha plane (row 0 at the top, 255 = opaque).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "picture/dib.h"
#include "picture/pixel_block.h"

class CPicture {
public:
    static constexpr unsigned kMaxDimension = 65535;

    CPicture();
    ~CPicture();
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    // Allocates a black width x height picture of depth 24 (keeps everything when the size is
    // unchanged). False for sizes beyond 65535, a block beyond 32 bits, or no memory.
    bool Create(unsigned width, unsigned height);
    void Clear();
    // Exchanges everything (pixels, row table, palette, alpha plane, attributes) with `other`.
    void Swap(CPicture& other) noexcept;
    bool IsEmpty() const { return m_block.Empty(); }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BitsPerPixel() const { return m_bits; }
    uint32_t Stride() const { return m_stride; }
    uint32_t DibSize() const { return static_cast<uint32_t>(m_block.Size()); }

    // Row y, counted from the top. No range check: callers iterate 0..Height()-1.
    uint8_t* Row(int y) { return m_rows[y]; }
    const uint8_t* Row(int y) const { return m_rows[y]; }
    uint8_t* Dib() { return m_block.Data(); }
    const uint8_t* Dib() const { return m_block.Data(); }
    uint8_t* Bits();
    const DibHeader* Header() const { return reinterpret_cast<const DibHeader*>(m_block.Data()); }
    PixelBlock& Block() { return m_block; }

    bool GetPixel(int x, int y, uint8_t bgr[3]) const;
    bool SetPixel(int x, int y, const uint8_t bgr[3]);

    bool CreateAlpha();
    void DeleteAlpha();
    bool HasAlpha() const { return !m_alpha.empty(); }
    uint8_t* Alpha() { return m_alpha.empty() ? nullptr : m_alpha.data(); }
    const uint8_t* Alpha() const { return m_alpha.empty() ? nullptr : m_alpha.data(); }
    uint8_t* AlphaRow(int y) { return m_alpha.data() + static_cast<size_t>(y) * m_width; }
    int GetAlpha(int x, int y) const;
    bool SetAlpha(int x, int y, int a);

    unsigned PaletteSize() const { return static_cast<unsigned>(m_palette.size() / 3); }
    uint8_t* Palette() { return m_palette.empty() ? nullptr : m_palette.data(); }
    const uint8_t* Palette() const { return m_palette.empty() ? nullptr : m_palette.data(); }
    void SetPaletteSize(unsigned n);
    void ResizePalette(unsigned n);
    void SetPaletteEntry(unsigned i, const uint8_t bgr[3]);
    bool GetPaletteEntry(unsigned i, uint8_t bgr[3]) const;

    void SetBitsPerPixel(int bits);
    void ConvertToGrey();
    void SortPalette();

    bool CopyFrom(const CPicture& other);
    void CopyAttributes(const CPicture& other);
    std::unique_ptr<CPicture> Crop(int x1, int y1, int x2, int y2) const;

    // Builds the picture from a packed bitmap (header, colour table, rows) of `size` bytes:
    // 1, 8, 16, 24 or 32 bits per pixel. False for other depths or a block too short.
    bool FromDib(const void* packedDib, size_t size);

    const std::string& Name() const { return m_name; }
    const std::string& Description() const { return m_description; }
    void SetName(const std::string& name) { m_name = name.substr(0, 256); }
    void SetDescription(const std::string& text) { m_description = text.substr(0, 256); }

private:
    void BuildRowTable();

    PixelBlock m_block;
    std::vector<uint8_t*> m_rows;
    std::vector<uint8_t> m_palette; // 3 bytes per entry: B, G, R
    std::vector<uint8_t> m_alpha;
    uint16_t m_width = 0, m_height = 0;
    int16_t m_bits = 0;
    uint32_t m_stride = 0;
    std::string m_name = "Raw Memory";
    std::string m_description;
};
