#include <gtest/gtest.h>

#include <cstring>

#include "picture/codecs/bmp_codec.h"
#include "picture/codecs/bmp_format.h"
#include "picture/graphics_exceptions.h"
#include "tests/picture/codecs/bmp/bmp_test_support.h"

using namespace bmptest;

namespace {

const std::vector<uint8_t> kGreyTable = {0, 0, 0, 0, 255, 255, 255, 0};

// 4x2 8-bit picture with a 3-entry table; rows given top row first.
std::vector<uint8_t> EightBitFile(bool topDown)
{
    const std::vector<uint8_t> table = {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0};
    const std::vector<uint8_t> top = {0, 1, 2, 0}, bottom = {2, 2, 1, 1};
    std::vector<uint8_t> pixels = topDown ? top : bottom;
    pixels.insert(pixels.end(), topDown ? bottom.begin() : top.begin(), topDown ? bottom.end() : top.end());
    return MakeBmp(4, topDown ? -2 : 2, 8, 0, table, pixels, 3);
}

// Reads the headers and pixels directly, so that the exception type can be checked.
void ReadDirect(const std::vector<uint8_t>& bytes)
{
    CGraphicsStream s;
    s.OpenMemory(bytes.data(), bytes.size());
    CPicture p;
    const BmpHeader h = ReadBmpHeader(s);
    ReadBmpPixels(s, h, p, CQnProgress::Silent());
}

} // namespace

TEST(BmpRead, TopDownAndBottomUpGiveTheSamePicture)
{
    CPicture up, down;
    ASSERT_TRUE(ReadBytes(BmpCodec(), EightBitFile(false), up));
    ASSERT_TRUE(ReadBytes(BmpCodec(), EightBitFile(true), down));
    EXPECT_EQ(Rgb(up), Rgb(down));
    EXPECT_EQ(up.Row(0)[0], 255); // top-left: entry 0, blue
    EXPECT_EQ(up.Row(1)[2], 255); // bottom-left: entry 2, red
    EXPECT_EQ(up.BitsPerPixel(), 8);
    EXPECT_EQ(up.PaletteSize(), 3u);
    EXPECT_EQ(up.Name(), "Windows bitmap (BMP)");
    EXPECT_EQ(up.Description(), "Memory");
}

TEST(BmpRead, Os2FourBitWithThreeByteEntries)
{
    std::vector<uint8_t> f = {'B', 'M'};
    Put32(f, 0);
    Put32(f, 0);
    Put32(f, 14 + 12 + 16 * 3);
    Put32(f, 12);
    Put16(f, 3);
    Put16(f, 1);
    Put16(f, 1);
    Put16(f, 4);
    for (int i = 0; i < 16; ++i)
        f.insert(f.end(), {uint8_t(i * 16), uint8_t(i), uint8_t(255 - i)});
    f.insert(f.end(), {0x1F, 0xA0, 0, 0}); // pixels 1, 15, 10
    CPicture p;
    ASSERT_TRUE(ReadBytes(Os2Codec(), f, p));
    ASSERT_EQ(p.Width(), 3);
    EXPECT_EQ(p.BitsPerPixel(), 4);
    const uint8_t* row = p.Row(0);
    EXPECT_EQ(row[0], 16);
    EXPECT_EQ(row[1], 1);
    EXPECT_EQ(row[2], 254);
    EXPECT_EQ(row[3], 240);
    EXPECT_EQ(row[6], 160);
    EXPECT_EQ(row[8], 245);
}

TEST(BmpRead, TwentyFourBitsWithColourTableStaysTrueColour)
{
    std::vector<uint8_t> table(16 * 4, 7);
    CPicture p;
    ASSERT_TRUE(ReadBytes(BmpCodec(), MakeBmp(1, 1, 24, 0, table, {1, 2, 3, 0}, 16), p));
    EXPECT_EQ(p.BitsPerPixel(), 24);
    EXPECT_EQ(p.PaletteSize(), 0u);
    EXPECT_EQ(p.Row(0)[2], 3);
}

TEST(BmpRead, DamagedHeadersAndDataFailCleanly)
{
    const std::vector<uint8_t> good = EightBitFile(false);
    auto patched = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> f = good;
        std::memcpy(&f[at], &value, 4);
        return f;
    };
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"width over 65535", patched(18, 70000)},
        {"zero width", patched(18, 0)},
        {"negative width", patched(18, uint32_t(-4))},
        {"zero height", patched(22, 0)},
        {"height under -65535", patched(22, uint32_t(-70000))},
        {"data offset past the end", patched(10, 100000)},
        {"data offset inside the table", patched(10, 54)},
        {"colour table longer than the file", patched(46, 100000)},
        {"header size", patched(14, 41)},
        {"planes", patched(26, 2 | (8 << 16))},
        {"unsupported compression", patched(30, 3)},
        {"index outside the table", patched(good.size() - 4, 0x03030303)},
        {"size field beyond the file", patched(2, 0x7FFFFFFF)},
        {"not a bitmap", patched(0, 0x00004D41)},
    };
    for (const auto& [name, bytes] : cases) {
        CPicture p;
        EXPECT_FALSE(ReadBytes(BmpCodec(), bytes, p)) << name;
    }
    // Every truncation fails cleanly too (the last row may lack only its padding).
    for (size_t n = 0; n + 1 < good.size(); ++n) {
        CPicture p;
        std::vector<uint8_t> cut(good.begin(), good.begin() + n);
        EXPECT_FALSE(ReadBytes(BmpCodec(), cut, p)) << n;
    }
}

