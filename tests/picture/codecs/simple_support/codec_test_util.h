#pragma once
// Small helpers shared by the tests of the simple raster codecs: pictures built from a
// function, memory and file round trips, and the command-line oracles (netpbm, ImageMagick).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "tests/support/reference_required.h"

namespace codec_test {

using Bytes = std::vector<uint8_t>;

inline std::string TempPath(const std::string& name) { return testing::TempDir() + "qn_simple_" + name; }

inline Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const Bytes& data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

// A 24-bit picture whose pixel (x, y) is colour(x, y) as 0xRRGGBB.
inline void Fill(CPicture& picture, int width, int height, const std::function<uint32_t(int, int)>& colour)
{
    ASSERT_TRUE(picture.Create(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t c = colour(x, y);
            const uint8_t bgr[3] = {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)};
            picture.SetPixel(x, y, bgr);
        }
}

// Gives the picture a palette of `colours` (0xRRGGBB) and the matching depth.
inline void SetPalette(CPicture& picture, const std::vector<uint32_t>& colours, int bits)
{
    picture.SetBitsPerPixel(bits);
    for (unsigned i = 0; i < colours.size(); ++i) {
        const uint8_t bgr[3] = {uint8_t(colours[i]), uint8_t(colours[i] >> 8), uint8_t(colours[i] >> 16)};
        picture.SetPaletteEntry(i, bgr);
    }
}

inline Bytes WriteToMemory(CGraphicsCodec& codec, CPicture& picture, int bits = 0, bool option = true)
{
    CGraphicsStream stream;
    stream.CreateMemory(0);
    if (codec.WriteStream(stream, &picture, bits, option, nullptr) != 1)
        return {};
    return Bytes(stream.Data(), stream.Data() + stream.Size());
}

inline bool ReadFromMemory(CGraphicsCodec& codec, const Bytes& data, CPicture& picture)
{
    CGraphicsStream stream;
    stream.OpenMemory(data.data(), data.size());
    return codec.ReadStream(stream, &picture, nullptr) == 1;
}

inline ::testing::AssertionResult SamePixels(const CPicture& a, const CPicture& b)
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
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
        }
    return ::testing::AssertionSuccess();
}

inline bool HaveTool(const std::string& tool)
{
#ifdef _WIN32
    (void)tool;
    return false;
#else
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
#endif
}

// An oracle test's tools (`present`: whether they are all on the PATH). Natively a missing tool
// skips on a developer's machine and fails under CI; under Wine, which cannot start the build
// machine's tools, the test skips.
#ifdef _WIN32
#define REQUIRE_ORACLE_TOOLS(present, what)                                   \
    do {                                                                      \
        GTEST_SKIP() << what << ": the build machine's tools do not run here"; \
    } while (0)
#else
#define REQUIRE_ORACLE_TOOLS(present, what)  \
    do {                                     \
        if (!(present))                      \
            SKIP_WITHOUT_REFERENCE(what);    \
    } while (0)
#endif

inline bool RunCommand(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()) == 0; }

constexpr const char* kImageMagick = "convert-im6.q16";

// The pixels of any file ImageMagick reads, through its raw RGB output.
inline bool LoadWithImageMagick(const std::string& path, int width, int height, CPicture& picture)
{
    const std::string raw = path + ".rgb";
    if (!RunCommand(std::string(kImageMagick) + " '" + path + "' -depth 8 rgb:'" + raw + "'"))
        return false;
    Bytes data = ReadBytes(raw);
    std::remove(raw.c_str());
    if (data.size() != size_t(width) * height * 3 || !picture.Create(width, height))
        return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* rgb = &data[(size_t(y) * width + x) * 3];
            const uint8_t bgr[3] = {rgb[2], rgb[1], rgb[0]};
            picture.SetPixel(x, y, bgr);
        }
    return true;
}

} // namespace codec_test
