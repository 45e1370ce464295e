#include <gtest/gtest.h>

#include <string>

#include "picture/codecs/codecs.h"
#include "tests/picture/codecs/simple_support/codec_test_util.h"

using namespace codec_test;

namespace {

uint32_t Colourful(int x, int y) { return uint32_t(x * 37 + y * 11) << 16 | uint32_t(x * 5 + y * 71) << 8 | uint32_t(x * y); }
uint32_t Grey(int x, int y) { return 0x010101u * uint32_t((x * 29 + y * 13) & 255); }
uint32_t BlackWhite(int x, int y) { return (x * 7 + y * 3) % 5 < 2 ? 0 : 0xFFFFFF; }

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

struct Kind {
    CGraphicsCodec& (*codec)();
    uint32_t (*colour)(int, int);
    int bits;
};
const Kind kKinds[] = {{PbmCodec, BlackWhite, 1}, {PgmCodec, Grey, 8}, {PpmCodec, Colourful, 24}};

} // namespace

TEST(PnmCodec, BinaryAndAsciiRoundTripEveryKind)
{
    for (const Kind& kind : kKinds)
        for (bool binary : {true, false}) {
            CPicture original, copy;
            Fill(original, 29, 7, kind.colour);
            CPicture written;
            written.CopyFrom(original);
            Bytes file = WriteToMemory(kind.codec(), written, 0, binary);
            ASSERT_FALSE(file.empty());
            EXPECT_EQ(file[1], '1' + (kind.bits == 1 ? 0 : kind.bits == 8 ? 1 : 2) + (binary ? 3 : 0));
            ASSERT_TRUE(ReadFromMemory(kind.codec(), file, copy)) << kind.bits << " " << binary;
            EXPECT_TRUE(SamePixels(original, copy)) << kind.bits << " " << binary;
            EXPECT_EQ(copy.BitsPerPixel(), kind.bits);
        }
}

TEST(PnmCodec, HeaderAndBinaryBytes)
{
    CPicture picture;
    Fill(picture, 2, 1, [](int x, int) { return x ? 0x102030u : 0xA0B0C0u; });
    Bytes file = WriteToMemory(PpmCodec(), picture);
    const std::string header = "P6\n# Created by Ostrel Imagerion for Zephra\n2 1\n255\n";
    ASSERT_EQ(file.size(), header.size() + 6);
    EXPECT_EQ(std::string(file.begin(), file.begin() + header.size()), header);
    EXPECT_EQ(Bytes(file.end() - 6, file.end()), (Bytes{0xA0, 0xB0, 0xC0, 0x10, 0x20, 0x30}));

    // PBM packs eight pixels a byte, a set bit for black.
    CPicture bits;
    Fill(bits, 10, 1, [](int x, int) { return x == 0 || x == 9 ? 0u : 0xFFFFFFu; });
    file = WriteToMemory(PbmCodec(), bits);
    EXPECT_EQ(Bytes(file.end() - 2, file.end()), (Bytes{0x80, 0x40}));
}

TEST(PnmCodec, GreyMapAtEightBitsIsThePlainGreyOfEveryPixel)
{
    // Saving at depth 8 (the only depth the translator offers for PGM) converts each pixel to
    // (B + G + R) / 3, with no colour reduction (and so no dither) before it.
    CPicture original;
    Fill(original, 64, 48, [](int x, int y) {
        return uint32_t((x * 4 + y) & 255) << 16 | uint32_t((y * 5 + x * 3) & 255) << 8 | uint32_t((x * y) & 255);
    });
    for (bool binary : {true, false}) {
        CPicture written, copy;
        written.CopyFrom(original);
        const Bytes file = WriteToMemory(PgmCodec(), written, 8, binary);
        ASSERT_TRUE(ReadFromMemory(PgmCodec(), file, copy));
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                uint8_t p[3], q[3];
                original.GetPixel(x, y, p);
                copy.GetPixel(x, y, q);
                ASSERT_EQ(q[0], (p[0] + p[1] + p[2]) / 3) << x << "," << y << (binary ? " binary" : " ascii");
            }
    }
}

TEST(PnmCodec, AsciiLinesBreakOnceTheRunningLengthPasses68)
{
    CPicture picture;
    Fill(picture, 50, 1, BlackWhite);
    Bytes file = WriteToMemory(PbmCodec(), picture, 0, false);
    std::string text(file.begin(), file.end());
    const size_t data = text.find("50 1\n") + 5;
    // Each value "0 " counts 3: after 23 values the count is 69, so the 24th starts a line.
    const size_t firstBreak = text.find('\n', data);
    EXPECT_EQ(firstBreak - data, 23u * 2);

    // A PPM value is a whole pixel "r g b".
    CPicture colours;
    Fill(colours, 8, 1, [](int, int) { return 0xFFFFFFu; });
    file = WriteToMemory(PpmCodec(), colours, 0, false);
    text.assign(file.begin(), file.end());
    const size_t start = text.find("255\n") + 4;
    EXPECT_EQ(text.substr(start, text.find('\n', start) - start), "255 255 255 255 255 255 255 255 255 255 255 255 "
                                                                  "255 255 255 255 255 255 ");
}

