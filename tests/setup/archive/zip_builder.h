#pragma once
// Small ZIP archives built in memory for the archive reader's tests: stored or deflated
// members with any name, and an optional archive comment.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

struct ZipMember {
    std::string name;
    std::string data;
    bool deflate = false;
    uint32_t attributes = 0x20;
};

inline void PutLe16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutLe32(std::vector<uint8_t>& out, uint32_t v)
{
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

inline std::string RawDeflate(const std::string& data)
{
    z_stream s{};
    deflateInit2(&s, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&s, data.size()) + 16, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    s.avail_in = static_cast<uInt>(data.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

inline std::vector<uint8_t> BuildZip(const std::vector<ZipMember>& members, const std::string& comment = {})
{
    std::vector<uint8_t> out;
    std::vector<uint8_t> directory;
    for (const ZipMember& m : members) {
        const std::string packed = m.deflate ? RawDeflate(m.data) : m.data;
        const uint32_t crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size())));
        const uint32_t offset = static_cast<uint32_t>(out.size());
        const uint16_t method = m.deflate ? 8 : 0;
        const uint16_t time = (14 << 11) | (22 << 5) | 5, date = ((2024 - 1980) << 9) | (3 << 5) | 5;
        PutLe32(out, 0x04034b50);
        PutLe16(out, 20); PutLe16(out, 0); PutLe16(out, method); PutLe16(out, time); PutLe16(out, date);
        PutLe32(out, crc); PutLe32(out, static_cast<uint32_t>(packed.size())); PutLe32(out, static_cast<uint32_t>(m.data.size()));
        PutLe16(out, static_cast<uint32_t>(m.name.size())); PutLe16(out, 0);
        out.insert(out.end(), m.name.begin(), m.name.end());
        out.insert(out.end(), packed.begin(), packed.end());
        PutLe32(directory, 0x02014b50);
        PutLe16(directory, 20); PutLe16(directory, 20); PutLe16(directory, 0); PutLe16(directory, method);
        PutLe16(directory, time); PutLe16(directory, date); PutLe32(directory, crc);
        PutLe32(directory, static_cast<uint32_t>(packed.size())); PutLe32(directory, static_cast<uint32_t>(m.data.size()));
        PutLe16(directory, static_cast<uint32_t>(m.name.size())); PutLe16(directory, 0); PutLe16(directory, 0);
        PutLe16(directory, 0); PutLe16(directory, 0); PutLe32(directory, m.attributes); PutLe32(directory, offset);
        directory.insert(directory.end(), m.name.begin(), m.name.end());
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    PutLe32(out, 0x06054b50);
    PutLe16(out, 0); PutLe16(out, 0);
    PutLe16(out, static_cast<uint32_t>(members.size())); PutLe16(out, static_cast<uint32_t>(members.size()));
    PutLe32(out, static_cast<uint32_t>(directory.size())); PutLe32(out, directoryOffset);
    PutLe16(out, static_cast<uint32_t>(comment.size()));
    out.insert(out.end(), comment.begin(), comment.end());
    return out;
}
