// Interleaved bitmaps (IFF "FORM ILBM"), registered twice as IFF and LBM. Bit planes of each
// row follow one another, each plane row padded to 16 bits; the write option chooses ByteRun1.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "picture/codecs/byterun1.h"
#include "picture/codecs/codecs.h"
#include "picture/codecs/palette_lookup.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_exceptions.h"

namespace {

constexpr uint32_t kCamgHam = 0x800;

struct BitmapHeader {
    unsigned width = 0, height = 0, planes = 0, masking = 0, compression = 0;
};

uint16_t U16BE(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
uint32_t U32BE(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
void PutU16BE(std::vector<uint8_t>& out, unsigned v) { out.push_back(uint8_t(v >> 8)); out.push_back(uint8_t(v)); }
void PutU32BE(std::vector<uint8_t>& out, uint32_t v) { PutU16BE(out, v >> 16); PutU16BE(out, v & 0xFFFF); }
void PutId(std::vector<uint8_t>& out, const char* id)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(id[i]));
}

class CIffCodec : public CGraphicsCodec {
public:
    using CGraphicsCodec::CGraphicsCodec;

    bool CanWriteDepth(int bits) const override
    {
        return bits == 0 || bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 24;
    }
    bool HasWriteOption() const override { return true; }
    // Any IFF container: a FORM that holds no interleaved bitmap is refused by the reader.
    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        return size >= 4 && std::memcmp(head, "FORM", 4) == 0;
    }
    int Read() override;
    int Write() override;

private:
    void DecodeBody(const BitmapHeader& bmhd, const std::vector<uint8_t>& body, const std::vector<uint8_t>& cmap);
};

int CIffCodec::Read()
{
    uint8_t form[12];
    if (m_stream->Read(form, 12) != 12 || std::memcmp(form, "FORM", 4) != 0 || std::memcmp(form + 8, "ILBM", 4) != 0)
        return 0;
    // The chunks lie within the FORM and the file, whichever ends first.
    const int64_t formEnd = std::min<int64_t>(8 + int64_t(U32BE(form + 4)), m_stream->Length());

    BitmapHeader bmhd;
    bool haveHeader = false;
    std::vector<uint8_t> cmap, body;
    uint32_t camg = 0;
    while (m_stream->Tell() + 8 <= formEnd) {
        uint8_t chunk[8];
        m_stream->ReadExact(chunk, 8);
        const uint32_t size = U32BE(chunk + 4);
        const int64_t next = m_stream->Tell() + size + (size & 1);
        if (m_stream->Tell() + int64_t(size) > formEnd)
            throw EGraphicsException("IFF chunk passes the end of the file");
        if (std::memcmp(chunk, "BMHD", 4) == 0) {
            if (size < 20)
                return 0;
            uint8_t h[20];
            m_stream->ReadExact(h, 20);
            bmhd.width = U16BE(h);
            bmhd.height = U16BE(h + 2);
            bmhd.planes = h[8];
            bmhd.masking = h[9];
            bmhd.compression = h[10];
            haveHeader = true;
        } else if (std::memcmp(chunk, "CMAP", 4) == 0) {
            cmap.resize(std::min<uint32_t>(size, 256 * 3));
            m_stream->ReadExact(cmap.data(), cmap.size());
        } else if (std::memcmp(chunk, "CAMG", 4) == 0 && size >= 4) {
            uint8_t v[4];
            m_stream->ReadExact(v, 4);
            camg = U32BE(v);
        } else if (std::memcmp(chunk, "BODY", 4) == 0) {
            if (!m_picture)
                break;
            body.resize(size);
            m_stream->ReadExact(body.data(), size);
            break;
        }
        m_stream->Seek(next, CGraphicsStream::kBegin);
    }
    if (!haveHeader || bmhd.width == 0 || bmhd.height == 0 || bmhd.compression > 1)
        return 0;
    if (!((bmhd.planes >= 1 && bmhd.planes <= 8) || bmhd.planes == 24 || bmhd.planes == 32))
        return 0;
    if (camg & kCamgHam)
        return 0; // hold-and-modify pictures are not supported

    m_pingWidth = int(bmhd.width);
    m_pingHeight = int(bmhd.height);
    m_pingBits = bmhd.planes <= 8 ? int(bmhd.planes) : bmhd.planes == 32 ? 32 : 24;
    m_infoText = std::string("IFF - LBM : AMIGA Interchange File Format. Compression : ") +
                 (bmhd.compression ? "Run Length Encoding." : "None.");
    if (!m_picture)
        return 1;
    DecodeBody(bmhd, body, cmap);
    return 1;
}

