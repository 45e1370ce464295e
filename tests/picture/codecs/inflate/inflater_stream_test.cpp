// The inflater's fast loop against zlib's streams (every level, strategy and block type, the
// shortest and the longest distances, input in pieces of every size) and against the
// reference inflater on damaged streams: the same bytes and the same message.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "../deflate/deflate_test_support.h"
#include "base/cpu_features.h"
#include "picture/graphics_exceptions.h"
#include "reference_inflater.h"

namespace {
using Bytes = std::vector<uint8_t>;

// Optionally flushed every flushEvery bytes: Z_FULL_FLUSH starts afresh, Z_SYNC_FLUSH keeps
// the history; both put an empty stored block between the blocks.
Bytes ZlibRaw(const Bytes& input, int level, int strategy = Z_DEFAULT_STRATEGY, size_t flushEvery = 0,
              int flush = Z_FULL_FLUSH)
{
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -15, 9, strategy), Z_OK);
    Bytes out(deflateBound(&z, uLong(input.size())) + 1024 + input.size() / 100);
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    size_t at = 0;
    while (flushEvery && input.size() - at > flushEvery) {
        z.next_in = const_cast<Bytef*>(input.data() + at);
        z.avail_in = uInt(flushEvery);
        EXPECT_EQ(deflate(&z, flush), Z_OK);
        at += flushEvery;
    }
    z.next_in = const_cast<Bytef*>(input.data() + at);
    z.avail_in = uInt(input.size() - at);
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Inflates with requests of `request` bytes, fed in pieces of `piece` bytes; checks the
// Adler-32 against zlib's.
Bytes Inflate(const Bytes& stream, size_t piece, size_t request)
{
    CMemoryInflateSource source(stream, piece);
    CInflater inflater(source);
    Bytes out, buffer(request);
    for (;;) {
        const size_t n = inflater.ReadSome(buffer.data(), request);
        out.insert(out.end(), buffer.begin(), buffer.begin() + n);
        if (n < request)
            break;
    }
    EXPECT_TRUE(inflater.Finished());
    EXPECT_EQ(inflater.Adler32(), adler32(1, out.data(), uInt(out.size())));
    return out;
}

// What an inflater makes of a stream: the bytes handed out, then "end" or the message.
// What is handed out before a failure depends on the request size: 5000 bytes and 128 KiB.
template <class Inflater>
std::pair<Bytes, std::string> Outcome(const Bytes& stream, size_t piece, size_t request)
{
    CMemoryInflateSource source(stream, piece);
    Inflater inflater(source);
    Bytes out, buffer(request);
    try {
        for (;;) {
            const size_t n = inflater.ReadSome(buffer.data(), request);
            out.insert(out.end(), buffer.begin(), buffer.begin() + n);
            if (n < request)
                break;
        }
        inflater.ExpectEnd();
    } catch (const EPngError& e) {
        return {out, e.what()};
    }
    return {out, "end"};
}

Bytes Runs(size_t n)
{
    Bytes v;
    uint32_t seed = 5;
    while (v.size() < n) {
        seed = seed * 1103515245u + 12345u;
        const size_t period = 1 + (seed >> 16) % 15, length = 3 + (seed >> 8) % 300;
        for (size_t i = 0; i < length && v.size() < n; ++i)
            v.push_back(uint8_t('a' + (v.size() % period == 0 ? seed & 7 : i % period)));
    }
    return v;
}

// A random block repeated after exactly 32768 bytes: the longest distance deflate has.
Bytes FarRepeats()
{
    Bytes block = PseudoRandomBytes(32768, 9);
    Bytes v = block;
    for (int i = 0; i < 3; ++i)
        v.insert(v.end(), block.begin(), block.end());
    v.insert(v.end(), block.begin(), block.begin() + 1000);
    return v;
}

// The decoding loop exists twice (plain, and with BMI2 at the AVX2 level): each test runs
// both.
const SimdLevel kLevels[] = {SimdLevel::Portable, SimdLevel::Avx2};

class ScopedSimdLevel {
public:
    explicit ScopedSimdLevel(SimdLevel level) { ForceSimdLevel(level); }
    ~ScopedSimdLevel() { ForceSimdLevel(SimdLevel::Avx2); }
};

std::vector<Bytes> Inputs()
{
    return {{},
            {7},
            Bytes(100000, 0),
            PseudoRandomBytes(70000, 2),
            PhotoLikeBytes(700, 300, 4),
            Runs(200000),
            FarRepeats()};
}
} // namespace

TEST(InflaterStreams, ZlibStreamsOfEveryLevelInflateInAnyPiecesAndRequests)
{
    for (const Bytes& input : Inputs()) {
        for (int level : {0, 1, 6, 9}) {
            const Bytes stream = ZlibRaw(input, level);
            for (SimdLevel simd : kLevels) {
                ScopedSimdLevel scoped(simd);
                for (size_t piece : {size_t(1), size_t(9), size_t(8192), stream.size() + 1})
                    for (size_t request : {size_t(1), size_t(4097), input.size() + 1}) {
                        if ((piece == 1 || request == 1) && input.size() > 100000)
                            continue; // byte by byte is slow and adds nothing here
                        ASSERT_EQ(FirstDifference(Inflate(stream, piece, request), input), "equal")
                            << "size " << input.size() << " level " << level << " piece " << piece << " request "
                            << request << " simd " << int(simd);
                    }
            }
        }
    }
}

