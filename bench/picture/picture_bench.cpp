// Picture library speed beside its references, in one run:
//  - 24-bit BMP read and write of 4000 x 3000 vs a raw read and write of the same bytes;
//  - ReduceColours to 256 colours (error diffusion) vs ImageMagick "convert -colors 256";
//  - ScaleSmooth 4000 x 3000 to 1024 x 768 vs ImageMagick "convert -resize 1024x768".
// The ImageMagick rows time the whole process (reading a PPM, working, writing a BMP).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/core/colour_reduction.h"
#include "picturetools/core/scaling.h"

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
const char* const kConvert = "/usr/bin/convert-im6.q16";

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

// Smooth gradients, soft shapes and sensor-like noise: many distinct colours.
const CPicture& PhotoLike()
{
    static CPicture picture;
    if (picture.IsEmpty()) {
        picture.Create(kWidth, kHeight);
        uint32_t seed = 2024;
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* p = picture.Row(y);
            for (int x = 0; x < kWidth; ++x, p += 3) {
                seed = seed * 1664525 + 1013904223;
                const int noise = int(seed >> 29) - 4;
                const int dx = x - 2000, dy = y - 1500;
                const int ring = ((dx * dx + dy * dy) >> 12) & 0xFF;
                p[0] = uint8_t(std::clamp(x * 255 / kWidth + noise, 0, 255));
                p[1] = uint8_t(std::clamp((ring + y * 255 / kHeight) / 2 + noise, 0, 255));
                p[2] = uint8_t(std::clamp(255 - ring + noise, 0, 255));
            }
        }
    }
    return picture;
}

const std::string& PhotoBmp()
{
    static const std::string path = [] {
        std::string p = TempPath("qn_bench_photo.bmp");
        CPicture copy;
        copy.CopyFrom(PhotoLike());
        BmpCodec().WriteFile(p, &copy, 24, false, nullptr);
        return p;
    }();
    return path;
}

const std::string& PhotoPpm()
{
    static const std::string path = [] {
        std::string p = TempPath("qn_bench_photo.ppm");
        FILE* f = std::fopen(p.c_str(), "wb");
        std::fprintf(f, "P6\n%d %d\n255\n", kWidth, kHeight);
        std::vector<uint8_t> row(kWidth * 3);
        const CPicture& pic = PhotoLike();
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                row[x * 3] = pic.Row(y)[x * 3 + 2];
                row[x * 3 + 1] = pic.Row(y)[x * 3 + 1];
                row[x * 3 + 2] = pic.Row(y)[x * 3];
            }
            std::fwrite(row.data(), 1, row.size(), f);
        }
        std::fclose(f);
        return p;
    }();
    return path;
}

void BM_BmpRead24(benchmark::State& state)
{
    const std::string& path = PhotoBmp();
    CPicture picture;
    BmpCodec().ReadFile(path, &picture, nullptr); // the picture's block is allocated once, like the raw buffer
    for (auto _ : state)
        benchmark::DoNotOptimize(BmpCodec().ReadFile(path, &picture, nullptr));
}

void BM_RawReadSameBytes(benchmark::State& state)
{
    const std::string& path = PhotoBmp();
    const size_t size = std::filesystem::file_size(path);
    std::vector<uint8_t> buffer(size);
    for (auto _ : state) {
        FILE* f = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, size, f));
        std::fclose(f);
    }
}

void BM_BmpWrite24(benchmark::State& state)
{
    CPicture picture;
    picture.CopyFrom(PhotoLike());
    const std::string path = TempPath("qn_bench_write.bmp");
    for (auto _ : state)
        benchmark::DoNotOptimize(BmpCodec().WriteFile(path, &picture, 24, false, nullptr));
    std::remove(path.c_str());
}

void BM_RawWriteSameBytes(benchmark::State& state)
{
    const std::vector<uint8_t> buffer(std::filesystem::file_size(PhotoBmp()), 7);
    const std::string path = TempPath("qn_bench_raw.bin");
    for (auto _ : state) {
        FILE* f = std::fopen(path.c_str(), "wb");
        benchmark::DoNotOptimize(std::fwrite(buffer.data(), 1, buffer.size(), f));
        std::fclose(f);
    }
    std::remove(path.c_str());
}

void BM_ReduceColours256(benchmark::State& state)
{
    CPicture picture;
    for (auto _ : state) {
        state.PauseTiming();
        picture.CopyFrom(PhotoLike());
        state.ResumeTiming();
        benchmark::DoNotOptimize(ReduceColours(picture, 0, 0, kWidth, kHeight, 256, kMapDiffuse, nullptr));
    }
}

void BM_ScaleSmooth(benchmark::State& state)
{
    CPicture picture;
    for (auto _ : state) {
        state.PauseTiming();
        picture.CopyFrom(PhotoLike());
        state.ResumeTiming();
        benchmark::DoNotOptimize(ScaleSmooth(picture, 1024, 768, nullptr));
    }
}

void RunImageMagick(benchmark::State& state, const std::string& arguments)
{
    if (!std::filesystem::exists(kConvert)) {
        state.SkipWithError("ImageMagick missing");
        return;
    }
    const std::string command =
        std::string(kConvert) + " " + PhotoPpm() + " " + arguments + " BMP3:" + TempPath("qn_bench_im.bmp");
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("ImageMagick failed");
}

void BM_ImageMagickColours256(benchmark::State& state) { RunImageMagick(state, "-colors 256"); }
void BM_ImageMagickResize(benchmark::State& state) { RunImageMagick(state, "-resize 1024x768"); }

} // namespace

BENCHMARK(BM_BmpRead24)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_RawReadSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_BmpWrite24)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_RawWriteSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ReduceColours256)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ImageMagickColours256)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ScaleSmooth)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ImageMagickResize)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
