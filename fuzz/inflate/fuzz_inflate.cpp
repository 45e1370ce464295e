// Inflates arbitrary bytes as a raw deflate stream, pulled in small pieces.
#include <cstddef>
#include <cstdint>

#include "picture/codecs/inflater.h"
#include "picture/graphics_exceptions.h"

namespace {
class PieceSource : public CInflateSource {
public:
    PieceSource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    size_t NextInput(const uint8_t*& data) override
    {
        const size_t n = m_size - m_pos < 97 ? m_size - m_pos : 97;
        data = m_data + m_pos;
        m_pos += n;
        return n;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PieceSource source(data, size);
    CInflater inflater(source);
    uint8_t buffer[4096];
    try {
        size_t total = 0;
        while (total < (size_t(8) << 20)) {
            const size_t n = inflater.ReadSome(buffer, sizeof buffer);
            total += n;
            if (n < sizeof buffer)
                break;
        }
        inflater.ExpectEnd();
        uint8_t b;
        while (inflater.ReadTrailerByte(b)) {
        }
    } catch (const EPngError&) {
    }
    return 0;
}
