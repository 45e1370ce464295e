#pragma once
// Huffman tables of the JPEG codec: decoding tables built from a DHT segment, and the
// encoder's per-image optimal tables (T.81 Annex K.2).
#include <array>
#include <cstdint>

#include "picture/codecs/jpeg_bit_reader.h"

// A decoding table. The canonical decoding walk compares the growing code with the largest
// code of each length; codes of up to kLookBits bits are also found in one step through a
// table filled by running that very walk on every kLookBits-bit prefix.
//
// A second table decodes a code together with the value bits that follow it: by the next
// kFastBits bits, (signed value << 16) | (symbol << 8) | bits to skip. When the code fits but
// its value bits do not, the entry holds the code alone: value 0 although the symbol has
// value bits (a decoded value is never 0), and the bits to skip are the code's. 0 when no
// code that short matches. The number of value bits of a symbol is its low four bits in an
// AC table and the symbol itself in a DC table (where one above 15 is invalid and always left
// to the walk, which reports it).
struct JpegHuffmanDecodeTable {
    static constexpr int kLookBits = 9;
    static constexpr int kFastBits = 11;
    enum class Class { Dc, Ac };

    bool defined = false;
    int32_t maxCode[17] = {};   // largest code of each length 1..16, -1 when none
    int32_t valueOffset[17] = {}; // index of a code's value = code + valueOffset[length]
    int valueCount = 0;
    uint8_t values[256] = {};
    uint16_t look[1 << kLookBits] = {}; // (length << 8) | value; 0 when no code this short matches
    uint32_t fast[1 << kFastBits] = {};

    // Builds the table from the 16 code-length counts and the values; throws EJpegBadData
    // when the counts do not form a prefix code.
    void Build(const uint8_t counts[16], const uint8_t* symbols, Class tableClass);
};

// Fields of a JpegHuffmanDecodeTable::fast entry.
inline int JpegFastSkip(uint32_t entry) { return static_cast<int>(entry & 0xFF); }
inline int JpegFastSymbol(uint32_t entry) { return static_cast<int>((entry >> 8) & 0xFF); }
inline int JpegFastValue(uint32_t entry) { return static_cast<int16_t>(entry >> 16); }

// The walk for codes longer than the look-up table (and for damaged data) on the next 16
// bits: returns (length << 8) | value; throws EJpegBadData when no code matches.
int JpegDecodeHuffmanSlow(uint32_t code16, const JpegHuffmanDecodeTable& table);

// Decodes one symbol; the caller has made at least 16 bits available.
JPEG_ALWAYS_INLINE int JpegDecodeHuffman(JpegBits& bits, const JpegHuffmanDecodeTable& table)
{
    unsigned entry = table.look[bits.Peek(JpegHuffmanDecodeTable::kLookBits)];
    if (!entry)
        entry = static_cast<unsigned>(JpegDecodeHuffmanSlow(bits.Peek(16), table));
    bits.Skip(static_cast<int>(entry >> 8));
    return static_cast<int>(entry & 0xFF);
}

// An encoding table: code and length per symbol, and its DHT form.
struct JpegHuffmanEncodeTable {
    uint8_t counts[16] = {};
    uint8_t values[256] = {};
    int valueCount = 0;
    std::array<uint16_t, 256> code{};
    std::array<uint8_t, 256> length{}; // 0 = symbol has no code

    // Derives the codes from counts and values (T.81 Annex C).
    void DeriveCodes();
};

// Symbol frequencies of one table, with room for the reserved code point.
using JpegSymbolFrequencies = std::array<int64_t, 257>;

// Builds the optimal table for the frequencies (T.81 Annex K.2): one reserved code point of
// frequency 1 so that no code is all ones, code lengths limited to 16.
JpegHuffmanEncodeTable JpegOptimalHuffmanTable(const JpegSymbolFrequencies& frequencies);
