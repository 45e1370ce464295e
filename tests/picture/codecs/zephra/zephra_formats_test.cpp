#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/progress.h"
#include "picture/codecs/codecs.h"
#include "picture/codecs/composition.h"
#include "picture/codecs/picture_block.h"
#include "picture/codecs/sprite.h"
#include "tests/picture/codecs/simple_support/codec_test_util.h"

using namespace codec_test;

namespace {

Bytes Written(const std::function<void(CGraphicsStream&)>& write)
{
    CGraphicsStream stream;
    stream.CreateMemory(0);
    write(stream);
    return Bytes(stream.Data(), stream.Data() + stream.Size());
}

uint32_t U32(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }

int ReadBlockFrom(const Bytes& data, CPicture& picture)
{
    CGraphicsStream stream;
    stream.OpenMemory(data.data(), data.size());
    return ReadPictureBlock(picture, stream, nullptr);
}

std::unique_ptr<CSprite> Leaf(int left, int top, uint32_t rgb, int width, int height, int alpha = -1)
{
    auto sprite = std::make_unique<CSprite>();
    sprite->rect = {left, top, left + width, top + height};
    Fill(sprite->picture, width, height, [rgb](int, int) { return rgb; });
    if (alpha >= 0) {
        sprite->picture.CreateAlpha();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                sprite->picture.SetAlpha(x, y, alpha);
    }
    return sprite;
}

std::vector<std::string> g_texts;
void RecordText(const std::string& text) { g_texts.push_back(text); }

} // namespace

TEST(ZephraFormats, ZesWritesOneSpriteWithA32BitBlock)
{
    CPicture picture;
    Fill(picture, 100, 2, [](int x, int y) { return y == 0 ? 0xC80505u : (x == 0 ? 0xC01010u : 0x101010u); });
    Bytes file = WriteToMemory(ZesCodec(), picture, 32);
    ASSERT_GT(file.size(), 104u);
    // Sprite header: signature, version 1, no children, rectangle (0, 0, 100, 2), no extra.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data())), "tarnaksprite\xA7zephra");
    EXPECT_EQ(file[26] | file[27] << 8, 1);
    EXPECT_EQ(U32(file, 32), 0u);
    EXPECT_EQ(U32(file, 36) + U32(file, 40), 0u);
    EXPECT_EQ(U32(file, 44), 100u);
    EXPECT_EQ(U32(file, 48), 2u);
    EXPECT_EQ(U32(file, 52), 0u);
    // Picture header.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data() + 56)), "tarnakpicture\xA7zephra");
    EXPECT_EQ(file[56 + 28], 1); // run-length coded
    EXPECT_EQ(U32(file, 56 + 32), 100u);
    EXPECT_EQ(U32(file, 56 + 36), 2u);
    EXPECT_EQ(file[56 + 40], 32);
    // Row 0: R = 100 x 200, G and B 100 x 5, alpha 100 x 255; row 1: a lone C0 then 99 x 0x10.
    const Bytes rows = {0xFF, 0xC8, 0xE5, 0xC8, 0xFF, 0x05, 0xE5, 0x05, 0xFF, 0x05, 0xE5, 0x05, 0xFF, 0xFF, 0xE5, 0xFF,
                        0xC1, 0xC0, 0xFF, 0x10, 0xE4, 0x10, 0xFF, 0x10, 0xE5, 0x10, 0xFF, 0x10, 0xE5, 0x10,
                        0xFF, 0xFF, 0xE5, 0xFF};
    EXPECT_EQ(Bytes(file.begin() + 104, file.end()), rows);
}

TEST(ZephraFormats, ZesRoundTripIsExact)
{
    CPicture picture, copy;
    Fill(picture, 37, 11, [](int x, int y) { return uint32_t(x * 7) << 16 | uint32_t(y * 23) << 8 | uint32_t(x ^ y) * 9; });
    picture.CreateAlpha();
    for (int x = 0; x < 37; ++x)
        picture.SetAlpha(x, 3, x * 6);
    Bytes file = WriteToMemory(ZesCodec(), picture);
    ASSERT_TRUE(ReadFromMemory(ZesCodec(), file, copy));
    EXPECT_TRUE(SamePixels(picture, copy));
    EXPECT_EQ(copy.GetAlpha(20, 3), 120);
    EXPECT_EQ(copy.BitsPerPixel(), 32);
    EXPECT_EQ(WriteToMemory(ZesCodec(), copy), file);

    int width, height, bits;
    std::string info;
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    ASSERT_EQ(ZesCodec().PingStream(stream, &width, &height, &bits, &info), 1);
    EXPECT_EQ(width * 1000 + height, 37 * 1000 + 11);
    EXPECT_EQ(bits, 32);
    EXPECT_EQ(info, "Zephra Sprite (ZES)");
}

