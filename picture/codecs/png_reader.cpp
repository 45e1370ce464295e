#include "picture/codecs/png_reader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "picture/codecs/checksums.h"
#include "picture/codecs/inflater.h"
#include "picture/codecs/png_format.h"
#include "picture/codecs/png_pixels.h"
#include "picture/codecs/png_unfilter.h"
#include "picture/graphics_exceptions.h"

using namespace png;

namespace {
// The largest expansion deflate allows: 258 bytes from a 1-bit length and a 1-bit distance.
constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr const char* kPrematureEnd = "Premature End-Of-File";

[[noreturn]] void Fail(const char* message) { throw EPngError(message); }

bool IsGrey(unsigned colourType) { return colourType == kGrey || colourType == kGreyAlpha; }
} // namespace

// Feeds the inflater with the data of consecutive IDAT chunks. A chunk of another type ends
// the input and is kept for the chunk loop.
class CPngReader::CIdatSource : public CInflateSource {
public:
    explicit CIdatSource(CPngReader& reader) : m_reader(reader), m_length(reader.m_data.size()) {}

    size_t NextInput(const uint8_t*& data) override
    {
        while (m_pos == m_length)
            if (!NextChunk())
                return 0;
        data = m_reader.m_data.data() + m_pos;
        const size_t n = m_length - m_pos;
        m_pos = m_length;
        return n;
    }

    uint8_t ReadByte()
    {
        while (m_pos == m_length)
            if (!NextChunk())
                Fail(m_hitOtherChunk ? "IDAT Block Expected" : kPrematureEnd);
        return m_reader.m_data[m_pos++];
    }

    bool HitOtherChunk() const { return m_hitOtherChunk; }

private:
    bool NextChunk()
    {
        if (m_ended)
            return false;
        ChunkHeader header;
        if (!m_reader.ReadChunkHeader(header)) {
            m_ended = true;
            return false;
        }
        if (!IsType(header.type, "IDAT")) {
            m_reader.m_pending = header;
            m_reader.m_hasPending = true;
            m_hitOtherChunk = m_ended = true;
            return false;
        }
        if (!m_reader.ReadChunkData(header)) {
            m_ended = true;
            return false;
        }
        m_pos = 0;
        m_length = m_reader.m_data.size();
        return true;
    }

    CPngReader& m_reader;
    size_t m_pos = 0;
    size_t m_length;
    bool m_ended = false;
    bool m_hitOtherChunk = false;
};

CPngReader::CPngReader(CGraphicsStream& stream, CPicture* picture, CQnProgress& progress)
    : m_stream(stream), m_picture(picture), m_progress(progress)
{
}

int CPngReader::PictureDepth() const
{
    switch (m_colourType) {
    case kRgb: return 24;
    case kRgba: return 32;
    case kPalette: return int(std::min(m_bitDepth, 8u));
    default: return m_bitDepth >= 8 ? 8 : int(m_bitDepth);
    }
}

bool CPngReader::ReadChunkHeader(ChunkHeader& header)
{
    uint8_t raw[8];
    if (m_stream.Read(raw, 8) != 8)
        return false;
    header.length = LoadBE32(raw);
    std::memcpy(header.type, raw + 4, 4);
    if (header.length & 0x80000000u)
        Fail("Block length too large");
    return true;
}

// Reads the chunk's data and CRC; false when the file ends first (the data is never
// allocated beyond what the file holds).
bool CPngReader::ReadChunkData(const ChunkHeader& header)
{
    if (uint64_t(header.length) + 4 > uint64_t(m_stream.Remaining()))
        return false;
    m_data.resize(header.length);
    uint8_t crcBytes[4];
    if (m_stream.Read(m_data.data(), header.length) != header.length || m_stream.Read(crcBytes, 4) != 4)
        return false;
    uint32_t crc = UpdateCrc32(0, reinterpret_cast<const uint8_t*>(header.type), 4);
    crc = UpdateCrc32(crc, m_data.data(), m_data.size());
    if (crc != LoadBE32(crcBytes))
        Fail("Invalid CRC");
    return true;
}

