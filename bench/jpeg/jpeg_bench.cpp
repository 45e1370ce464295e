// The JPEG codec beside libjpeg-turbo on a 12-megapixel photo-like picture: decode of baseline
// 4:2:0 and progressive files (accurate integer IDCT, no fancy upsampling on both sides) and
// quality-80 encode with optimised Huffman tables.
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

const std::vector<uint8_t>& ReferenceFile(bool progressive)
{
    static std::vector<uint8_t> files[2];
    std::vector<uint8_t>& file = files[progressive ? 1 : 0];
    if (file.empty()) {
        LibjpegEncodeOptions options;
        options.quality = 85;
        options.progressive = progressive;
        options.optimize = true;
        file = LibjpegEncode(Photo(), options);
    }
    return file;
}

void DecodeOurs(benchmark::State& state, bool progressive)
{
    const std::vector<uint8_t>& file = ReferenceFile(progressive);
    for (auto _ : state) {
        CGraphicsStream stream;
        stream.OpenMemory(file.data(), file.size());
        CPicture picture;
        if (!JpegCodec().ReadStream(stream, &picture, nullptr))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(picture.Row(0));
    }
}

void DecodeLibjpeg(benchmark::State& state, bool progressive)
{
    const std::vector<uint8_t>& file = ReferenceFile(progressive);
    for (auto _ : state) {
        RgbImage image;
        if (!LibjpegDecode(file, image))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.data.data());
    }
}

void BM_DecodeBaseline420_Quenta(benchmark::State& state) { DecodeOurs(state, false); }
void BM_DecodeBaseline420_Libjpeg(benchmark::State& state) { DecodeLibjpeg(state, false); }
void BM_DecodeProgressive420_Quenta(benchmark::State& state) { DecodeOurs(state, true); }
void BM_DecodeProgressive420_Libjpeg(benchmark::State& state) { DecodeLibjpeg(state, true); }

void BM_EncodeQ80Optimised_Quenta(benchmark::State& state)
{
    CPicture picture;
    const RgbImage& photo = Photo();
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
void BM_EncodeQ80Optimised_Libjpeg(benchmark::State& state)
{
    LibjpegEncodeOptions options;
    options.quality = 80;
    options.hSampling = options.vSampling = 1;
    options.optimize = true;
    for (auto _ : state) {
        std::vector<uint8_t> bytes = LibjpegEncode(Photo(), options);
        benchmark::DoNotOptimize(bytes.data());
    }
}
} // namespace

BENCHMARK(BM_DecodeBaseline420_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeBaseline420_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeProgressive420_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecodeProgressive420_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_EncodeQ80Optimised_Quenta)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_EncodeQ80Optimised_Libjpeg)->Unit(benchmark::kMillisecond)->MinTime(2);

BENCHMARK_MAIN();
