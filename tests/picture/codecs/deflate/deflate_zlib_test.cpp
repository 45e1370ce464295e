// zlib as the reference: every stream we make inflates with zlib to the same bytes, and we
// read zlib's streams of every level and strategy.
#include <gtest/gtest.h>
#include <zlib.h>

#include "deflate_test_support.h"

namespace {
std::vector<uint8_t> ZlibInflateRaw(const std::vector<uint8_t>& stream, size_t expected)
{
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    std::vector<uint8_t> out(expected + 1);
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = uInt(stream.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    EXPECT_EQ(rc, Z_STREAM_END);
    EXPECT_EQ(z.avail_in, 0u) << "the stream ends where our block ends";
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
}

// Raw deflate from zlib with a chosen level and strategy, optionally flushed half-way
// (which inserts an empty stored block and starts a new block).
std::vector<uint8_t> ZlibDeflateRaw(const std::vector<uint8_t>& input, int level, int strategy, bool flushMidway)
{
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
    std::vector<uint8_t> out(deflateBound(&z, uLong(input.size())) + 64);
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    const size_t half = flushMidway ? input.size() / 2 : input.size();
    z.next_in = const_cast<Bytef*>(input.data());
    z.avail_in = uInt(half);
    if (flushMidway) {
        EXPECT_EQ(deflate(&z, Z_SYNC_FLUSH), Z_OK);
        z.avail_in = uInt(input.size() - half);
    }
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::vector<std::vector<uint8_t>> Inputs()
{
    std::vector<uint8_t> text;
    for (int i = 0; i < 3000; ++i)
        for (char c : std::string("picture row ") + std::to_string(i * 7 % 113) + "\n")
            text.push_back(uint8_t(c));
    return {{}, {0}, std::vector<uint8_t>(1000, 0xAB), std::vector<uint8_t>(300000, 3),
            PseudoRandomBytes(100000, 4), PhotoLikeBytes(640, 480, 11), text};
}
} // namespace

TEST(DeflateAgainstZlib, ZlibInflatesOurStreams)
{
    for (const auto& input : Inputs())
        for (int level = 0; level <= 3; ++level)
            EXPECT_EQ(FirstDifference(ZlibInflateRaw(DeflateBytes(input, level), input.size()), input), "equal")
                << "level " << level << " size " << input.size();
}

TEST(DeflateAgainstZlib, WeInflateZlibStreamsOfEveryLevelAndStrategy)
{
    for (const auto& input : Inputs()) {
        for (int level = 0; level <= 9; ++level)
            EXPECT_EQ(FirstDifference(InflateBytes(ZlibDeflateRaw(input, level, Z_DEFAULT_STRATEGY, false), 8192), input),
                      "equal")
                << "level " << level;
        for (int strategy : {Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
            EXPECT_EQ(FirstDifference(InflateBytes(ZlibDeflateRaw(input, 6, strategy, true), 1000), input), "equal")
                << "strategy " << strategy;
        }
    }
}

TEST(DeflateAgainstZlib, ZlibStreamWithHeaderAndAdler)
{
    const auto input = PhotoLikeBytes(500, 300, 2);
    uLongf size = compressBound(uLong(input.size()));
    std::vector<uint8_t> z(size);
    ASSERT_EQ(compress2(z.data(), &size, input.data(), uLong(input.size()), 9), Z_OK);
    z.resize(size);
    const std::vector<uint8_t> raw(z.begin() + 2, z.end() - 4);
    CMemoryInflateSource source(raw);
    CInflater inflater(source);
    std::vector<uint8_t> out(input.size());
    inflater.Read(out.data(), out.size());
    inflater.ExpectEnd();
    EXPECT_EQ(FirstDifference(out, input), "equal");
    EXPECT_EQ(inflater.Adler32(), adler32(1, input.data(), uInt(input.size())));
}