void CPngReader::Read()
{
    uint8_t signature[8];
    if (m_stream.Read(signature, 8) != 8 || std::memcmp(signature, kSignature, 8) != 0)
        Fail("Not a PNG file");

    for (;;) {
        ChunkHeader header;
        if (m_hasPending) {
            header = m_pending;
            m_hasPending = false;
        } else if (!ReadChunkHeader(header)) {
            break;
        }
        if (!ReadChunkData(header))
            break;
        const char* type = header.type;
        if (!m_headerSeen && !IsType(type, "IHDR"))
            Fail("IHDR Block Expected");
        bool isData = false;
        if (IsType(type, "IHDR")) {
            OnHeader();
            if (!m_picture)
                return;
        } else if (IsType(type, "PLTE")) {
            OnPalette();
        } else if (IsType(type, "IDAT")) {
            isData = true;
            if (m_imageDone && m_lastWasData)
                continue; // further IDAT chunks of the image just read carry nothing we need
            OnImageData();
            continue;
        } else if (IsType(type, "IEND")) {
            m_endSeen = true;
            break;
        } else if (IsType(type, "bKGD")) {
            OnBackground();
        } else {
            OnAncillaryChecks(header);
        }
        m_lastWasData = isData;
    }
    if (!m_headerSeen)
        Fail("IHDR Block Expected");
    if (!m_imageDone)
        Fail("IDAT Block Expected");
}

void CPngReader::OnHeader()
{
    if (m_headerSeen)
        Fail("Duplicate IHDR Block");
    if (m_data.size() != 13)
        Fail("Invalid Header Length");
    const uint8_t* d = m_data.data();
    m_width = LoadBE32(d);
    m_height = LoadBE32(d + 4);
    m_bitDepth = d[8];
    m_colourType = d[9];
    m_headerSeen = true;
    if (!m_picture)
        return;

    if (d[10] != 0)
        Fail("Invalid Compression Method");
    if (d[11] != 0)
        Fail("Invalid Filter Method");
    if (d[12] > 1)
        Fail("Invalid Compression Method");
    m_interlaced = d[12] == 1;
    if (m_bitDepth != 1 && m_bitDepth != 2 && m_bitDepth != 4 && m_bitDepth != 8 && m_bitDepth != 16)
        Fail("Invalid Bit Depth");
    switch (m_colourType) {
    case kGrey: break;
    case kRgb:
    case kGreyAlpha:
    case kRgba:
        if (m_bitDepth < 8)
            Fail("Invalid Bit Depth for Color Type");
        break;
    case kPalette:
        if (m_bitDepth == 16)
            Fail("Invalid Bit Depth for Color Type");
        break;
    default: Fail("Invalid Color Type");
    }
    if (m_width == 0 || m_height == 0 || m_width > CPicture::kMaxDimension || m_height > CPicture::kMaxDimension)
        Fail("Invalid Image Size");

    // The rest of the file must be able to hold the filtered rows before we allocate.
    const uint64_t bitsPerPixel = uint64_t(m_bitDepth) * Channels(m_colourType);
    uint64_t rawBytes = 0;
    for (unsigned p = 0; p < (m_interlaced ? 7u : 1u); ++p) {
        const Pass pass = m_interlaced ? kAdam7[p] : kSinglePass;
        const uint64_t w = PassExtent(m_width, pass.x0, pass.dx), h = PassExtent(m_height, pass.y0, pass.dy);
        if (w && h)
            rawBytes += h * (1 + (w * bitsPerPixel + 7) / 8);
    }
    if (rawBytes > uint64_t(m_stream.Remaining()) * kMaxDeflateRatio)
        Fail(kPrematureEnd);

    if (!m_picture->Create(m_width, m_height))
        Fail("Invalid Image Size");
    if (m_colourType == kGreyAlpha || m_colourType == kRgba)
        m_picture->CreateAlpha();
    if (m_colourType == kRgba)
        m_picture->SetBitsPerPixel(32);
    if (IsGrey(m_colourType))
        PrepareGreyPalette();
}

// Grey samples index a grey palette: 2^d evenly spaced levels for d < 8, else 0..255.
void CPngReader::PrepareGreyPalette()
{
    const unsigned depth = std::min(m_bitDepth, 8u);
    const unsigned levels = 1u << depth;
    m_picture->SetPaletteSize(levels);
    for (unsigned i = 0; i < levels; ++i) {
        const uint8_t g = uint8_t((i * 255 + levels - 2) / (levels - 1));
        const uint8_t bgr[3] = {g, g, g};
        m_picture->SetPaletteEntry(i, bgr);
    }
}

void CPngReader::OnPalette()
{
    if (m_paletteSeen)
        Fail("Duplicate PLTE block");
    if (IsGrey(m_colourType))
        Fail("Grayscale image contains a PLTE block");
    if (m_data.size() % 3 != 0)
        Fail("PLTE chunk length not divisible by 3");
    if (m_data.size() > 768)
        Fail("PLTE chunk length too large");
    m_paletteSeen = true;
    m_paletteEntries = unsigned(m_data.size() / 3);
    if (m_colourType != kPalette)
        return;
    m_picture->SetPaletteSize(m_paletteEntries);
    for (unsigned i = 0; i < m_paletteEntries; ++i) {
        const uint8_t bgr[3] = {m_data[3 * i + 2], m_data[3 * i + 1], m_data[3 * i]};
        m_picture->SetPaletteEntry(i, bgr);
    }
}

