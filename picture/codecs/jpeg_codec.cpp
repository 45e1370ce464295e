#include "picture/codecs/jpeg_codec.h"

#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/codecs/jpeg_decoder.h"
#include "picture/codecs/jpeg_encoder.h"
#include "picture/graphics_exceptions.h"

namespace {
// Begins a progress level with range 0..100 and ends it on every way out.
class ProgressLevel {
public:
    explicit ProgressLevel(CQnProgress& progress) : m_progress(progress)
    {
        m_progress.Begin();
        m_progress.SetRange(0, 100);
    }
    ~ProgressLevel() { m_progress.End(false); }
    ProgressLevel(const ProgressLevel&) = delete;
    ProgressLevel& operator=(const ProgressLevel&) = delete;

private:
    CQnProgress& m_progress;
};

bool HasJpegSignature(CGraphicsStream& stream)
{
    stream.Rewind();
    uint8_t signature[3];
    if (stream.Read(signature, 3) != 3)
        return false;
    stream.Rewind();
    return signature[0] == 0xFF && signature[1] == 0xD8 && signature[2] == 0xFF;
}
} // namespace

CJpegCodec::CJpegCodec()
    : CGraphicsCodec("JPG", "Join Photographic Expert Group (JPEG,JPG)",
                     "JPG - JPEG - Join Photographic Expert Group (*.jpg)|*.jpg;*.jpeg|")
{
}

bool CJpegCodec::CanWriteDepth(int bits) const { return bits == 0 || bits == 24; }
bool CJpegCodec::HasWriteOption() const { return false; }

int CJpegCodec::Read()
{
    if (!m_stream || !HasJpegSignature(*m_stream))
        return 0;
    return ReadImage(m_picture);
}

int CJpegCodec::Ping()
{
    if (!m_stream || !HasJpegSignature(*m_stream))
        return 0;
    return ReadImage(nullptr);
}

// Decodes the whole stream into `target`, or only up to the frame header when it is null.
int CJpegCodec::ReadImage(CPicture* target)
{
    CQnProgress& progress = Progress();
    const int depth = progress.Nesting();
    try {
        // The decoder works on the whole stream in memory: a memory stream's own block, or the
        // file's bytes (never more than the file holds).
        std::vector<uint8_t> fileBytes;
        JpegSource source;
        if (m_stream->IsMemory()) {
            source.data = m_stream->Data();
            source.size = m_stream->Size();
        } else {
            const int64_t length = m_stream->Length();
            if (length <= 0)
                return 0;
            fileBytes.resize(static_cast<size_t>(length));
            source.data = fileBytes.data();
            source.size = m_stream->Read(fileBytes.data(), fileBytes.size());
        }
        ProgressLevel level(progress);
        CJpegDecoder decoder(source, target, progress);
        decoder.Decode();
        if (!decoder.HasFrame())
            return 0; // a stream without a frame holds no picture, for the reader as for the probe
        if (!target) {
            m_pingWidth = decoder.Width();
            m_pingHeight = decoder.Height();
            m_pingBits = 8 * decoder.ComponentCount();
            m_infoText = m_description;
        }
        return 1;
    } catch (...) {
    }
    progress.RestoreNesting(depth);
    return 0;
}

int CJpegCodec::Write()
{
    if (!m_stream || !m_picture || m_picture->IsEmpty())
        return 0;
    CQnProgress& progress = Progress();
    const int depth = progress.Nesting();
    try {
        ProgressLevel level(progress);
        int quality = m_quality;
        if (quality < 1)
            quality = 1;
        if (quality > 100)
            quality = 100;
        JpegEncodePicture(*m_picture, quality, *m_stream, progress);
        return 1;
    } catch (...) {
    }
    progress.RestoreNesting(depth);
    return 0;
}

CJpegCodec& JpegCodec()
{
    static CJpegCodec codec;
    return codec;
}

CGraphicsCodec& JpgCodec() { return JpegCodec(); }
