#pragma once
// The Windows / OS/2 bitmap family: one reader for every entry (BMP, OS2, DIB, RLE), an
// uncompressed Windows writer at 1, 4, 8 or 24 bits (BMP, OS2, DIB) and an RLE8 writer (RLE).
#include <cstdint>
#include <string>
#include <vector>

#include "picture/graphics_codec.h"

class CBmpCodec : public CGraphicsCodec {
public:
    enum class Kind { Bmp, Os2, Dib, Rle };

    CBmpCodec(Kind kind, const char* shortName, const char* description, const char* filter);

    int Write() override;
    int Read() override;
    int Ping() override;
    bool CanWriteDepth(int bits) const override;
    bool MatchesSignature(const uint8_t* head, size_t size) const override;

private:
    Kind m_kind;
};

// Saves `picture` as a plain 24-bit Windows bitmap, whatever its depth. True on success.
bool SaveBmp24(const std::string& path, CPicture& picture, CQnProgress* progress);

// Reads the file and information headers at the stream's position and returns a packed bitmap
// header (always 40 bytes, an OS/2 header widened) followed by the colour table in 4-byte
// entries; the stream is left at the pixel data. Empty when the data is not a usable bitmap header.
std::vector<uint8_t> ReadPackedDib(CGraphicsStream& stream);
