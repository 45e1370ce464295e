#include <gtest/gtest.h>

#include <string>

#include "picture/codecs/codecs.h"
#include "tests/picture/codecs/simple_support/codec_test_util.h"

using namespace codec_test;

namespace {

uint32_t Colourful(int x, int y) { return uint32_t(x * 37 + y * 11) << 16 | uint32_t(x * 5 + y * 71) << 8 | uint32_t(x * y); }

// A palette picture of `bits` whose pixels use every entry of its palette.
void PalettePicture(CPicture& picture, int bits, int width, int height)
{
    const unsigned count = 1u << bits;
    std::vector<uint32_t> colours;
    for (unsigned i = 0; i < count; ++i)
        colours.push_back((i * 97 % 256) << 16 | (i * 31 % 256) << 8 | (255 - i));
    Fill(picture, width, height, [&](int x, int y) { return colours[(x + y * 3) % count]; });
    SetPalette(picture, colours, bits);
}

uint32_t U32BE(const Bytes& b, size_t at) { return uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3]; }

} // namespace

TEST(IffCodec, RoundTripAtEveryDepthWithAndWithoutCompression)
{
    for (int bits : {1, 2, 4, 8, 24})
        for (bool compress : {true, false})
            for (CGraphicsCodec* codec : {&IffCodec(), &LbmCodec()}) {
                CPicture original, written, copy;
                auto make = [bits](CPicture& p) { bits == 24 ? Fill(p, 37, 5, Colourful) : PalettePicture(p, bits, 37, 5); };
                make(original);
                make(written);
                Bytes file = WriteToMemory(*codec, written, 0, compress);
                ASSERT_FALSE(file.empty());
                EXPECT_EQ(file[28], bits) << "planes";
                EXPECT_EQ(file[30], compress ? 1 : 0) << "compression";
                EXPECT_EQ(U32BE(file, 4), file.size() - 8) << "FORM size";
                ASSERT_TRUE(ReadFromMemory(*codec, file, copy)) << bits << " " << compress;
                EXPECT_TRUE(SamePixels(original, copy)) << bits << " " << compress;
                EXPECT_EQ(copy.BitsPerPixel(), bits);
            }
}

TEST(IffCodec, ChunkLayoutAndByteRun1Rows)
{
    CPicture picture;
    Fill(picture, 32, 1, [](int, int) { return 0u; });
    SetPalette(picture, {0xFFFFFF, 0x000000}, 1); // black pixels are index 1
    Bytes file = WriteToMemory(IffCodec(), picture);
    const Bytes expected = {'F', 'O', 'R', 'M', 0, 0, 0, 56, 'I', 'L', 'B', 'M',
                            'B', 'M', 'H', 'D', 0, 0, 0, 20, 0, 32, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 1, 0, 32, 0, 1,
                            'C', 'M', 'A', 'P', 0, 0, 0, 6, 255, 255, 255, 0, 0, 0,
                            'B', 'O', 'D', 'Y', 0, 0, 0, 2, 0xFD, 0xFF};
    EXPECT_EQ(file, expected);
}

TEST(IffCodec, OtherChunksMaskPlanesAndDamagedFiles)
{
    // 8 x 2, 1 plane with a mask plane, uncompressed, an unknown chunk of odd size first.
    Bytes file = {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'I', 'L', 'B', 'M', 'A', 'N', 'N', 'O', 0, 0, 0, 1, 'x', 0,
                  'B', 'M', 'H', 'D', 0, 0, 0, 20, 0, 8, 0, 2, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 8, 0, 2,
                  'C', 'M', 'A', 'P', 0, 0, 0, 6, 0, 0, 0, 255, 0, 0,
                  'B', 'O', 'D', 'Y', 0, 0, 0, 8, 0xF0, 0, 0xFF, 0, 0x0F, 0, 0xFF, 0};
    file[7] = uint8_t(file.size() - 8);
    CPicture picture;
    ASSERT_TRUE(ReadFromMemory(IffCodec(), file, picture));
    uint8_t p[3];
    picture.GetPixel(0, 0, p);
    EXPECT_EQ(p[2], 255);
    picture.GetPixel(0, 1, p);
    EXPECT_EQ(p[2], 0);

    Bytes truncated(file.begin(), file.end() - 3);
    EXPECT_FALSE(ReadFromMemory(IffCodec(), truncated, picture));
    Bytes huge = file;
    huge[30] = huge[31] = huge[32] = huge[33] = 0xFF; // 65535 x 65535 from a few bytes
    EXPECT_FALSE(ReadFromMemory(IffCodec(), huge, picture));
    Bytes notIlbm = file;
    notIlbm[8] = 'P';
    EXPECT_FALSE(ReadFromMemory(IffCodec(), notIlbm, picture));
}

TEST(IffCodec, NetpbmAgreesBothWays)
{
    REQUIRE_ORACLE_TOOLS(HaveTool("ppmtoilbm") && HaveTool("ilbmtoppm"), "netpbm is not installed");
    const std::string ppm = TempPath("iff_in.ppm"), iff = TempPath("iff.iff"), back = TempPath("iff_back.ppm");
    for (int bits : {1, 2, 4, 8, 24})
        for (bool compress : {true, false}) {
            CPicture original, written;
            auto make = [bits](CPicture& p) { bits == 24 ? Fill(p, 41, 6, Colourful) : PalettePicture(p, bits, 41, 6); };
            make(original);
            make(written);
            ASSERT_EQ(IffCodec().WriteFile(iff, &written, 0, compress, nullptr), 1);
            ASSERT_TRUE(RunCommand("ilbmtoppm '" + iff + "' > '" + back + "'")) << bits;
            CPicture there;
            ASSERT_EQ(PpmCodec().ReadFile(back, &there, nullptr), 1);
            EXPECT_TRUE(SamePixels(original, there)) << "ours read there, " << bits << " " << compress;

            // Theirs: ppmtoilbm picks the planes itself; force true colour for the 24-bit case.
            CPicture source;
            source.CopyFrom(original);
            ASSERT_EQ(PpmCodec().WriteFile(ppm, &source, 0, true, nullptr), 1);
            const std::string options = std::string(bits == 24 ? "-24force " : "-maxplanes 8 ") +
                                        (compress ? "-compress" : "-nocompress");
            ASSERT_TRUE(RunCommand("ppmtoilbm " + options + " '" + ppm + "' > '" + iff + "'"));
            CPicture here;
            ASSERT_EQ(IffCodec().ReadFile(iff, &here, nullptr), 1) << bits;
            EXPECT_TRUE(SamePixels(original, here)) << "theirs read here, " << bits << " " << compress;
        }
    for (const std::string& path : {ppm, iff, back})
        std::remove(path.c_str());
}