void CIffCodec::DecodeBody(const BitmapHeader& bmhd, const std::vector<uint8_t>& body, const std::vector<uint8_t>& cmap)
{
    const unsigned width = bmhd.width, height = bmhd.height;
    const size_t planeRow = size_t((width + 15) / 16) * 2;
    const unsigned planes = bmhd.planes + (bmhd.masking == 1 ? 1 : 0);
    // Uncompressed rows need every byte; ByteRun1 gives at most 128 bytes for 2.
    const uint64_t rowBytes = uint64_t(planeRow) * planes * height;
    if (bmhd.compression == 0 ? body.size() < rowBytes : uint64_t(body.size()) * 64 < rowBytes)
        throw EGraphicsException("IFF body too short");
    m_picture->Clear(); // a reused picture keeps no palette or alpha plane of its own
    if (!m_picture->Create(width, height))
        throw EGraphicsException("IFF picture too large");
    const bool trueColour = bmhd.planes > 8;
    if (trueColour) {
        m_picture->SetBitsPerPixel(bmhd.planes == 32 ? 32 : 24);
    } else {
        m_picture->SetPaletteSize(1u << bmhd.planes);
        for (unsigned i = 0; i < m_picture->PaletteSize() && i * 3 + 2 < cmap.size(); ++i) {
            const uint8_t bgr[3] = {cmap[i * 3 + 2], cmap[i * 3 + 1], cmap[i * 3]};
            m_picture->SetPaletteEntry(i, bgr);
        }
    }

    std::vector<uint8_t> rowPlanes(planeRow * planes);
    std::vector<uint32_t> values(width);
    const uint8_t* src = body.data();
    const uint8_t* end = src + body.size();
    Progress().SetRange(0, height);
    for (unsigned y = 0; y < height; ++y) {
        ReportRow(int(y));
        for (unsigned p = 0; p < planes; ++p) {
            uint8_t* dst = &rowPlanes[p * planeRow];
            if (bmhd.compression == 0) {
                std::memcpy(dst, src, planeRow);
                src += planeRow;
            } else if (!byterun1::Decode(src, end, dst, planeRow)) {
                throw EGraphicsException("IFF body ends early");
            }
        }
        std::fill(values.begin(), values.end(), 0);
        for (unsigned p = 0; p < bmhd.planes; ++p) {
            const uint8_t* plane = &rowPlanes[p * planeRow];
            for (unsigned x = 0; x < width; ++x)
                values[x] |= uint32_t((plane[x >> 3] >> (7 - (x & 7))) & 1) << p;
        }
        uint8_t* row = m_picture->Row(int(y));
        for (unsigned x = 0; x < width; ++x, row += 3) {
            const uint32_t v = values[x];
            if (trueColour) {
                row[2] = uint8_t(v);
                row[1] = uint8_t(v >> 8);
                row[0] = uint8_t(v >> 16);
                if (bmhd.planes == 32)
                    m_picture->SetAlpha(int(x), int(y), int(v >> 24));
            } else {
                m_picture->GetPaletteEntry(v, row);
            }
        }
    }
}

int CIffCodec::Write()
{
    const unsigned width = unsigned(m_picture->Width()), height = unsigned(m_picture->Height());
    int depth = m_picture->BitsPerPixel();
    const unsigned planes = depth >= 1 && depth <= 8 ? unsigned(depth) : 24;
    const bool compress = m_writeOption;

    // The FORM size is filled in at the end.
    std::vector<uint8_t> out = {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'I', 'L', 'B', 'M'};
    PutId(out, "BMHD");
    PutU32BE(out, 20);
    PutU16BE(out, width);
    PutU16BE(out, height);
    PutU16BE(out, 0);
    PutU16BE(out, 0);
    out.push_back(uint8_t(planes));
    out.push_back(0);                   // masking
    out.push_back(compress ? 1 : 0);    // compression
    out.push_back(0);                   // pad
    PutU16BE(out, 0);                   // transparent colour
    out.push_back(1);                   // x aspect
    out.push_back(1);                   // y aspect
    PutU16BE(out, width);
    PutU16BE(out, height);

    std::unique_ptr<CPaletteLookup> lookup;
    if (planes <= 8) {
        lookup = std::make_unique<CPaletteLookup>(*m_picture, 1u << planes);
        const std::vector<uint8_t>& palette = lookup->Palette();
        PutId(out, "CMAP");
        PutU32BE(out, uint32_t(palette.size()));
        for (size_t i = 0; i < palette.size(); i += 3) {
            out.push_back(palette[i + 2]);
            out.push_back(palette[i + 1]);
            out.push_back(palette[i]);
        }
    }

    PutId(out, "BODY");
    const size_t bodySizeAt = out.size();
    PutU32BE(out, 0);
    const size_t planeRow = size_t((width + 15) / 16) * 2;
    std::vector<uint8_t> plane(planeRow);
    std::vector<uint32_t> values(width);
    Progress().SetRange(0, height);
    for (unsigned y = 0; y < height; ++y) {
        ReportRow(int(y));
        const uint8_t* row = m_picture->Row(int(y));
        for (unsigned x = 0; x < width; ++x, row += 3)
            values[x] = lookup ? lookup->IndexOf(row) : uint32_t(row[2]) | uint32_t(row[1]) << 8 | uint32_t(row[0]) << 16;
        for (unsigned p = 0; p < planes; ++p) {
            std::fill(plane.begin(), plane.end(), 0);
            for (unsigned x = 0; x < width; ++x)
                if ((values[x] >> p) & 1)
                    plane[x >> 3] |= uint8_t(0x80 >> (x & 7));
            if (compress)
                byterun1::Encode(plane.data(), plane.size(), out);
            else
                out.insert(out.end(), plane.begin(), plane.end());
        }
    }
    const size_t bodySize = out.size() - bodySizeAt - 4;
    if (bodySize & 1)
        out.push_back(0);
    if (out.size() - 8 > 0xFFFFFFFFu)
        return 0;
    auto put32At = [&out](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = uint8_t(v >> (24 - 8 * i));
    };
    put32At(bodySizeAt, uint32_t(bodySize));
    put32At(4, uint32_t(out.size() - 8));
    return m_stream->Write(out.data(), out.size()) ? 1 : 0;
}

} // namespace

CGraphicsCodec& IffCodec()
{
    static CIffCodec codec("IFF", "Interchange File Format (IFF)", "IFF - Interchange File Format (*.iff)|*.iff|");
    return codec;
}

CGraphicsCodec& LbmCodec()
{
    static CIffCodec codec("LBM", "Interleaved Bitmap (LBM)", "LBM - Interleaved Bitmap (*.lbm)|*.lbm|");
    return codec;
}
