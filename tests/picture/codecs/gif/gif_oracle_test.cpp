// giflib as the reference decoder for GIF files written by Pillow and ImageMagick.
#include <gtest/gtest.h>
#include <gif_lib.h>

#include <cstdlib>
#include <filesystem>

#include "gif_test_support.h"
#include "tests/support/reference_required.h"

namespace fs = std::filesystem;

namespace {
struct Reference {
    bool ok = false;
    int width = 0, height = 0;
    Bytes pixels; // B, G, R, then the alpha row when there is a transparent colour
};

Reference DecodeWithGiflib(const std::string& path)
{
    Reference r;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif)
        return r;
    if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
        DGifCloseFile(gif, &error);
        return r;
    }
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, 0, &gcb);
    r.width = image.ImageDesc.Width;
    r.height = image.ImageDesc.Height;
    for (int y = 0; y < r.height; ++y) {
        Bytes alpha;
        for (int x = 0; x < r.width; ++x) {
            const int index = image.RasterBits[y * r.width + x];
            const GifColorType c = index < map->ColorCount ? map->Colors[index] : GifColorType{0, 0, 0};
            r.pixels.insert(r.pixels.end(), {c.Blue, c.Green, c.Red});
            alpha.push_back(index == gcb.TransparentColor ? 0 : 255);
        }
        if (gcb.TransparentColor != NO_TRANSPARENT_COLOR)
            r.pixels.insert(r.pixels.end(), alpha.begin(), alpha.end());
    }
    r.ok = true;
    DGifCloseFile(gif, &error);
    return r;
}

Bytes PixelsOf(const CPicture& p)
{
    Bytes out;
    for (int y = 0; y < p.Height(); ++y) {
        out.insert(out.end(), p.Row(y), p.Row(y) + 3 * p.Width());
        if (p.HasAlpha())
            out.insert(out.end(), p.Alpha() + size_t(y) * p.Width(), p.Alpha() + size_t(y + 1) * p.Width());
    }
    return out;
}

int RunQuiet(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }
} // namespace

TEST(GifOracle, FilesOfOtherWritersLoadAsTheirFirstFrame)
{
    const std::string dir = testing::TempDir() + "quenta_gif_reference/";
    fs::remove_all(dir);
    fs::create_directories(dir);
    int made = 0;
    if (fs::exists("/usr/bin/python3") &&
        RunQuiet("/usr/bin/python3 " QUENTA_SOURCE_DIR "/tests/picture/codecs/gif/make_reference_gifs.py " + dir) == 0)
        ++made;
    const std::string magick = "/usr/bin/convert-im6.q16";
    if (fs::exists(magick)) {
        const char* commands[] = {
            "-size 64x48 gradient:red-blue -colors 16 {}im_16.gif",
            "-size 64x48 gradient:yellow-green -colors 200 -interlace GIF {}im_interlaced.gif",
            "-size 30x20 xc:red -page 100x80+10+5 {}im_smaller_than_screen.gif",
            "-size 20x20 xc:red xc:blue -delay 10 {}im_frames.gif",
            "-size 40x30 pattern:checkerboard -colors 2 {}im_two_colours.gif",
            "-size 40x30 gradient: -transparent white -colors 8 {}im_transparent.gif",
        };
        for (std::string c : commands) {
            c.replace(c.find("{}"), 2, dir);
            EXPECT_EQ(RunQuiet(magick + " " + c), 0) << c;
        }
        ++made;
    }
    if (!made)
        SKIP_WITHOUT_REFERENCE("neither Pillow nor ImageMagick is installed");

    int compared = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const Reference want = DecodeWithGiflib(entry.path().string());
        ASSERT_TRUE(want.ok) << entry.path();
        CPicture p;
        ASSERT_TRUE(GifCodec().ReadFile(entry.path().string(), &p, nullptr)) << entry.path();
        EXPECT_EQ(p.Width(), want.width) << entry.path();
        EXPECT_EQ(p.Height(), want.height) << entry.path();
        EXPECT_EQ(PixelsOf(p), want.pixels) << entry.path();
        ++compared;
    }
    EXPECT_GT(compared, 5);
    fs::remove_all(dir);
}
