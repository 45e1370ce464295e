#pragma once
// What the metafile codecs need from the platform's graphics interface: the display's
// metrics, a metafile player and a metafile recorder. The Windows build implements it with
// GDI (metafile_win.cpp); the native build has none (metafile_native.cpp).
#include <cstdint>
#include <string>
#include <vector>

#include "picture/codecs/metafile_header.h"

class CPicture;
class CQnProgress;

namespace metafile {

struct DisplayMetrics {
    int dpiX = 96, dpiY = 96;          // logical pixels per inch
    int widthMm = 0, heightMm = 0;     // physical size
    int widthPx = 0, heightPx = 0;     // size in pixels
};

bool PlatformAvailable();
std::string PlatformUnavailableReason();
bool QueryDisplay(DisplayMetrics& metrics);

// Plays the enhanced metafile at `path` into a white picture of width x height, reporting the
// record number before each record (rendering cannot be cancelled).
bool RenderEnhancedFile(const std::string& path, unsigned width, unsigned height, uint32_t records,
                        CPicture& picture, CQnProgress& progress);
// Converts Windows metafile bits (without placeable header) and plays them the same way; a
// placeable header, when given, gives the drawing its size.
bool RenderWindowsBits(const std::vector<uint8_t>& bits, const PlaceableHeader* placeable, unsigned width,
                       unsigned height, CPicture& picture, CQnProgress& progress);
// Size of the bounds of the enhanced metafile converted from the bits.
bool WindowsBitsBounds(const std::vector<uint8_t>& bits, int64_t& width, int64_t& height);

// Records the picture as one stretched bitmap: an enhanced metafile written to `path` with the
// description "Created by Ostrel Imagerion", or the bytes of a Windows metafile.
bool RecordEnhancedFile(const std::string& path, const CPicture& picture);
bool RecordWindowsMetafile(const CPicture& picture, std::vector<uint8_t>& bytes);

} // namespace metafile
