#pragma once
// The inflater as it was before its fast decoding loop: one table lookup per symbol with every
// bit count checked. Kept as the reference that the engine's inflater must match, output and
// message, on intact and damaged streams alike.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/codecs/inflater.h"

class CReferenceInflater {
public:
    explicit CReferenceInflater(CInflateSource& source);

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

private:
    enum class State { kBlockHeader, kStored, kHuffman, kDone };

    void Decode();
    void MakeRoom();
    void ReadBlockHeader();
    void ReadDynamicTables();
    void UseFixedTables();
    void DecodeStored();
    void DecodeHuffman();

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
};