TEST(BmpRead, UnsupportedDepthsAreRefused)
{
    for (unsigned bits : {16u, 32u, 2u}) {
        const auto f = MakeBmp(2, 2, bits, 0, std::vector<uint8_t>(bits == 2 ? 16 : 0, 0), std::vector<uint8_t>(16, 0));
        EXPECT_THROW(ReadDirect(f), EBmpNotSupported) << bits;
    }
}

TEST(BmpRead, RunLengthDecodingAndDamage)
{
    // RLE8 4x2: bottom row a run of 3 then one absolute byte pair; top row an absolute run of 3 (+pad) and a delta.
    const std::vector<uint8_t> table = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0};
    const std::vector<uint8_t> rle = {3, 1, 1, 2, 0, 0, 0, 3, 2, 1, 0, 0, 0, 1};
    CPicture p;
    ASSERT_TRUE(ReadBytes(BmpCodec(), MakeBmp(4, 2, 8, 1, table, rle, 3), p));
    EXPECT_EQ(Rgb(p), (std::vector<uint8_t>{255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0,  //
                                            255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0}));

    // Read again into a picture that held other pixels: unpainted pixels are black again.
    ASSERT_TRUE(ReadBytes(BmpCodec(), MakeBmp(4, 2, 24, 0, {}, std::vector<uint8_t>(24, 200)), p));
    ASSERT_TRUE(ReadBytes(BmpCodec(), MakeBmp(4, 2, 8, 1, table, rle, 3), p));
    EXPECT_EQ(p.Row(0)[9], 0);

    // RLE4: a run of 5 alternating nibbles 1, 2.
    CPicture q;
    ASSERT_TRUE(ReadBytes(RleCodec(), MakeBmp(5, 1, 4, 2, table, {5, 0x12, 0, 1}, 3), q));
    EXPECT_EQ(q.Row(0)[0], 255);
    EXPECT_EQ(q.Row(0)[3], 0); // pixel 1 is red
    EXPECT_EQ(q.Row(0)[14], 255);

    const std::vector<std::pair<const char*, std::vector<uint8_t>>> bad = {
        {"run past the right edge", {5, 1, 0, 1}},
        {"absolute run past the edge", {0, 5, 1, 1, 1, 1, 1, 0, 0, 1}},
        {"row above the picture", {0, 0, 0, 0, 0, 0, 1, 1, 0, 1}},
        {"delta outside", {0, 2, 9, 0, 0, 1}},
        {"data ends in a pair", {3, 1, 0}},
        {"data ends before end of bitmap", {3, 1}},
        {"absolute run cut short", {0, 4, 1, 1}},
        {"index outside the table", {2, 7, 0, 1}},
    };
    for (const auto& [name, data] : bad) {
        CPicture r;
        EXPECT_FALSE(ReadBytes(BmpCodec(), MakeBmp(4, 2, 8, 1, table, data, 3), r)) << name;
    }
    // A run may cover the row's padding (some encoders code whole padded rows), not more.
    CPicture padded;
    ASSERT_TRUE(ReadBytes(BmpCodec(), MakeBmp(3, 1, 8, 1, table, {4, 1, 0, 1}, 3), padded));
    EXPECT_EQ(Rgb(padded), std::vector<uint8_t>(9, 255));
    EXPECT_FALSE(ReadBytes(BmpCodec(), MakeBmp(3, 1, 8, 1, table, {5, 1, 0, 1}, 3), padded));
    // A top-down run-length bitmap does not exist.
    CPicture r;
    EXPECT_FALSE(ReadBytes(BmpCodec(), MakeBmp(4, -2, 8, 1, table, rle, 3), r));
}

TEST(BmpRead, TinyFileCannotClaimAHugePicture)
{
    // 60000 x 60000 with two bytes of run-length data: refused before any allocation.
    const auto f = MakeBmp(60000, 60000, 8, 1, kGreyTable, {0, 1}, 2);
    EXPECT_THROW(ReadDirect(f), EBmpCorruptFile);
    const auto g = MakeBmp(60000, 60000, 24, 0, {}, std::vector<uint8_t>(64, 0));
    EXPECT_THROW(ReadDirect(g), EBmpFileReadError);
}

TEST(BmpRead, PingReportsSizeAndKindWithoutPixels)
{
    const auto f = MakeBmp(4, -2, 8, 1, kGreyTable, {0, 1}, 2);
    CGraphicsStream s;
    s.OpenMemory(f.data(), f.size());
    int w = 0, h = 0, bits = 0;
    std::string info;
    ASSERT_EQ(BmpCodec().PingStream(s, &w, &h, &bits, &info), 1);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(info, "Windows compressed bitmap (RLE)");

    s.Rewind();
    const std::vector<uint8_t> dib = ReadPackedDib(s);
    ASSERT_EQ(dib.size(), 40u + 2 * 4);
    EXPECT_EQ(Get32(dib, 8), uint32_t(-2));
    EXPECT_EQ(s.Tell(), 54 + 8);
}

