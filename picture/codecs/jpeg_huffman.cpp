#include "picture/codecs/jpeg_huffman.h"

#include <cstring>

#include "picture/graphics_exceptions.h"

namespace {
// The code matching the leading bits of a `bits`-bit prefix, by the canonical walk: its
// length (0 when no code of at most `bits` bits matches) and its symbol.
int FindShortCode(const JpegHuffmanDecodeTable& table, unsigned prefix, int bits, uint8_t& symbol)
{
    for (int length = 1; length <= bits; ++length) {
        const int32_t c = static_cast<int32_t>(prefix >> (bits - length));
        if (c <= table.maxCode[length]) {
            symbol = table.values[c + table.valueOffset[length]];
            return length;
        }
    }
    return 0;
}
} // namespace

void JpegHuffmanDecodeTable::Build(const uint8_t counts[16], const uint8_t* symbols, Class tableClass)
{
    int total = 0;
    for (int i = 0; i < 16; ++i)
        total += counts[i];
    if (total > 256)
        throw EJpegBadData("Huffman count > 256");

    int32_t code = 0;
    int index = 0;
    for (int length = 1; length <= 16; ++length) {
        const int n = counts[length - 1];
        if (n) {
            valueOffset[length] = index - code;
            maxCode[length] = code + n - 1;
            code += n;
            index += n;
        } else {
            maxCode[length] = -1;
            valueOffset[length] = 0;
        }
        if (code > (1 << length))
            throw EJpegBadData("Invalid Huffman Table");
        code <<= 1;
    }
    valueCount = total;
    std::memset(values, 0, sizeof values);
    std::memcpy(values, symbols, static_cast<size_t>(total));

    for (unsigned prefix = 0; prefix < (1u << kLookBits); ++prefix) {
        uint8_t symbol = 0;
        const int length = FindShortCode(*this, prefix, kLookBits, symbol);
        look[prefix] = length ? static_cast<uint16_t>((length << 8) | symbol) : 0;
    }
    for (unsigned prefix = 0; prefix < (1u << kFastBits); ++prefix) {
        fast[prefix] = 0;
        uint8_t symbol = 0;
        const int length = FindShortCode(*this, prefix, kFastBits, symbol);
        const int size = tableClass == Class::Ac ? (symbol & 15) : symbol;
        if (length == 0 || size > 15)
            continue;
        int value = 0;
        if (length + size > kFastBits) {
            fast[prefix] = (static_cast<uint32_t>(symbol) << 8) | static_cast<uint32_t>(length);
            continue;
        }
        if (size) {
            const int raw = static_cast<int>((prefix >> (kFastBits - length - size)) & ((1u << size) - 1));
            value = JpegExtend(raw, size);
        }
        fast[prefix] = (static_cast<uint32_t>(static_cast<uint16_t>(value)) << 16) |
                       (static_cast<uint32_t>(symbol) << 8) | static_cast<uint32_t>(length + size);
    }
    defined = true;
}

int JpegDecodeHuffmanSlow(uint32_t code16, const JpegHuffmanDecodeTable& table)
{
    for (int length = 1; length <= 16; ++length) {
        const int32_t c = static_cast<int32_t>(code16 >> (16 - length));
        if (c <= table.maxCode[length]) {
            const int index = c + table.valueOffset[length];
            if (index < 0 || index >= table.valueCount)
                throw EJpegBadData("Bad Huffman Code Length");
            return (length << 8) | table.values[index];
        }
    }
    throw EJpegBadData("Bad Huffman Code Length");
}

void JpegHuffmanEncodeTable::DeriveCodes()
{
    code.fill(0);
    length.fill(0);
    uint32_t next = 0;
    int k = 0;
    for (int len = 1; len <= 16; ++len) {
        for (int i = 0; i < counts[len - 1]; ++i) {
            if (k >= valueCount)
                throw EJpegFatal("INTERNAL ERROR - Missing Huffman Value");
            const uint8_t symbol = values[k++];
            if (length[symbol])
                throw EJpegFatal("INTERNAL ERROR - Duplicate Huffman Code");
            if (next >= (1u << len))
                throw EJpegFatal("INTERNAL ERROR - Invalid Huffman Range");
            code[symbol] = static_cast<uint16_t>(next++);
            length[symbol] = static_cast<uint8_t>(len);
        }
        next <<= 1;
    }
}

JpegHuffmanEncodeTable JpegOptimalHuffmanTable(const JpegSymbolFrequencies& frequencies)
{
    JpegSymbolFrequencies freq = frequencies;
    freq[256] = 1; // reserved code point: no real code is all ones
    int codeSize[257] = {};
    int others[257];
    for (int& o : others)
        o = -1;

    // Code_size (Figure K.1): repeatedly merge the two least frequent trees.
    for (;;) {
        int v1 = -1;
        for (int i = 0; i <= 256; ++i)
            if (freq[i] > 0 && (v1 < 0 || freq[i] <= freq[v1]))
                v1 = i;
        int v2 = -1;
        for (int i = 0; i <= 256; ++i)
            if (i != v1 && freq[i] > 0 && (v2 < 0 || freq[i] <= freq[v2]))
                v2 = i;
        if (v2 < 0)
            break;
        freq[v1] += freq[v2];
        freq[v2] = 0;
        ++codeSize[v1];
        while (others[v1] >= 0) {
            v1 = others[v1];
            ++codeSize[v1];
        }
        others[v1] = v2;
        ++codeSize[v2];
        while (others[v2] >= 0) {
            v2 = others[v2];
            ++codeSize[v2];
        }
    }

    // Count_BITS (Figure K.2).
    int bits[33] = {};
    for (int i = 0; i <= 256; ++i) {
        if (codeSize[i]) {
            if (codeSize[i] > 32)
                throw EJpegFatal("INTERNAL ERROR - Too many codes defined");
            ++bits[codeSize[i]];
        }
    }

    // Adjust_BITS (Figure K.3): limit code lengths to 16.
    for (int i = 32; i > 16; --i) {
        while (bits[i] > 0) {
            int j = i - 2;
            while (j > 0 && bits[j] == 0)
                --j;
            if (j <= 0)
                throw EJpegFatal("INTERNAL ERROR - Invalid Huffman Range");
            bits[i] -= 2;
            bits[i - 1] += 1;
            bits[j + 1] += 2;
            bits[j] -= 1;
        }
    }
    int last = 16;
    while (last > 0 && bits[last] == 0)
        --last;
    if (last == 0)
        throw EJpegFatal("INTERNAL ERROR - Missing Huffman Code Size");
    --bits[last]; // drop the reserved code point

    JpegHuffmanEncodeTable table;
    for (int i = 1; i <= 16; ++i)
        table.counts[i - 1] = static_cast<uint8_t>(bits[i]);

    // Sort_input (Figure K.4): values by code size, then by value.
    int k = 0;
    for (int size = 1; size <= 32; ++size)
        for (int v = 0; v < 256; ++v)
            if (codeSize[v] == size) {
                if (k >= 256)
                    throw EJpegFatal("INTERNAL ERROR - Too many codes defined");
                table.values[k++] = static_cast<uint8_t>(v);
            }
    table.valueCount = k;
    table.DeriveCodes();
    return table;
}
