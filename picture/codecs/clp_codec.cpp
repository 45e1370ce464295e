// Windows clipboard files in the single-format form: a 14-byte header naming one packed
// device-independent bitmap (format 8) by length and offset.
#include <cstring>
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/dib.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_exceptions.h"

namespace {

constexpr uint32_t kClipboardId = 0x0001C350; // file id 0xC350 and one format
constexpr uint16_t kFormatDib = 8;
constexpr uint32_t kHeaderSize = 14;

class CClpCodec : public CGraphicsCodec {
public:
    CClpCodec() : CGraphicsCodec("CLP", "Windows Clipboard (CLP)", "CLP - Windows Clipboard (*.clp)|*.clp|") {}

    bool CanWriteDepth(int bits) const override { return bits == 0 || bits == 24; }
    // The file ids of the Windows 3 and Windows NT clipboard files.
    bool MatchesSignature(const uint8_t* head, size_t size) const override
    {
        return size >= 2 && head[1] == 0xC3 && head[0] >= 0x50 && head[0] <= 0x52;
    }
    int Read() override;
    int Write() override;
};

int CClpCodec::Read()
{
    if (m_stream->ReadU32LE() != kClipboardId || m_stream->ReadU16LE() != kFormatDib)
        return 0;
    const uint32_t length = m_stream->ReadU32LE();
    const uint32_t offset = m_stream->ReadU32LE();
    if (length == 0 || offset < kHeaderSize)
        return 0;
    const int64_t fileSize = m_stream->Length();
    if (int64_t(offset) + int64_t(length) > fileSize || length < sizeof(DibHeader))
        return 0;
    m_stream->Seek(offset, CGraphicsStream::kBegin);

    std::vector<uint8_t> dib(m_picture ? length : sizeof(DibHeader));
    m_stream->ReadExact(dib.data(), dib.size());
    DibHeader header;
    std::memcpy(&header, dib.data(), sizeof header);
    if (header.biSize < sizeof(DibHeader) || header.biWidth <= 0 || header.biHeight == 0)
        return 0;
    m_pingWidth = header.biWidth;
    m_pingHeight = int(header.biHeight < 0 ? -int64_t(header.biHeight) : int64_t(header.biHeight));
    m_pingBits = header.biBitCount;
    m_infoText = "Windows Clipboard (CLP)";
    if (!m_picture)
        return 1;
    m_picture->Clear(); // a reused picture keeps no palette or alpha plane of its own
    if (!m_picture->FromDib(dib.data(), dib.size()))
        return 0;
    return 1;
}

int CClpCodec::Write()
{
    const uint32_t length = m_picture->DibSize();
    const bool ok = m_stream->WriteU32LE(kClipboardId) && m_stream->WriteU16LE(kFormatDib) &&
                    m_stream->WriteU32LE(length) && m_stream->WriteU32LE(kHeaderSize) &&
                    m_stream->Write(m_picture->Dib(), length);
    return ok ? 1 : 0;
}

} // namespace

CGraphicsCodec& ClpCodec()
{
    static CClpCodec codec;
    return codec;
}
