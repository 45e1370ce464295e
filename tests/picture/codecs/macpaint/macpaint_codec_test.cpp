#include <gtest/gtest.h>

#include <string>

#include "picture/codecs/codecs.h"
#include "tests/picture/codecs/simple_support/codec_test_util.h"

using namespace codec_test;

namespace {

// Blocks of 16 x 4 pixels: pairs of equal bytes that no coder can shorten.
uint32_t Pattern(int x, int y) { return ((x / 16) ^ (y / 4)) & 1 ? 0u : 0xFFFFFFu; }

// A valid MacPaint file: 720 rows of 72 zero bytes as runs (B9 00), then `padding` bytes.
Bytes AllWhiteFile(size_t totalSize)
{
    Bytes file(512, 0);
    for (int row = 0; row < 720; ++row)
        file.insert(file.end(), {0xB9, 0x00});
    file.resize(totalSize, 0);
    return file;
}

} // namespace

TEST(MacPaintCodec, SizeLimits)
{
    CPicture picture;
    EXPECT_TRUE(ReadFromMemory(MacCodec(), AllWhiteFile(51712), picture));
    EXPECT_EQ(picture.Width(), 576);
    EXPECT_EQ(picture.Height(), 720);
    EXPECT_EQ(picture.BitsPerPixel(), 1);
    EXPECT_FALSE(ReadFromMemory(MacCodec(), AllWhiteFile(51713), picture));
    EXPECT_FALSE(ReadFromMemory(MacCodec(), Bytes(511, 0), picture));
    // Rows that end early are refused.
    EXPECT_FALSE(ReadFromMemory(MacCodec(), AllWhiteFile(512 + 2 * 719), picture));

    // An incompressible picture needs 73 bytes a row: such files are read when their rows end
    // exactly at the end of the file.
    Bytes literal(512, 0);
    for (int row = 0; row < 720; ++row) {
        literal.push_back(71);
        for (int i = 0; i < 72; ++i)
            literal.push_back(uint8_t(i * 37 + row));
    }
    ASSERT_EQ(literal.size(), 53072u);
    EXPECT_TRUE(ReadFromMemory(MacCodec(), literal, picture));
    literal[512 + 73 * 719] = 70; // the last row now ends one byte early
    EXPECT_FALSE(ReadFromMemory(MacCodec(), literal, picture));
}

TEST(MacPaintCodec, HeaderVersionMustBeZeroTwoOrThree)
{
    // The format's only mark: its first four bytes, big-endian. Other values are another
    // format's header (a Targa's, a bitmap's), however well its bytes happen to decode.
    CPicture picture;
    for (uint8_t version : {0, 2, 3}) {
        Bytes file = AllWhiteFile(2000);
        file[3] = version;
        EXPECT_TRUE(ReadFromMemory(MacCodec(), file, picture)) << int(version);
    }
    for (size_t at : {size_t(0), size_t(1), size_t(2), size_t(3)}) {
        Bytes file = AllWhiteFile(2000);
        file[at] = at == 3 ? 1 : 2; // 1, or 2 in a higher byte
        EXPECT_FALSE(ReadFromMemory(MacCodec(), file, picture)) << at;
    }
}

TEST(MacPaintCodec, WritesAWhitePageOf576x720AndReadsItBack)
{
    CPicture small, copy;
    Fill(small, 100, 50, Pattern);
    CPicture written;
    written.CopyFrom(small);
    Bytes file = WriteToMemory(MacCodec(), written);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 512), Bytes(512, 0));
    ASSERT_TRUE(ReadFromMemory(MacCodec(), file, copy));
    ASSERT_EQ(copy.Width(), 576);
    EXPECT_TRUE(SamePixels(small, *copy.Crop(0, 0, 100, 50)));
    uint8_t p[3];
    copy.GetPixel(300, 400, p);
    EXPECT_EQ(p[0], 255);

    // A larger picture is cut.
    CPicture large;
    Fill(large, 700, 800, Pattern);
    file = WriteToMemory(MacCodec(), large);
    EXPECT_EQ(file.size(), 512u + 720 * 73); // beyond 51712 bytes, and still read back
    ASSERT_TRUE(ReadFromMemory(MacCodec(), file, copy));
    EXPECT_TRUE(SamePixels(*large.Crop(0, 0, 576, 720), copy));
}

TEST(MacPaintCodec, NetpbmAgreesBothWays)
{
    REQUIRE_ORACLE_TOOLS(HaveTool("pbmtomacp") && HaveTool("macptopbm"), "netpbm is not installed");
    const std::string mac = TempPath("picture.mac"), pbm = TempPath("picture.pbm");
    CPicture original;
    Fill(original, 576, 720, Pattern);

    CPicture written;
    written.CopyFrom(original);
    ASSERT_EQ(MacCodec().WriteFile(mac, &written, 0, false, nullptr), 1);
    ASSERT_TRUE(RunCommand("macptopbm '" + mac + "' > '" + pbm + "'"));
    CPicture there;
    ASSERT_EQ(PbmCodec().ReadFile(pbm, &there, nullptr), 1);
    EXPECT_TRUE(SamePixels(original, there));

    CPicture source;
    source.CopyFrom(original);
    ASSERT_EQ(PbmCodec().WriteFile(pbm, &source, 0, true, nullptr), 1);
    ASSERT_TRUE(RunCommand("pbmtomacp '" + pbm + "' > '" + mac + "'"));
    CPicture here;
    ASSERT_EQ(MacCodec().ReadFile(mac, &here, nullptr), 1);
    EXPECT_TRUE(SamePixels(original, here));
    std::remove(mac.c_str());
    std::remove(pbm.c_str());
}