TEST(InflaterStreams, EveryStrategyAndBlockKind)
{
    for (const Bytes& input : Inputs()) {
        for (int strategy : {Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
            EXPECT_EQ(FirstDifference(Inflate(ZlibRaw(input, 6, strategy), 4096, 65536), input), "equal")
                << "strategy " << strategy;
        }
        // Full flushes put empty stored blocks between blocks of fresh tables.
        EXPECT_EQ(FirstDifference(Inflate(ZlibRaw(input, 6, Z_DEFAULT_STRATEGY, 5000), 777, 10000), input), "equal");
        EXPECT_EQ(FirstDifference(Inflate(ZlibRaw(input, 0, Z_DEFAULT_STRATEGY, 5000), 777, 10000), input), "equal");
    }
}

TEST(InflaterStreams, OutputLongerThanTheHistoryBufferAndPatternsOfEveryShortPeriod)
{
    // 3 MB of periods 1..40 exercise every short-distance copy and many buffer slides.
    Bytes input;
    for (unsigned period = 1; period <= 40; ++period)
        for (unsigned i = 0; i < 75000; ++i)
            input.push_back(uint8_t((i % period) * 37 + period));
    const Bytes stream = ZlibRaw(input, 9);
    for (SimdLevel simd : kLevels) {
        ScopedSimdLevel scoped(simd);
        EXPECT_EQ(FirstDifference(Inflate(stream, 1 << 20, input.size()), input), "equal");
        EXPECT_EQ(FirstDifference(Inflate(stream, 13, 1000), input), "equal");
    }
}

TEST(InflaterStreams, MixedRequestSizesAcrossBufferSlidesAndStoredBlocks)
{
    // Requests small and large, against output that slides the history buffer many times,
    // with matches reaching back 32768 bytes across a slide.
    Bytes input = FarRepeats();
    const Bytes runs = Runs(700000);
    input.insert(input.end(), runs.begin(), runs.end());
    const Bytes far = FarRepeats();
    input.insert(input.end(), far.begin(), far.end());
    const size_t requests[] = {1000, 70000, 3, 300000, 65536, 40000, 100001, 7};
    for (int level : {1, 9}) {
        // Empty stored blocks every 10000 bytes, the history kept across them.
        const Bytes stream = ZlibRaw(input, level, Z_DEFAULT_STRATEGY, level == 9 ? 10000 : 0, Z_SYNC_FLUSH);
        for (SimdLevel simd : kLevels) {
            ScopedSimdLevel scoped(simd);
            for (size_t piece : {size_t(100), size_t(1) << 20}) {
                CMemoryInflateSource source(stream, piece);
                CInflater inflater(source);
                Bytes out;
                for (size_t i = 0; out.size() < input.size(); ++i) {
                    Bytes buffer(requests[i % 8]);
                    const size_t n = inflater.ReadSome(buffer.data(), buffer.size());
                    ASSERT_TRUE(n == buffer.size() || out.size() + n == input.size());
                    out.insert(out.end(), buffer.begin(), buffer.begin() + n);
                }
                inflater.ExpectEnd();
                EXPECT_EQ(FirstDifference(out, input), "equal") << "level " << level << " piece " << piece;
                EXPECT_EQ(inflater.Adler32(), adler32(1, input.data(), uInt(input.size())));
            }
        }
    }
}

TEST(InflaterStreams, DamagedStreamsFailLikeTheReference)
{
    const Bytes photo = PhotoLikeBytes(300, 100, 8);
    const Bytes runs = Runs(30000);
    std::vector<Bytes> streams = {ZlibRaw(photo, 6), ZlibRaw(runs, 9), ZlibRaw(photo, 6, Z_FIXED),
                                  ZlibRaw(runs, 1, Z_DEFAULT_STRATEGY, 7000)};
    uint32_t seed = 17;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    size_t failures = 0;
    auto compare = [&](const Bytes& stream, size_t piece, const std::string& what) {
        for (size_t request : {size_t(5000), size_t(1) << 17}) {
            const auto want = Outcome<CReferenceInflater>(stream, piece, request);
            for (SimdLevel simd : kLevels) {
                ScopedSimdLevel scoped(simd);
                const auto got = Outcome<CInflater>(stream, piece, request);
                ASSERT_EQ(got.second, want.second)
                    << what << " piece " << piece << " request " << request << " simd " << int(simd);
                ASSERT_EQ(FirstDifference(got.first, want.first), "equal") << what << " simd " << int(simd);
            }
            failures += want.second != "end";
        }
    };
    for (const Bytes& intact : streams) {
        // Cut short at many points.
        for (size_t cut = 0; cut < intact.size(); cut += 1 + intact.size() / 150)
            for (size_t piece : {size_t(5), size_t(4096)})
                compare(Bytes(intact.begin(), intact.begin() + cut), piece, "cut at " + std::to_string(cut));
        // Bits flipped, bytes overwritten.
        for (int round = 0; round < 400; ++round) {
            Bytes stream = intact;
            const int changes = 1 + int(next() % 3);
            for (int c = 0; c < changes; ++c) {
                const size_t at = next() % stream.size();
                if (next() & 1)
                    stream[at] ^= uint8_t(1u << (next() & 7));
                else
                    stream[at] = uint8_t(next());
            }
            compare(stream, next() % 2 ? 4096 : 1 + next() % 40, "round " + std::to_string(round));
        }
    }
    EXPECT_GT(failures, 2000u) << "the damage must reach the error paths";
}
