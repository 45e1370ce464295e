#pragma once
// Helpers for the TIFF, Targa, PCX and Photoshop codec tests: synthetic pictures, memory
// round trips, and (native only) running reference tools on real files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "picture/graphics_codec.h"
#include "picture/picture.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace rastertest {

// A picture with smooth gradients, flat areas (runs) and noise, so that every coder path is used.
inline std::unique_ptr<CPicture> MakeColourPicture(int width, int height, bool alpha = false)
{
    auto picture = std::make_unique<CPicture>();
    picture->Create(width, height);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245 + 12345;
            uint8_t bgr[3] = {uint8_t(x * 7 + y), uint8_t(y * 5), uint8_t((x ^ y) * 3)};
            if (x > width / 2)
                bgr[0] = bgr[1] = bgr[2] = (y / 4) % 2 ? 0xC5 : 0x10; // flat runs, bytes >= 0xC0
            if (y % 7 == 3)
                bgr[1] = uint8_t(seed >> 16);
            picture->SetPixel(x, y, bgr);
        }
    picture->SetBitsPerPixel(alpha ? 32 : 24);
    if (alpha)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture->SetAlpha(x, y, (x * 13 + y * 7) & 0xFF);
    return picture;
}

// A palette picture of depth `bits` whose pixels are all palette colours.
inline std::unique_ptr<CPicture> MakePalettePicture(int width, int height, int bits)
{
    auto picture = std::make_unique<CPicture>();
    picture->Create(width, height);
    picture->SetBitsPerPixel(bits);
    const unsigned n = picture->PaletteSize();
    for (unsigned i = 0; i < n; ++i) {
        const uint8_t bgr[3] = {uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 91 + 7)};
        picture->SetPaletteEntry(i, bgr);
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t bgr[3];
            picture->GetPaletteEntry(static_cast<unsigned>((x / 3 + y * 5) % n), bgr);
            picture->SetPixel(x, y, bgr);
        }
    return picture;
}

// Writes `picture` with `codec` into memory; the bytes, or empty on failure.
inline std::vector<uint8_t> WriteToMemory(CGraphicsCodec& codec, CPicture& picture, bool option, int bits = 0)
{
    CGraphicsStream stream;
    stream.CreateMemory(0);
    if (!codec.WriteStream(stream, &picture, bits, option, nullptr))
        return {};
    return std::vector<uint8_t>(stream.Data(), stream.Data() + stream.Size());
}

inline bool ReadFromMemory(CGraphicsCodec& codec, const std::vector<uint8_t>& bytes, CPicture& picture)
{
    CGraphicsStream stream;
    stream.OpenMemory(bytes.data(), bytes.size());
    return codec.ReadStream(stream, &picture, nullptr) == 1;
}

inline bool PingMemory(CGraphicsCodec& codec, const std::vector<uint8_t>& bytes, int* w, int* h, int* bits,
                       std::string* info)
{
    CGraphicsStream stream;
    stream.OpenMemory(bytes.data(), bytes.size());
    return codec.PingStream(stream, w, h, bits, info) == 1;
}

// Pixels (and alpha, when both have a plane) equal.
inline ::testing::AssertionResult SamePixels(const CPicture& a, const CPicture& b, bool compareAlpha = false)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return ::testing::AssertionFailure() << "size " << a.Width() << "x" << a.Height() << " vs " << b.Width()
                                             << "x" << b.Height();
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            uint8_t p[3], q[3];
            a.GetPixel(x, y, p);
            b.GetPixel(x, y, q);
            if (p[0] != q[0] || p[1] != q[1] || p[2] != q[2])
                return ::testing::AssertionFailure() << "pixel " << x << "," << y;
            if (compareAlpha && a.GetAlpha(x, y) != b.GetAlpha(x, y))
                return ::testing::AssertionFailure() << "alpha " << x << "," << y << ": " << a.GetAlpha(x, y)
                                                     << " vs " << b.GetAlpha(x, y);
        }
    return ::testing::AssertionSuccess();
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

#ifndef _WIN32
// ---- Reference tools (native tests only) ----

