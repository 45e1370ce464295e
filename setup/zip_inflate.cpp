#include "setup/zip_inflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {
uint32_t Crc32Of(std::span<const uint8_t> bytes)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    for (size_t done = 0; done < bytes.size();) {
        const uInt chunk = static_cast<uInt>(std::min<size_t>(bytes.size() - done, 1u << 30));
        crc = crc32(crc, bytes.data() + done, chunk);
        done += chunk;
    }
    return static_cast<uint32_t>(crc);
}
} // namespace

bool CheckZipMember(std::span<const uint8_t> plain, uint32_t crc) { return Crc32Of(plain) == crc; }

bool InflateZipMember(std::span<const uint8_t> raw, uint32_t uncompressedSize, uint32_t crc,
                      std::vector<uint8_t>& plain)
{
    std::vector<uint8_t> input(raw.size() + 2);
    input[0] = 0x78;
    input[1] = 0x9C;
    if (!raw.empty())
        std::memcpy(input.data() + 2, raw.data(), raw.size());
    plain.assign(uncompressedSize, 0);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    stream.next_in = input.data();
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = plain.data();
    stream.avail_out = static_cast<uInt>(plain.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = stream.total_out == plain.size();
    inflateEnd(&stream);
    const bool noError = result == Z_STREAM_END || result == Z_OK || result == Z_BUF_ERROR;
    return noError && whole && Crc32Of(plain) == crc;
}
