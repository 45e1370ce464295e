#pragma once
// The information sheet of the picture viewer: one "label : value" line per item, the labels
// padded so that the colons line up.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

class CPicture;

// What the sheet tells about the file a picture came from (filled by the platform layer).
struct PictureFileFacts {
    std::string name;      // file name without folder
    std::string folder;    // folder part of the path
    uint64_t size = 0;     // bytes
    std::string shortPath; // the system's short (8.3) path
    std::string created, modified, accessed; // already formatted (FormatFileTime)
    std::string attributes;                  // AttributeLetters
};

struct InfoItem {
    std::string label;
    std::string value;
};

// "1 Bit" for 1, else "%d Bits".
std::string DepthText(int bits);
// 2 to the power of the depth; a depth of 32 (the alpha plane is not colour) counts as 24.
uint64_t ColourCount(int bits);
// width x height x bits / 8 bytes, in 64 bits so that the largest pictures do not wrap.
uint64_t UncompressedSize(int width, int height, int bits);
// "R", "A", "H", "S" for the attributes that are set, in that order.
std::string AttributeLetters(bool readOnly, bool archive, bool hidden, bool system);
// "Monday, March 04, 2024 09:05:07 AM".
std::string FormatFileTime(const std::tm& time);

// The items of the sheet, in order; the file items only when `file` is given.
std::vector<InfoItem> BuildPictureInfoItems(const CPicture& picture, const PictureFileFacts* file);
// label padded with blanks to the longest label's length plus one, ": ", value, CR LF.
std::string FormatInfoText(const std::vector<InfoItem>& items);
