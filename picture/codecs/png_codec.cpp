#include "picture/codecs/png_codec.h"

#include <cstring>

#include "picture/codecs/codecs.h"
#include "picture/codecs/png_format.h"
#include "picture/codecs/png_reader.h"
#include "picture/codecs/png_writer.h"
#include "picture/graphics_exceptions.h"

namespace {
bool StreamHasPngSignature(CGraphicsStream& stream)
{
    uint8_t signature[8];
    const bool ok = stream.Read(signature, 8) == 8 && std::memcmp(signature, png::kSignature, 8) == 0;
    stream.Rewind();
    return ok;
}
} // namespace

CPngCodec::CPngCodec()
    : CGraphicsCodec("PNG", "Portable Network Graphics (PNG)", "PNG - Portable Network Graphic (*.png)|*.png|")
{
}

CGraphicsCodec& PngCodec()
{
    static CPngCodec codec;
    return codec;
}

void CPngCodec::SetCompressionLevel(int level)
{
    if (level < 0 || level > 3)
        throw EPngError("Invalid Compression Level");
    m_level = level;
}

bool CPngCodec::CanWriteDepth(int bits) const
{
    return bits == 0 || bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

int CPngCodec::Read()
{
    if (!StreamHasPngSignature(*m_stream))
        return 0;
    if (!m_picture)
        return Ping();
    CQnProgress& progress = Progress();
    progress.Begin();
    progress.SetRange(0, 100);
    int result = 0;
    try {
        CPngReader reader(*m_stream, m_picture, progress);
        reader.Read();
        result = reader.Cancelled() ? 0 : 1;
    } catch (const EGraphicsException&) {
        result = 0;
    }
    progress.End(false);
    if (result)
        m_infoText = m_description;
    return result;
}

int CPngCodec::Ping()
{
    if (!StreamHasPngSignature(*m_stream))
        return 0;
    CPngReader reader(*m_stream, nullptr, Progress());
    reader.Read();
    m_pingWidth = int(reader.Width());
    m_pingHeight = int(reader.Height());
    m_pingBits = reader.PictureDepth();
    m_infoText = m_description;
    return 1;
}

int CPngCodec::Write()
{
    const int level = m_level > 3 ? 2 : m_level;
    CQnProgress& progress = Progress();
    progress.Begin();
    progress.SetRange(0, 100);
    CPngWriter writer(*m_stream, *m_picture, level, progress);
    writer.Write();
    progress.End(false);
    return 1;
}
