#pragma once
// The JPEG writer's scan in two passes over compact symbol entries. The first pass codes
// every quantised block into entries (T.81 F.1.2) and counts the symbol frequencies; once
// the optimal tables are built from the counts, the second writes the entries' codes.
//
// Entries are 16 bits. A block is its DC entry (size << 12 | extra bits), then one entry per
// AC symbol (symbol << 8 | extra bits; with more than 8 extra bits the low byte is 0 and a
// second entry holds them), then kEndOfBlock, or kLastTermCoded when the block's last term
// is not zero and no end-of-block symbol is coded.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "picture/codecs/jpeg_bit_writer.h"
#include "picture/codecs/jpeg_huffman.h"

class JpegSymbolStore {
public:
    static constexpr uint16_t kEndOfBlock = 0x0000;
    static constexpr uint16_t kLastTermCoded = 0x1000; // run 1, size 0: never a real symbol
    // Most entries one block can take: DC, 63 terms of two entries, 3 runs of 16 zeros, end.
    static constexpr size_t kPerBlock = 1 + 63 * 2 + 3 + 1;
    static constexpr size_t kChunkEntries = size_t(1) << 21;

    struct Chunk {
        std::unique_ptr<uint16_t[]> data;
        size_t size = 0;
    };

    // Room for the three blocks (Y, Cb, Cr) of one MCU; returns where to write. A chunk
    // holds whole MCUs, so every chunk starts with a Y block.
    uint16_t* ReserveMcu();
    void Commit(const uint16_t* end) { m_chunks.back().size = static_cast<size_t>(end - m_chunks.back().data.get()); }
    const std::vector<Chunk>& Chunks() const { return m_chunks; }

private:
    std::vector<Chunk> m_chunks;
};

// Codes one block into entries at `out`, counting its symbols; returns the end. The
// coefficients are in the transform's order with the zigzag non-zero mask, as a
// JpegFdctQuantizeFunction leaves them.
uint16_t* JpegCodeBlock(const int16_t coefficients[64], uint64_t nonZero, int& dcPredictor, uint16_t* out,
                        JpegSymbolFrequencies& dcFreq, JpegSymbolFrequencies& acFreq);

// Throws EJpegFatal when a symbol counted in `counts` has no code in the table built from
// them (tables and counts: luma DC, luma AC, chroma DC, chroma AC).
void JpegCheckSymbolCodes(const JpegHuffmanEncodeTable tables[4], const JpegSymbolFrequencies counts[4]);

// Writes the codes of every block of the store with `tables` (checked by
// JpegCheckSymbolCodes); `drain` takes the bytes whenever a chunk of them is ready.
void JpegWriteSymbols(const JpegSymbolStore& store, const JpegHuffmanEncodeTable tables[4], JpegBitWriter& bits,
                      const std::function<void(const uint8_t*, size_t)>& drain);
