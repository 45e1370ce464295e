// Dr. Halo CUT pictures: 8-bit indexes, each row a byte count and run-length data. The colours
// live in a companion ".pal" file of 512-byte blocks; without it the picture is grey.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/codecs/palette_lookup.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_exceptions.h"
#include "picturetools/core/colour_reduction.h"

namespace {

constexpr unsigned kMaxDimension = 30000;
constexpr size_t kPaletteHeaderSize = 40;
constexpr size_t kPaletteCheckedBytes = 10;
constexpr size_t kPaletteBlock = 512;
constexpr unsigned kPaletteEntries = 256;
const uint8_t kPaletteHeader[20] = {0x41, 0x48, 0xE3, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00,
                                    0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00};

// Entries never cross a 512-byte block: these start on the next block.
bool StartsNewBlock(unsigned entry) { return entry == 78 || entry == 163 || entry == 248; }

std::string PalettePathOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + ".pal";
    return path.substr(0, dot) + ".pal";
}

// Reads the palette file over the picture's palette; false (palette untouched) when it is
// missing or not a palette file.
bool ReadPaletteFile(const std::string& path, CPicture& picture)
{
    CGraphicsStream file;
    if (!file.OpenFile(path, true))
        return false;
    std::vector<uint8_t> data(kPaletteBlock * 4);
    data.resize(file.Read(data.data(), data.size()));
    if (data.size() < kPaletteHeaderSize || std::memcmp(data.data(), kPaletteHeader, kPaletteCheckedBytes) != 0)
        return false;
    std::vector<uint8_t> bgr(kPaletteEntries * 3);
    size_t at = kPaletteHeaderSize;
    for (unsigned i = 0; i < kPaletteEntries; ++i) {
        if (StartsNewBlock(i))
            at = (at + kPaletteBlock - 1) / kPaletteBlock * kPaletteBlock;
        if (at + 6 > data.size())
            return false;
        for (int c = 0; c < 3; ++c) {
            const unsigned v = data[at + c * 2] | data[at + c * 2 + 1] << 8;
            bgr[i * 3 + 2 - c] = static_cast<uint8_t>(std::min(v, 255u));
        }
        at += 6;
    }
    for (unsigned i = 0; i < kPaletteEntries; ++i)
        picture.SetPaletteEntry(i, &bgr[i * 3]);
    return true;
}

bool WritePaletteFile(const std::string& path, const std::vector<uint8_t>& palette)
{
    std::vector<uint8_t> out(kPaletteHeader, kPaletteHeader + sizeof kPaletteHeader);
    out.resize(kPaletteHeaderSize, 0);
    for (unsigned i = 0; i < kPaletteEntries; ++i) {
        if (StartsNewBlock(i))
            out.resize((out.size() + kPaletteBlock - 1) / kPaletteBlock * kPaletteBlock, 0);
        for (int c = 2; c >= 0; --c) {
            out.push_back(i * 3 + c < palette.size() ? palette[i * 3 + c] : 0);
            out.push_back(0);
        }
    }
    CGraphicsStream file;
    return file.OpenFile(path, false) && file.Write(out.data(), out.size());
}

// Appends the run-length coding of one row: runs of 3 or more equal bytes as 0x80 | count and
// the byte, anything else as literal stretches; both at most 127 long; 0 ends the row.
void EncodeRow(const uint8_t* src, size_t n, std::vector<uint8_t>& out)
{
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 127 && src[i + run] == src[i])
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<uint8_t>(0x80 | run));
            out.push_back(src[i]);
            i += run;
            continue;
        }
        const size_t start = i;
        while (i < n && i - start < 127) {
            if (i + 2 < n && src[i] == src[i + 1] && src[i] == src[i + 2])
                break;
            ++i;
        }
        out.push_back(static_cast<uint8_t>(i - start));
        out.insert(out.end(), src + start, src + i);
    }
    out.push_back(0);
}

class CCutCodec : public CGraphicsCodec {
public:
    CCutCodec() : CGraphicsCodec("CUT", "Dr. Halo (CUT)", "CUT - Dr. Halo (*.cut)|*.cut|") {}

    bool CanWriteDepth(int bits) const override { return bits == 0 || bits == 8; }
    bool HasSignature() const override { return false; }
    std::vector<std::string> CompanionFiles(const std::string& path) const override { return {PalettePathOf(path)}; }
    int Read() override;
    int Write() override;
};