TEST(ZephraFormats, BlockSignatureVersionAndDamage)
{
    CPicture picture;
    Fill(picture, 5, 4, [](int x, int) { return uint32_t(x) * 0x303030u; });
    const Bytes block = Written([&](CGraphicsStream& s) { WritePictureBlock(picture, s, nullptr); });
    CPicture copy;
    ASSERT_EQ(ReadBlockFrom(block, copy), kZephraOk);
    EXPECT_TRUE(SamePixels(picture, copy));

    Bytes bad = block;
    bad[26] = 2;
    EXPECT_EQ(ReadBlockFrom(bad, copy), kZephraTooNew);
    bad = block;
    bad[28] = 2;
    EXPECT_EQ(ReadBlockFrom(bad, copy), kZephraTooNew);
    bad = block;
    bad[3] ^= 1;
    EXPECT_EQ(ReadBlockFrom(bad, copy), kZephraWrongSignature);
    EXPECT_EQ(ReadBlockFrom(Bytes(block.begin(), block.end() - 1), copy), kZephraFailed);
    bad = block;
    bad[32] = bad[33] = 0xFF; // 65535 wide from a few bytes
    EXPECT_EQ(ReadBlockFrom(bad, copy), kZephraFailed);
    bad = block;
    bad[48] = 0xC9; // a run of 9 in a row of 5
    EXPECT_EQ(ReadBlockFrom(bad, copy), kZephraFailed);

    // Raw rows are B, G, R as stored.
    Bytes raw(block.begin(), block.begin() + 48);
    raw[28] = 0;
    raw[40] = 24;
    for (int i = 0; i < 5 * 4 * 3; ++i)
        raw.push_back(uint8_t(i));
    ASSERT_EQ(ReadBlockFrom(raw, copy), kZephraOk);
    uint8_t p[3];
    copy.GetPixel(1, 0, p);
    EXPECT_EQ(p[0] * 10000 + p[1] * 100 + p[2], 3 * 10000 + 4 * 100 + 5);
}

TEST(ZephraFormats, SpriteTreesReadBackWithTheirTexts)
{
    CSprite root;
    root.rect = {10, 20, 14, 23};
    root.children.push_back(Leaf(10, 20, 0xFF0000, 2, 3));
    root.children.push_back(Leaf(12, 20, 0x0000FF, 2, 3, 255));
    const Bytes file = Written([&](CGraphicsStream& s) { EXPECT_EQ(WriteSprite(root, s, nullptr), kZephraOk); });

    CQnCallbackProgress progress;
    progress.onText = RecordText;
    progress.Begin();
    g_texts.clear();
    CSprite copy;
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    ASSERT_EQ(ReadSprite(copy, stream, &progress), kZephraOk);
    EXPECT_EQ(g_texts, (std::vector<std::string>{"Loading SubSprite (0/2)...", "Loading SubSprite (1/2)..."}));
    ASSERT_EQ(copy.children.size(), 2u);
    EXPECT_EQ(copy.children[1]->rect.left, 12);
    EXPECT_TRUE(copy.children[1]->picture.HasAlpha());

    // Through the codec the tree becomes one picture of the root's size.
    CPicture flat;
    ASSERT_TRUE(ReadFromMemory(ZesCodec(), file, flat));
    ASSERT_EQ(flat.Width(), 4);
    uint8_t p[3];
    flat.GetPixel(1, 2, p);
    EXPECT_EQ(p[2], 255);
    flat.GetPixel(3, 0, p);
    EXPECT_EQ(p[0], 255);
}

