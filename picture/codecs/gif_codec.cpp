#include "picture/codecs/gif_codec.h"

#include <cstring>

#include "picture/codecs/codecs.h"
#include "picture/codecs/gif_lzw.h"
#include "picture/graphics_exceptions.h"

namespace {
constexpr uint8_t kExtension = 0x21, kImage = 0x2C, kTrailer = 0x3B;
constexpr uint8_t kPlainText = 0x01, kGraphicControl = 0xF9, kApplication = 0xFF;
// Most pixels a byte of LZW data can produce once the string table is full (a 12-bit code
// for a 4096-byte string), and what the first table can produce from any data at all.
constexpr uint64_t kMaxPixelsPerByte = 4096;
constexpr uint64_t kMaxPixelsWithoutData = uint64_t(1) << 24;
} // namespace

CGifCodec::CGifCodec()
    : CGraphicsCodec("GIF", "CompuServe Graphic Interchange Format (GIF)", "GIF - CompuServe (*.gif)|*.gif|")
{
}

CGraphicsCodec& GifCodec()
{
    static CGifCodec codec;
    return codec;
}

bool CGifCodec::MatchesSignature(const uint8_t* head, size_t size) const
{
    return size >= 4 && std::memcmp(head, "GIF8", 4) == 0;
}

bool CGifCodec::ReadSignature()
{
    m_stream->Rewind();
    uint8_t header[6];
    if (m_stream->Read(header, 6) != 6)
        return false;
    return std::memcmp(header, "GIF87a", 6) == 0 || std::memcmp(header, "GIF89a", 6) == 0;
}

void CGifCodec::ReadOrFail(void* buffer, size_t n, bool corrupt)
{
    if (m_stream->Read(buffer, n) == n)
        return;
    if (corrupt)
        throw EGifCorruptFile("GIF block ends early");
    throw EGifFileReadError("GIF file ends early");
}

void CGifCodec::ReadScreen()
{
    uint8_t screen[7];
    ReadOrFail(screen, 7, false);
    m_globalTable.clear();
    m_transparent = -1;
    m_width = m_height = 0;
    if (screen[4] & 0x80) {
        m_globalTable.resize(size_t(3) << ((screen[4] & 7) + 1));
        ReadOrFail(m_globalTable.data(), m_globalTable.size(), false);
    }
}

// Sub-blocks: a length byte and that many bytes, up to a length of 0 (or the end of data).
void CGifCodec::SkipSubBlocks()
{
    uint8_t length = 0;
    while (m_stream->Read(&length, 1) == 1 && length != 0) {
        // A memory stream clamps seeks past its end, so stop at the end instead of looping.
        if (m_stream->Remaining() < length) {
            m_stream->Seek(0, CGraphicsStream::kEnd);
            return;
        }
        m_stream->Seek(length, CGraphicsStream::kCurrent);
    }
}

bool CGifCodec::FindImage()
{
    for (;;) {
        uint8_t introducer;
        if (m_stream->Read(&introducer, 1) != 1)
            throw EGifCorruptFile("GIF data ends inside the block list");
        if (introducer == 0)
            continue;
        if (introducer == kImage)
            return true;
        if (introducer == kTrailer)
            return false;
        if (introducer != kExtension)
            throw EGifCorruptFile("Unknown GIF block");
        uint8_t label;
        ReadOrFail(&label, 1, true);
        if (label == kPlainText) {
            uint8_t block[13];
            ReadOrFail(block, 13, true);
            if (block[0] != 12)
                throw EGifCorruptFile("Bad GIF plain text extension");
            SkipSubBlocks();
        } else if (label == kGraphicControl) {
            uint8_t block[6];
            ReadOrFail(block, 6, true);
            if (block[0] != 4 || block[5] != 0)
                throw EGifCorruptFile("Bad GIF graphic control extension");
            m_transparent = (block[1] & 1) ? block[4] : -1;
        } else if (label == kApplication) {
            uint8_t block[12];
            ReadOrFail(block, 12, true);
            if (block[0] != 11)
                throw EGifCorruptFile("Bad GIF application extension");
            SkipSubBlocks();
        } else {
            // Comments (label 0xFE) and any extension we do not know carry nothing we use.
            SkipSubBlocks();
        }
    }
}

