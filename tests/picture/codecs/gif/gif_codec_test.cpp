#include <gtest/gtest.h>

#include "gif_test_support.h"

namespace {
const Bytes kFourColours = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};

Bytes Ramp(size_t n, unsigned modulo)
{
    Bytes v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t((i * 7 + i / 5) % modulo);
    return v;
}

// The picture's colour at (x, y) as R, G, B.
std::array<uint8_t, 3> Rgb(const CPicture& p, int x, int y)
{
    const uint8_t* px = p.Row(y) + 3 * x;
    return {px[2], px[1], px[0]};
}

std::array<uint8_t, 3> TableColour(const Bytes& table, unsigned index)
{
    return {table[3 * index], table[3 * index + 1], table[3 * index + 2]};
}
} // namespace

TEST(GifCodec, ReadsTheFirstImageThroughItsTable)
{
    GifImage image;
    image.width = 13;
    image.height = 7;
    image.indices = Ramp(13 * 7, 4);
    for (const char* version : {"87a", "89a"}) {
        CPicture p;
        ASSERT_TRUE(ReadGif(MakeGif(13, 7, kFourColours, {image}, version), p)) << version;
        EXPECT_EQ(p.BitsPerPixel(), 2);
        EXPECT_FALSE(p.HasAlpha());
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(Rgb(p, x, y), TableColour(kFourColours, image.indices[y * 13 + x]));
    }

    // A 2-colour local table (N = 0) wins over the global one; the image is smaller than
    // the screen and the picture takes the image's size; later images are ignored.
    GifImage small;
    small.width = 5;
    small.height = 2;
    small.left = 3;
    small.indices = {0, 1, 1, 0, 1, 1, 0, 0, 1, 0};
    small.localTable = {10, 20, 30, 200, 210, 220};
    GifImage second = image;
    CPicture p;
    ASSERT_TRUE(ReadGif(MakeGif(40, 30, kFourColours, {small, second}), p));
    EXPECT_EQ(p.Width(), 5);
    EXPECT_EQ(p.Height(), 2);
    EXPECT_EQ(p.PaletteSize(), 2u);
    EXPECT_EQ(Rgb(p, 1, 0), TableColour(small.localTable, 1));
    EXPECT_EQ(Rgb(p, 0, 0), TableColour(small.localTable, 0));
}

TEST(GifCodec, InterlacedRowsGoToTheirPasses)
{
    GifImage image;
    image.width = 3;
    image.height = 10;
    image.interlaced = true;
    // Stored row k holds colour k (8 colours), rows arrive as 0, 8, 4, 2, 6, 1, 3, 5, 7, 9.
    const int order[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    Bytes table;
    for (int k = 0; k < 16; ++k)
        table.insert(table.end(), {uint8_t(k * 10), uint8_t(k), 0});
    for (int k = 0; k < 10; ++k)
        image.indices.insert(image.indices.end(), 3, uint8_t(k));
    CPicture p;
    ASSERT_TRUE(ReadGif(MakeGif(3, 10, table, {image}), p));
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(Rgb(p, 1, order[k])[0], k * 10) << "stored row " << k;
}

TEST(GifCodec, TransparencyComesFromTheGraphicControlExtension)
{
    GifImage image;
    image.indices = {0, 1, 2, 3, 3, 2, 1, 0, 2, 2, 2, 2};
    image.transparent = 2;
    CPicture p;
    ASSERT_TRUE(ReadGif(MakeGif(4, 3, kFourColours, {image}), p));
    ASSERT_TRUE(p.HasAlpha());
    EXPECT_EQ(p.GetAlpha(2, 0), 0);
    EXPECT_EQ(p.GetAlpha(1, 0), 255);

    image.transparentFlag = false;
    CPicture q;
    ASSERT_TRUE(ReadGif(MakeGif(4, 3, kFourColours, {image}), q));
    EXPECT_FALSE(q.HasAlpha());
}

TEST(GifCodec, DecodesLongRunsAndAFullStringTable)
{
    // Runs make codes that are defined by the very step that uses them; noise fills the
    // 4096-entry table so that the encoder clears it.
    GifImage image;
    image.width = 200;
    image.height = 150;
    image.indices.assign(200 * 150, 3);
    for (size_t i = 10000; i < image.indices.size(); ++i)
        image.indices[i] = uint8_t(((i * 2654435761u) >> 13) & 7);
    Bytes table;
    for (int k = 0; k < 8; ++k)
        table.insert(table.end(), {uint8_t(k * 30), uint8_t(255 - k * 30), uint8_t(k)});
    CPicture p;
    ASSERT_TRUE(ReadGif(MakeGif(200, 150, table, {image}), p));
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(Rgb(p, x, y), TableColour(table, image.indices[y * 200 + x])) << x << "," << y;
}

TEST(GifCodec, ProbeReportsEightBitsAndTheImageSize)
{
    GifImage image;
    image.width = 9;
    image.height = 4;
    image.indices = Ramp(36, 2);
    const Bytes file = MakeGif(20, 20, {0, 0, 0, 255, 255, 255}, {image});
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    int w = 0, h = 0, bits = 0;
    std::string info;
    EXPECT_EQ(GifCodec().PingStream(stream, &w, &h, &bits, &info), 1);
    EXPECT_EQ(w, 9);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(info, "CompuServe Graphic Interchange Format (GIF)");
    EXPECT_FALSE(GifCodec().CanWriteDepth(0));
}

TEST(GifCodec, DamagedFilesFailCleanly)
{
    CPicture p;
    // Header, screen and trailer only: no image.
    EXPECT_FALSE(ReadGif(MakeGif(4, 4, kFourColours, {}), p));
    EXPECT_FALSE(ReadGif({'G', 'I', 'F', '8', '8', 'a', 4, 0, 4, 0, 0, 0, 0, 0x3B}, p));

    GifImage image;
    image.indices = Ramp(12, 4);
    const Bytes good = MakeGif(4, 3, kFourColours, {image});
    ASSERT_TRUE(ReadGif(good, p));
    // Every truncation fails without reading past the data.
    for (size_t n = 0; n + 2 < good.size(); ++n)
        EXPECT_FALSE(ReadGif(Bytes(good.begin(), good.begin() + n), p)) << n;
    // No colour table at all.
    EXPECT_FALSE(ReadGif(MakeGif(4, 3, {}, {image}), p));
    // An unknown block introducer.
    Bytes unknown = good;
    unknown[6 + 7 + 12] = 0x99;
    EXPECT_FALSE(ReadGif(unknown, p));

    // 65535 x 65535 pixels claimed by a file of a few dozen bytes.
    GifImage huge = image;
    huge.width = huge.height = 65535;
    EXPECT_FALSE(ReadGif(MakeGif(4, 3, kFourColours, {huge}), p));

    // An end code before all pixels: the rest stays index 0.
    GifImage early = image;
    early.indices.resize(5);
    Bytes file = MakeGif(4, 3, kFourColours, {early});
    ASSERT_TRUE(ReadGif(file, p));
    EXPECT_EQ(Rgb(p, 3, 2), TableColour(kFourColours, 0));
}
