#pragma once
// One entry of an archive's central directory, with the texts its list shows.
#include <cstdint>
#include <string>

#include "setup/zip_records.h"

struct ArchiveEntry {
    std::string path;   // full path with "\" separators
    std::string folder; // folder part with its trailing "\", empty at the top
    std::string name;   // file name part (empty for a folder entry)
    std::string typeName;
    uint32_t uncompressedSize = 0;
    uint32_t compressedSize = 0;
    std::string sizeText;
    std::string packedText;
    std::string ratioText;
    std::string crcText;
    std::string attributeText;
    std::string dateText;
    std::string timeText;
    bool encrypted = false;
    bool isFile = true;
    bool isInstaller = false;
    ZipCentralHeader header;
};

// The entry of a central header and its name (as stored, "/" or "\" separated).
ArchiveEntry MakeArchiveEntry(const ZipCentralHeader& header, const std::string& storedName);

// "%d%%" of (uncompressed - compressed) * 100 / uncompressed, truncated; "?" when either size is
// 0xFFFFFFFF or the uncompressed size is 0.
std::string RatioText(uint64_t uncompressed, uint64_t compressed);
// The size with thousands separators; "?" for 0xFFFFFFFF.
std::string ArchiveSizeText(uint32_t size);
// "R", "A", "H", "S" for the attribute bits 0x01, 0x20, 0x02, 0x04, in that order.
std::string ArchiveAttributeText(uint32_t attributes);
// MS-DOS date and time as "MM/DD/YYYY" and "hh:mm AM".
std::string DosDateText(uint16_t dosDate);
std::string DosTimeText(uint16_t dosTime);

// Whether an entry path stays inside the folder it is extracted to: no drive, no leading
// separator, no ".." component.
bool IsContainedEntryPath(const std::string& path);
