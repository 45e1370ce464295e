// The JPEG reader's entropy stage on its own: the bit reader's refills (eight bytes at once
// when no 0xFF is near) against a model of scan data, the code-and-value tables against the
// canonical walk, the non-zero masks of refinement, and a hand-made scan that reaches the
// rarer table entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/cpu_features.h"
#include "base/progress.h"
#include "picture/codecs/jpeg_bit_reader.h"
#include "picture/codecs/jpeg_block_mask.h"
#include "picture/codecs/jpeg_decoder.h"
#include "picture/codecs/jpeg_huffman.h"
#include "picture/codecs/jpeg_tables.h"
#include "picture/graphics_exceptions.h"
#include "picture/picture.h"

namespace {
// Scan data as the reader must see it: stuffed FF 00 gives FF; the data ends at a marker
// (FF, any FF fill, a code other than 00) or at the end of the bytes.
struct ExpectedBits {
    std::vector<int> bits;
    int marker = -1;         // the marker code the data stops at, -1 for the end
    size_t stopOffset = 0;   // where the reader stands when it stopped
};

ExpectedBits Expect(const std::vector<uint8_t>& data)
{
    ExpectedBits e;
    size_t i = 0;
    while (i < data.size()) {
        uint8_t byte = data[i];
        if (byte == 0xFF) {
            size_t next = i + 1;
            if (next < data.size() && data[next] == 0x00) {
                i += 2;
            } else {
                while (next < data.size() && data[next] == 0xFF)
                    ++next;
                e.marker = next < data.size() ? data[next] : -1;
                break;
            }
        } else {
            ++i;
        }
        for (int b = 7; b >= 0; --b)
            e.bits.push_back((byte >> b) & 1);
    }
    e.stopOffset = i;
    return e;
}

// Scan-like bytes: random values with FF 00 pairs at `stuffing` per mille, ending in a marker
// (or not) after some FF fill.
std::vector<uint8_t> ScanBytes(std::mt19937& random, size_t length, int stuffing, int endMarker)
{
    std::vector<uint8_t> data;
    while (data.size() < length) {
        if (int(random() % 1000) < stuffing) {
            data.push_back(0xFF);
            data.push_back(0x00);
        } else {
            uint8_t byte = static_cast<uint8_t>(random());
            data.push_back(byte == 0xFF ? 0xFE : byte);
        }
    }
    if (endMarker >= 0) {
        for (unsigned fill = random() % 3; fill > 0; --fill)
            data.push_back(0xFF);
        data.push_back(0xFF);
        data.push_back(static_cast<uint8_t>(endMarker));
        data.push_back(0x12); // whatever follows the marker is not scan data
    }
    return data;
}

std::string OverrunMessage(const JpegBitReader& reader)
{
    try {
        reader.CheckOverrun();
    } catch (const EJpegError& e) {
        return e.what();
    }
    return {};
}

TEST(JpegBitReader, ReadsStuffedScanDataUpToTheMarker)
{
    std::mt19937 random(7);
    struct Case {
        size_t length;
        int stuffing;
        int marker;
        const char* overrun;
    } cases[] = {
        {0, 0, -1, "Premature end of file"},
        {5, 0, -1, "Premature end of file"},       // shorter than one 8-byte load
        {300, 0, kJpegRst0 + 3, "Unexpected Marker"},
        {300, 120, kJpegEoi, "Unexpected Marker"}, // an FF near most loads
        {300, 500, kJpegDnl, "Unexpected Marker DNL"},
        {1000, 8, -1, "Premature end of file"},
        {1000, 30, kJpegSos, "Unexpected Marker"},
    };
    for (const Case& c : cases) {
        for (int round = 0; round < 20; ++round) {
            SCOPED_TRACE(testing::Message() << "length " << c.length << " stuffing " << c.stuffing
                                            << " round " << round);
            const std::vector<uint8_t> data = ScanBytes(random, c.length, c.stuffing, c.marker);
            const ExpectedBits expected = Expect(data);
            JpegSource source{data.data(), data.size(), 0};
            JpegBitReader reader(source);
            reader.Reset();
            size_t used = 0;
            // Mixed widths as the decoder uses them, through the reader and through a copy of
            // its buffer as the block loops do; past the end, zero bits.
            while (used < expected.bits.size() + 40) {
                const int width = 1 + int(random() % 16);
                int value;
                if (round % 2) {
                    value = reader.GetBits(width);
                } else {
                    JpegBits bits = reader.Load();
                    if (bits.count < width) {
                        bits = reader.Fill(bits);
                        ASSERT_GE(bits.count, 57);
                    }
                    value = bits.Take(width);
                    reader.Store(bits);
                }
                int want = 0;
                for (int b = 0; b < width; ++b, ++used)
                    want = want * 2 + (used < expected.bits.size() ? expected.bits[used] : 0);
                ASSERT_EQ(value, want) << "at bit " << used;
                if (used <= expected.bits.size()) {
                    ASSERT_EQ(OverrunMessage(reader), "") << "at bit " << used;
                }
            }
            EXPECT_EQ(OverrunMessage(reader), c.overrun);
            EXPECT_EQ(source.pos, expected.stopOffset) << "the reader stays in front of the marker";
        }
    }
}

// Canonical code-length counts, as a DHT segment gives them.
struct TableDefinition {
    std::vector<uint8_t> counts; // 16 entries
    std::vector<uint8_t> symbols;
};

// A random prefix code of `symbols` symbols with lengths 1..16 (not all ones, as T.81 wants).
TableDefinition RandomTable(std::mt19937& random, int symbolCount, bool dc)
{
    for (;;) {
        TableDefinition definition;
        definition.counts.assign(16, 0);
        // Kraft sum in units of 2^-16; keep room for the all-ones code.
        uint32_t room = (1u << 16) - 1;
        int placed = 0;
        for (int i = 0; i < symbolCount && room; ++i) {
            int length = 2 + int(random() % 15);
            if (random() % 3 == 0)
                length = 1 + int(random() % 6);
            while (length <= 16 && (1u << (16 - length)) > room)
                ++length;
            if (length > 16)
                break;
            room -= 1u << (16 - length);
            ++definition.counts[size_t(length - 1)];
            ++placed;
        }
        if (placed == 0)
            continue;
        std::vector<int> pool;
        for (int v = 0; v < 256; ++v)
            pool.push_back(v);
        std::shuffle(pool.begin(), pool.end(), random);
        for (int i = 0; i < placed; ++i) {
            int v = pool[size_t(i)];
            if (dc && random() % 4)
                v %= 16; // mostly valid DC sizes, some invalid ones above 15
            definition.symbols.push_back(static_cast<uint8_t>(v));
        }
        return definition;
    }
}

TEST(JpegHuffmanDecodeTable, CodeAndValueEntriesAgreeWithTheWalk)
{
    constexpr int kFast = JpegHuffmanDecodeTable::kFastBits;
    std::mt19937 random(11);
    int full = 0, codeOnly = 0, none = 0;
    for (int round = 0; round < 60; ++round) {
        const bool dc = round % 2 == 0;
        const TableDefinition definition = RandomTable(random, 2 + int(random() % 180), dc);
        JpegHuffmanDecodeTable table;
        table.Build(definition.counts.data(), definition.symbols.data(),
                    dc ? JpegHuffmanDecodeTable::Class::Dc : JpegHuffmanDecodeTable::Class::Ac);
        for (uint32_t prefix = 0; prefix < (1u << kFast); ++prefix) {
            SCOPED_TRACE(testing::Message() << "round " << round << " prefix " << prefix);
            const uint32_t entry = table.fast[prefix];
            // The walk on the prefix followed by zeros and by ones (codes longer than the
            // prefix differ there; shorter ones do not).
            int walkedLength = 0, walkedSymbol = -1;
            bool walkFailed = false;
            for (uint32_t tail : {0u, (1u << (16 - kFast)) - 1}) {
                try {
                    const int found = JpegDecodeHuffmanSlow((prefix << (16 - kFast)) | tail, table);
                    if (walkedSymbol < 0 || (found >> 8) > kFast) {
                        walkedLength = found >> 8;
                        walkedSymbol = found & 0xFF;
                    }
                } catch (const EJpegBadData&) {
                    walkFailed = true;
                }
            }
            const int size = walkedSymbol < 0 ? 0 : dc ? walkedSymbol : (walkedSymbol & 15);
            const bool codeFits = walkedSymbol >= 0 && !walkFailed && walkedLength <= kFast;
            if (!codeFits || size > 15) {
                EXPECT_EQ(entry, 0u);
                ++none;
                continue;
            }
            ASSERT_NE(entry, 0u);
            EXPECT_EQ(JpegFastSymbol(entry), walkedSymbol);
            if (walkedLength + size > kFast) {
                EXPECT_EQ(JpegFastSkip(entry), walkedLength);
                EXPECT_EQ(JpegFastValue(entry), 0);
                ++codeOnly;
                continue;
            }
            EXPECT_EQ(JpegFastSkip(entry), walkedLength + size);
            const int raw = int((prefix >> (kFast - walkedLength - size)) & ((1u << size) - 1));
            EXPECT_EQ(JpegFastValue(entry), size ? JpegExtend(raw, size) : 0);
            EXPECT_TRUE(size == 0 || JpegFastValue(entry) != 0) << "value 0 marks code-only entries";
            ++full;
        }
    }
    EXPECT_GT(full, 0);
    EXPECT_GT(codeOnly, 0);
    EXPECT_GT(none, 0);
}

TEST(JpegBlockMask, MarksTheNonZeroCoefficientsInZigzagOrder)
{
    const SimdLevel before = ActiveSimdLevel();
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        int16_t block[64] = {};
        const int density = round % 5 == 0 ? 100 : int(random() % 40);
        for (int16_t& coef : block)
            if (int(random() % 100) < density)
                coef = static_cast<int16_t>(random());
        if (round == 1)
            for (int16_t& coef : block)
                coef = -32768;
        uint64_t expected = 0;
        for (int k = 0; k < 64; ++k)
            if (block[kJpegZigzagToNatural[k]] != 0)
                expected |= uint64_t{1} << k;
        ASSERT_EQ(JpegNonZeroZigzagMaskPortable(block), expected) << round;
#if defined(__SSE2__)
        ASSERT_EQ(JpegNonZeroZigzagMaskSse2(block), expected) << round;
#endif
        // The dispatch follows the level in force.
        ForceSimdLevel(round % 2 ? SimdLevel::Portable : before);
        ASSERT_EQ(JpegNonZeroZigzagMask(block), expected) << round;
    }
    ForceSimdLevel(before);
}

