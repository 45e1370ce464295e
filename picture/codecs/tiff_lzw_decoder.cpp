#include "picture/codecs/tiff_lzw_decoder.h"

#include <cstring>

namespace rastercodec {
namespace {

constexpr unsigned kClearCode = 256;
constexpr unsigned kEndCode = 257;
constexpr unsigned kFirstFree = 258;
constexpr unsigned kTableSize = 4096;

// Most-significant-bit-first code reader with a 64-bit buffer.
class CodeReader {
public:
    CodeReader(const uint8_t* in, size_t size) : m_in(in), m_end(in + size) {}

    // False when fewer than `width` bits are left.
    bool Next(unsigned width, unsigned& code)
    {
        if (m_count < width) {
            Refill();
            if (m_count < width)
                return false;
        }
        code = static_cast<unsigned>(m_bits >> (64 - width));
        m_bits <<= width;
        m_count -= width;
        return true;
    }

private:
    void Refill()
    {
        if (m_end - m_in >= 8 && m_count <= 56) {
            uint64_t word = 0;
            for (int i = 0; i < 8; ++i)
                word = word << 8 | m_in[i];
            // Take as many whole bytes as fit beside the bits still held.
            const unsigned take = (64 - m_count) / 8;
            m_bits |= (word >> (64 - take * 8)) << (64 - m_count - take * 8);
            m_in += take;
            m_count += take * 8;
            return;
        }
        while (m_count <= 56 && m_in < m_end) {
            m_bits |= uint64_t(*m_in++) << (56 - m_count);
            m_count += 8;
        }
    }

    const uint8_t* m_in;
    const uint8_t* m_end;
    uint64_t m_bits = 0;
    unsigned m_count = 0;
};

} // namespace

size_t DecodeTiffLzw(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize)
{
    // Every string of the table is a stretch of the output already written: the new entry is
    // the previous string plus the first byte of the current one, which follows it directly.
    size_t offsets[kTableSize];
    uint16_t lengths[kTableSize];

    CodeReader reader(in, inSize);
    size_t o = 0;
    unsigned width = 9;
    unsigned next = kFirstFree;
    bool havePrevious = false;
    size_t previousPos = 0, previousLength = 0;
    unsigned code;

    while (o < outSize && reader.Next(width, code)) {
        if (code == kClearCode) {
            width = 9;
            next = kFirstFree;
            havePrevious = false;
            continue;
        }
        if (code == kEndCode)
            break;

        const size_t start = o;
        size_t length;
        if (code < kClearCode) {
            out[o++] = static_cast<uint8_t>(code);
            length = 1;
        } else if (!havePrevious || code > next || (code == next && next >= kTableSize)) {
            break; // a code that cannot occur in a valid stream
        } else if (code < next) {
            length = lengths[code];
            const size_t room = outSize - o;
            const uint8_t* from = out + offsets[code];
            if (length + 16 <= room) {
                // The string ends before `o`, so 8-byte steps never read what they write among
                // its bytes; what they copy past its end is overwritten by the next string.
                uint8_t* to = out + o;
                for (size_t k = 0; k < length; k += 8)
                    std::memcpy(to + k, from + k, 8);
            } else if (length > room) {
                std::memcpy(out + o, from, room);
                return outSize;
            } else {
                std::memcpy(out + o, from, length);
            }
            o += length;
        } else {
            // The code being defined: the previous string and its own first byte.
            length = previousLength + 1;
            const size_t room = outSize - o;
            const size_t copy = length > room ? room : length;
            if (copy <= previousLength) {
                std::memcpy(out + o, out + previousPos, copy);
            } else {
                std::memcpy(out + o, out + previousPos, previousLength);
                out[o + previousLength] = out[previousPos];
            }
            o += copy;
            if (copy < length)
                return o;
        }

        if (havePrevious && next < kTableSize) {
            offsets[next] = previousPos;
            lengths[next] = static_cast<uint16_t>(previousLength + 1); // at most 4096
            ++next;
            if (next == 511)
                width = 10;
            else if (next == 1023)
                width = 11;
            else if (next == 2047)
                width = 12;
        }
        havePrevious = true;
        previousPos = start;
        previousLength = length;
    }
    return o;
}

} // namespace rastercodec
