// The deflater's output is fixed: the same input at the same level must give the same bytes
// whatever the engine does inside. The digests below were taken from the two-pass engine that
// reran the matcher for its second pass; any change to the matcher, the symbol recording, the
// bit writer or the PNG row building that alters one output byte shows up here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "../png/png_test_support.h"
#include "base/cpu_features.h"
#include "deflate_test_support.h"

namespace {
// 64-bit FNV-1a: independent of the checksums the engine itself uses.
uint64_t Digest(const std::vector<uint8_t>& bytes)
{
    uint64_t h = 0xCBF29CE484222325ull;
    for (uint8_t b : bytes)
        h = (h ^ b) * 0x100000001B3ull;
    return h;
}

uint32_t Next(uint32_t& seed)
{
    seed = seed * 1103515245u + 12345u;
    return seed >> 16;
}

// Smooth shapes with a little noise, like the benchmark's photograph.
std::vector<uint8_t> SmoothPhoto(unsigned w, unsigned h)
{
    std::vector<uint8_t> v;
    uint32_t seed = 1;
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) {
            const int noise = int(Next(seed) & 7) - 3;
            const double fx = x / 40.0, fy = y / 30.0;
            const double base = 128 + 60 * std::sin(fx) * std::cos(fy * 0.7) + 40 * std::sin((fx + fy) * 0.5);
            v.push_back(uint8_t(std::clamp(int(base) + noise, 0, 255)));
            v.push_back(uint8_t(std::clamp(int(base * 0.8) + noise, 0, 255)));
            v.push_back(uint8_t(std::clamp(int(255 - base * 0.6) + noise, 0, 255)));
        }
    return v;
}

// Words from a small vocabulary with spaces and line breaks: long hash chains, short matches.
std::vector<uint8_t> TextLike(size_t n, int vocabulary)
{
    uint32_t seed = 5;
    std::vector<std::string> words;
    for (int i = 0; i < vocabulary; ++i) {
        std::string w;
        const unsigned len = 2 + Next(seed) % 8;
        for (unsigned k = 0; k < len; ++k)
            w.push_back(char('a' + Next(seed) % 26));
        words.push_back(w);
    }
    std::vector<uint8_t> v;
    while (v.size() < n) {
        const std::string& w = words[Next(seed) % words.size()];
        v.insert(v.end(), w.begin(), w.end());
        v.push_back(Next(seed) % 11 == 0 ? '\n' : ' ');
    }
    v.resize(n);
    return v;
}

// Runs of one byte of every length up to well past 258, between short noisy stretches.
std::vector<uint8_t> Runs()
{
    uint32_t seed = 9;
    std::vector<uint8_t> v;
    while (v.size() < 150000) {
        const unsigned run = 1 + Next(seed) % 700;
        v.insert(v.end(), run, uint8_t(Next(seed) % 4));
        const unsigned noisy = Next(seed) % 20;
        for (unsigned k = 0; k < noisy; ++k)
            v.push_back(uint8_t(Next(seed)));
    }
    v.insert(v.end(), 70000, 0);
    return v;
}

// A random block repeated: a period of 32768 can be matched at the largest distance, a
// period of 32769 is just out of reach.
std::vector<uint8_t> Repeated(size_t period, unsigned times)
{
    const std::vector<uint8_t> block = PseudoRandomBytes(period, 77);
    std::vector<uint8_t> v;
    for (unsigned i = 0; i < times; ++i)
        v.insert(v.end(), block.begin(), block.end());
    v.push_back(block[0]);
    return v;
}

struct Input {
    const char* name;
    std::vector<uint8_t> bytes;
};

const std::vector<Input>& Inputs()
{
    static const std::vector<Input> inputs = {
        {"empty", {}},
        {"one", {'a'}},
        {"three", {'a', 'b', 'c'}},
        {"abc x3", {'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c'}},
        {"x 1000", std::vector<uint8_t>(1000, 'x')},
        {"smooth photo", SmoothPhoto(256, 160)},
        {"large smooth photo", SmoothPhoto(1024, 700)},
        {"gradient photo", PhotoLikeBytes(300, 200, 7)},
        {"text", TextLike(90000, 300)},
        // chains longer than 64 entries: level 3 finds what levels 1 and 2 give up on
        {"text of 40 words", TextLike(60000, 40)},
        {"runs", Runs()},
        {"random", PseudoRandomBytes(100000, 3)},
        {"period 32768", Repeated(32768, 3)},
        {"period 32769", Repeated(32769, 2)},
        {"period 32767", Repeated(32767, 2)},
    };
    return inputs;
}

struct Expected {
    const char* name;
    int level;
    size_t size;
    uint64_t digest;
};