// A grey frame of `width` x 8 with quantizer 1, one DC table of a single code ('0', length 1)
// for `dcSymbol` and one AC table of a single code ('0') for end of block, then `scan`.
std::vector<uint8_t> HandMadeGrey(int width, uint8_t dcSymbol, const std::vector<uint8_t>& scan)
{
    std::vector<uint8_t> f;
    auto append = [&f](std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            f.push_back(b);
    };
    append({0xFF, kJpegSoi, 0xFF, kJpegDqt, 0, 67, 0});
    for (int i = 0; i < 64; ++i)
        f.push_back(1); // quantizer 1 everywhere
    append({0xFF, kJpegSof0, 0, 11, 8, 0, 8, 0, uint8_t(width), 1, 1, 0x11, 0});
    append({0xFF, kJpegDht, 0, 38,
            0x00, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, dcSymbol,
            0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00});
    append({0xFF, kJpegSos, 0, 8, 1, 1, 0x00, 0, 63, 0});
    for (uint8_t b : scan)
        f.push_back(b);
    append({0xFF, kJpegEoi});
    return f;
}

std::string Decode(const std::vector<uint8_t>& bytes, CPicture& picture)
{
    JpegSource source{bytes.data(), bytes.size(), 0};
    CJpegDecoder decoder(source, &picture, CQnProgress::Silent());
    try {
        decoder.Decode();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

TEST(JpegScanDecode, DcSizesBeyondTheFastTable)
{
    // Size 12: code '0' and 12 value bits do not fit the table, the value is read after it.
    // Block 1: 0 100000000000 (+2048), AC '0'; block 2: 0 011111111111 (-2048), AC '0'.
    // Bits: 01000000 00000000 11111111 1110 and padding ones; the FF byte is stuffed.
    CPicture picture;
    ASSERT_EQ(Decode(HandMadeGrey(16, 12, {0x40, 0x00, 0xFF, 0x00, 0xEF}), picture), "");
    ASSERT_EQ(picture.Width(), 16);
    EXPECT_EQ(picture.Row(0)[0], 255);     // DC 2048: far above white
    EXPECT_EQ(picture.Row(7)[3 * 15], 128); // back to DC 0: mid grey
    // A DC size above 15 cannot be; it is reported whatever the code's length.
    CPicture bad;
    EXPECT_EQ(Decode(HandMadeGrey(8, 16, {0x00, 0x00}), bad), "Corrupt Scan Data");
    EXPECT_EQ(Decode(HandMadeGrey(8, 200, {0x00, 0x00}), bad), "Corrupt Scan Data");
}

} // namespace
