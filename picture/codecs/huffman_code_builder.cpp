#include "picture/codecs/huffman_code_builder.h"

#include <algorithm>
#include <numeric>

#include "picture/graphics_exceptions.h"

CHuffmanCodeBuilder::CHuffmanCodeBuilder(unsigned symbolCount, unsigned maxBits)
    : m_symbolCount(symbolCount), m_maxBits(maxBits), m_frequency(symbolCount), m_length(symbolCount),
      m_code(symbolCount)
{
}

void CHuffmanCodeBuilder::ThrowIndexOutOfRange() { throw EPngError("Index out of range"); }

void CHuffmanCodeBuilder::Reset()
{
    std::fill(m_frequency.begin(), m_frequency.end(), 0);
    std::fill(m_length.begin(), m_length.end(), 0);
    std::fill(m_code.begin(), m_code.end(), 0);
}

unsigned CHuffmanCodeBuilder::UsedPrefix() const
{
    unsigned n = m_symbolCount;
    while (n > 0 && m_length[n - 1] == 0)
        --n;
    return n;
}

uint16_t CHuffmanCodeBuilder::Code(unsigned symbol) const
{
    if (symbol >= m_symbolCount)
        throw EPngError("Index Out of Range");
    if (m_length[symbol] == 0)
        throw EPngError("INTERNAL ERROR - Missing Huffman Code");
    return m_code[symbol];
}

// Annex K.2 code sizes: merge the two least frequent symbols (on a tie the higher symbol
// value first) and lengthen every code chained under either.
void CHuffmanCodeBuilder::AssignCodeSizes(std::vector<unsigned>& codeSize) const
{
    std::vector<uint64_t> freq = m_frequency;
    std::vector<int> others(m_symbolCount, -1);
    codeSize.assign(m_symbolCount, 0);
    for (;;) {
        int c1 = -1, c2 = -1;
        uint64_t v1 = UINT64_MAX, v2 = UINT64_MAX;
        for (unsigned i = 0; i < m_symbolCount; ++i) {
            if (freq[i] && freq[i] <= v1) {
                v1 = freq[i];
                c1 = int(i);
            }
        }
        for (unsigned i = 0; i < m_symbolCount; ++i) {
            if (freq[i] && freq[i] <= v2 && int(i) != c1) {
                v2 = freq[i];
                c2 = int(i);
            }
        }
        if (c2 < 0)
            break;
        freq[c1] += freq[c2];
        freq[c2] = 0;
        ++codeSize[c1];
        while (others[c1] >= 0) {
            c1 = others[c1];
            ++codeSize[c1];
        }
        others[c1] = c2;
        ++codeSize[c2];
        while (others[c2] >= 0) {
            c2 = others[c2];
            ++codeSize[c2];
        }
    }
}

void CHuffmanCodeBuilder::Build()
{
    std::fill(m_length.begin(), m_length.end(), 0);
    std::vector<unsigned> used;
    for (unsigned s = 0; s < m_symbolCount; ++s)
        if (m_frequency[s])
            used.push_back(s);

    if (used.size() < 2) {
        // The procedure gives a lone symbol no code, and deflate needs a code even then:
        // give it and one partner a 1-bit code so that the code stays complete.
        const unsigned lone = used.empty() ? 0 : used[0];
        m_length[lone] = 1;
        m_length[lone == 0 ? 1 : 0] = 1;
        AssignCanonicalCodes();
        return;
    }

    std::vector<unsigned> codeSize;
    AssignCodeSizes(codeSize);
    unsigned longest = 0;
    for (unsigned s : used) {
        if (codeSize[s] == 0)
            throw EPngError("INTERNAL ERROR - Missing Huffman Code Size");
        longest = std::max(longest, codeSize[s]);
    }
    std::vector<unsigned> bits(longest + 1, 0);
    for (unsigned s : used)
        ++bits[codeSize[s]];

    // Annex K.2 adjustment: move pairs of over-long codes up until none exceeds the limit.
    for (unsigned i = longest; i > m_maxBits; --i) {
        while (bits[i] > 0) {
            unsigned j = i - 2;
            while (bits[j] == 0)
                --j;
            bits[i] -= 2;
            bits[i - 1] += 1;
            bits[j + 1] += 2;
            bits[j] -= 1;
        }
    }
    const unsigned total = std::accumulate(bits.begin(), bits.end(), 0u);
    if (total > m_symbolCount || total != used.size())
        throw EPngError("INTERNAL ERROR - Too many codes defined");

    // Symbols in order of their code size, then of their value, take the adjusted lengths.
    std::stable_sort(used.begin(), used.end(),
                     [&](unsigned a, unsigned b) { return codeSize[a] < codeSize[b]; });
    size_t next = 0;
    for (unsigned len = 1; len < bits.size(); ++len) {
        for (unsigned k = 0; k < bits[len]; ++k) {
            if (len > m_maxBits)
                throw EPngError("Invalid Huffman Code Generated");
            m_length[used[next++]] = uint8_t(len);
        }
    }
    AssignCanonicalCodes();
}

// Deflate's canonical codes: within a length consecutive values by symbol order, the first
// code of each length following the last of the shorter one.
void CHuffmanCodeBuilder::AssignCanonicalCodes()
{
    unsigned count[16] = {};
    for (unsigned s = 0; s < m_symbolCount; ++s)
        ++count[m_length[s]];
    count[0] = 0;
    unsigned nextCode[16] = {};
    for (unsigned len = 1, code = 0; len <= 15; ++len) {
        code = (code + count[len - 1]) << 1;
        nextCode[len] = code;
    }
    for (unsigned s = 0; s < m_symbolCount; ++s) {
        const unsigned len = m_length[s];
        if (!len)
            continue;
        const unsigned code = nextCode[len]++;
        if (code >= (1u << len))
            throw EPngError("INTERNAL ERROR - Invalid Huffman Range");
        unsigned reversed = 0;
        for (unsigned i = 0, c = code; i < len; ++i, c >>= 1)
            reversed = (reversed << 1) | (c & 1);
        m_code[s] = uint16_t(reversed);
    }
}
