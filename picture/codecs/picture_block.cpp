#include "picture/codecs/picture_block.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/progress.h"
#include "picture/graphics_exceptions.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

const char kPictureBlockSignature[] = "tarnakpicture\xA7zephra";

namespace {

constexpr uint16_t kCompressionNone = 0;
constexpr uint16_t kCompressionRunLength = 1;
constexpr uint8_t kRunFlag = 192;
constexpr size_t kLongestRun = 63;

// A byte below 192 is one value; 192 + n repeats the next byte n times.
void EncodeChannelRow(const uint8_t* values, size_t count, std::vector<uint8_t>& out)
{
    size_t i = 0;
    while (i < count) {
        size_t run = 1;
        while (i + run < count && run < kLongestRun && values[i + run] == values[i])
            ++run;
        if (run >= 2 || values[i] >= kRunFlag)
            out.push_back(static_cast<uint8_t>(kRunFlag + run));
        out.push_back(values[i]);
        i += run;
    }
}

// Reads the stream one byte at a time: a channel row's coded length is only known by decoding.
uint8_t NextByte(CGraphicsStream& stream)
{
    uint8_t b;
    if (stream.Read(&b, 1) != 1)
        throw EGraphicsException("Picture block ends early");
    return b;
}

void DecodeChannelRow(CGraphicsStream& stream, uint8_t* values, size_t count)
{
    size_t filled = 0;
    while (filled < count) {
        const uint8_t b = NextByte(stream);
        if (b < kRunFlag) {
            values[filled++] = b;
            continue;
        }
        const size_t run = b & 63;
        const uint8_t value = NextByte(stream);
        if (run > count - filled)
            throw EGraphicsException("Picture block run passes the end of the row");
        std::memset(values + filled, value, run);
        filled += run;
    }
}

int ReadBlock(CPicture& picture, CGraphicsStream& stream, CQnProgress& progress)
{
    uint8_t header[kPictureBlockHeaderSize];
    stream.ReadExact(header, sizeof header);
    const int check = zephra::CheckSignature(header, kPictureBlockSignature);
    if (check != kZephraOk)
        return check;
    const uint16_t compression = zephra::Get16(header + 28);
    if (compression > kCompressionRunLength)
        return kZephraTooNew;
    const uint32_t width = zephra::Get32(header + 32);
    const uint32_t height = zephra::Get32(header + 36);
    const unsigned bits = header[40];
    const uint32_t extra = zephra::Get32(header + 44);
    if (bits != 24 && bits != 32)
        return kZephraFailed;
    if (width > CPicture::kMaxDimension || height > CPicture::kMaxDimension)
        return kZephraFailed;
    if (int64_t(extra) > stream.Remaining())
        return kZephraFailed;
    stream.Seek(extra, CGraphicsStream::kCurrent);

    picture.Clear();
    if (width == 0 || height == 0)
        return kZephraOk; // an empty picture
    const bool withAlpha = compression == kCompressionRunLength && bits == 32;
    const uint64_t channels = compression == kCompressionNone ? 3 : withAlpha ? 4 : 3;
    // Raw rows need every byte; a coded pair gives at most 63 values.
    const uint64_t values = uint64_t(width) * height * channels;
    const uint64_t remaining = uint64_t(stream.Remaining());
    if (compression == kCompressionNone ? values > remaining : values > remaining * 32)
        return kZephraFailed;
    if (!picture.Create(width, height))
        return kZephraFailed;
    if (withAlpha)
        picture.SetBitsPerPixel(32);

    std::vector<uint8_t> channel(width * (compression == kCompressionNone ? 3 : 1));
    progress.SetRange(0, height);
    for (uint32_t y = 0; y < height; ++y) {
        if (y % 10 == 0 && !progress.SetPos(y))
            return kZephraFailed;
        uint8_t* row = picture.Row(int(y));
        if (compression == kCompressionNone) {
            stream.ReadExact(row, size_t(width) * 3);
            continue;
        }
        for (int c = 0; c < 3; ++c) { // R, G, B into B, G, R order
            DecodeChannelRow(stream, channel.data(), width);
            for (uint32_t x = 0; x < width; ++x)
                row[x * 3 + 2 - c] = channel[x];
        }
        if (withAlpha)
            DecodeChannelRow(stream, picture.AlphaRow(int(y)), width);
    }
    return kZephraOk;
}

} // namespace

int WritePictureBlock(const CPicture& picture, CGraphicsStream& stream, CQnProgress* progress)
{
    CQnProgress& sink = ProgressOrSilent(progress);
    const bool withAlpha = picture.HasAlpha();
    const uint32_t width = picture.IsEmpty() ? 0 : uint32_t(picture.Width());
    const uint32_t height = picture.IsEmpty() ? 0 : uint32_t(picture.Height());
    uint8_t header[kPictureBlockHeaderSize] = {};
    zephra::PutSignature(header, kPictureBlockSignature);
    zephra::Put16(header + 26, kZephraVersion);
    zephra::Put16(header + 28, kCompressionRunLength);
    zephra::Put32(header + 32, width);
    zephra::Put32(header + 36, height);
    header[40] = withAlpha ? 32 : 24;
    if (!stream.Write(header, sizeof header))
        return kZephraFailed;

    std::vector<uint8_t> channel(width), out;
    sink.SetRange(0, height);
    for (uint32_t y = 0; y < height; ++y) {
        if (y % 10 == 0)
            sink.SetPos(y);
        const uint8_t* row = picture.Row(int(y));
        out.clear();
        for (int c = 0; c < 3; ++c) {
            for (uint32_t x = 0; x < width; ++x)
                channel[x] = row[x * 3 + 2 - c];
            EncodeChannelRow(channel.data(), width, out);
        }
        if (withAlpha)
            EncodeChannelRow(picture.Alpha() + size_t(y) * width, width, out);
        if (!stream.Write(out.data(), out.size()))
            return kZephraFailed;
    }
    return kZephraOk;
}

int ReadPictureBlock(CPicture& picture, CGraphicsStream& stream, CQnProgress* progress)
{
    try {
        return ReadBlock(picture, stream, ProgressOrSilent(progress));
    } catch (const EGraphicsException&) {
        return kZephraFailed;
    }
}
