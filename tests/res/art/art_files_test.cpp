// The generated artwork files hold what their readers expect: Targa headers with opacity, icon
// and cursor directories, an 8-bit uncompressed AVI, and baseline JPEG splash pictures of one
// size, the mask grey.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
const std::string kDir = QUENTA_SOURCE_DIR "/res/art/generated/";

Bytes Read(const std::string& name)
{
    std::ifstream in(kDir + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

unsigned U16(const Bytes& b, size_t at) { return b.at(at) | b.at(at + 1) << 8; }
unsigned U32(const Bytes& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
unsigned Be16(const Bytes& b, size_t at) { return b.at(at) << 8 | b.at(at + 1); }

void ExpectTarga(const std::string& name, unsigned size)
{
    SCOPED_TRACE(name);
    const Bytes b = Read(name);
    ASSERT_EQ(b.size(), 18u + size * size * 4);
    EXPECT_EQ(b[2], 2);  // uncompressed true colour
    EXPECT_EQ(U16(b, 12), size);
    EXPECT_EQ(U16(b, 14), size);
    EXPECT_EQ(b[16], 32);
    EXPECT_EQ(b[17] & 0x0F, 8);  // 8 opacity bits
    unsigned opaque = 0, clear = 0;
    for (size_t i = 18; i < b.size(); i += 4) {
        opaque += b[i + 3] == 255;
        clear += b[i + 3] == 0;
    }
    EXPECT_GT(opaque, size * size / 4) << "the picture is mostly empty";
    EXPECT_GT(clear, 0u) << "the picture has no transparent corners";
}

TEST(ArtFiles, ModuleAndZonePicturesAreTargaWithOpacity)
{
    for (int id : {322, 323, 324, 327, 328, 332, 339, 340, 341, 343, 344, 345, 346, 347, 348, 350,
                   351, 358, 374})
        ExpectTarga("module_" + std::to_string(id) + ".tga", 32);
    for (int id : {400, 401, 402, 403}) ExpectTarga("zone_" + std::to_string(id) + ".tga", 24);
}

TEST(ArtFiles, IconsHoldThreeSizesAndCursorsTheirHotSpot)
{
    for (int id : {128, 142, 147, 175, 177, 213, 214, 278, 284}) {
        const Bytes b = Read("icon_" + std::to_string(id) + ".ico");
        ASSERT_GE(b.size(), 6u + 3 * 16);
        EXPECT_EQ(U16(b, 2), 1u);
        ASSERT_EQ(U16(b, 4), 3u);
        unsigned i = 0;
        for (unsigned expected : {48u, 32u, 16u}) {
            const size_t entry = 6 + 16 * i++;
            EXPECT_EQ(b[entry], expected);
            const size_t offset = U32(b, entry + 12);
            ASSERT_LE(offset + U32(b, entry + 8), b.size());
            EXPECT_EQ(U32(b, offset + 4), expected);          // DIB width
            EXPECT_EQ(U32(b, offset + 8), expected * 2);      // colour rows and mask rows
        }
    }
    for (int id : {176, 177}) {
        const Bytes b = Read("cursor_" + std::to_string(id) + ".cur");
        ASSERT_GE(b.size(), 22u);
        EXPECT_EQ(U16(b, 2), 2u);
        EXPECT_EQ(b[6], 32);
        EXPECT_LT(U16(b, 10), 32u);  // hot spot inside the cursor
        EXPECT_LT(U16(b, 12), 32u);
    }
}

TEST(ArtFiles, BusyAnimationIsAnUncompressedEightBitAvi)
{
    const Bytes b = Read("busy_359.avi");
    ASSERT_GT(b.size(), 200u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(U32(b, 4) + 8, b.size());
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "AVI ");
    const std::string text(b.begin(), b.end());
    const size_t avih = text.find("avih");
    ASSERT_NE(avih, std::string::npos);
    const unsigned frames = U32(b, avih + 8 + 16);
    EXPECT_GE(frames, 4u);
    EXPECT_EQ(U32(b, avih + 8 + 24), 1u);  // one stream: no sound
    const size_t strf = text.find("strf");
    ASSERT_NE(strf, std::string::npos);
    EXPECT_EQ(U16(b, strf + 8 + 14), 8u);   // bits per pixel
    EXPECT_EQ(U32(b, strf + 8 + 16), 0u);   // BI_RGB
    size_t chunks = 0;
    for (size_t at = text.find("00db"); at != std::string::npos; at = text.find("00db", at + 4)) ++chunks;
    EXPECT_EQ(chunks, 2 * frames);  // each frame once in movi and once in idx1
    EXPECT_NE(text.find("idx1"), std::string::npos);
}

struct JpegFrame {
    bool baseline = false;
    unsigned width = 0, height = 0, components = 0;
};

JpegFrame ReadFrame(const Bytes& b)
{
    JpegFrame frame;
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return frame;
    for (size_t at = 2; at + 9 < b.size();) {
        if (b[at] != 0xFF) break;
        const unsigned marker = b[at + 1];
        if (marker == 0xC0 || marker == 0xC2) {
            frame.baseline = marker == 0xC0;
            frame.height = Be16(b, at + 5);
            frame.width = Be16(b, at + 7);
            frame.components = b[at + 9];
            break;
        }
        at += 2 + Be16(b, at + 2);
    }
    return frame;
}

TEST(ArtFiles, SplashIsABaselineColourJpegWithAGreyMaskOfTheSameSize)
{
    const JpegFrame colour = ReadFrame(Read("splash_356.jpg"));
    const JpegFrame mask = ReadFrame(Read("splash_357.jpg"));
    EXPECT_TRUE(colour.baseline);
    EXPECT_TRUE(mask.baseline);
    EXPECT_EQ(colour.components, 3u);
    EXPECT_EQ(mask.components, 1u);
    EXPECT_GT(colour.width, 0u);
    EXPECT_EQ(colour.width, mask.width);
    EXPECT_EQ(colour.height, mask.height);
}

TEST(ArtFiles, AllArtworkStaysSmall)
{
    uintmax_t total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kDir)) total += entry.file_size();
    EXPECT_LT(total, 1024u * 1024u);
}

}  // namespace