void CPngReader::OnBackground()
{
    const size_t n = m_data.size();
    switch (m_colourType) {
    case kGrey:
    case kGreyAlpha:
        if (n == 0)
            Fail("bKGN Chunk too small");
        if (m_bitDepth < 8 && m_data[0] >= (1u << m_bitDepth))
            Fail("bKGN palette index too large");
        m_background[0] = m_background[1] = m_background[2] = m_data[0];
        break;
    case kRgb:
    case kRgba:
        if (n < 6)
            Fail("bKGN Chunk too small");
        m_background[0] = m_data[4];
        m_background[1] = m_data[2];
        m_background[2] = m_data[0];
        break;
    case kPalette:
        if (n == 0)
            Fail("bKGN Chunk too small");
        if (m_data[0] >= (1u << m_bitDepth) || !m_picture->GetPaletteEntry(m_data[0], m_background))
            Fail("bKGN palette index too large");
        break;
    default: Fail("Invalid Color Type");
    }
}

void CPngReader::OnAncillaryChecks(const ChunkHeader& header)
{
    const char* type = header.type;
    const size_t n = m_data.size();
    if (IsType(type, "gAMA")) {
        if (m_paletteSeen)
            Fail("gAMA chunk may not occur before PLTE");
        if (m_dataSeen)
            Fail("gAMA chunk may not occur before IDAT");
        if (n < 4)
            Fail("gAMA chunk too small");
        m_gamma = LoadBE32(m_data.data());
    } else if (IsType(type, "cHRM")) {
        if (m_paletteSeen)
            Fail("cHRM chunk may not occur after PLTE");
        if (m_dataSeen)
            Fail("cHRM chunk may not occur after IDAT");
        if (n != 32)
            Fail("Invalid cHRM chunk length");
    } else if (IsType(type, "hIST")) {
        if (!m_paletteSeen)
            Fail("hIST chunk may not appear before PLTE");
        if (m_dataSeen)
            Fail("hIST chunk must appear before IDAT");
        if (n != 2 * size_t(m_paletteEntries))
            Fail("Bad size for hIST chunk");
    } else if (IsType(type, "sBIT")) {
        if (m_dataSeen)
            Fail("sBIT chunk must occur before IDAT chunks");
        if (m_paletteSeen)
            Fail("sBIT chunk must occur before PTLE chunk");
        static const size_t minimum[7] = {1, 0, 3, 3, 2, 0, 4};
        if (m_colourType > 6 || n < minimum[m_colourType])
            Fail("sBIT chunk length invalid");
    } else if (IsType(type, "pHYs")) {
        if (m_dataSeen)
            Fail("pHYS chunk must come before IDAT chunks");
        if (n != 9)
            Fail("pHYs chunk size invalid");
        if (m_data[8] > 1)
            Fail("pHYs contains an invalid unit");
    } else if (IsType(type, "tIME")) {
        if (n != 7)
            Fail("tIME chunk size invalid");
    } else if (IsType(type, "tEXt") || IsType(type, "zTXt")) {
        if (!std::memchr(m_data.data(), 0, std::min<size_t>(n, 80)))
            Fail(IsType(type, "tEXt") ? "tEXt keyword not found" : "ZEXt keyword not found");
    } else if (IsType(type, "tRNS")) {
        // transparency is not used
    } else if (!(type[0] & 0x20)) {
        Fail("Unknown critical chunk");
    }
}

void CPngReader::OnImageData()
{
    if (m_dataSeen)
        Fail("Image Contains Multiple Data Segments");
    if (m_colourType == kPalette && !m_paletteSeen)
        Fail("PLTE block must occur before IDAT");
    m_dataSeen = true;
    CIdatSource source(*this);
    try {
        DecodeImage(source);
    } catch (const EPngError& e) {
        if (source.HitOtherChunk() && std::string(e.what()) == kPrematureEnd)
            Fail("IDAT Block Expected");
        throw;
    }
    m_imageDone = true;
    m_lastWasData = !source.HitOtherChunk();
}

void CPngReader::CheckZlibHeader(CIdatSource& source)
{
    const unsigned cmf = source.ReadByte();
    const unsigned flg = source.ReadByte();
    if ((cmf & 0x0F) != 8)
        Fail("Invalid Compression Method - Not (8) Deflate");
    if ((cmf * 256 + flg) % 31 != 0)
        Fail("Invalid IDAT flags");
    // Windows smaller than 32 KiB are valid (encoders shrink them for small images).
    if ((cmf >> 4) > 7)
        Fail("Invalid Compression Window");
    if (flg & 0x20)
        Fail("Preset dictionary flag set");
}

