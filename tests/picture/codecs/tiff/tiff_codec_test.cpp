#include <gtest/gtest.h>

#include <cstring>

#include "lzw_predictor_files.h"
#include "picture/codecs/codecs.h"
#include "picture/codecs/raster_bytes.h"
#include "tests/picture/codecs/raster_support/raster_test_support.h"

using namespace rastertest;

namespace {

struct IfdEntry {
    uint16_t tag, type;
    uint32_t count, value;
};

// The entries of the first IFD of a little-endian file.
std::vector<IfdEntry> Entries(const std::vector<uint8_t>& file)
{
    using rastercodec::LoadU16LE;
    using rastercodec::LoadU32LE;
    std::vector<IfdEntry> entries;
    const uint32_t ifd = LoadU32LE(&file[4]);
    const uint16_t n = LoadU16LE(&file[ifd]);
    for (uint16_t i = 0; i < n; ++i) {
        const uint8_t* e = &file[ifd + 2 + i * 12];
        const uint16_t type = LoadU16LE(e + 2);
        const uint32_t count = LoadU32LE(e + 4);
        entries.push_back({LoadU16LE(e), type, count, type == 3 && count == 1 ? LoadU16LE(e + 8) : LoadU32LE(e + 8)});
    }
    return entries;
}

const IfdEntry* Find(const std::vector<IfdEntry>& entries, uint16_t tag)
{
    for (const IfdEntry& e : entries)
        if (e.tag == tag)
            return &e;
    return nullptr;
}

} // namespace

TEST(TiffCodec, RoundTripsEveryWrittenDepthWithAndWithoutPackBits)
{
    for (int depth : {1, 4, 8, 24, 32}) {
        for (bool packBits : {true, false}) {
            SCOPED_TRACE("depth " + std::to_string(depth) + (packBits ? " packbits" : " raw"));
            auto picture = depth <= 8 ? MakePalettePicture(37, 11, depth) : MakeColourPicture(37, 11, depth == 32);
            const std::vector<uint8_t> file = WriteToMemory(TifCodec(), *picture, packBits);
            ASSERT_FALSE(file.empty());
            CPicture back;
            ASSERT_TRUE(ReadFromMemory(TifCodec(), file, back));
            EXPECT_EQ(back.BitsPerPixel(), depth);
            EXPECT_TRUE(SamePixels(*picture, back, depth == 32));
            EXPECT_EQ(back.HasAlpha(), depth == 32);
        }
    }
}

TEST(TiffCodec, WrittenFileHasBaselineHeaderAndSortedDirectory)
{
    auto picture = MakeColourPicture(20, 9, true);
    const std::vector<uint8_t> packed = WriteToMemory(TifCodec(), *picture, true);
    const std::vector<uint8_t> raw = WriteToMemory(TifCodec(), *picture, false);
    ASSERT_GE(packed.size(), 8u);
    EXPECT_EQ(std::memcmp(packed.data(), "II\x2A\x00", 4), 0);

    const auto entries = Entries(packed), rawEntries = Entries(raw);
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_LT(entries[i - 1].tag, entries[i].tag);
    ASSERT_EQ(entries.size(), rawEntries.size());
    EXPECT_EQ(Find(entries, 259)->value, 32773u);
    EXPECT_EQ(Find(rawEntries, 259)->value, 1u);
    EXPECT_EQ(Find(rawEntries, 279)->value, 20u * 9 * 4);
    EXPECT_EQ(Find(entries, 277)->value, 4u);
    ASSERT_NE(Find(entries, 338), nullptr);
    EXPECT_EQ(Find(entries, 338)->value, 0u);
    // Apart from the compression, the strip sizes and the strip data, the directories agree.
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].tag, rawEntries[i].tag);
        const uint16_t tag = entries[i].tag;
        if (tag != 259 && tag != 279 && tag != 273 && tag != 282 && tag != 283) {
            EXPECT_EQ(entries[i].value, rawEntries[i].value) << tag;
        }
    }
}

TEST(TiffCodec, ColorMapAlwaysHoldsEveryIndexOfTheDepth)
{
    // Three colours give depth 2, which is written as a 4-bit palette image.
    CPicture picture;
    picture.Create(5, 3);
    picture.SetPaletteSize(3);
    ASSERT_EQ(picture.BitsPerPixel(), 2);
    const uint8_t red[3] = {0, 0, 255}, green[3] = {0, 255, 0};
    picture.SetPaletteEntry(1, red);
    picture.SetPaletteEntry(2, green);
    picture.SetPixel(1, 1, red);
    picture.SetPixel(4, 2, green);
    const std::vector<uint8_t> file = WriteToMemory(TifCodec(), picture, true);
    const auto entries = Entries(file);
    ASSERT_NE(Find(entries, 320), nullptr);
    EXPECT_EQ(Find(entries, 320)->count, 3u * 16);
    EXPECT_EQ(Find(entries, 258)->value, 4u);
    const uint8_t* map = &file[Find(entries, 320)->value];
    EXPECT_EQ(rastercodec::LoadU16LE(map + 2), 0xFFFF); // red of entry 1
    for (int component = 0; component < 3; ++component)
        for (int i = 3; i < 16; ++i)
            EXPECT_EQ(rastercodec::LoadU16LE(map + (component * 16 + i) * 2), 0) << i;

    CPicture back;
    ASSERT_TRUE(ReadFromMemory(TifCodec(), file, back));
    EXPECT_EQ(back.BitsPerPixel(), 4);
    EXPECT_TRUE(SamePixels(picture, back));
}

