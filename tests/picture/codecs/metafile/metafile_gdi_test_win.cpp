// Metafiles drawn here with GDI, read through the codecs, and the codecs' own files checked.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/codecs/metafile_header.h"
#include "tests/picture/codecs/simple_support/codec_test_util.h"

using namespace codec_test;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0);

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT box = {left, top, right, bottom};
    FillRect(dc, &box, brush);
    DeleteObject(brush);
}

// A blue 100 x 50 field with a red box from (20, 10) to (60, 40).
void DrawScene(HDC dc)
{
    FillBox(dc, 0, 0, 100, 50, kBlue);
    FillBox(dc, 20, 10, 60, 40, kRed);
}

uint32_t Rgb(const CPicture& picture, int x, int y)
{
    uint8_t p[3];
    picture.GetPixel(x, y, p);
    return uint32_t(p[2]) << 16 | p[1] << 8 | p[0];
}

void ExpectScene(const CPicture& picture)
{
    ASSERT_EQ(picture.Width(), 100);
    ASSERT_EQ(picture.Height(), 50);
    EXPECT_EQ(Rgb(picture, 5, 5), 0x0000FFu);
    EXPECT_EQ(Rgb(picture, 95, 45), 0x0000FFu);
    EXPECT_EQ(Rgb(picture, 40, 25), 0xFF0000u);
    EXPECT_EQ(Rgb(picture, 21, 11), 0xFF0000u);
    EXPECT_EQ(Rgb(picture, 18, 8), 0x0000FFu);
}

// A Windows metafile of the scene in a 100 x 50 window, as bytes.
Bytes SceneWindowsMetafile()
{
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 100, 50, nullptr);
    DrawScene(dc);
    HMETAFILE wmf = CloseMetaFile(dc);
    Bytes bytes(GetMetaFileBitsEx(wmf, 0, nullptr));
    GetMetaFileBitsEx(wmf, UINT(bytes.size()), bytes.data());
    DeleteMetaFile(wmf);
    return bytes;
}

Bytes PlaceableSceneFile()
{
    Bytes file(metafile::kPlaceableSize);
    metafile::BuildPlaceableHeader(file.data(), 100, 50, 96);
    Bytes bits = SceneWindowsMetafile();
    file.insert(file.end(), bits.begin(), bits.end());
    return file;
}

} // namespace

TEST(MetafileGdi, EnhancedMetafileDrawnWithGdiLoadsAtItsSize)
{
    const std::string path = TempPath("scene.emf");
    HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), nullptr, nullptr);
    ASSERT_TRUE(dc);
    DrawScene(dc);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));

    CPicture picture;
    ASSERT_EQ(EmfCodec().ReadFile(path, &picture, nullptr), 1);
    ExpectScene(picture);

    // The player needs the path: from memory only the probe works.
    Bytes file = ReadBytes(path);
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    EXPECT_EQ(EmfCodec().ReadStream(stream, &picture, nullptr), 0);
    int width = 0, height = 0, bits = 0;
    EXPECT_EQ(EmfCodec().PingStream(stream, &width, &height, &bits, nullptr), 1);
    EXPECT_EQ(width * 1000 + height, 100 * 1000 + 50);
    std::remove(path.c_str());
}

TEST(MetafileGdi, PlaceableAndBareWindowsMetafiles)
{
    const std::string path = TempPath("scene.wmf");
    WriteBytes(path, PlaceableSceneFile());
    CPicture picture;
    ASSERT_EQ(WmfCodec().ReadFile(path, &picture, nullptr), 1);
    ExpectScene(picture);
    std::string info;
    int width, height, bits;
    ASSERT_TRUE(GetPictureFileInfo(path, &width, &height, &bits, &info));
    EXPECT_EQ(info, "WMF - Placeable Windows MetaFile (ALDUS)");

    // One wrong checksum bit: refused by every codec.
    Bytes wrong = PlaceableSceneFile();
    wrong[20] ^= 0x10;
    WriteBytes(path, wrong);
    EXPECT_EQ(WmfCodec().ReadFile(path, &picture, nullptr), 0);
    EXPECT_FALSE(LoadPicture(path, &picture, nullptr));

    // Bare: read when the size word agrees with the file, refused when not.
    Bytes bare = SceneWindowsMetafile();
    WriteBytes(path, bare);
    EXPECT_EQ(WmfCodec().ReadFile(path, &picture, nullptr), 1);
    EXPECT_GT(picture.Width(), 0);
    bare[6] ^= 1;
    WriteBytes(path, bare);
    EXPECT_EQ(WmfCodec().ReadFile(path, &picture, nullptr), 0);
    std::remove(path.c_str());
}

TEST(MetafileGdi, WrittenWindowsMetafileStartsWithAValidPlaceableHeader)
{
    const std::string path = TempPath("ours.wmf");
    CPicture original;
    Fill(original, 40, 30, [](int x, int y) { return x < 20 ? 0x00FF00u : (y < 15 ? 0xFF0000u : 0x0000FFu); });
    CPicture written;
    written.CopyFrom(original);
    ASSERT_EQ(WmfCodec().WriteFile(path, &written, 0, false, nullptr), 1);
    Bytes file = ReadBytes(path);
    ASSERT_GT(file.size(), metafile::kPlaceableSize + 18);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 10), (Bytes{0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(file[14] | file[15] << 8, 96);
    EXPECT_EQ(file[20] | file[21] << 8, metafile::PlaceableChecksum(file.data()));

    CPicture copy;
    ASSERT_EQ(WmfCodec().ReadFile(path, &copy, nullptr), 1);
    EXPECT_TRUE(SamePixels(original, copy));
    std::remove(path.c_str());
}

TEST(MetafileGdi, WrittenEnhancedMetafileCarriesTheDescription)
{
    const std::string path = TempPath("ours.emf");
    CPicture original;
    Fill(original, 40, 30, [](int x, int) { return x < 20 ? 0x00FF00u : 0xFF0000u; });
    CPicture written;
    written.CopyFrom(original);
    ASSERT_EQ(EmfCodec().WriteFile(path, &written, 0, false, nullptr), 1);
    Bytes file = ReadBytes(path);
    const std::string text = "Created by Ostrel Imagerion";
    Bytes wide;
    for (char c : text)
        wide.insert(wide.end(), {uint8_t(c), 0});
    EXPECT_NE(std::search(file.begin(), file.end(), wide.begin(), wide.end()), file.end());

    CPicture copy;
    ASSERT_EQ(EmfCodec().ReadFile(path, &copy, nullptr), 1);
    EXPECT_TRUE(SamePixels(original, copy));
    // Writing needs a path.
    CGraphicsStream memory;
    memory.CreateMemory(0);
    EXPECT_EQ(EmfCodec().WriteStream(memory, &written, 0, false, nullptr), 0);
    std::remove(path.c_str());
}
