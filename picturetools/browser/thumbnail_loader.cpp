// The default loader and probe of the picture browser. A JPEG file is decoded at the smallest
// reduction (1/2, 1/4, 1/8) that still gives at least twice its thumbnail's size: the thumbnail
// comes out the same size, for a fraction of the work. Everything else goes through the format
// registry.
#include <cstdio>
#include <vector>

#include "picture/codec_registry.h"
#include "picture/codecs/jpeg_codec.h"
#include "picture/picture.h"
#include "picturetools/browser/thumbnail_engine.h"
#include "picturetools/browser/thumbnail_rules.h"

namespace {
// The file's bytes when it starts like a JPEG stream, else nothing (the registry reads it).
bool ReadJpegBytes(const std::string& path, std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    uint8_t start[3];
    bool jpeg = std::fread(start, 1, 3, file) == 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF;
    if (jpeg && std::fseek(file, 0, SEEK_END) == 0) {
        const long length = std::ftell(file);
        jpeg = length > 3 && std::fseek(file, 0, SEEK_SET) == 0;
        if (jpeg) {
            bytes.resize(static_cast<size_t>(length));
            bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        }
    } else {
        jpeg = false;
    }
    std::fclose(file);
    return jpeg;
}

bool LoadReducedJpeg(const std::string& path, int cellWidth, int cellHeight, CPicture& picture, PictureFacts& own)
{
    std::vector<uint8_t> bytes;
    JpegFrameSize frame;
    if (!ReadJpegBytes(path, bytes) || !ReadJpegFrameSize(bytes.data(), bytes.size(), frame))
        return false;
    const ThumbnailSize target = ThumbnailTarget(frame.width, frame.height, cellWidth, cellHeight);
    const int reduction = JpegReductionFor(frame.width, frame.height, 2 * target.width, 2 * target.height);
    if (reduction == 1 || !DecodeJpegReduced(bytes.data(), bytes.size(), reduction, picture, nullptr))
        return false;
    own = PictureFacts{frame.width, frame.height, 8 * frame.components};
    return true;
}
} // namespace

bool LoadThumbnailPicture(const std::string& path, int cellWidth, int cellHeight, CPicture& picture, PictureFacts& own)
{
    if (LoadReducedJpeg(path, cellWidth, cellHeight, picture, own))
        return true;
    if (!LoadPicture(path, &picture, nullptr) || picture.IsEmpty())
        return false;
    own = PictureFacts{picture.Width(), picture.Height(), picture.BitsPerPixel()};
    return true;
}

bool ProbeThumbnailPicture(const std::string& path, PictureFacts& own)
{
    // A JPEG file's frame header sits near its start: the first 64 KiB nearly always hold it,
    // which spares reading whole files on a visit served from the cache.
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        std::vector<uint8_t> head(64 * 1024);
        head.resize(std::fread(head.data(), 1, head.size(), file));
        std::fclose(file);
        JpegFrameSize frame;
        if (ReadJpegFrameSize(head.data(), head.size(), frame)) {
            own = PictureFacts{frame.width, frame.height, 8 * frame.components};
            return true;
        }
    }
    return GetPictureFileInfo(path, &own.width, &own.height, &own.bits, nullptr);
}
