#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "deflate_test_support.h"
#include "picture/codecs/checksums.h"
#include "picture/codecs/huffman_code_builder.h"
#include "picture/graphics_exceptions.h"

namespace {
// Builds hand-made deflate streams, bits least significant first.
class BitStream {
public:
    void Bits(uint32_t value, unsigned n)
    {
        for (unsigned i = 0; i < n; ++i) {
            if (m_bit == 0)
                bytes.push_back(0);
            bytes.back() |= uint8_t(((value >> i) & 1) << m_bit);
            m_bit = (m_bit + 1) & 7;
        }
    }
    // A Huffman code, most significant bit first as deflate sends codes.
    void Code(uint32_t code, unsigned n)
    {
        for (unsigned i = n; i-- > 0;)
            Bits((code >> i) & 1, 1);
    }
    std::vector<uint8_t> bytes;

private:
    unsigned m_bit = 0;
};

std::string InflateError(const std::vector<uint8_t>& stream)
{
    try {
        InflateBytes(stream);
    } catch (const EPngError& e) {
        return e.what();
    }
    return "no error";
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

// Fixed-code helpers: literals 0..143 are 8-bit codes from 0x30, lengths 257.. 7-bit codes.
void FixedHeader(BitStream& s) { s.Bits(1, 1), s.Bits(1, 2); }
void FixedLiteral(BitStream& s, uint8_t byte) { s.Code(0x30 + byte, 8); }

// A dynamic header whose code-length code gives symbol 0 one bit and symbols 1 and 18 two.
void DynamicHeaderWithSmallCodeLengthCode(BitStream& s)
{
    s.Bits(1, 1);
    s.Bits(2, 2);
    s.Bits(0, 5);  // 257 literal/length codes
    s.Bits(0, 5);  // 1 distance code
    s.Bits(14, 4); // 18 code-length code lengths
    const uint8_t order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    for (int i = 0; i < 18; ++i)
        s.Bits(order[i] == 0 ? 1 : (order[i] == 1 || order[i] == 18) ? 2 : 0, 3);
}
} // namespace

TEST(Inflater, ReadsStoredAndFixedBlocksFedInPieces)
{
    const std::vector<uint8_t> stored = {0x00, 0x03, 0x00, 0xFC, 0xFF, 'a', 'b', 'c',
                                         0x01, 0x02, 0x00, 0xFD, 0xFF, 'd', 'e'};
    for (size_t piece : {1, 3, 100})
        EXPECT_EQ(InflateBytes(stored, piece), Text("abcde"));

    BitStream s;
    FixedHeader(s);
    FixedLiteral(s, 'x');
    FixedLiteral(s, 'y');
    s.Code(1, 7);  // length 3
    s.Code(1, 5);  // distance 2
    s.Code(0, 7);  // end of block
    EXPECT_EQ(InflateBytes(s.bytes, 1), Text("xyxyx"));
}

TEST(Inflater, ReportsDamageWithItsMessages)
{
    EXPECT_EQ(InflateError({}), "Premature End-Of-File");
    EXPECT_EQ(InflateError({0x01, 0x05, 0x00, 0xFA, 0xFF, 'a'}), "Premature End-Of-File");
    EXPECT_EQ(InflateError({0x01, 0x05, 0x00, 0xFB, 0xFF, 'a', 'b', 'c', 'd', 'e'}), "An Error occurred");
    EXPECT_EQ(InflateError({0x07}), "An Error occurred"); // block type 3

    BitStream literal286;
    FixedHeader(literal286);
    literal286.Code(0xC6, 8);
    EXPECT_EQ(InflateError(literal286.bytes), "Invalid Huffman Literal Value");

    BitStream distance30;
    FixedHeader(distance30);
    FixedLiteral(distance30, 'a');
    distance30.Code(1, 7);
    distance30.Code(30, 5);
    EXPECT_EQ(InflateError(distance30.bytes), "Invalid Huffman Distance Value");

    BitStream tooFarBack;
    FixedHeader(tooFarBack);
    FixedLiteral(tooFarBack, 'a');
    tooFarBack.Code(1, 7);
    tooFarBack.Code(1, 5); // distance 2 with only one byte produced
    tooFarBack.Code(0, 7);
    EXPECT_EQ(InflateError(tooFarBack.bytes), "Invalid Huffman Distance Value");

    BitStream overSubscribed;
    overSubscribed.Bits(1, 1);
    overSubscribed.Bits(2, 2);
    overSubscribed.Bits(0, 10);
    overSubscribed.Bits(15, 4);
    for (int i = 0; i < 19; ++i)
        overSubscribed.Bits(1, 3);
    EXPECT_EQ(InflateError(overSubscribed.bytes), "An Error occurred");

    BitStream runTooLong;
    DynamicHeaderWithSmallCodeLengthCode(runTooLong);
    runTooLong.Code(3, 2), runTooLong.Bits(127, 7); // 138 zeros
    runTooLong.Code(3, 2), runTooLong.Bits(127, 7); // 138 more: past 258
    EXPECT_EQ(InflateError(runTooLong.bytes), "Length Command Out of Range");

    BitStream repeatFirst;
    repeatFirst.Bits(1, 1), repeatFirst.Bits(2, 2), repeatFirst.Bits(0, 10), repeatFirst.Bits(0, 4);
    repeatFirst.Bits(1, 3), repeatFirst.Bits(1, 3), repeatFirst.Bits(0, 3), repeatFirst.Bits(0, 3); // 16 and 17
    repeatFirst.Code(0, 1), repeatFirst.Bits(0, 2); // a repeat with nothing to repeat
    EXPECT_EQ(InflateError(repeatFirst.bytes), "Bad Code");

    // Only literal 0 has a code: the bit sequence 1 matches nothing.
    BitStream incomplete;
    DynamicHeaderWithSmallCodeLengthCode(incomplete);
    incomplete.Code(2, 2);                            // symbol 0: length 1
    incomplete.Code(3, 2), incomplete.Bits(127, 7);   // 138 zeros
    incomplete.Code(3, 2), incomplete.Bits(107, 7);   // 118 zeros: up to 256
    incomplete.Code(0, 1);                            // the distance code: length 0
    incomplete.Bits(0xFFFF, 16);
    EXPECT_EQ(InflateError(incomplete.bytes), "Bad Huffman Code Length");
}

TEST(Inflater, ExpectEndRefusesFurtherDataAndTrailerFollowsTheBlock)
{
    std::vector<uint8_t> stream = {0x01, 0x03, 0x00, 0xFC, 0xFF, 'a', 'b', 'c', 0xAA, 0xBB};
    {
        CMemoryInflateSource source(stream);
        CInflater inflater(source);
        uint8_t two[2];
        inflater.Read(two, 2);
        EXPECT_THROW(
            try { inflater.ExpectEnd(); } catch (const EPngError& e) {
                EXPECT_STREQ(e.what(), "Missing End Marker");
                throw;
            },
            EPngError);
    }
    CMemoryInflateSource source(stream, 4);
    CInflater inflater(source);
    uint8_t three[3];
    inflater.Read(three, 3);
    inflater.ExpectEnd();
    EXPECT_TRUE(inflater.Finished());
    uint8_t a = 0, b = 0, c = 0;
    EXPECT_TRUE(inflater.ReadTrailerByte(a));
    EXPECT_TRUE(inflater.ReadTrailerByte(b));
    EXPECT_FALSE(inflater.ReadTrailerByte(c));
    EXPECT_EQ(a, 0xAA);
    EXPECT_EQ(b, 0xBB);
    EXPECT_EQ(inflater.Adler32(), UpdateAdler32(1, three, 3));
}

TEST(Deflater, RoundTripsEdgeInputsAtEveryLevel)
{
    const std::vector<std::vector<uint8_t>> inputs = {
        {}, {42}, std::vector<uint8_t>(1000, 7), std::vector<uint8_t>(100000, 0), PseudoRandomBytes(70000, 1),
        PhotoLikeBytes(300, 200, 5), Text("abcabcabcabcabc the quick brown fox jumps over the lazy dog")};
    for (int level = 0; level <= 3; ++level) {
        for (const auto& input : inputs) {
            uint32_t adler = 0;
            const auto stream = DeflateBytes(input, level, &adler);
            ASSERT_FALSE(stream.empty());
            EXPECT_EQ(stream[0] & 7, 5) << "one final block with dynamic codes";
            EXPECT_EQ(FirstDifference(InflateBytes(stream, 7), input), "equal") << "level " << level << " size " << input.size();
            EXPECT_EQ(adler, UpdateAdler32(1, input.data(), input.size()));
        }
    }
}

TEST(Deflater, CodesRunsAndTrimsUnusedSymbols)
{
    // 1000 equal bytes: one literal, then matches of distance 1 (a handful of bytes in all).
    EXPECT_LT(DeflateBytes(std::vector<uint8_t>(1000, 'z'), 2).size(), 20u);
    // Without any match no length symbol is used: HLIT counts only 257 codes.
    const auto noMatch = DeflateBytes(Text("abcdefgh"), 2);
    EXPECT_EQ((noMatch[0] >> 3) & 31, 0);

    // Deeper chain searches never lose, a single candidate never wins.
    const auto data = PhotoLikeBytes(200, 100, 9);
    const size_t level0 = DeflateBytes(data, 0).size(), level2 = DeflateBytes(data, 2).size(),
                 level3 = DeflateBytes(data, 3).size();
    EXPECT_LE(level2, level0);
    EXPECT_LE(level3, level2);

    CDeflater deflater;
    for (int bad : {-1, 4})
        EXPECT_THROW(deflater.SetLevel(bad), EPngError);
}

TEST(HuffmanCodeBuilder, LimitsLengthsAndKeepsTheCodeComplete)
{
    // Fibonacci frequencies give the longest possible unlimited codes.
    for (unsigned limit : {7u, 15u}) {
        CHuffmanCodeBuilder builder(30, limit);
        uint64_t a = 1, b = 1;
        for (unsigned s = 0; s < 30; ++s) {
            for (uint64_t k = 0; k < a; ++k)
                builder.Count(s);
            const uint64_t next = a + b;
            a = b;
            b = next;
            if (a > 100000)
                a = 100000;
        }
        builder.Build();
        double kraft = 0;
        for (unsigned s = 0; s < 30; ++s) {
            ASSERT_GE(builder.Length(s), 1u);
            ASSERT_LE(builder.Length(s), limit);
            kraft += 1.0 / double(1u << builder.Length(s));
        }
        EXPECT_DOUBLE_EQ(kraft, 1.0);
    }

    CHuffmanCodeBuilder lone(19, 7);
    lone.Count(5);
    lone.Build();
    EXPECT_EQ(lone.Length(5), 1u);
    EXPECT_EQ(lone.Length(0), 1u);
    EXPECT_NE(lone.Code(5), lone.Code(0));
    EXPECT_THROW(lone.Code(3), EPngError);  // no code
    EXPECT_THROW(lone.Code(19), EPngError); // outside the alphabet
    EXPECT_THROW(lone.Count(19), EPngError);
}