TEST(TiffCodec, BigEndianLzwWithPredictorMatchesLittleEndianTwin)
{
    const std::vector<uint8_t> le(std::begin(kLzwPredictorLittleEndian), std::end(kLzwPredictorLittleEndian));
    const std::vector<uint8_t> be(std::begin(kLzwPredictorBigEndian), std::end(kLzwPredictorBigEndian));
    CPicture a, b;
    ASSERT_TRUE(ReadFromMemory(TifCodec(), le, a));
    ASSERT_TRUE(ReadFromMemory(TifCodec(), be, b));
    EXPECT_TRUE(SamePixels(a, b));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 13; ++x) {
            uint8_t p[3];
            a.GetPixel(x, y, p);
            EXPECT_EQ(p[2], uint8_t(x * 20 + y));
            EXPECT_EQ(p[1], uint8_t(y * 40));
            EXPECT_EQ(p[0], uint8_t(x * y * 7 + x * x * x));
        }
    int w, h, bits;
    std::string info;
    ASSERT_TRUE(PingMemory(TifCodec(), be, &w, &h, &bits, &info));
    EXPECT_EQ(w, 13);
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(info, "TIFF - Tagged Image File Format. Motorola Byte Order (Apple). Compression : LZW.");
}

TEST(TiffCodec, CcittFilesPassTheProbeButDoNotLoad)
{
    auto picture = MakePalettePicture(16, 4, 1);
    std::vector<uint8_t> file = WriteToMemory(TifCodec(), *picture, false);
    const uint32_t ifd = rastercodec::LoadU32LE(&file[4]);
    for (uint16_t i = 0; i < rastercodec::LoadU16LE(&file[ifd]); ++i) {
        uint8_t* e = &file[ifd + 2 + i * 12];
        if (rastercodec::LoadU16LE(e) == 259)
            e[8] = 3;
    }
    std::string info;
    EXPECT_TRUE(PingMemory(TifCodec(), file, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(info, "TIFF - Tagged Image File Format. Intel Byte Order (PC). Compression : CCITT Fax Group 3.");
    CPicture back;
    EXPECT_FALSE(ReadFromMemory(TifCodec(), file, back));
}

TEST(TiffCodec, DamagedFilesFailCleanly)
{
    auto picture = MakeColourPicture(30, 20);
    const std::vector<uint8_t> good = WriteToMemory(TifCodec(), *picture, true);
    // Every truncation either loads or fails; none may read outside the data.
    for (size_t n = 0; n < good.size(); n += 7) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + n);
        CPicture back;
        ReadFromMemory(TifCodec(), cut, back);
    }
    // A strip offset beyond the end of the file.
    std::vector<uint8_t> bad = good;
    const uint32_t ifd = rastercodec::LoadU32LE(&bad[4]);
    for (uint16_t i = 0; i < rastercodec::LoadU16LE(&bad[ifd]); ++i) {
        uint8_t* e = &bad[ifd + 2 + i * 12];
        if (rastercodec::LoadU16LE(e) == 273)
            e[11] = 0x7F;
    }
    CPicture back;
    EXPECT_FALSE(ReadFromMemory(TifCodec(), bad, back));
    // Not TIFF at all.
    EXPECT_FALSE(ReadFromMemory(TifCodec(), std::vector<uint8_t>{'I', 'I', 43, 0, 8, 0, 0, 0}, back));
}

TEST(TiffCodec, HugeDimensionsWithLittleDataAreRefusedBeforeAllocating)
{
    // 60000 x 60000 RGB claimed by a 200-byte file: the strip cannot hold it.
    auto picture = MakeColourPicture(4, 4);
    std::vector<uint8_t> file = WriteToMemory(TifCodec(), *picture, false);
    const uint32_t ifd = rastercodec::LoadU32LE(&file[4]);
    for (uint16_t i = 0; i < rastercodec::LoadU16LE(&file[ifd]); ++i) {
        uint8_t* e = &file[ifd + 2 + i * 12];
        const uint16_t tag = rastercodec::LoadU16LE(e);
        if (tag == 256 || tag == 257 || tag == 278) {
            e[8] = 0x60;
            e[9] = 0xEA;
        }
    }
    CPicture back;
    EXPECT_FALSE(ReadFromMemory(TifCodec(), file, back));
    EXPECT_TRUE(back.IsEmpty());
}

TEST(TiffCodec, CancellingThroughTheProgressSinkFailsTheRead)
{
    auto picture = MakeColourPicture(16, 64);
    const std::vector<uint8_t> file = WriteToMemory(TifCodec(), *picture, true);
    CQnCallbackProgress cancelling;
    cancelling.onPos = [](int64_t position) { return position < 20; };
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    CPicture back;
    EXPECT_EQ(TifCodec().ReadStream(stream, &back, &cancelling), 0);
    EXPECT_EQ(cancelling.Nesting(), 0);
}
