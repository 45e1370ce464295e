#pragma once
// The texts and numbers the disks module shows: sizes in whole mebibytes, labels, drive type
// names and the free share of a drive.
#include <cstdint>
#include <string>

// Labels are stored by the file system in at most this many characters.
inline constexpr size_t kVolumeLabelLength = 11;

// Whole mebibytes (bytes shifted right by 20), thousands grouped, then " Mb" ("Mo" in French):
// 1,234,567,890 bytes give "1,177 Mb".
std::string MegabyteText(uint64_t bytes);

// A label as the list shows it: the first character kept, every later one in lower case
// (single-byte Western letters).
std::string DisplayedVolumeLabel(const std::string& label);

// The label handed to the system: its first 11 characters.
std::string VolumeLabelToWrite(const std::string& label);

// The string-table id of the type name of a listed drive type; 0 for any other type.
unsigned DiskTypeTextId(unsigned driveType);

// The free share in whole percent: trunc(100 x free / (total + 1)), never above 100 (a drive
// that reports more free than total bytes, or the all-bits-set "size not available").
unsigned FreePercent(uint64_t freeBytes, uint64_t totalBytes);

// The size lines of the disk properties: "Free :" "%s (%d%%)" with the free size text and p,
// "Used :" with the used size (total - free, never below 0) and 100 - p, "Total :".
struct DiskShareTexts {
    unsigned freePercent = 0;
    std::string freeText, usedText, totalText;
};
DiskShareTexts DescribeDiskShare(uint64_t freeBytes, uint64_t totalBytes);
