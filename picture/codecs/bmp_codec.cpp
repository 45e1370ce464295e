// The four registry entries of the bitmap family and their shared front-end logic.
#include "picture/codecs/bmp_codec.h"

#include <cctype>

#include "picture/codecs/bmp_format.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_exceptions.h"

namespace {

std::string UpperExtension(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace

CBmpCodec::CBmpCodec(Kind kind, const char* shortName, const char* description, const char* filter)
    : CGraphicsCodec(shortName, description, filter), m_kind(kind)
{
}

bool CBmpCodec::CanWriteDepth(int bits) const
{
    if (m_kind == Kind::Rle)
        return bits == 0 || bits == 8;
    return bits == 0 || bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

bool CBmpCodec::MatchesSignature(const uint8_t* head, size_t size) const
{
    return size >= 2 && head[0] == 'B' && head[1] == 'M';
}

int CBmpCodec::Read()
{
    const BmpHeader header = ReadBmpHeader(*m_stream);
    if (!m_picture) {
        m_pingWidth = static_cast<int>(header.width);
        m_pingHeight = static_cast<int>(header.height);
        m_pingBits = static_cast<int>(header.bits);
        return 1;
    }
    ReadBmpPixels(*m_stream, header, *m_picture, Progress());
    return 1;
}

int CBmpCodec::Ping()
{
    m_stream->Rewind();
    try {
        const BmpHeader header = ReadBmpHeader(*m_stream);
        m_pingWidth = static_cast<int>(header.width);
        m_pingHeight = static_cast<int>(header.height);
        m_pingBits = static_cast<int>(header.bits);
        const std::string ext = UpperExtension(m_stream->Name());
        if (ext == "DIB")
            m_infoText = "Windows Device-Independent Bitmap (DIB)";
        else if (ext == "OS2")
            m_infoText = "OS2 Bitmap (OS2,BMP)";
        else if (header.compression == kDibRle8 || header.compression == kDibRle4)
            m_infoText = "Windows compressed bitmap (RLE)";
        else
            m_infoText = "Windows bitmap (BMP)";
        return 1;
    } catch (const EGraphicsException&) {
        return 0;
    }
}

int CBmpCodec::Write()
{
    CPicture& picture = *m_picture;
    CQnProgress& progress = Progress();
    if (m_kind == Kind::Rle) {
        WriteBmp8(*m_stream, picture, true, progress);
        return 1;
    }
    // Depths without a bitmap layout of their own go to the next one up; alpha is dropped.
    const int bits = picture.BitsPerPixel();
    if (bits <= 1)
        WriteBmpLowDepth(*m_stream, picture, 1, progress);
    else if (bits <= 4)
        WriteBmpLowDepth(*m_stream, picture, 4, progress);
    else if (bits <= 8)
        WriteBmp8(*m_stream, picture, false, progress);
    else
        WriteBmp24(*m_stream, picture, progress);
    return 1;
}

bool SaveBmp24(const std::string& path, CPicture& picture, CQnProgress* progress)
{
    if (picture.IsEmpty())
        return false;
    CGraphicsStream stream;
    if (!stream.OpenFile(path, false))
        return false;
    try {
        WriteBmp24(stream, picture, ProgressOrSilent(progress));
    } catch (...) {
        return false;
    }
    stream.Close();
    return true;
}

CGraphicsCodec& BmpCodec()
{
    static CBmpCodec codec(CBmpCodec::Kind::Bmp, "BMP", "Windows bitmap (BMP)", "BMP - Windows Bitmap (*.bmp)|*.bmp|");
    return codec;
}

CGraphicsCodec& Os2Codec()
{
    static CBmpCodec codec(CBmpCodec::Kind::Os2, "OS2", "OS2 Bitmap (OS2,BMP)", "OS2 - OS2 Bitmap (*.os2)|*.os2|");
    return codec;
}

CGraphicsCodec& DibCodec()
{
    static CBmpCodec codec(CBmpCodec::Kind::Dib, "DIB", "Windows Device-Independent Bitmap (DIB)",
                           "DIB - Device-independent bitmap (*.dib)|*.dib|");
    return codec;
}

CGraphicsCodec& RleCodec()
{
    static CBmpCodec codec(CBmpCodec::Kind::Rle, "RLE", "Windows compressed bitmap (RLE)",
                           "RLE - Windows (*.rle)|*.rle;*.bmp|");
    return codec;
}
