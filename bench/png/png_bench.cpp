// Deflate engine, PNG and GIF codecs against zlib, libpng and giflib on the same data.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <png.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/codecs/inflater.h"
#include "picture/codecs/png_codec.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

namespace {
using Bytes = std::vector<uint8_t>;

constexpr unsigned kWidth = 4000, kHeight = 3000; // 12 megapixels, 36 MB of RGB

// Smooth shapes with a little sensor noise, like a photograph.
const Bytes& PhotoRgb()
{
    static const Bytes rgb = [] {
        Bytes v(size_t(kWidth) * kHeight * 3);
        uint32_t seed = 1;
        size_t i = 0;
        for (unsigned y = 0; y < kHeight; ++y)
            for (unsigned x = 0; x < kWidth; ++x) {
                seed = seed * 1103515245u + 12345u;
                const int noise = int((seed >> 16) & 7) - 3;
                const double fx = x / 400.0, fy = y / 300.0;
                const double base = 128 + 60 * std::sin(fx) * std::cos(fy * 0.7) + 40 * std::sin((fx + fy) * 0.5);
                v[i++] = uint8_t(std::clamp(int(base) + noise, 0, 255));
                v[i++] = uint8_t(std::clamp(int(base * 0.8 + 30 * std::cos(fy)) + noise, 0, 255));
                v[i++] = uint8_t(std::clamp(int(255 - base * 0.6) + noise, 0, 255));
            }
        return v;
    }();
    return rgb;
}

const CPicture& PhotoPicture()
{
    static CPicture* picture = [] {
        auto* p = new CPicture;
        p->Create(kWidth, kHeight);
        const Bytes& rgb = PhotoRgb();
        for (unsigned y = 0; y < kHeight; ++y) {
            uint8_t* row = p->Row(int(y));
            const uint8_t* in = rgb.data() + size_t(y) * kWidth * 3;
            for (unsigned x = 0; x < kWidth; ++x) {
                row[3 * x] = in[3 * x + 2];
                row[3 * x + 1] = in[3 * x + 1];
                row[3 * x + 2] = in[3 * x];
            }
        }
        return p;
    }();
    return *picture;
}

// ---- inflate ----

const Bytes& ZlibStream()
{
    static const Bytes z = [] {
        const Bytes& raw = PhotoRgb();
        uLongf size = compressBound(uLong(raw.size()));
        Bytes out(size);
        compress2(out.data(), &size, raw.data(), uLong(raw.size()), Z_DEFAULT_COMPRESSION);
        out.resize(size);
        return out;
    }();
    return z;
}

class OnePiece : public CInflateSource {
public:
    OnePiece(const uint8_t* data, size_t n) : m_data(data), m_size(n) {}
    size_t NextInput(const uint8_t*& data) override
    {
        data = m_data;
        const size_t n = m_size;
        m_size = 0;
        return n;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

void BM_InflateOurs(benchmark::State& state)
{
    const Bytes& z = ZlibStream();
    Bytes out(PhotoRgb().size());
    for (auto _ : state) {
        OnePiece source(z.data() + 2, z.size() - 2);
        CInflater inflater(source);
        inflater.Read(out.data(), out.size());
        benchmark::DoNotOptimize(inflater.Adler32());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void BM_InflateZlib(benchmark::State& state)
{
    const Bytes& z = ZlibStream();
    Bytes out(PhotoRgb().size());
    for (auto _ : state) {
        uLongf size = uLongf(out.size());
        uncompress(out.data(), &size, z.data(), uLong(z.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

// ---- PNG ----

struct MemoryWriter {
    Bytes data;
    static void Write(png_structp png, png_bytep bytes, png_size_t n)
    {
        auto* w = static_cast<MemoryWriter*>(png_get_io_ptr(png));
        w->data.insert(w->data.end(), bytes, bytes + n);
    }
    static void Flush(png_structp) {}
};

// libpng writing the photo: filter None only, or libpng's adaptive choice, at a zlib level.
Bytes LibpngWrite(bool filterNone, int level = Z_DEFAULT_COMPRESSION)
{
    MemoryWriter writer;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &writer, MemoryWriter::Write, MemoryWriter::Flush);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (filterNone)
        png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_compression_level(png, level);
    png_write_info(png, info);
    const Bytes& rgb = PhotoRgb();
    for (unsigned y = 0; y < kHeight; ++y)
        png_write_row(png, rgb.data() + size_t(y) * kWidth * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return writer.data;
}

const Bytes& PhotoPng()
{
    static const Bytes file = LibpngWrite(false);
    return file;
}

struct MemoryReader {
    const Bytes* data;
    size_t pos = 0;
    static void Read(png_structp png, png_bytep out, png_size_t n)
    {
        auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
        std::memcpy(out, r->data->data() + r->pos, n);
        r->pos += n;
    }
};

void BM_PngReadOurs(benchmark::State& state)
{
    const Bytes& file = PhotoPng();
    CPicture picture;
    for (auto _ : state) {
        CGraphicsStream stream;
        stream.OpenMemory(file.data(), file.size());
        if (!PngCodec().ReadStream(stream, &picture, nullptr))
            state.SkipWithError("read failed");
    }
}

void BM_PngReadLibpng(benchmark::State& state)
{
    const Bytes& file = PhotoPng();
    Bytes pixels(size_t(kWidth) * kHeight * 3);
    for (auto _ : state) {
        MemoryReader reader{&file};
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_set_read_fn(png, &reader, MemoryReader::Read);
        png_read_info(png, info);
        png_set_bgr(png); // the same B, G, R order our pictures hold
        for (unsigned y = 0; y < kHeight; ++y)
            png_read_row(png, pixels.data() + size_t(y) * kWidth * 3, nullptr);
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
    }
}

void BM_PngWriteOursLevel2(benchmark::State& state)
{
    CPicture& picture = const_cast<CPicture&>(PhotoPicture());
    size_t size = 0;
    for (auto _ : state) {
        CGraphicsStream stream;
        stream.CreateMemory(0);
        PngCodec().WriteStream(stream, &picture, 0, false, nullptr);
        size = stream.Size();
    }
    state.counters["bytes"] = double(size);
}

// The peer of our level 2: filter None at zlib level 2.
void BM_PngWriteLibpngFilterNone(benchmark::State& state)
{
    size_t size = 0;
    for (auto _ : state)
        size = LibpngWrite(true, 2).size();
    state.counters["bytes"] = double(size);
}

// The same at zlib's default level 6 (the comparison of earlier measurements).
void BM_PngWriteLibpngFilterNoneLevel6(benchmark::State& state)
{
    size_t size = 0;
    for (auto _ : state)
        size = LibpngWrite(true).size();
    state.counters["bytes"] = double(size);
}

void BM_PngWriteLibpngAdaptive(benchmark::State& state)
{
    size_t size = 0;
    for (auto _ : state)
        size = LibpngWrite(false).size();
    state.counters["bytes"] = double(size);
}

// ---- GIF ----

struct GifMemory {
    Bytes data;
    size_t pos = 0;
};

int GifWriteBytes(GifFileType* gif, const GifByteType* bytes, int n)
{
    auto* m = static_cast<GifMemory*>(gif->UserData);
    m->data.insert(m->data.end(), bytes, bytes + n);
    return n;
}

int GifReadBytes(GifFileType* gif, GifByteType* out, int n)
{
    auto* m = static_cast<GifMemory*>(gif->UserData);
    const size_t take = std::min(size_t(n), m->data.size() - m->pos);
    std::memcpy(out, m->data.data() + m->pos, take);
    m->pos += take;
    return int(take);
}

constexpr unsigned kGifWidth = 2000, kGifHeight = 1500;

// The photo at a quarter of the size, reduced to a 6x6x6 colour cube by giflib's encoder.
const Bytes& PhotoGif()
{
    static const Bytes file = [] {
        GifMemory memory;
        int error = 0;
        GifFileType* gif = EGifOpen(&memory, GifWriteBytes, &error);
        std::vector<GifColorType> colours(256);
        for (int i = 0; i < 216; ++i)
            colours[i] = {GifByteType(i / 36 * 51), GifByteType(i / 6 % 6 * 51), GifByteType(i % 6 * 51)};
        ColorMapObject* map = GifMakeMapObject(256, colours.data());
        EGifPutScreenDesc(gif, kGifWidth, kGifHeight, 8, 0, map);
        EGifPutImageDesc(gif, 0, 0, kGifWidth, kGifHeight, false, nullptr);
        const Bytes& rgb = PhotoRgb();
        std::vector<GifPixelType> line(kGifWidth);
        for (unsigned y = 0; y < kGifHeight; ++y) {
            for (unsigned x = 0; x < kGifWidth; ++x) {
                const uint8_t* px = rgb.data() + (size_t(2 * y) * kWidth + 2 * x) * 3;
                line[x] = GifPixelType((px[0] / 43) * 36 + (px[1] / 43) * 6 + px[2] / 43);
            }
            EGifPutLine(gif, line.data(), kGifWidth);
        }
        EGifCloseFile(gif, &error);
        GifFreeMapObject(map);
        return memory.data;
    }();
    return file;
}

void BM_GifReadOurs(benchmark::State& state)
{
    const Bytes& file = PhotoGif();
    CPicture picture;
    for (auto _ : state) {
        CGraphicsStream stream;
        stream.OpenMemory(file.data(), file.size());
        if (!GifCodec().ReadStream(stream, &picture, nullptr))
            state.SkipWithError("read failed");
    }
}

void BM_GifReadGiflib(benchmark::State& state)
{
    for (auto _ : state) {
        GifMemory memory{PhotoGif()};
        int error = 0;
        GifFileType* gif = DGifOpen(&memory, GifReadBytes, &error);
        DGifSlurp(gif);
        benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits[0]);
        DGifCloseFile(gif, &error);
    }
}
} // namespace

BENCHMARK(BM_InflateOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateZlib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngReadOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngReadLibpng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngWriteOursLevel2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngWriteLibpngFilterNone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngWriteLibpngFilterNoneLevel6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngWriteLibpngAdaptive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifReadOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifReadGiflib)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
