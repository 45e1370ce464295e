#include "picture/picture.h"

#include <algorithm>
#include <cstring>

CPicture::CPicture() = default;
CPicture::~CPicture() = default;

bool CPicture::Create(unsigned width, unsigned height)
{
    if (!IsEmpty() && width == m_width && height == m_height)
        return true;
    Clear();
    if (width > kMaxDimension || height > kMaxDimension)
        return false;
    const uint64_t stride = DibStride(width, 24);
    const uint64_t size = sizeof(DibHeader) + stride * height;
    if (size > 0xFFFFFFFFull)
        return false;
    if (!m_block.Allocate(static_cast<size_t>(size)))
        return false;
    m_width = static_cast<uint16_t>(width);
    m_height = static_cast<uint16_t>(height);
    m_stride = static_cast<uint32_t>(stride);
    m_bits = 24;
    DibHeader header{};
    header.biSize = 40;
    header.biWidth = static_cast<int32_t>(width);
    header.biHeight = static_cast<int32_t>(height);
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = kDibRgb;
    header.biSizeImage = static_cast<uint32_t>(stride * height);
    std::memcpy(m_block.Data(), &header, sizeof header);
    BuildRowTable();
    return true;
}

uint8_t* CPicture::Bits()
{
    if (IsEmpty())
        return nullptr;
    const DibHeader* h = Header();
    size_t offset = h->biSize;
    offset += h->biCompression == kDibBitFields ? 12 : static_cast<size_t>(h->biClrUsed) * 4;
    return m_block.Data() + offset;
}

void CPicture::BuildRowTable()
{
    m_rows.assign(m_height, nullptr);
    uint8_t* bits = Bits();
    for (int y = 0; y < m_height; ++y)
        m_rows[y] = bits + static_cast<size_t>(m_height - 1 - y) * m_stride;
}

void CPicture::Clear()
{
    m_block.Free();
    m_rows.clear();
    m_palette.clear();
    m_alpha.clear();
    m_width = m_height = 0;
    m_bits = 0;
    m_stride = 0;
    m_name = "Raw Memory";
    m_description.clear();
}

void CPicture::Swap(CPicture& other) noexcept
{
    m_block.Swap(other.m_block);
    m_rows.swap(other.m_rows);
    m_palette.swap(other.m_palette);
    m_alpha.swap(other.m_alpha);
    std::swap(m_width, other.m_width);
    std::swap(m_height, other.m_height);
    std::swap(m_bits, other.m_bits);
    std::swap(m_stride, other.m_stride);
    m_name.swap(other.m_name);
    m_description.swap(other.m_description);
}

bool CPicture::GetPixel(int x, int y, uint8_t bgr[3]) const
{
    if (IsEmpty() || x < 0 || y < 0 || x >= m_width || y >= m_height) {
        bgr[0] = bgr[1] = bgr[2] = 0;
        return false;
    }
    std::memcpy(bgr, m_rows[y] + x * 3, 3);
    return true;
}

