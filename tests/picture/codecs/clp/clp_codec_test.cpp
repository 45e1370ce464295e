#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "picture/codecs/codecs.h"
#include "tests/picture/codecs/simple_support/codec_test_util.h"

using namespace codec_test;

TEST(ClpCodec, WritesThePackedBitmapAtOffset14)
{
    CPicture original, copy;
    Fill(original, 5, 3, [](int x, int y) { return uint32_t(x * 50) << 16 | uint32_t(y * 80) << 8 | 7u; });
    Bytes file = WriteToMemory(ClpCodec(), original);
    const uint32_t length = 40 + 16 * 3;
    ASSERT_EQ(file.size(), 14 + length);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 14),
              (Bytes{0x50, 0xC3, 0x01, 0x00, 0x08, 0x00, uint8_t(length), 0, 0, 0, 14, 0, 0, 0}));
    EXPECT_EQ(std::memcmp(file.data() + 14, original.Dib(), length), 0);

    ASSERT_TRUE(ReadFromMemory(ClpCodec(), file, copy));
    EXPECT_TRUE(SamePixels(original, copy));

    int width = 0, height = 0, bits = 0;
    std::string info;
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    ASSERT_EQ(ClpCodec().PingStream(stream, &width, &height, &bits, &info), 1);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 3);
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(info, "Windows Clipboard (CLP)");
}

TEST(ClpCodec, HeaderChecks)
{
    CPicture original, copy;
    Fill(original, 4, 4, [](int, int) { return 0x123456u; });
    const Bytes good = WriteToMemory(ClpCodec(), original);
    auto patched = [&](size_t at, uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    EXPECT_FALSE(ReadFromMemory(ClpCodec(), patched(2, 2), copy));    // two formats
    EXPECT_FALSE(ReadFromMemory(ClpCodec(), patched(4, 2), copy));    // not a packed bitmap
    EXPECT_FALSE(ReadFromMemory(ClpCodec(), patched(10, 13), copy));  // offset inside the header
    EXPECT_FALSE(ReadFromMemory(ClpCodec(), patched(8, 1), copy));    // length beyond the file
    EXPECT_FALSE(ReadFromMemory(ClpCodec(), Bytes(good.begin(), good.end() - 1), copy));
}
