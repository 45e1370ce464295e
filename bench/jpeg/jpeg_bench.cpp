// The JPEG codec beside libjpeg-turbo on a 12-megapixel photo-like picture: decode of baseline
// 4:2:0 and 4:4:4 and of progressive 4:2:0 files (accurate integer IDCT, no fancy upsampling on
// both sides), the same on a noisier picture (more coefficients, more entropy coding), and
// quality-80 encode with optimised Huffman tables of both pictures.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "libjpeg_reference.h"
#include "picture/codecs/jpeg_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"
#include "synthetic_photo.h"

namespace {
const RgbImage& Photo()
{
    static const RgbImage photo = MakePhotoLike(4000, 3000, 17);
    return photo;
}

// The photo with strong per-sample noise, as from a small sensor at high sensitivity.
const RgbImage& NoisyPhoto()
{
    static const RgbImage noisy = [] {
        RgbImage image = Photo();
        uint32_t state = 99;
        for (uint8_t& sample : image.data) {
            state = state * 1664525u + 1013904223u;
            const int noise = static_cast<int>((state >> 24) % 49) - 24;
            const int value = sample + noise;
            sample = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
        }
        return image;
    }();
    return noisy;
}

enum class FileKind { Baseline420, Baseline444, Progressive420, NoisyBaseline420, NoisyProgressive420, Count };

// The picture encoded by libjpeg at quality 85 with optimised tables.
const std::vector<uint8_t>& ReferenceFile(FileKind kind)
{
    static std::vector<uint8_t> files[static_cast<int>(FileKind::Count)];
    std::vector<uint8_t>& file = files[static_cast<int>(kind)];
    if (file.empty()) {
        LibjpegEncodeOptions options;
        options.quality = 85;
        options.progressive = kind == FileKind::Progressive420 || kind == FileKind::NoisyProgressive420;
        options.optimize = true;
        if (kind == FileKind::Baseline444)
            options.hSampling = options.vSampling = 1;
        const bool noisy = kind == FileKind::NoisyBaseline420 || kind == FileKind::NoisyProgressive420;
        file = LibjpegEncode(noisy ? NoisyPhoto() : Photo(), options);
    }
    return file;
}

void DecodeOurs(benchmark::State& state, FileKind kind)
{
    const std::vector<uint8_t>& file = ReferenceFile(kind);
    for (auto _ : state) {
        CGraphicsStream stream;
        stream.OpenMemory(file.data(), file.size());
        CPicture picture;
        if (!JpegCodec().ReadStream(stream, &picture, nullptr))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(picture.Row(0));
    }
}

void DecodeLibjpeg(benchmark::State& state, FileKind kind)
{
    const std::vector<uint8_t>& file = ReferenceFile(kind);
    for (auto _ : state) {
        RgbImage image;
        if (!LibjpegDecode(file, image))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.data.data());
    }
}

void BM_DecodeBaseline420_Quenta(benchmark::State& state) { DecodeOurs(state, FileKind::Baseline420); }
void BM_DecodeBaseline420_Libjpeg(benchmark::State& state) { DecodeLibjpeg(state, FileKind::Baseline420); }
void BM_DecodeBaseline444_Quenta(benchmark::State& state) { DecodeOurs(state, FileKind::Baseline444); }
void BM_DecodeBaseline444_Libjpeg(benchmark::State& state) { DecodeLibjpeg(state, FileKind::Baseline444); }
void BM_DecodeProgressive420_Quenta(benchmark::State& state) { DecodeOurs(state, FileKind::Progressive420); }
void BM_DecodeProgressive420_Libjpeg(benchmark::State& state) { DecodeLibjpeg(state, FileKind::Progressive420); }
void BM_DecodeNoisyBaseline420_Quenta(benchmark::State& state) { DecodeOurs(state, FileKind::NoisyBaseline420); }
void BM_DecodeNoisyBaseline420_Libjpeg(benchmark::State& state) { DecodeLibjpeg(state, FileKind::NoisyBaseline420); }
void BM_DecodeNoisyProgressive420_Quenta(benchmark::State& state)
{
    DecodeOurs(state, FileKind::NoisyProgressive420);
}
void BM_DecodeNoisyProgressive420_Libjpeg(benchmark::State& state)
{
    DecodeLibjpeg(state, FileKind::NoisyProgressive420);
}

void EncodeOurs(benchmark::State& state, const RgbImage& photo)
{
    CPicture picture;
    picture.Create(unsigned(photo.width), unsigned(photo.height));
    for (int y = 0; y < photo.height; ++y)
        for (int x = 0; x < photo.width; ++x)
            for (int c = 0; c < 3; ++c)
                picture.Row(y)[x * 3 + c] = photo.At(x, y, 2 - c);
    JpegCodec().SetQuality(80);
    for (auto _ : state) {
        CGraphicsStream stream;
        stream.CreateMemory(0);
        if (!JpegCodec().WriteStream(stream, &picture, 0, false, nullptr))
            state.SkipWithError("encode failed");
        benchmark::DoNotOptimize(stream.Data());
    }
}

// libjpeg with the same sampling as ours (1 x 1) and optimize_coding.
void EncodeLibjpeg(benchmark::State& state, const RgbImage& photo)
{
    LibjpegEncodeOptions options;
    options.quality = 80;
    options.hSampling = options.vSampling = 1;
    options.optimize = true;
    for (auto _ : state) {
        std::vector<uint8_t> bytes = LibjpegEncode(photo, options);
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_EncodeQ80Optimised_Quenta(benchmark::State& state) { EncodeOurs(state, Photo()); }
void BM_EncodeQ80Optimised_Libjpeg(benchmark::State& state) { EncodeLibjpeg(state, Photo()); }
void BM_EncodeNoisyQ80Optimised_Quenta(benchmark::State& state) { EncodeOurs(state, NoisyPhoto()); }
void BM_EncodeNoisyQ80Optimised_Libjpeg(benchmark::State& state) { EncodeLibjpeg(state, NoisyPhoto()); }
} // namespace

BENCHMARK(BM_DecodeBaseline420_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeBaseline420_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeBaseline444_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeBaseline444_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeProgressive420_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeProgressive420_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeNoisyBaseline420_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeNoisyBaseline420_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeNoisyProgressive420_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeNoisyProgressive420_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_EncodeQ80Optimised_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_EncodeQ80Optimised_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_EncodeNoisyQ80Optimised_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_EncodeNoisyQ80Optimised_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);

BENCHMARK_MAIN();