int CGifCodec::Ping()
{
    if (!ReadSignature())
        return 0;
    ReadScreen();
    if (!FindImage())
        throw EGifNoMoreImages("The GIF file holds no image");
    uint8_t descriptor[9];
    ReadOrFail(descriptor, 9, false);
    m_pingWidth = descriptor[4] | descriptor[5] << 8;
    m_pingHeight = descriptor[6] | descriptor[7] << 8;
    m_pingBits = 8;
    m_infoText = m_description;
    return 1;
}

int CGifCodec::Read()
{
    if (!ReadSignature())
        return 0;
    if (!m_picture)
        return Ping();
    CQnProgress& progress = Progress();
    progress.Begin();
    progress.SetRange(0, 100);
    int result = 0;
    try {
        result = ReadImage();
    } catch (const EGraphicsException&) {
        result = 0;
    }
    progress.End(false);
    return result;
}

int CGifCodec::ReadImage()
{
    ReadScreen();
    if (!FindImage())
        throw EGifNoMoreImages("The GIF file holds no image");
    uint8_t descriptor[9];
    ReadOrFail(descriptor, 9, false);
    m_width = descriptor[4] | descriptor[5] << 8;
    m_height = descriptor[6] | descriptor[7] << 8;
    const uint8_t flags = descriptor[8];
    if (flags & 0x80) {
        m_table.resize(size_t(3) << ((flags & 7) + 1));
        ReadOrFail(m_table.data(), m_table.size(), false);
    } else if (!m_globalTable.empty()) {
        m_table = m_globalTable;
    } else {
        throw EGifCorruptFile("The GIF image has no colour table");
    }
    if (m_width == 0 || m_height == 0)
        throw EGifCorruptFile("Empty GIF image");
    // The data left in the file must be able to describe that many pixels.
    if (uint64_t(m_width) * m_height > uint64_t(m_stream->Remaining()) * kMaxPixelsPerByte + kMaxPixelsWithoutData)
        throw EGifCorruptFile("GIF image larger than its data");

    if (!m_picture->Create(m_width, m_height))
        throw EGifCorruptFile("GIF image too large");
    if (m_transparent >= 0)
        m_picture->CreateAlpha();
    const unsigned entries = unsigned(m_table.size() / 3);
    m_picture->SetPaletteSize(entries);
    for (unsigned i = 0; i < entries; ++i) {
        const uint8_t bgr[3] = {m_table[3 * i + 2], m_table[3 * i + 1], m_table[3 * i]};
        m_picture->SetPaletteEntry(i, bgr);
    }

    uint8_t minCodeSize;
    ReadOrFail(&minCodeSize, 1, false);
    CGifLzwDecoder decoder(*m_stream, Progress(), m_width, m_height);
    decoder.Decode(minCodeSize);
    StorePixels(decoder.Indices(), (flags & 0x40) != 0);
    if (!Progress().SetPos(100))
        throw EGraphicsAbort();
    return 1;
}

void CGifCodec::StorePixels(const uint8_t* indices, bool interlaced)
{
    // A padded lookup: indices beyond the table give black.
    uint8_t lookup[256][3] = {};
    const unsigned entries = unsigned(m_table.size() / 3);
    for (unsigned i = 0; i < entries && i < 256; ++i) {
        lookup[i][0] = m_table[3 * i + 2];
        lookup[i][1] = m_table[3 * i + 1];
        lookup[i][2] = m_table[3 * i];
    }
    static const unsigned kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    unsigned source = 0;
    for (unsigned pass = 0; pass < (interlaced ? 4u : 1u); ++pass) {
        const unsigned start = interlaced ? kStart[pass] : 0, step = interlaced ? kStep[pass] : 1;
        for (unsigned y = start; y < m_height; y += step, ++source) {
            const uint8_t* in = indices + size_t(source) * m_width;
            uint8_t* out = m_picture->Row(int(y));
            for (unsigned x = 0; x < m_width; ++x, out += 3)
                std::memcpy(out, lookup[in[x]], 3);
            if (m_transparent >= 0) {
                uint8_t* alpha = m_picture->AlphaRow(int(y));
                for (unsigned x = 0; x < m_width; ++x)
                    alpha[x] = in[x] == m_transparent ? 0 : 255;
            }
        }
    }
}
