// The matcher against a plain model of its rule: for every position the candidates are the
// earlier positions of the same three-byte hash, newest first, the first `limit` of them within
// 32 KiB; the first longest match of at least three bytes wins. The model keeps one list of
// positions per hash and compares byte by byte, so it shares nothing with the matcher's chains.
#include <gtest/gtest.h>

#include <string>

#include "deflate_test_support.h"
#include "picture/codecs/deflate_matcher.h"

namespace {
struct Symbol {
    unsigned length = 0; // 0 for a literal
    unsigned value = 0;  // the literal byte or the distance
    bool operator==(const Symbol&) const = default;
};

struct Recorder {
    std::vector<Symbol> symbols;
    void Literal(uint8_t byte) { symbols.push_back({0, byte}); }
    void Match(unsigned length, unsigned distance) { symbols.push_back({length, distance}); }
};

std::vector<Symbol> ModelMatches(const std::vector<uint8_t>& in, unsigned limit)
{
    const auto hash = [&](size_t p) {
        return (in[p] & 0x1Fu) | ((unsigned(in[p + 1]) << 5) & 0x3FFu) | ((unsigned(in[p + 2]) << 10) & 0x7FFFu);
    };
    std::vector<std::vector<size_t>> chains(32768);
    std::vector<Symbol> out;
    const auto insert = [&](size_t p) { chains[hash(p)].push_back(p); };
    for (size_t pos = 0; pos < in.size();) {
        const size_t avail = in.size() - pos;
        unsigned bestLength = 0, bestDistance = 0;
        if (avail >= 3) {
            const unsigned maxLength = unsigned(std::min<size_t>(avail, 258));
            const auto& chain = chains[hash(pos)];
            unsigned examined = 0;
            for (size_t i = chain.size(); i-- > 0 && examined < limit; ++examined) {
                const size_t c = chain[i];
                if (pos - c > 32768)
                    break;
                unsigned length = 0;
                while (length < maxLength && in[c + length] == in[pos + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = unsigned(pos - c);
                    if (length == maxLength)
                        break;
                }
            }
            insert(pos);
        }
        if (bestLength >= 3) {
            out.push_back({bestLength, bestDistance});
            for (size_t q = pos + 1; q < pos + bestLength && q + 3 <= in.size(); ++q)
                insert(q);
            pos += bestLength;
        } else {
            out.push_back({0, in[pos]});
            ++pos;
        }
    }
    return out;
}

std::vector<Symbol> MatcherMatches(const std::vector<uint8_t>& in, unsigned limit, size_t piece,
                                   const deflate::MatcherOptions& options = {})
{
    deflate::CMatcher matcher(limit, options);
    CMemoryDeflateSource source(in, piece);
    Recorder recorder;
    size_t seen = 0;
    matcher.Run(source, recorder, [&](const uint8_t*, size_t n) { seen += n; });
    EXPECT_EQ(seen, in.size());
    return recorder.symbols;
}

// Random bytes over a small alphabet: long chains, many equal candidates, and four-byte
// prefixes shared by candidates of every length.
std::vector<uint8_t> SmallAlphabet(size_t n, unsigned letters, uint32_t seed)
{
    std::vector<uint8_t> v(n);
    for (auto& b : v) {
        seed = seed * 1103515245u + 12345u;
        b = uint8_t('a' + (seed >> 16) % letters);
    }
    return v;
}

std::string FirstDifference(const std::vector<Symbol>& got, const std::vector<Symbol>& want)
{
    size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i])
        ++i;
    if (i == got.size() && i == want.size())
        return "equal";
    const auto show = [](const std::vector<Symbol>& v, size_t k) {
        if (k >= v.size())
            return std::string("end");
        return v[k].length ? "match " + std::to_string(v[k].length) + "/" + std::to_string(v[k].value)
                           : "literal " + std::to_string(v[k].value);
    };
    return "symbol " + std::to_string(i) + ": " + show(got, i) + " instead of " + show(want, i);
}
} // namespace

TEST(DeflateMatcher, FollowsTheChainRuleAtEveryLimit)
{
    // Same hash, different bytes: the high three bits of each byte are outside the hash.
    std::vector<uint8_t> aliases = SmallAlphabet(90000, 4, 11);
    for (size_t i = 0; i < aliases.size(); i += 3)
        aliases[i] = uint8_t(aliases[i] ^ (((i / 7) & 7) << 5));
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } inputs[] = {
        {"two letters", SmallAlphabet(80000, 2, 1)},
        {"four letters", SmallAlphabet(100000, 4, 2)},
        {"sixteen letters", SmallAlphabet(120000, 16, 3)},
        {"hash aliases", aliases},
        {"photo", PhotoLikeBytes(200, 150, 4)},
        {"random", PseudoRandomBytes(70000, 5)},
        {"zeros", std::vector<uint8_t>(100000, 0)},
    };
    for (const auto& in : inputs)
        for (unsigned limit : {1u, 2u, 64u, deflate::CMatcher::kUnlimited}) {
            const auto want = ModelMatches(in.bytes, limit);
            EXPECT_EQ(FirstDifference(MatcherMatches(in.bytes, limit, 4096), want), "equal")
                << in.name << " limit " << limit;
        }
}

TEST(DeflateMatcher, GivesTheSameMatchesWhenItsPositionsAreRebased)
{
    // Rebasing at every slide of the buffer, and reading the input one odd piece at a time.
    const auto photo = PhotoLikeBytes(300, 300, 8);
    const auto text = SmallAlphabet(150000, 3, 9);
    for (const auto* input : {&photo, &text})
        for (unsigned limit : {1u, 64u}) {
            const auto want = MatcherMatches(*input, limit, 4096);
            deflate::MatcherOptions rebaseOften;
            rebaseOften.rebaseAt = 32768;
            EXPECT_EQ(FirstDifference(MatcherMatches(*input, limit, 4096, rebaseOften), want), "equal") << limit;
            EXPECT_EQ(FirstDifference(MatcherMatches(*input, limit, 1000), want), "equal") << limit;
        }
}

TEST(DeflateMatcher, FollowsTheRuleWhenFourByteChainsAreCrowded)
{
    // A four-byte hash of 3 bits puts nearly every position on a few chains full of other
    // prefixes: they are passed by without limit, or the plain walk takes over after none,
    // two or many of them.
    const auto photo = PhotoLikeBytes(120, 100, 13);
    const auto letters = SmallAlphabet(40000, 5, 14);
    for (const auto* input : {&photo, &letters})
        for (unsigned limit : {1u, 64u, deflate::CMatcher::kUnlimited}) {
            const auto want = ModelMatches(*input, limit);
            for (unsigned strangers : {0u, 2u, 1000000u}) {
                deflate::MatcherOptions crowded;
                crowded.hash4Bits = 3;
                crowded.strangerLimit = strangers;
                EXPECT_EQ(FirstDifference(MatcherMatches(*input, limit, 4096, crowded), want), "equal")
                    << "limit " << limit << " strangers " << strangers;
            }
        }
}