bool CPicture::SetPixel(int x, int y, const uint8_t bgr[3])
{
    if (IsEmpty() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return false;
    std::memcpy(m_rows[y] + x * 3, bgr, 3);
    return true;
}

bool CPicture::CreateAlpha()
{
    if (IsEmpty())
        return false;
    if (m_alpha.empty())
        m_alpha.assign(static_cast<size_t>(m_width) * m_height, 255);
    return true;
}

void CPicture::DeleteAlpha() { std::vector<uint8_t>().swap(m_alpha); }

int CPicture::GetAlpha(int x, int y) const
{
    if (m_alpha.empty() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return -1;
    return m_alpha[static_cast<size_t>(y) * m_width + x];
}

bool CPicture::SetAlpha(int x, int y, int a)
{
    if (m_alpha.empty() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return false;
    m_alpha[static_cast<size_t>(y) * m_width + x] = static_cast<uint8_t>(a);
    return true;
}

void CPicture::SetPaletteSize(unsigned n)
{
    if (PaletteSize() >= n)
        return;
    m_palette.assign(static_cast<size_t>(n) * 3, 0);
    for (int k = 1; k <= 23; ++k) {
        if ((1u << k) >= n) {
            m_bits = static_cast<int16_t>(k);
            return;
        }
    }
    m_bits = HasAlpha() ? 32 : 24;
}

void CPicture::ResizePalette(unsigned n) { m_palette.resize(static_cast<size_t>(n) * 3, 0); }

void CPicture::SetPaletteEntry(unsigned i, const uint8_t bgr[3])
{
    if (i < PaletteSize())
        std::memcpy(&m_palette[i * 3], bgr, 3);
}

bool CPicture::GetPaletteEntry(unsigned i, uint8_t bgr[3]) const
{
    if (i >= PaletteSize())
        return false;
    std::memcpy(bgr, &m_palette[i * 3], 3);
    return true;
}

void CPicture::SetBitsPerPixel(int bits)
{
    if (bits > 8) {
        m_bits = static_cast<int16_t>(bits);
        m_palette.clear();
        if (bits == 32)
            CreateAlpha();
    } else {
        SetPaletteSize(1u << std::max(bits, 0));
    }
}

void CPicture::ConvertToGrey()
{
    for (int y = 0; y < m_height; ++y) {
        uint8_t* p = m_rows[y];
        for (int x = 0; x < m_width; ++x, p += 3) {
            uint8_t grey = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = grey;
        }
    }
    m_palette.resize(256 * 3);
    for (unsigned i = 0; i < 256; ++i)
        m_palette[i * 3] = m_palette[i * 3 + 1] = m_palette[i * 3 + 2] = static_cast<uint8_t>(i);
    m_bits = 8;
}

void CPicture::SortPalette()
{
    const unsigned n = PaletteSize();
    auto sum = [this](unsigned i) { return m_palette[i * 3] + m_palette[i * 3 + 1] + m_palette[i * 3 + 2]; };
    for (unsigned i = 0; i + 1 < n; ++i)
        for (unsigned j = i + 1; j < n; ++j)
            if (sum(j) < sum(i))
                std::swap_ranges(&m_palette[i * 3], &m_palette[i * 3] + 3, &m_palette[j * 3]);
}

bool CPicture::CopyFrom(const CPicture& other)
{
    if (&other == this)
        return true;
    Clear();
    if (other.IsEmpty())
        return true;
    if (!Create(other.m_width, other.m_height))
        return false;
    for (int y = 0; y < m_height; ++y)
        std::memcpy(m_rows[y], other.m_rows[y], static_cast<size_t>(m_width) * 3);
    m_alpha = other.m_alpha;
    CopyAttributes(other);
    return true;
}

void CPicture::CopyAttributes(const CPicture& other)
{
    m_bits = other.m_bits;
    m_name = other.m_name;
    m_description = other.m_description;
}

std::unique_ptr<CPicture> CPicture::Crop(int x1, int y1, int x2, int y2) const
{
    if (IsEmpty())
        return nullptr;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x2 < 0 || y2 < 0)
        return nullptr;
    x1 = std::clamp(x1, 0, int(m_width));
    y1 = std::clamp(y1, 0, int(m_height));
    x2 = std::clamp(x2, 0, int(m_width));
    y2 = std::clamp(y2, 0, int(m_height));
    auto out = std::make_unique<CPicture>();
    if (!out->Create(x2 - x1, y2 - y1))
        return nullptr;
    for (int y = y1; y < y2; ++y)
        std::memcpy(out->Row(y - y1), m_rows[y] + x1 * 3, static_cast<size_t>(x2 - x1) * 3);
    if (HasAlpha()) {
        out->CreateAlpha();
        for (int y = y1; y < y2; ++y)
            std::memcpy(out->AlphaRow(y - y1), &m_alpha[static_cast<size_t>(y) * m_width + x1], x2 - x1);
    }
    out->SetName(m_name);
    out->SetDescription(m_description);
    return out;
}

bool CPicture::FromDib(const void* packedDib, size_t size)
{
    if (!packedDib || size < sizeof(DibHeader))
        return false;
    DibHeader h;
    std::memcpy(&h, packedDib, sizeof h);
    const uint8_t* base = static_cast<const uint8_t*>(packedDib);
    const unsigned bits = h.biBitCount;
    if (h.biSize < sizeof(DibHeader) || h.biSize > size || h.biWidth <= 0 || h.biHeight == 0)
        return false;
    if (bits != 1 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    const bool topDown = h.biHeight < 0;
    const int64_t height64 = topDown ? -int64_t(h.biHeight) : h.biHeight;
    if (h.biWidth > int(kMaxDimension) || height64 > kMaxDimension)
        return false;
    const unsigned width = static_cast<unsigned>(h.biWidth), height = static_cast<unsigned>(height64);

    uint64_t colours = 0;
    if (bits <= 8)
        colours = h.biClrUsed ? h.biClrUsed : (1u << bits);
    if (colours > 256)
        return false;
    uint64_t offset = h.biSize + colours * 4;
    if (h.biCompression == kDibBitFields)
        offset += 12;
    else if (h.biCompression != kDibRgb)
        return false;
    const uint64_t stride = DibStride(width, bits);
    if (offset > size || stride * height > size - offset)
        return false;
    const uint8_t* table = base + h.biSize;
    if (!Create(width, height))
        return false;
    for (unsigned y = 0; y < height; ++y) {
        const uint8_t* src = base + offset + stride * (topDown ? y : height - 1 - y);
        uint8_t* dst = m_rows[y];
        for (unsigned x = 0; x < width; ++x, dst += 3) {
            switch (bits) {
            case 1: {
                uint8_t v = (src[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
                dst[0] = dst[1] = dst[2] = v;
                break;
            }
            case 8: {
                unsigned i = src[x];
                if (i < colours)
                    std::memcpy(dst, table + i * 4, 3);
                break;
            }
            case 16: { // 5-5-5
                unsigned v = src[x * 2] | (src[x * 2 + 1] << 8);
                dst[0] = static_cast<uint8_t>((v & 0x1F) << 3);
                dst[1] = static_cast<uint8_t>(((v >> 5) & 0x1F) << 3);
                dst[2] = static_cast<uint8_t>(((v >> 10) & 0x1F) << 3);
                break;
            }
            case 24: std::memcpy(dst, src + x * 3, 3); break;
            case 32: std::memcpy(dst, src + x * 4, 3); break;
            }
        }
    }
    return true;
}
