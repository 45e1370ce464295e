#pragma once
// Builds length-limited canonical Huffman codes for the deflater from symbol frequencies:
// code sizes by the JPEG code-size procedure (ITU-T T.81 Annex K.2, no reserved code point),
// lengths above the limit brought down by the same annex's adjustment, then deflate's
// canonical code assignment. Codes are kept bit-reversed, ready to be sent least significant
// bit first.
#include <cstdint>
#include <vector>

class CHuffmanCodeBuilder {
public:
    CHuffmanCodeBuilder(unsigned symbolCount, unsigned maxBits);

    void Reset();
    // Counts occurrences; "Index out of range" for a symbol outside the alphabet.
    void Count(unsigned symbol, uint64_t times = 1)
    {
        if (symbol >= m_symbolCount)
            ThrowIndexOutOfRange();
        m_frequency[symbol] += times;
    }
    void Build();

    unsigned SymbolCount() const { return m_symbolCount; }
    unsigned Length(unsigned symbol) const { return symbol < m_symbolCount ? m_length[symbol] : 0; }
    // Number of symbols up to the last one with a code.
    unsigned UsedPrefix() const;
    // The bit-reversed code of a symbol: "Index Out of Range" outside the alphabet,
    // "INTERNAL ERROR - Missing Huffman Code" for a symbol without code.
    uint16_t Code(unsigned symbol) const;
    // Unchecked access for the hot loop, once Build has succeeded.
    uint16_t CodeUnchecked(unsigned symbol) const { return m_code[symbol]; }
    uint8_t LengthUnchecked(unsigned symbol) const { return m_length[symbol]; }

private:
    [[noreturn]] static void ThrowIndexOutOfRange();
    void AssignCodeSizes(std::vector<unsigned>& codeSize) const;
    void AssignCanonicalCodes();

    unsigned m_symbolCount;
    unsigned m_maxBits;
    std::vector<uint64_t> m_frequency;
    std::vector<uint8_t> m_length;
    std::vector<uint16_t> m_code;
};