// Taken from the engine that reran the matcher in its second pass.
const std::vector<Expected> kDeflateDigests = {
    {"empty", 0, 12, 0xF8EC87781EE664D6ull},
    {"empty", 1, 12, 0xF8EC87781EE664D6ull},
    {"empty", 2, 12, 0xF8EC87781EE664D6ull},
    {"empty", 3, 12, 0xF8EC87781EE664D6ull},
    {"one", 0, 13, 0x69EC1D2C659ECC9Eull},
    {"one", 1, 13, 0x69EC1D2C659ECC9Eull},
    {"one", 2, 13, 0x69EC1D2C659ECC9Eull},
    {"one", 3, 13, 0x69EC1D2C659ECC9Eull},
    {"three", 0, 15, 0x8F5521EFC0462236ull},
    {"three", 1, 15, 0x8F5521EFC0462236ull},
    {"three", 2, 15, 0x8F5521EFC0462236ull},
    {"three", 3, 15, 0x8F5521EFC0462236ull},
    {"abc x3", 0, 18, 0x69632FA2C91C5DD0ull},
    {"abc x3", 1, 18, 0x69632FA2C91C5DD0ull},
    {"abc x3", 2, 18, 0x69632FA2C91C5DD0ull},
    {"abc x3", 3, 18, 0x69632FA2C91C5DD0ull},
    {"x 1000", 0, 17, 0xF82F70564AB0C63Aull},
    {"x 1000", 1, 17, 0xF82F70564AB0C63Aull},
    {"x 1000", 2, 17, 0xF82F70564AB0C63Aull},
    {"x 1000", 3, 17, 0xF82F70564AB0C63Aull},
    {"smooth photo", 0, 74283, 0xAC92FA3D12805C4Eull},
    {"smooth photo", 1, 68652, 0xDE32F2F2399BEB48ull},
    {"smooth photo", 2, 68652, 0xDE32F2F2399BEB48ull},
    {"smooth photo", 3, 68652, 0xDE32F2F2399BEB48ull},
    {"large smooth photo", 0, 1334648, 0x155975584BBD0DEFull},
    {"large smooth photo", 1, 1186882, 0x719CD66D876C24ADull},
    {"large smooth photo", 2, 1186882, 0x719CD66D876C24ADull},
    {"large smooth photo", 3, 1186883, 0xE1BBA2A7992C46C3ull},
    {"gradient photo", 0, 179425, 0x4498DAA414231C93ull},
    {"gradient photo", 1, 179356, 0xEFB774678F3BFFB4ull},
    {"gradient photo", 2, 179356, 0xEFB774678F3BFFB4ull},
    {"gradient photo", 3, 179356, 0xEFB774678F3BFFB4ull},
    {"text", 0, 30162, 0xA9527D569E2C8DC9ull},
    {"text", 1, 30342, 0x0F1120160B6B5988ull},
    {"text", 2, 30342, 0x0F1120160B6B5988ull},
    {"text", 3, 30342, 0x0F1120160B6B5988ull},
    {"text of 40 words", 0, 14063, 0xFDE9FE8EBFAF6964ull},
    {"text of 40 words", 1, 11933, 0x0070127953F3DFEBull},
    {"text of 40 words", 2, 11933, 0x0070127953F3DFEBull},
    {"text of 40 words", 3, 11639, 0xA784117D62E1996Bull},
    {"runs", 0, 6093, 0x9FF66B662E445EB9ull},
    {"runs", 1, 6218, 0x7EA685D0A5E7215Bull},
    {"runs", 2, 6218, 0x7EA685D0A5E7215Bull},
    {"runs", 3, 5883, 0xE646ED92EA89D2A6ull},
    {"random", 0, 100112, 0x628F389F2A3609F2ull},
    {"random", 1, 100124, 0x8A098A251F879F04ull},
    {"random", 2, 100124, 0x8A098A251F879F04ull},
    {"random", 3, 100124, 0x8A098A251F879F04ull},
    {"period 32768", 0, 33972, 0x99DF82BCFB48556Dull},
    {"period 32768", 1, 33565, 0xBC7C4338DD04441Dull},
    {"period 32768", 2, 33565, 0xBC7C4338DD04441Dull},
    {"period 32768", 3, 33565, 0xBC7C4338DD04441Dull},
    {"period 32769", 0, 65623, 0x36164A328D21797Eull},
    {"period 32769", 1, 65628, 0x53FF2ABA8BB8B2E4ull},
    {"period 32769", 2, 65628, 0x53FF2ABA8BB8B2E4ull},
    {"period 32769", 3, 65628, 0x53FF2ABA8BB8B2E4ull},
    {"period 32767", 0, 33409, 0x2CDA9C8EC16140F1ull},
    {"period 32767", 1, 33217, 0xACB95697D3ABD353ull},
    {"period 32767", 2, 33217, 0xACB95697D3ABD353ull},
    {"period 32767", 3, 33217, 0xACB95697D3ABD353ull},
};

