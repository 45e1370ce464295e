// MacPaint pictures: a 512-byte header, then 720 rows of 576 pixels (72 bytes each),
// PackBits-coded; a set bit is black.
#include <algorithm>
#include <cstring>
#include <vector>

#include "picture/codecs/byterun1.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_exceptions.h"
#include "picturetools/core/colour_reduction.h"

namespace {

constexpr int kWidth = 576, kHeight = 720, kRowBytes = kWidth / 8;
constexpr int64_t kHeaderSize = 512;
// The format has no signature: a file needs a known version and 720 rows that decode within
// it. Files up to this size are taken when they do. Larger ones, up to the largest coding
// there is (every row a literal stretch of 73 bytes), are taken only when their rows end
// exactly at the end of the file: incompressible pictures are legitimately that large, and
// the exact fit keeps foreign data out.
constexpr int64_t kLargestTrustedFile = 51712;
constexpr int64_t kLargestFile = kHeaderSize + int64_t(kHeight) * (kRowBytes + 1);

const uint8_t kBlackWhite[6] = {0, 0, 0, 255, 255, 255};

// Where the 720 coded rows of `data` end, or null when the data ends first.
const uint8_t* EndOfRows(const std::vector<uint8_t>& data)
{
    const uint8_t* src = data.data();
    const uint8_t* end = src + data.size();
    uint8_t packed[kRowBytes];
    for (int y = 0; y < kHeight; ++y)
        if (!byterun1::Decode(src, end, packed, kRowBytes))
            return nullptr;
    return src;
}

class CMacPaintCodec : public CGraphicsCodec {
public:
    CMacPaintCodec() : CGraphicsCodec("MAC", "MacPaint (MAC)", "MAC - MacPaint (*.mac)|*.mac|") {}

    bool CanWriteDepth(int bits) const override { return bits == 0 || bits == 1; }
    bool HasSignature() const override { return false; }
    int Read() override;
    int Write() override;
};

int CMacPaintCodec::Read()
{
    const int64_t size = m_stream->Length();
    if (size < kHeaderSize || size > kLargestFile)
        return 0;
    // The header opens with its version, big-endian: 0, or 2 or 3 when patterns follow.
    uint8_t version[4];
    m_stream->Seek(0, CGraphicsStream::kBegin);
    m_stream->ReadExact(version, sizeof version);
    if (version[0] != 0 || version[1] != 0 || version[2] != 0 || (version[3] != 0 && version[3] != 2 && version[3] != 3))
        return 0;
    std::vector<uint8_t> data(static_cast<size_t>(size - kHeaderSize));
    m_stream->Seek(kHeaderSize, CGraphicsStream::kBegin);
    m_stream->ReadExact(data.data(), data.size());
    const uint8_t* rowsEnd = EndOfRows(data);
    if (!rowsEnd || (size > kLargestTrustedFile && rowsEnd != data.data() + data.size()))
        return 0;
    m_pingWidth = kWidth;
    m_pingHeight = kHeight;
    m_pingBits = 1;
    m_infoText = "MAC - MacPaint File Format. Palette : Monochrome. Compression : Run Length Encoding";
    if (!m_picture)
        return 1;

    m_picture->Clear(); // a reused picture keeps no palette or alpha plane of its own
    if (!m_picture->Create(kWidth, kHeight))
        return 0;
    m_picture->SetBitsPerPixel(1);
    m_picture->SetPaletteEntry(0, kBlackWhite);
    m_picture->SetPaletteEntry(1, kBlackWhite + 3);

    const uint8_t* src = data.data();
    const uint8_t* end = src + data.size();
    uint8_t packed[kRowBytes];
    Progress().SetRange(0, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        ReportRow(y);
        if (!byterun1::Decode(src, end, packed, kRowBytes))
            throw EGraphicsException("MacPaint data ends early");
        uint8_t* row = m_picture->Row(y);
        for (int x = 0; x < kWidth; ++x)
            std::memset(row + x * 3, (packed[x >> 3] >> (7 - (x & 7))) & 1 ? 0 : 255, 3);
    }
    return 1;
}

int CMacPaintCodec::Write()
{
    // The format has one size: copy onto a white page, cut when larger.
    CPicture page;
    if (!page.Create(kWidth, kHeight))
        return 0;
    const int copyWidth = std::min(kWidth, m_picture->Width());
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = page.Row(y);
        std::memset(row, 255, size_t(kWidth) * 3);
        if (y < m_picture->Height())
            std::memcpy(row, m_picture->Row(y), size_t(copyWidth) * 3);
    }
    ApplyPalette(page, 0, 0, kWidth, kHeight, 2, kBlackWhite, kMapDiffuse, nullptr);

    std::vector<uint8_t> out(kHeaderSize, 0);
    uint8_t packed[kRowBytes];
    Progress().SetRange(0, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        ReportRow(y);
        std::memset(packed, 0, sizeof packed);
        const uint8_t* row = page.Row(y);
        for (int x = 0; x < kWidth; ++x, row += 3)
            if (row[0] + row[1] + row[2] < 3 * 128)
                packed[x >> 3] |= uint8_t(0x80 >> (x & 7));
        byterun1::Encode(packed, kRowBytes, out);
    }
    return m_stream->Write(out.data(), out.size()) ? 1 : 0;
}

} // namespace

CGraphicsCodec& MacCodec()
{
    static CMacPaintCodec codec;
    return codec;
}
