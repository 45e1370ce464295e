#pragma once
// File structures of the bitmap family, shared by its reader and writer.
#include <cstdint>
#include <vector>

#include "picture/graphics_stream.h"

class CPicture;
class CQnProgress;

constexpr uint32_t kBmpFileHeaderSize = 14;
constexpr uint32_t kBmpInfoHeaderSize = 40;
constexpr uint32_t kBmpCoreHeaderSize = 12;

// The headers of a bitmap file, checked against the stream they came from.
struct BmpHeader {
    int64_t start = 0;  // stream position of the "BM" signature
    int64_t length = 0; // bytes available from `start`
    uint32_t fileSize = 0;
    uint32_t dataOffset = 0;
    uint32_t headerSize = 0;
    unsigned width = 0;
    unsigned height = 0;
    bool topDown = false;
    unsigned bits = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t xResolution = 0, yResolution = 0;
    uint32_t coloursUsed = 0, coloursImportant = 0;
    unsigned entrySize = 4;          // bytes per colour table entry (3 for OS/2)
    std::vector<uint8_t> colourTable; // as stored in the file

    unsigned TableEntries() const { return static_cast<unsigned>(colourTable.size() / entrySize); }
};

// Reads and checks the headers and the colour table at the stream's position; throws a member
// of the EBmp family when they are not those of a bitmap this family can describe. Leaves the
// stream after the colour table.
BmpHeader ReadBmpHeader(CGraphicsStream& stream);

// Whether the reader can decode this depth and compression.
bool IsSupportedBmp(const BmpHeader& header);

// Reads the pixels described by `header` into `picture`; throws on damaged data and
// EGraphicsAbort when `progress` cancels.
void ReadBmpPixels(CGraphicsStream& stream, const BmpHeader& header, CPicture& picture, CQnProgress& progress);

// Writers; each throws EGraphicsException when the stream refuses a write.
void WriteBmp24(CGraphicsStream& stream, CPicture& picture, CQnProgress& progress);
void WriteBmpLowDepth(CGraphicsStream& stream, CPicture& picture, unsigned bits, CQnProgress& progress);
void WriteBmp8(CGraphicsStream& stream, CPicture& picture, bool runLength, CQnProgress& progress);
