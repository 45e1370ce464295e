#pragma once
// Reads a PNG stream chunk by chunk into a picture (or, in probe mode, only its header),
// enforcing the chunk order rules. Every failure is an EPngError.
#include <cstdint>
#include <vector>

#include "base/progress.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

class CPngReader {
public:
    // picture null: stop after IHDR (probe).
    CPngReader(CGraphicsStream& stream, CPicture* picture, CQnProgress& progress);

    void Read();

    unsigned Width() const { return m_width; }
    unsigned Height() const { return m_height; }
    // The logical depth the picture gets: 1..8 for palette and grey, 24 or 32.
    int PictureDepth() const;
    // Whether a progress call asked to cancel while the image was decoded.
    bool Cancelled() const { return m_cancelled; }

private:
    struct ChunkHeader {
        uint32_t length = 0;
        char type[4] = {};
    };
    class CIdatSource;

    bool ReadChunkHeader(ChunkHeader& header);
    bool ReadChunkData(const ChunkHeader& header);

    void OnHeader();
    void OnPalette();
    void OnImageData();
    void OnBackground();
    void OnAncillaryChecks(const ChunkHeader& header);

    void DecodeImage(CIdatSource& source);
    void CheckZlibHeader(CIdatSource& source);
    void Unfilter(uint8_t* row, const uint8_t* previous, size_t rowBytes, unsigned filter) const;
    void StoreRow(const uint8_t* row, unsigned y, unsigned x0, unsigned dx, unsigned count);
    void PrepareGreyPalette();

    CGraphicsStream& m_stream;
    CPicture* m_picture;
    CQnProgress& m_progress;
    std::vector<uint8_t> m_data;  // the current chunk's data

    bool m_headerSeen = false, m_paletteSeen = false, m_dataSeen = false, m_endSeen = false;
    bool m_imageDone = false;
    bool m_lastWasData = false;
    bool m_cancelled = false;
    unsigned m_width = 0, m_height = 0;
    unsigned m_bitDepth = 0, m_colourType = 0;
    bool m_interlaced = false;
    unsigned m_paletteEntries = 0;
    ChunkHeader m_pending;
    bool m_hasPending = false;
    uint8_t m_background[3] = {};
    uint32_t m_gamma = 0;
};
