// Reading 12-megapixel files: our TIFF reader beside libtiff's TIFFReadEncodedStrip (LZW with
// horizontal differencing), and our Targa (run-length) and PCX readers beside ImageMagick,
// both as whole processes and ours also in process.
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

std::string BenchPath(const char* name) { return std::string("/tmp/quenta_bench_") + name; }

// Smooth gradients with flat areas and mild noise: compresses like a scanned illustration.
std::vector<uint8_t> MakeRgb()
{
    std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
    uint32_t seed = 1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = &rgb[(size_t(y) * kWidth + x) * 3];
            seed = seed * 1103515245 + 12345;
            const int noise = (seed >> 16) & 3;
            if ((x / 250 + y / 250) % 3 == 0) {
                p[0] = 200;
                p[1] = 180;
                p[2] = 40;
            } else {
                p[0] = uint8_t(x / 16 + noise);
                p[1] = uint8_t(y / 12 + noise);
                p[2] = uint8_t((x + y) / 28);
            }
        }
    return rgb;
}

bool WriteLibtiffFile(const std::vector<uint8_t>& rgb, const std::string& path)
{
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif)
        return false;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_PREDICTOR, 2);
    const uint32_t rowsPerStrip = TIFFDefaultStripSize(tif, 0);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    for (uint32_t y = 0, strip = 0; y < uint32_t(kHeight); y += rowsPerStrip, ++strip) {
        const uint32_t rows = std::min<uint32_t>(rowsPerStrip, kHeight - y);
        TIFFWriteEncodedStrip(tif, strip, const_cast<uint8_t*>(&rgb[size_t(y) * kWidth * 3]),
                              tmsize_t(rows) * kWidth * 3);
    }
    TIFFClose(tif);
    return true;
}

struct Files {
    Files()
    {
        const std::vector<uint8_t> rgb = MakeRgb();
        ok = WriteLibtiffFile(rgb, BenchPath("lzw2.tif"));
        CPicture picture;
        picture.Create(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint8_t* p = &rgb[(size_t(y) * kWidth + x) * 3];
                uint8_t* q = picture.Row(y) + x * 3;
                q[0] = p[2];
                q[1] = p[1];
                q[2] = p[0];
            }
        ok = ok && TgaCodec().WriteFile(BenchPath("rle.tga"), &picture, 0, true, nullptr);
        ok = ok && PcxCodec().WriteFile(BenchPath("rgb.pcx"), &picture, 0, false, nullptr);
    }
    bool ok = false;
};

const Files& TestFiles()
{
    static Files files;
    return files;
}

void ReadOurs(benchmark::State& state, CGraphicsCodec& codec, const char* name)
{
    if (!TestFiles().ok) {
        state.SkipWithError("cannot write the test files");
        return;
    }
    for (auto _ : state) {
        CPicture picture;
        if (!codec.ReadFile(BenchPath(name), &picture, nullptr))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(picture.Bits());
    }
}

void RunProcess(benchmark::State& state, const std::string& command)
{
    if (!TestFiles().ok) {
        state.SkipWithError("cannot write the test files");
        return;
    }
    for (auto _ : state)
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
            state.SkipWithError(("failed: " + command).c_str());
}

void BM_TiffLzwPredictor_Ours(benchmark::State& state) { ReadOurs(state, TifCodec(), "lzw2.tif"); }

void BM_TiffLzwPredictor_Libtiff(benchmark::State& state)
{
    if (!TestFiles().ok) {
        state.SkipWithError("cannot write the test files");
        return;
    }
    TIFFSetWarningHandler(nullptr);
    for (auto _ : state) {
        TIFF* tif = TIFFOpen(BenchPath("lzw2.tif").c_str(), "r");
        std::vector<uint8_t> buffer(TIFFStripSize(tif));
        for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s)
            TIFFReadEncodedStrip(tif, s, buffer.data(), tmsize_t(buffer.size()));
        benchmark::DoNotOptimize(buffer.data());
        TIFFClose(tif);
    }
}

// The same decoding into one buffer for the whole picture, as a reader that keeps the picture
// must do (our reader fills the picture's pixel block).
void BM_TiffLzwPredictor_LibtiffWholePicture(benchmark::State& state)
{
    if (!TestFiles().ok) {
        state.SkipWithError("cannot write the test files");
        return;
    }
    TIFFSetWarningHandler(nullptr);
    for (auto _ : state) {
        TIFF* tif = TIFFOpen(BenchPath("lzw2.tif").c_str(), "r");
        const tmsize_t stripSize = TIFFStripSize(tif);
        std::unique_ptr<uint8_t[]> image(new uint8_t[size_t(kWidth) * kHeight * 3 + size_t(stripSize)]());
        for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s)
            TIFFReadEncodedStrip(tif, s, image.get() + size_t(s) * size_t(stripSize), stripSize);
        benchmark::DoNotOptimize(image.get());
        TIFFClose(tif);
    }
}

void BM_TgaRle_Ours(benchmark::State& state) { ReadOurs(state, TgaCodec(), "rle.tga"); }
void BM_TgaRle_OursProcess(benchmark::State& state)
{
    RunProcess(state, std::string(RASTER_READ_TOOL) + " " + BenchPath("rle.tga"));
}
void BM_TgaRle_ImageMagickProcess(benchmark::State& state)
{
    RunProcess(state, "convert-im6.q16 " + BenchPath("rle.tga") + " null:");
}
void BM_Pcx_Ours(benchmark::State& state) { ReadOurs(state, PcxCodec(), "rgb.pcx"); }
void BM_Pcx_OursProcess(benchmark::State& state)
{
    RunProcess(state, std::string(RASTER_READ_TOOL) + " " + BenchPath("rgb.pcx"));
}
void BM_Pcx_ImageMagickProcess(benchmark::State& state)
{
    RunProcess(state, "convert-im6.q16 " + BenchPath("rgb.pcx") + " null:");
}

} // namespace

BENCHMARK(BM_TiffLzwPredictor_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffLzwPredictor_Libtiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffLzwPredictor_LibtiffWholePicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TgaRle_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TgaRle_OursProcess)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TgaRle_ImageMagickProcess)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Pcx_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pcx_OursProcess)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Pcx_ImageMagickProcess)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