// Whole PNG files of the same engine, written at every level.
const std::vector<Expected> kPngDigests = {
    {"rgb 211x97", 0, 37385, 0xAB54095A9E2AEAE5ull},
    {"rgb 211x97", 1, 35551, 0x28A787575AC658D9ull},
    {"rgb 211x97", 2, 35551, 0xF1D0AEB02CE83035ull},
    {"rgb 211x97", 3, 35551, 0x2EBB58ADCA597394ull},
    {"rgb 1x5", 0, 93, 0x2687A1FF5B1B1182ull},
    {"rgb 1x5", 1, 93, 0x5E93055C0A8DB00Cull},
    {"rgb 1x5", 2, 93, 0x0A0FFE08A51FFF0Bull},
    {"rgb 1x5", 3, 93, 0xB365595C52A1A077ull},
    {"rgba 67x45", 0, 10078, 0x887901DC63D1AF58ull},
    {"rgba 67x45", 1, 10012, 0x36140D1CEE254495ull},
    {"rgba 67x45", 2, 10012, 0xF7D9C2EE7194F629ull},
    {"rgba 67x45", 3, 10012, 0x717629C52F2AA5CEull},
    {"rgb as 32 bits without alpha", 0, 860, 0x2A910BBA8D0FDDACull},
    {"rgb as 32 bits without alpha", 1, 858, 0xDEF1684A9DC983A0ull},
    {"rgb as 32 bits without alpha", 2, 858, 0xBBDCFEFE06AEBF59ull},
    {"rgb as 32 bits without alpha", 3, 858, 0x8E1375B76E1E7DA6ull},
    {"palette 8 bits", 0, 4333, 0x12E38C9F53ED54A6ull},
    {"palette 8 bits", 1, 4318, 0xACBFB0A7B4836F35ull},
    {"palette 8 bits", 2, 4318, 0x1542F9B982CD32CFull},
    {"palette 8 bits", 3, 4318, 0x8E272E52D1325D92ull},
    {"palette 4 bits", 0, 770, 0x96BE5805BFDCB6CCull},
    {"palette 4 bits", 1, 765, 0xCAFA136049C0E58Dull},
    {"palette 4 bits", 2, 765, 0x0CE57A9D63AAECEBull},
    {"palette 4 bits", 3, 765, 0xCC4B51DF682D3E30ull},
    {"black/white", 0, 186, 0xD03C5A84523FCC43ull},
    {"black/white", 1, 183, 0x21D76C845FC67917ull},
    {"black/white", 2, 183, 0xF192581E2665BE60ull},
    {"black/white", 3, 183, 0xE2E3EFF6EB8F304Dull},
};

std::vector<uint8_t> DeflateInPieces(const std::vector<uint8_t>& input, int level, size_t piece,
                                     size_t symbolLogLimit = size_t(64) << 20, bool* rematched = nullptr)
{
    CDeflater deflater;
    deflater.SetLevel(level);
    deflater.SetSymbolLogLimit(symbolLogLimit);
    CMemoryDeflateSource source(input, piece);
    CVectorSink sink;
    deflater.Deflate(source, sink);
    if (rematched)
        *rematched = deflater.Rematched();
    return sink.bytes;
}

void PrintTable(const char* title, const std::vector<Expected>& rows)
{
    std::printf("%s\n", title);
    for (const Expected& e : rows)
        std::printf("    {\"%s\", %d, %zu, 0x%016llXull},\n", e.name, e.level, e.size,
                    static_cast<unsigned long long>(e.digest));
}

void CompareWithTable(const std::vector<Expected>& got, const std::vector<Expected>& want, const char* title)
{
    ASSERT_EQ(got.size(), want.size()) << (PrintTable(title, got), "table incomplete");
    for (size_t i = 0; i < got.size(); ++i) {
        const Expected& e = want[i];
        EXPECT_EQ(std::string(got[i].name), e.name);
        EXPECT_EQ(got[i].level, e.level);
        EXPECT_EQ(got[i].size, e.size) << e.name << " level " << e.level;
        EXPECT_EQ(got[i].digest, e.digest) << e.name << " level " << e.level;
    }
}
} // namespace

TEST(DeflaterOutput, MatchesStoredDigestsAtEveryLevelWhateverTheSourcePieces)
{
    std::vector<Expected> got;
    for (const Input& in : Inputs())
        for (int level = 0; level <= 3; ++level) {
            const auto stream = DeflateInPieces(in.bytes, level, 4096);
            got.push_back({in.name, level, stream.size(), Digest(stream)});
            // The matcher's view of the input must not depend on how the source hands it out.
            for (size_t piece : {size_t(1) << 20, size_t(333)}) {
                bool rematched = true;
                EXPECT_EQ(DeflateInPieces(in.bytes, level, piece, size_t(64) << 20, &rematched), stream)
                    << in.name << " level " << level;
                EXPECT_FALSE(rematched) << "the record holds the whole sequence";
            }
        }
    CompareWithTable(got, kDeflateDigests, "deflate digests:");
}

