// libpng, pngcheck and ImageMagick as references for the PNG reader and writer.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "png_test_support.h"

namespace fs = std::filesystem;

namespace {
struct Decoded {
    bool ok = false;
    unsigned width = 0, height = 0, depth = 0, colourType = 0;
    std::vector<Bytes> rows;       // samples as stored, deinterlaced
    std::vector<png_color> palette;
};

// libpng with no transformation but deinterlacing: the samples exactly as the file holds them.
Decoded DecodeWithLibpng(const std::string& path, bool expandToRgb = false)
{
    Decoded d;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return d;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(f);
        d.ok = false;
        return d;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    d.width = png_get_image_width(png, info);
    d.height = png_get_image_height(png, info);
    d.depth = png_get_bit_depth(png, info);
    d.colourType = png_get_color_type(png, info);
    png_colorp plte = nullptr;
    int entries = 0;
    if (png_get_PLTE(png, info, &plte, &entries))
        d.palette.assign(plte, plte + entries);
    if (expandToRgb) {
        png_set_palette_to_rgb(png);
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    d.rows.assign(d.height, Bytes(png_get_rowbytes(png, info)));
    std::vector<png_bytep> pointers;
    for (auto& r : d.rows)
        pointers.push_back(r.data());
    png_read_image(png, pointers.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    d.ok = true;
    return d;
}

unsigned Sample(const Bytes& row, unsigned index, unsigned depth)
{
    if (depth == 8)
        return row[index];
    if (depth == 16)
        return row[2 * index]; // the high byte
    const unsigned bit = index * depth;
    return (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
}

// The picture the reader must produce from the file's samples: palette colours, grey levels
// spread over 0..255, 16-bit samples through their high byte, alpha into the alpha plane.
Bytes ExpectedPixels(const Decoded& d)
{
    const unsigned channels = d.colourType == 2 ? 3 : d.colourType == 4 ? 2 : d.colourType == 6 ? 4 : 1;
    const bool hasAlpha = d.colourType == 4 || d.colourType == 6;
    Bytes out;
    for (unsigned y = 0; y < d.height; ++y) {
        Bytes alpha;
        for (unsigned x = 0; x < d.width; ++x) {
            unsigned r, g, b;
            if (d.colourType == 3) {
                const unsigned i = Sample(d.rows[y], x, d.depth);
                const png_color c = i < d.palette.size() ? d.palette[i] : png_color{0, 0, 0};
                r = c.red, g = c.green, b = c.blue;
            } else if (d.colourType == 0 || d.colourType == 4) {
                unsigned v = Sample(d.rows[y], x * channels, d.depth);
                if (d.depth < 8)
                    v = v * 255 / ((1u << d.depth) - 1);
                r = g = b = v;
            } else {
                r = Sample(d.rows[y], x * channels, d.depth);
                g = Sample(d.rows[y], x * channels + 1, d.depth);
                b = Sample(d.rows[y], x * channels + 2, d.depth);
            }
            out.insert(out.end(), {uint8_t(b), uint8_t(g), uint8_t(r)});
            if (hasAlpha)
                alpha.push_back(uint8_t(Sample(d.rows[y], x * channels + channels - 1, d.depth)));
        }
        out.insert(out.end(), alpha.begin(), alpha.end());
    }
    return out;
}

bool ToolExists(const char* path) { return fs::exists(path); }

std::string TempPath(const std::string& name) { return testing::TempDir() + "quenta_png_" + name; }

Bytes RunAndCapture(const std::string& command)
{
    Bytes out;
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return out;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    pclose(p);
    return out;
}

// The picture's pixels as R, G, B (and A) rows, the way the tools write raw output.
Bytes RgbOf(const CPicture& p, bool withAlpha)
{
    Bytes out;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) {
            const uint8_t* px = p.Row(y) + 3 * x;
            out.insert(out.end(), {px[2], px[1], px[0]});
            if (withAlpha)
                out.push_back(p.HasAlpha() ? uint8_t(p.GetAlpha(x, y)) : 255);
        }
    return out;
}
} // namespace

TEST(PngOracle, SuiteFilesLoadAsLibpngDecodesThem)
{
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(kPngSuiteDir)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png" || name[0] == 'x')
            continue;
        const Decoded d = DecodeWithLibpng(entry.path().string());
        ASSERT_TRUE(d.ok) << name;
        CPicture p;
        ASSERT_TRUE(PngCodec().ReadFile(entry.path().string(), &p, nullptr)) << name;
        EXPECT_EQ(PixelsOf(p), ExpectedPixels(d)) << name;
        ++compared;
    }
    EXPECT_GT(compared, 150);
}

TEST(PngOracle, OurFilesDecodeWithLibpngPngcheckAndImageMagick)
{
    const bool havePngcheck = ToolExists("/usr/bin/pngcheck");
    const bool haveMagick = ToolExists("/usr/bin/convert-im6.q16");
    for (int bits : {1, 4, 8, 24, 32}) {
        for (int level = 0; level <= 3; ++level) {
            CPicture p;
            FillPattern(p, 61, 35);
            if (bits == 32) {
                p.SetBitsPerPixel(32);
                for (int x = 0; x < 61; ++x)
                    p.SetAlpha(x, x % 35, x * 4);
            }
            const std::string path = TempPath(std::to_string(bits) + "_" + std::to_string(level) + ".png");
            ASSERT_TRUE(PngCodec().WriteFile(path, &p, bits, false, nullptr));
            const bool alpha = bits == 32;
            const Bytes want = RgbOf(p, alpha);

            const Decoded d = DecodeWithLibpng(path, true);
            ASSERT_TRUE(d.ok) << path;
            Bytes got;
            for (const auto& row : d.rows)
                got.insert(got.end(), row.begin(), row.end());
            EXPECT_EQ(got, want) << "libpng " << path;

            if (havePngcheck) {
                EXPECT_EQ(std::system(("/usr/bin/pngcheck -q " + path + " >/dev/null").c_str()), 0) << path;
            }
            if (haveMagick) {
                const std::string format = alpha ? "rgba" : "rgb";
                EXPECT_EQ(RunAndCapture("/usr/bin/convert-im6.q16 " + path + " -depth 8 " + format + ":-"), want)
                    << "ImageMagick " << path;
            }
            std::remove(path.c_str());
        }
    }
}
