#pragma once
// Writes a picture as PNG: the form follows the picture's depth (palette or grey for depths
// up to 8, RGB for 24, RGBA for 32); the rows, each with filter None, are compressed as one
// dynamic-Huffman deflate block cut into IDAT chunks of 8192 bytes.
#include <cstdint>
#include <vector>

#include "base/progress.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

class CPngWriter {
public:
    CPngWriter(CGraphicsStream& stream, const CPicture& picture, int level, CQnProgress& progress);
    void Write();

    // The form chosen for the picture (valid after construction).
    unsigned BitDepth() const { return m_bitDepth; }
    unsigned ColourType() const { return m_colourType; }

private:
    class CRowSource;
    class CIdatSink;

    void ChooseForm();
    bool PaletteIsGreyRamp() const;
    void WriteChunk(const char* type, const uint8_t* data, size_t n);

    CGraphicsStream& m_stream;
    const CPicture& m_picture;
    int m_level;
    CQnProgress& m_progress;
    unsigned m_bitDepth = 8;
    unsigned m_colourType = 2;
    unsigned m_paletteEntries = 0;
};
