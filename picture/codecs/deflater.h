#pragma once
// Deflater producing one final block with dynamic Huffman codes, in two passes over the
// input: pass 1 runs the greedy LZ77 matcher and counts symbol frequencies, the codes are
// built, pass 2 reruns the matcher identically and writes the codes.
#include <cstddef>
#include <cstdint>
#include <vector>

class CDeflateSource {
public:
    virtual ~CDeflateSource() = default;
    // Back to the first byte (each pass reads the input once).
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

private:
    int m_level = 2;
    uint32_t m_adler = 1;
};