TEST(DeflaterOutput, IsTheSameWhenTheSymbolRecordOverflows)
{
    // No record at all, and a record of one 2 MiB block that the large photo outgrows half-way:
    // the second pass then matches the input again and must write the same bytes.
    size_t row = 0;
    for (const Input& in : Inputs()) {
        for (int level = 0; level <= 3; ++level, ++row) {
            ASSERT_LT(row, kDeflateDigests.size());
            const Expected& e = kDeflateDigests[row];
            ASSERT_EQ(std::string(e.name), in.name);
            for (size_t limit : {size_t(0), (size_t(2) << 20) + 1}) {
                bool rematched = false;
                const auto stream = DeflateInPieces(in.bytes, level, 4096, limit, &rematched);
                if ((limit == 0 && !in.bytes.empty()) || in.bytes.size() > (size_t(2) << 20))
                    EXPECT_TRUE(rematched) << in.name << " level " << level << " limit " << limit;
                else
                    EXPECT_FALSE(rematched) << in.name << " level " << level << " limit " << limit;
                EXPECT_EQ(stream.size(), e.size) << in.name << " level " << level << " limit " << limit;
                EXPECT_EQ(Digest(stream), e.digest) << in.name << " level " << level << " limit " << limit;
            }
        }
    }
}

TEST(PngWriterOutput, MatchesStoredDigestsForEveryFormAndLevel)
{
    // Odd widths leave tails after any whole vector of pixels.
    const struct {
        const char* name;
        int width, height, bits;
        bool alpha;
    } pictures[] = {
        {"rgb 211x97", 211, 97, 24, false},
        {"rgb 1x5", 1, 5, 24, false},
        {"rgba 67x45", 67, 45, 32, true},
        {"rgb as 32 bits without alpha", 33, 9, 32, false},
        {"palette 8 bits", 101, 40, 8, false},
        {"palette 4 bits", 59, 31, 4, false},
        {"black/white", 77, 19, 1, false},
    };
    // The rows are packed by vector code where the processor allows: every level must give
    // the same files.
    const SimdLevel before = ActiveSimdLevel();
    for (SimdLevel simd : {SimdLevel::Portable, SimdLevel::Sse2, SimdLevel::Avx2}) {
        ForceSimdLevel(simd);
        SCOPED_TRACE("vector level " + std::to_string(int(simd)));
        std::vector<Expected> got;
        for (const auto& pic : pictures) {
            const std::vector<uint8_t> rgb = SmoothPhoto(unsigned(pic.width), unsigned(pic.height));
            for (int level = 0; level <= 3; ++level) {
                CPicture p;
                p.Create(unsigned(pic.width), unsigned(pic.height));
                for (int y = 0; y < pic.height; ++y)
                    std::copy_n(rgb.data() + size_t(y) * pic.width * 3, size_t(pic.width) * 3, p.Row(y));
                if (pic.alpha) {
                    p.SetBitsPerPixel(32);
                    ASSERT_TRUE(p.CreateAlpha());
                    for (int y = 0; y < pic.height; ++y)
                        for (int x = 0; x < pic.width; ++x)
                            p.SetAlpha(x, y, (x * 3 + y * 5) & 0xFF);
                }
                const Bytes file = WritePng(p, level, pic.bits);
                ASSERT_FALSE(file.empty()) << pic.name;
                got.push_back({pic.name, level, file.size(), Digest(file)});
            }
        }
        CompareWithTable(got, kPngDigests, "png digests:");
    }
    ForceSimdLevel(before);
}

TEST(DeflaterOutput, ReadsTheInputOnceWhereItPromisesTo)
{
    // A record of two 2 MiB blocks; random bytes are nearly all literals, one unit each.
    const size_t limit = size_t(4) << 20;
    CDeflater deflater;
    deflater.SetSymbolLogLimit(limit);
    const size_t largestPromised = 2 * ((size_t(1) << 20) - 1) - 1;
    EXPECT_TRUE(deflater.ReadsInputOnce(largestPromised));
    EXPECT_FALSE(deflater.ReadsInputOnce(largestPromised + 1));
    EXPECT_FALSE(deflater.ReadsInputOnce(uint64_t(1) << 40));

    const std::vector<uint8_t> input = PseudoRandomBytes(largestPromised, 12);
    bool rematched = true;
    const auto stream = DeflateInPieces(input, 0, 4096, limit, &rematched);
    EXPECT_FALSE(rematched);
    EXPECT_EQ(FirstDifference(InflateBytes(stream), input), "equal");
}