inline bool HaveTool(const std::string& name)
{
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool RunTool(const std::string& command)
{
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

constexpr const char* kMagick = "convert-im6.q16";
constexpr const char* kIdentify = "identify-im6.q16";

// Per process, so that test programs running side by side never share a file.
inline std::string TempPath(const std::string& name)
{
    return ::testing::TempDir() + "quenta_raster_" + std::to_string(getpid()) + "_" + name;
}

// Writes the picture as a binary PPM (or PAM with alpha when `alpha`).
inline void SaveNetpbm(const CPicture& picture, const std::string& path, bool alpha = false)
{
    std::ostringstream s;
    if (alpha)
        s << "P7\nWIDTH " << picture.Width() << "\nHEIGHT " << picture.Height()
          << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    else
        s << "P6\n" << picture.Width() << " " << picture.Height() << "\n255\n";
    std::string data = s.str();
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            uint8_t p[3];
            picture.GetPixel(x, y, p);
            data += char(p[2]);
            data += char(p[1]);
            data += char(p[0]);
            if (alpha)
                data += char(picture.GetAlpha(x, y) < 0 ? 255 : picture.GetAlpha(x, y));
        }
    std::ofstream(path, std::ios::binary) << data;
}

// The file as decoded by ImageMagick: a picture with an alpha plane when `withAlpha`.
// `options` go after the input (for example "-auto-orient").
inline std::unique_ptr<CPicture> PictureFromRgba(const std::string& raw, const std::string& size, bool withAlpha);

inline std::unique_ptr<CPicture> DecodeWithMagick(const std::string& path, bool withAlpha,
                                                  const std::string& options = {})
{
    const std::string raw = TempPath("magick.rgba"), size = TempPath("magick.size");
    if (!RunTool(std::string(kMagick) + " '" + path + "[0]' " + options + " -depth 8 rgba:" + raw) ||
        !RunTool(std::string(kIdentify) + " -format '%w %h' '" + path + "[0]' > " + size))
        return nullptr;
    return PictureFromRgba(raw, size, withAlpha);
}

// The file as decoded by Pillow (the system's Python, which has it installed).
inline std::unique_ptr<CPicture> DecodeWithPillow(const std::string& path, bool withAlpha)
{
    const std::string raw = TempPath("pillow.rgba"), size = TempPath("pillow.size");
    const std::string script = "import sys; from PIL import Image; im = Image.open(sys.argv[1]).convert('RGBA'); "
                               "open(sys.argv[2], 'wb').write(im.tobytes()); print(im.size[0], im.size[1])";
    if (!RunTool("/usr/bin/python3 -c \"" + script + "\" '" + path + "' " + raw + " > " + size))
        return nullptr;
    return PictureFromRgba(raw, size, withAlpha);
}

inline bool HavePillow() { return RunTool("/usr/bin/python3 -c 'import PIL' >/dev/null"); }

inline std::unique_ptr<CPicture> PictureFromRgba(const std::string& raw, const std::string& size, bool withAlpha)
{
    int w = 0, h = 0;
    std::ifstream(size) >> w >> h;
    std::vector<uint8_t> bytes = ReadFileBytes(raw);
    if (w <= 0 || h <= 0 || bytes.size() != size_t(w) * h * 4)
        return nullptr;
    auto picture = std::make_unique<CPicture>();
    picture->Create(w, h);
    if (withAlpha)
        picture->CreateAlpha();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &bytes[(size_t(y) * w + x) * 4];
            const uint8_t bgr[3] = {p[2], p[1], p[0]};
            picture->SetPixel(x, y, bgr);
            if (withAlpha)
                picture->SetAlpha(x, y, p[3]);
        }
    return picture;
}

// A binary PPM (as netpbm tools write it) read into a picture.
inline std::unique_ptr<CPicture> LoadPpm(const std::string& path)
{
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    std::string text(bytes.begin(), bytes.end());
    std::istringstream s(text);
    std::string magic;
    int w = 0, h = 0, maxval = 0;
    s >> magic >> w >> h >> maxval;
    if (magic != "P6" || w <= 0 || h <= 0 || maxval != 255)
        return nullptr;
    const size_t start = static_cast<size_t>(s.tellg()) + 1;
    if (bytes.size() < start + size_t(w) * h * 3)
        return nullptr;
    auto picture = std::make_unique<CPicture>();
    picture->Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &bytes[start + (size_t(y) * w + x) * 3];
            const uint8_t bgr[3] = {p[2], p[1], p[0]};
            picture->SetPixel(x, y, bgr);
        }
    return picture;
}

inline std::unique_ptr<CPicture> LoadWith(CGraphicsCodec& codec, const std::string& path)
{
    auto picture = std::make_unique<CPicture>();
    if (!codec.ReadFile(path, picture.get(), nullptr))
        return nullptr;
    return picture;
}
#endif

} // namespace rastertest
