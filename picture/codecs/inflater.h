#pragma once
// Inflater for any RFC 1951 deflate stream. It pulls compressed bytes from a source piece by
// piece and hands out the uncompressed bytes on demand, keeping 32 KiB of history for copies.
// Failures are EPngError with the engine's messages.
#include <cstddef>
#include <cstdint>
#include <vector>

class CInflateSource {
public:
    virtual ~CInflateSource() = default;
    // The next piece of compressed input; 0 when there is no more. The bytes stay valid until
    // the next call.
    virtual size_t NextInput(const uint8_t*& data) = 0;
};

class CInflater {
public:
    explicit CInflater(CInflateSource& source);

    // Copies exactly n uncompressed bytes to dst; "Premature End-Of-File" when the stream
    // (or its input) ends first.
    void Read(uint8_t* dst, size_t n);
    // Copies up to n bytes; fewer only when the final block has ended.
    size_t ReadSome(uint8_t* dst, size_t n);
    // Confirms that the stream holds no further data: the final block must end without
    // producing another byte, else "Missing End Marker".
    void ExpectEnd();
    // After the final block: the next byte-aligned byte behind the deflate data (a container's
    // trailer). False when the input has ended.
    bool ReadTrailerByte(uint8_t& byte);

    bool Finished() const { return m_state == State::kDone && m_readPos == m_outPos; }
    // Adler-32 of every byte handed out so far.
    uint32_t Adler32() const { return m_adler; }

private:
    enum class State { kBlockHeader, kStored, kHuffman, kDone };

    void Decode();
    void MakeRoom();
    void ReadBlockHeader();
    void ReadDynamicTables();
    void UseFixedTables();
    void DecodeStored();
    void DecodeHuffman();
    bool DecodeSymbolCarefully(uint8_t* out, size_t& pos, uint64_t producedBefore);
    bool DecodeFast(uint8_t* out, size_t& outPos, uint64_t producedBefore);
    bool DecodeFastPlain(uint8_t* out, size_t& pos, uint64_t producedBefore);
    bool DecodeFastBmi2(uint8_t* out, size_t& pos, uint64_t producedBefore);
    static bool HasBmi2();
    static void CopyMatch(uint8_t* dst, unsigned distance, unsigned length);

    bool NextPiece();
    void Refill();
    void RefillSlow();
    unsigned TakeBits(unsigned n);
    [[noreturn]] static void Fail(const char* message);

    CInflateSource& m_source;
    const uint8_t* m_in = nullptr;
    const uint8_t* m_inEnd = nullptr;
    bool m_inputEnded = false;
    uint64_t m_bits = 0;
    unsigned m_count = 0;

    State m_state = State::kBlockHeader;
    bool m_finalBlock = false;
    uint32_t m_storedLeft = 0;

    std::vector<uint32_t> m_litLenTable;
    std::vector<uint32_t> m_distanceTable;

    std::vector<uint8_t> m_out;  // history followed by output not yet handed out
    size_t m_outPos = 0;         // where the next byte is written
    size_t m_readPos = 0;        // where the next byte is handed out
    uint64_t m_produced = 0;     // bytes produced since the start (limits copy distances)
    uint32_t m_adler = 1;
};
