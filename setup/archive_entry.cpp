#include "setup/archive_entry.h"

#include <cstdio>

#include "base/size_text.h"

namespace {
bool SameIgnoringCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 32);
        if (x != y)
            return false;
    }
    return i == a.size() && b[i] == '\0';
}
} // namespace

std::string RatioText(uint64_t uncompressed, uint64_t compressed)
{
    if (uncompressed == 0xFFFFFFFFu || compressed == 0xFFFFFFFFu || uncompressed == 0)
        return "?";
    const int64_t saved = static_cast<int64_t>(uncompressed) - static_cast<int64_t>(compressed);
    return std::to_string(saved * 100 / static_cast<int64_t>(uncompressed)) + "%";
}

std::string ArchiveSizeText(uint32_t size) { return size == 0xFFFFFFFFu ? "?" : GroupThousands(size); }

std::string ArchiveAttributeText(uint32_t attributes)
{
    std::string text;
    if (attributes & 0x01)
        text += 'R';
    if (attributes & 0x20)
        text += 'A';
    if (attributes & 0x02)
        text += 'H';
    if (attributes & 0x04)
        text += 'S';
    return text;
}

std::string DosDateText(uint16_t dosDate)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", (dosDate >> 5) & 0x0F, dosDate & 0x1F, 1980 + (dosDate >> 9));
    return text;
}

std::string DosTimeText(uint16_t dosTime)
{
    const int hour = dosTime >> 11;
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d %s", hour12, (dosTime >> 5) & 0x3F, hour < 12 ? "AM" : "PM");
    return text;
}

bool IsContainedEntryPath(const std::string& path)
{
    if (path.empty() || path[0] == '\\' || path[0] == '/' || path.find(':') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = path.size();
        if (path.compare(start, end - start, "..") == 0 && end - start == 2)
            return false;
        start = end + 1;
    }
    return true;
}

ArchiveEntry MakeArchiveEntry(const ZipCentralHeader& header, const std::string& storedName)
{
    ArchiveEntry entry;
    entry.header = header;
    entry.path = storedName;
    for (char& c : entry.path)
        if (c == '/')
            c = '\\';
    entry.isFile = entry.path.empty() || entry.path.back() != '\\';
    const size_t cut = entry.path.find_last_of('\\');
    if (entry.isFile) {
        entry.folder = cut == std::string::npos ? std::string() : entry.path.substr(0, cut + 1);
        entry.name = cut == std::string::npos ? entry.path : entry.path.substr(cut + 1);
    } else {
        entry.folder = entry.path;
    }
    entry.uncompressedSize = header.uncompressedSize;
    entry.compressedSize = header.compressedSize;
    entry.sizeText = ArchiveSizeText(header.uncompressedSize);
    entry.packedText = ArchiveSizeText(header.compressedSize);
    entry.ratioText = RatioText(header.uncompressedSize, header.compressedSize);
    char crc[12];
    std::snprintf(crc, sizeof crc, "%X", static_cast<unsigned>(header.crc));
    entry.crcText = crc;
    entry.attributeText = ArchiveAttributeText(header.externalAttributes);
    entry.dateText = DosDateText(header.dosDate);
    entry.timeText = DosTimeText(header.dosTime);
    entry.encrypted = header.Encrypted();
    entry.isInstaller = SameIgnoringCase(entry.name, "SETUP.EXE") || SameIgnoringCase(entry.name, "INSTALL.EXE");
    return entry;
}