void CPngReader::DecodeImage(CIdatSource& source)
{
    CheckZlibHeader(source);
    CInflater inflater(source);
    const unsigned bitsPerPixel = m_bitDepth * Channels(m_colourType);
    const size_t maxRowBytes = (size_t(m_width) * bitsPerPixel + 7) / 8;
    // One leading slot for the filter byte.
    std::vector<uint8_t> previous(maxRowBytes + 1), current(maxRowBytes + 1);

    for (unsigned p = 0; p < (m_interlaced ? 7u : 1u); ++p) {
        const Pass pass = m_interlaced ? kAdam7[p] : kSinglePass;
        const unsigned columns = PassExtent(m_width, pass.x0, pass.dx);
        const unsigned rows = PassExtent(m_height, pass.y0, pass.dy);
        if (!columns || !rows)
            continue;
        const size_t rowBytes = (size_t(columns) * bitsPerPixel + 7) / 8;
        std::fill(previous.begin(), previous.begin() + rowBytes + 1, 0);
        for (unsigned r = 0; r < rows; ++r) {
            inflater.Read(current.data(), rowBytes + 1);
            if (current[0] > 4)
                Fail("Invalid Filter Method");
            Unfilter(current.data() + 1, previous.data() + 1, rowBytes, current[0]);
            StoreRow(current.data() + 1, pass.y0 + r * pass.dy, pass.x0, pass.dx, columns);
            std::swap(previous, current);
            if (r % 10 == 0 && !m_progress.SetPos(int64_t(r) * 100 / rows))
                m_cancelled = true;
        }
    }
    inflater.ExpectEnd();
    // The Adler-32 trailer is read but, like other readers, not required.
    uint8_t trailer;
    for (int i = 0; i < 4 && inflater.ReadTrailerByte(trailer); ++i) {
    }
}

void CPngReader::Unfilter(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned filter) const
{
    const unsigned bpp = std::max(1u, m_bitDepth * Channels(m_colourType) / 8);
    UnfilterRow(row, previous, rowBytes, bpp, filter);
}

// Converts one (pass) row into picture pixels: palette and grey samples through the
// palette, 16-bit samples through their high byte, alpha into the alpha plane.
void CPngReader::StoreRow(const uint8_t* row, unsigned y, unsigned x0, unsigned dx, unsigned count)
{
    uint8_t* pixels = m_picture->Row(int(y));
    uint8_t* alpha = m_picture->HasAlpha() ? m_picture->AlphaRow(int(y)) : nullptr;

    if (m_bitDepth == 8 && dx == 1 && m_colourType == kRgb) {
        RgbToBgr(pixels + size_t(x0) * 3, row, count);
        return;
    }
    if (m_bitDepth == 8 && dx == 1 && m_colourType == kRgba && alpha) {
        RgbaToBgrAlpha(pixels + size_t(x0) * 3, alpha + x0, row, count);
        return;
    }
    if (m_colourType == kRgb || m_colourType == kRgba) {
        const unsigned step = (m_colourType == kRgb ? 3 : 4) * (m_bitDepth / 8);
        const unsigned sample = m_bitDepth / 8; // the high byte comes first
        for (unsigned k = 0, x = x0; k < count; ++k, x += dx, row += step) {
            uint8_t* px = pixels + size_t(x) * 3;
            px[0] = row[2 * sample];
            px[1] = row[sample];
            px[2] = row[0];
            if (alpha)
                alpha[x] = row[3 * sample];
        }
        return;
    }

    // Indexed samples (palette or grey): a padded lookup so that any index is safe.
    uint8_t lookup[256][3] = {};
    const unsigned entries = std::min(m_picture->PaletteSize(), 256u);
    if (entries)
        std::memcpy(lookup, m_picture->Palette(), size_t(entries) * 3);

    if (m_bitDepth < 8) {
        const unsigned depth = m_bitDepth, mask = (1u << depth) - 1;
        for (unsigned k = 0, x = x0; k < count; ++k, x += dx) {
            const size_t bit = size_t(k) * depth;
            const unsigned index = (row[bit >> 3] >> (8 - depth - (bit & 7))) & mask;
            std::memcpy(pixels + size_t(x) * 3, lookup[index], 3);
        }
        return;
    }
    const unsigned sample = m_bitDepth / 8;
    const unsigned step = sample * (m_colourType == kGreyAlpha ? 2 : 1);
    for (unsigned k = 0, x = x0; k < count; ++k, x += dx, row += step) {
        std::memcpy(pixels + size_t(x) * 3, lookup[row[0]], 3);
        if (alpha)
            alpha[x] = row[sample];
    }
}