TEST(PnmCodec, ReaderHandlesCommentsScalingAndWideSamples)
{
    CPicture picture;
    ASSERT_TRUE(ReadFromMemory(PgmCodec(), AsBytes("P2 # grey\n# another\n3 1 15\n15 7\n0"), picture));
    uint8_t p[3];
    picture.GetPixel(0, 0, p);
    EXPECT_EQ(p[0], 255);
    picture.GetPixel(1, 0, p);
    EXPECT_EQ(p[0], 7 * 255 / 15);

    // Plain PBM digits need no separators.
    ASSERT_TRUE(ReadFromMemory(PbmCodec(), AsBytes("P1 3 1 101"), picture));
    picture.GetPixel(1, 0, p);
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(picture.PaletteSize(), 2u);

    // Samples above 255 take two bytes, most significant first.
    Bytes wide = AsBytes("P5 2 1 65535\n");
    wide.insert(wide.end(), {0xFF, 0xFF, 0x80, 0x00});
    ASSERT_TRUE(ReadFromMemory(PgmCodec(), wide, picture));
    picture.GetPixel(1, 0, p);
    EXPECT_EQ(p[0], 0x8000 * 255 / 65535);

    int width = 0, height = 0, bits = 0;
    std::string info;
    CGraphicsStream stream;
    Bytes ppm = AsBytes("P3 4 5 255\n");
    stream.OpenMemory(ppm.data(), ppm.size());
    ASSERT_EQ(PpmCodec().PingStream(stream, &width, &height, &bits, &info), 1);
    EXPECT_EQ(width * 100 + height * 10 + bits, 4 * 100 + 5 * 10 + 24);
    EXPECT_NE(info.find("Mode : ASCII."), std::string::npos);
}

TEST(PnmCodec, LargeBinaryPixelMapReadsEveryByteInPlace)
{
    // Rows of 8997 bytes cross the reader's 64 KiB buffer at varying offsets; maximum 255
    // takes the bytes as they are, another maximum scales them.
    for (unsigned maxValue : {255u, 254u}) {
        const int width = 2999, height = 40;
        Bytes file = AsBytes("P6 2999 40 " + std::to_string(maxValue) + "\n");
        const size_t start = file.size();
        for (uint32_t i = 0; i < uint32_t(width * height * 3); ++i)
            file.push_back(uint8_t((i * 7919u + i / 13) % (maxValue + 1)));
        CPicture picture;
        ASSERT_TRUE(ReadFromMemory(PpmCodec(), file, picture));
        ASSERT_EQ(picture.Width(), width);
        bool same = true;
        for (int y = 0; y < height && same; ++y)
            for (int x = 0; x < width && same; ++x) {
                const uint8_t* in = file.data() + start + (size_t(y) * width + x) * 3;
                const uint8_t* px = picture.Row(y) + x * 3;
                for (int c = 0; c < 3; ++c)
                    same = same && px[2 - c] == in[c] * 255 / maxValue;
                EXPECT_TRUE(same) << x << ", " << y << " maximum " << maxValue;
            }
    }
}

TEST(PnmCodec, DamagedFilesAreRefused)
{
    CPicture picture;
    for (const char* text : {"P7 1 1 255\n", "P5 1 1 0\nx", "P6 2 2 255\nabc", "P5 65535 65535 255\nxx",
                             "P1 2 2 1 1 1 2", "P2 1", "P4 0 3\n"})
        EXPECT_FALSE(ReadFromMemory(PpmCodec(), AsBytes(text), picture)) << text;
}

TEST(PnmCodec, ImageMagickAgreesBothWays)
{
    REQUIRE_ORACLE_TOOLS(HaveTool(kImageMagick), "ImageMagick is not installed");
    for (const Kind& kind : kKinds)
        for (bool binary : {true, false}) {
            CPicture original;
            Fill(original, 23, 9, kind.colour);
            const std::string ext = kind.bits == 1 ? "pbm" : kind.bits == 8 ? "pgm" : "ppm";
            // Ours, read there.
            const std::string ours = TempPath(std::string("ours.") + ext);
            CPicture written;
            written.CopyFrom(original);
            ASSERT_EQ(kind.codec().WriteFile(ours, &written, 0, binary, nullptr), 1);
            CPicture there;
            ASSERT_TRUE(LoadWithImageMagick(ours, 23, 9, there));
            EXPECT_TRUE(SamePixels(original, there)) << ext << " " << binary;
            // Theirs, read here.
            const std::string theirs = TempPath(std::string("theirs.") + ext);
            ASSERT_TRUE(RunCommand(std::string(kImageMagick) + " '" + ours + "'" + (binary ? "" : " -compress none") +
                            " '" + theirs + "'"));
            CPicture here;
            ASSERT_EQ(kind.codec().ReadFile(theirs, &here, nullptr), 1) << ext;
            EXPECT_TRUE(SamePixels(original, here)) << ext << " " << binary;
            std::remove(ours.c_str());
            std::remove(theirs.c_str());
        }
}
