#include "picture/codecs/raster_bytes.h"

#include <string>

namespace rastercodec {

std::vector<uint8_t> ReadRemainingBytes(CGraphicsStream& stream)
{
    const int64_t remaining = stream.Remaining();
    std::vector<uint8_t> bytes(remaining > 0 ? static_cast<size_t>(remaining) : 0);
    if (!bytes.empty())
        bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return bytes;
}

void FailCorrupt(const char* what) { throw EGraphicsException(std::string("Damaged picture: ") + what); }

void WriteAll(CGraphicsStream& stream, const std::vector<uint8_t>& bytes)
{
    if (!stream.Write(bytes.data(), bytes.size()))
        throw EGraphicsException("Cannot write the picture file");
}

} // namespace rastercodec