TEST(ZephraFormats, HostileSpriteFilesEndQuickly)
{
    // A few bytes announcing four thousand million children.
    Bytes header = Written([](CGraphicsStream& s) { WriteSpriteHeader(CSpriteRect{0, 0, 1, 1}, 0xFFFFFFFFu, s); });
    CSprite sprite;
    CGraphicsStream stream;
    stream.OpenMemory(header.data(), header.size());
    EXPECT_EQ(ReadSprite(sprite, stream, nullptr), kZephraFailed);

    // Thousands of nested sprites of one child each.
    const Bytes level = Written([](CGraphicsStream& s) { WriteSpriteHeader(CSpriteRect{0, 0, 1, 1}, 1, s); });
    Bytes nested;
    for (int i = 0; i < 5000; ++i)
        nested.insert(nested.end(), level.begin(), level.end());
    stream.OpenMemory(nested.data(), nested.size());
    EXPECT_EQ(ReadSprite(sprite, stream, nullptr), kZephraFailed);
    EXPECT_TRUE(sprite.children.empty());

    // A tree whose header asks for a 60000 x 60000 canvas around one small child.
    CSprite giant;
    giant.rect = {0, 0, 60000, 60000};
    giant.children.push_back(Leaf(0, 0, 0xFF0000, 2, 2));
    const Bytes giantFile = Written([&](CGraphicsStream& s) { EXPECT_EQ(WriteSprite(giant, s, nullptr), kZephraOk); });
    CPicture flat;
    EXPECT_FALSE(ReadFromMemory(ZesCodec(), giantFile, flat));
    EXPECT_TRUE(flat.IsEmpty());

    Bytes tooNew = header;
    tooNew[26] = 2;
    stream.OpenMemory(tooNew.data(), tooNew.size());
    EXPECT_EQ(ReadSprite(sprite, stream, nullptr), kZephraTooNew);
}

TEST(ZephraFormats, CompositionRendersBackgroundThenSpritesThroughAlpha)
{
    CPicture background;
    Fill(background, 4, 3, [](int, int) { return 0xFF0000u; });
    std::unique_ptr<CSprite> opaque = Leaf(0, 0, 0x00FF00, 2, 1);
    std::unique_ptr<CSprite> half = Leaf(3, 2, 0x0000FF, 2, 2, 128); // partly outside
    Bytes file(48, 0);
    zephra::PutSignature(file.data(), kCompositionSignature);
    file[26] = 1;
    file[30] = 4;
    file[32] = 3;
    file[36] = 2;
    Bytes rest = Written([&](CGraphicsStream& s) {
        WritePictureBlock(background, s, nullptr);
        WriteSprite(*opaque, s, nullptr);
        WriteSprite(*half, s, nullptr);
    });
    file.insert(file.end(), rest.begin(), rest.end());

    CPicture picture;
    ASSERT_TRUE(ReadFromMemory(ZecCodec(), file, picture));
    ASSERT_EQ(picture.Width(), 4);
    ASSERT_EQ(picture.Height(), 3);
    auto pixel = [&](int x, int y) {
        uint8_t p[3];
        picture.GetPixel(x, y, p);
        return uint32_t(p[2]) << 16 | p[1] << 8 | p[0];
    };
    EXPECT_EQ(pixel(1, 0), 0x00FF00u);
    EXPECT_EQ(pixel(2, 0), 0xFF0000u);
    EXPECT_EQ(pixel(3, 2), 0x7F0080u);

    int width, height, bits;
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    ASSERT_EQ(ZecCodec().PingStream(stream, &width, &height, &bits, nullptr), 1);
    EXPECT_EQ(width * 100 + height * 10, 430);
    EXPECT_EQ(bits, 32);

    CComposition composition;
    stream.Rewind();
    ASSERT_EQ(ReadComposition(stream, composition, nullptr), kZephraOk);
    EXPECT_EQ(composition.background.Description(), "Zephra Composition");

    // A sprite count the file cannot hold, and a newer version.
    Bytes bad = file;
    bad[38] = 0x7F;
    stream.OpenMemory(bad.data(), bad.size());
    EXPECT_EQ(ReadComposition(stream, composition, nullptr), kZephraFailed);
    bad = file;
    bad[26] = 2;
    stream.OpenMemory(bad.data(), bad.size());
    EXPECT_EQ(ReadComposition(stream, composition, nullptr), kZephraTooNew);
}