TEST(BmpWrite, TwentyFourBitWidthOneRoundTripsByteForByte)
{
    const auto f = MakeBmp(1, 3, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0});
    std::vector<uint8_t> expected = f;
    std::memset(&expected[34], 0, 4 * 4 + 4); // our writer leaves image size, resolution and colours at 0
    CPicture p;
    ASSERT_TRUE(ReadBytes(BmpCodec(), f, p));
    EXPECT_EQ(WriteBytes(BmpCodec(), p, 0), expected);
}

TEST(BmpWrite, LowDepthTablesHaveAllEntries)
{
    CPicture p;
    ASSERT_TRUE(p.Create(9, 2));
    const uint8_t white[3] = {255, 255, 255};
    p.SetPixel(3, 0, white);
    std::vector<uint8_t> f = WriteBytes(BmpCodec(), p, 1);
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(Get32(f, 10), 62u); // two entries
    EXPECT_EQ(f.size(), 62u + 2 * 4);
    EXPECT_EQ(f[62 + 4], 0x10); // top row is last in the file; pixel 3 set

    // Five colours at depth 4: the table is padded to the 16 entries readers expect.
    CPicture q;
    ASSERT_TRUE(q.Create(5, 1));
    q.SetPaletteSize(5);
    for (int x = 0; x < 5; ++x) {
        const uint8_t c[3] = {uint8_t(x * 50), 0, 0};
        q.SetPixel(x, 0, c);
        q.SetPaletteEntry(x, c);
    }
    f = WriteBytes(BmpCodec(), q, 0);
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(Get32(f, 10), 54u + 16 * 4);
    CPicture back;
    ASSERT_TRUE(ReadBytes(BmpCodec(), f, back));
    EXPECT_EQ(Rgb(back), Rgb(q));
}

TEST(BmpWrite, RunLengthOf300ColoursHas256EntriesAndShortRuns)
{
    CPicture p;
    ASSERT_TRUE(p.Create(300, 2));
    for (int x = 0; x < 300; ++x) {
        const uint8_t c[3] = {uint8_t(x), uint8_t(x >> 8), 9};
        p.SetPixel(x, 0, c);
        const uint8_t same[3] = {1, 2, 3};
        p.SetPixel(x, 1, x < 200 ? same : c);
    }
    const std::vector<uint8_t> f = WriteBytes(RleCodec(), p, 0);
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(p.PaletteSize(), 256u);
    EXPECT_EQ(Get32(f, 10), 1078u);
    EXPECT_EQ(Get32(f, 30), 1u);
    EXPECT_EQ(Get32(f, 34), f.size() - 1078);
    EXPECT_EQ(Get32(f, 2), f.size());
    // Bottom row first: 200 equal pixels as 128 + 72.
    EXPECT_EQ(f[1078], 128);
    EXPECT_EQ(f[1080], 72);
    EXPECT_EQ(f[f.size() - 2], 0);
    EXPECT_EQ(f[f.size() - 1], 1);
    CPicture back;
    ASSERT_TRUE(ReadBytes(BmpCodec(), f, back));
    EXPECT_EQ(Rgb(back), Rgb(p));
}

TEST(BmpWrite, EveryDepthReadsBackAsWritten)
{
    for (CGraphicsCodec* codec : {&BmpCodec(), &Os2Codec(), &DibCodec(), &RleCodec()}) {
        for (int bits : {1, 4, 8, 24}) {
            if (!codec->CanWriteDepth(bits))
                continue;
            SCOPED_TRACE(codec->ShortName() + " " + std::to_string(bits));
            CPicture p;
            FillPhotoLike(p, 37, 23);
            const std::vector<uint8_t> f = WriteBytes(*codec, p, bits);
            ASSERT_FALSE(f.empty());
            CPicture back;
            ASSERT_TRUE(ReadBytes(BmpCodec(), f, back));
            EXPECT_EQ(Rgb(back), Rgb(p));
            EXPECT_EQ(back.BitsPerPixel(), bits);
        }
    }
    EXPECT_FALSE(RleCodec().CanWriteDepth(4));
}

TEST(BmpWrite, SaveBmp24WritesAFileThatLoads)
{
    CPicture p;
    FillPhotoLike(p, 10, 10);
    p.SetPaletteSize(16);
    const std::string path = testing::TempDir() + "qn_save24.bmp";
    ASSERT_TRUE(SaveBmp24(path, p, nullptr));
    CPicture back;
    ASSERT_EQ(BmpCodec().ReadFile(path, &back, nullptr), 1);
    EXPECT_EQ(back.BitsPerPixel(), 24);
    EXPECT_EQ(Rgb(back), Rgb(p));
    std::remove(path.c_str());
}