// Decodes one row's run-length data into `indexes` (width bytes, or null to check only); false
// when a run or a literal stretch passes the end of the row's data.
bool DecodeRow(const std::vector<uint8_t>& packed, uint8_t* indexes, size_t width)
{
    size_t x = 0, i = 0;
    while (i < packed.size() && packed[i] != 0) {
        const uint8_t control = packed[i++];
        const size_t count = control & 0x7F;
        const size_t take = std::min(count, width - x);
        if (control & 0x80) {
            if (i >= packed.size())
                return false;
            if (indexes)
                std::memset(indexes + x, packed[i], take);
            ++i;
        } else {
            if (packed.size() - i < count)
                return false;
            if (indexes)
                std::memcpy(indexes + x, &packed[i], take);
            i += count;
        }
        x += take;
    }
    return true;
}

int CCutCodec::Read()
{
    const unsigned width = m_stream->ReadU16LE();
    const unsigned height = m_stream->ReadU16LE();
    m_stream->ReadU16LE();
    if (width < 1 || width > kMaxDimension || height < 1 || height > kMaxDimension)
        return 0;
    // The format has no signature: a first look asks that the file can hold the rows (every
    // row has its byte count, and one data byte pair gives at most 127 pixels), and the probe
    // then decodes every row as the reader does, so that it takes exactly what reads.
    const int64_t remaining = m_stream->Remaining();
    if (remaining < int64_t(height) * 2 || uint64_t(width) * height > uint64_t(remaining) * 64)
        return 0;
    const int64_t rowsStart = m_stream->Tell();
    std::vector<uint8_t> packed;
    for (unsigned y = 0; y < height; ++y) {
        packed.resize(m_stream->ReadU16LE());
        if (m_stream->Remaining() < int64_t(packed.size()))
            return 0;
        m_stream->ReadExact(packed.data(), packed.size());
        if (!DecodeRow(packed, nullptr, width))
            return 0;
    }
    m_pingWidth = int(width);
    m_pingHeight = int(height);
    m_pingBits = 8;
    m_infoText = "CUT - Dr. Halo CUT";
    if (!m_picture)
        return 1;
    m_picture->Clear(); // a reused picture keeps no palette or alpha plane of its own
    if (!m_picture->Create(width, height))
        return 0;
    m_picture->ConvertToGrey();
    if (!m_stream->IsMemory())
        ReadPaletteFile(PalettePathOf(m_stream->Name()), *m_picture);

    m_stream->Seek(rowsStart, CGraphicsStream::kBegin);
    std::vector<uint8_t> indexes(width);
    Progress().SetRange(0, height);
    for (unsigned y = 0; y < height; ++y) {
        ReportRow(int(y));
        packed.resize(m_stream->ReadU16LE());
        m_stream->ReadExact(packed.data(), packed.size());
        std::fill(indexes.begin(), indexes.end(), 0);
        if (!DecodeRow(packed, indexes.data(), width))
            throw EGraphicsException("CUT row ends early");
        uint8_t* row = m_picture->Row(int(y));
        for (unsigned px = 0; px < width; ++px)
            m_picture->GetPaletteEntry(indexes[px], row + px * 3);
    }
    return 1;
}

int CCutCodec::Write()
{
    const int width = m_picture->Width(), height = m_picture->Height();
    if (width > int(kMaxDimension) || height > int(kMaxDimension))
        return 0;
    if (m_picture->BitsPerPixel() != 8 && !ReduceColours(*m_picture, 0, 0, width, height, 256, kMapDiffuse, nullptr))
        return 0;
    CPaletteLookup lookup(*m_picture, kPaletteEntries);

    std::vector<uint8_t> out = {uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8), 0, 0};
    std::vector<uint8_t> indexes(width);
    std::vector<uint8_t> packed;
    Progress().SetRange(0, height);
    for (int y = 0; y < height; ++y) {
        ReportRow(y);
        const uint8_t* row = m_picture->Row(y);
        for (int x = 0; x < width; ++x)
            indexes[x] = lookup.IndexOf(row + x * 3);
        packed.clear();
        EncodeRow(indexes.data(), indexes.size(), packed);
        out.push_back(uint8_t(packed.size()));
        out.push_back(uint8_t(packed.size() >> 8));
        out.insert(out.end(), packed.begin(), packed.end());
    }
    if (!m_stream->Write(out.data(), out.size()))
        return 0;
    // The colours go to the companion file; a memory stream has no name to give it.
    if (m_stream->IsMemory())
        return 1;
    return WritePaletteFile(PalettePathOf(m_stream->Name()), lookup.Palette()) ? 1 : 0;
}

} // namespace

CGraphicsCodec& CutCodec()
{
    static CCutCodec codec;
    return codec;
}
