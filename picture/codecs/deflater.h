#pragma once
// Deflater producing one final block with dynamic Huffman codes, in two passes: pass 1 runs
// the greedy LZ77 matcher over the input, counts symbol frequencies and records the symbol
// sequence; the codes are built; pass 2 writes the codes of the recorded sequence. An input
// whose sequence outgrows the record's memory limit is read and matched again in pass 2,
// which gives the same sequence.
#include <cstddef>
#include <cstdint>
#include <vector>

class CDeflateSource {
public:
    virtual ~CDeflateSource() = default;
    // Back to the first byte: Deflate reads the input once, or a second time when its
    // symbol record could not hold the whole sequence.
    virtual void Restart() = 0;
    // Up to `max` next bytes into dst; 0 at the end of the input.
    virtual size_t Read(uint8_t* dst, size_t max) = 0;
};

class CDeflateSink {
public:
    virtual ~CDeflateSink() = default;
    virtual void Write(const uint8_t* data, size_t n) = 0;
};

class CDeflater {
public:
    // Levels 0..3 (chain limits 1, 64, 64, unlimited); "Invalid Compression Level" otherwise.
    void SetLevel(int level);
    int Level() const { return m_level; }

    void Deflate(CDeflateSource& source, CDeflateSink& sink);
    // Adler-32 of the input of the last Deflate.
    uint32_t Adler32() const { return m_adler; }

    // Memory the recorded symbol sequence may take (two bytes per literal, four per match;
    // 64 MiB unless set): enough for a 12-megapixel photograph.
    void SetSymbolLogLimit(size_t bytes) { m_symbolLogLimit = bytes; }
    // Whether the second pass of the last Deflate had to match the input again.
    bool Rematched() const { return m_rematched; }
    // Whether Deflate reads an input of this size only once whatever its bytes (the symbol
    // record always holds it); a larger input may be read twice.
    bool ReadsInputOnce(uint64_t inputBytes) const;

private:
    int m_level = 2;
    size_t m_symbolLogLimit = size_t(64) << 20;
    bool m_rematched = false;
    uint32_t m_adler = 1;
};
