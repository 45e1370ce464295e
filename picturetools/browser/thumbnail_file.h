#pragma once
// The thumbnail cache file "zephra.zeb" of a folder: a 40-byte header (signature
// "BrowserFile\xA7Zephra", 1, 1, 0, entry count, extra byte count), then per entry a 28-byte
// record, the file name with its terminator and one more zero, and the thumbnail as a picture
// block. The file sits in the user's folders: the reader takes nothing on trust.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "picture/picture.h"

class CGraphicsStream;
class CQnProgress;

constexpr size_t kThumbnailHeaderSize = 40;
constexpr size_t kThumbnailRecordSize = 28;
extern const char kThumbnailFileSignature[];
// Longest file name accepted from a file (paths are limited to 260 characters).
constexpr size_t kThumbnailNameLimit = 260;

// One thumbnail: the record's fields, the file name (without folder) and the picture.
struct ThumbnailEntry {
    int thumbWidth = 0, thumbHeight = 0;
    int cellWidth = 0, cellHeight = 0;
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0; // modification, local time
    uint32_t fileSize = 0;
    std::string name;
    std::unique_ptr<CPicture> picture;

    // Whether the record describes the same file state and cell (not name or picture).
    bool SameStamp(const ThumbnailEntry& other) const;
};

// The 28 bytes of an entry's record.
void EncodeThumbnailRecord(const ThumbnailEntry& entry, uint8_t out[kThumbnailRecordSize]);

enum class ThumbnailFileStatus {
    Ok,
    WrongSignature, // not a thumbnail file: ignored
    Damaged,        // truncated, inconsistent or beyond what its size can hold: ignored
    Cancelled,      // the progress sink answered "cancelled"
};

// Reads every entry; on any status but Ok `entries` is left empty.
ThumbnailFileStatus ReadThumbnailFile(CGraphicsStream& stream, std::vector<ThumbnailEntry>& entries,
                                      CQnProgress* progress);

// Writes the header and the entries; false when the stream refuses bytes.
bool WriteThumbnailFile(CGraphicsStream& stream, const std::vector<ThumbnailEntry>& entries, CQnProgress* progress);
