#include "picturetools/browser/thumbnail_file.h"

#include <cstring>

#include "base/progress.h"
#include "picture/codecs/picture_block.h"
#include "picture/codecs/zephra_format.h"
#include "picture/graphics_exceptions.h"
#include "picture/graphics_stream.h"

const char kThumbnailFileSignature[] = "BrowserFile\xA7Zephra";

namespace {
// Smallest bytes an entry can take: its record, a one-character name with its two zeros and a
// picture block header. Bounds the entry count a file of a given size can claim.
constexpr size_t kSmallestEntry = kThumbnailRecordSize + 3 + kPictureBlockHeaderSize;

ThumbnailEntry DecodeRecord(const uint8_t* r)
{
    ThumbnailEntry e;
    e.thumbWidth = zephra::Get16(r + 4);
    e.thumbHeight = zephra::Get16(r + 6);
    e.cellWidth = zephra::Get16(r + 8);
    e.cellHeight = zephra::Get16(r + 10);
    e.day = r[12];
    e.month = r[13];
    e.year = zephra::Get16(r + 14);
    e.hour = r[16];
    e.minute = r[17];
    e.second = r[18];
    e.fileSize = zephra::Get32(r + 20);
    return e;
}

ThumbnailFileStatus ReadEntries(CGraphicsStream& stream, std::vector<ThumbnailEntry>& entries, CQnProgress& progress)
{
    uint8_t header[kThumbnailHeaderSize];
    if (stream.Read(header, sizeof header) != sizeof header)
        return ThumbnailFileStatus::WrongSignature;
    if (zephra::CheckSignature(header, kThumbnailFileSignature) != kZephraOk)
        return ThumbnailFileStatus::WrongSignature;
    const uint32_t count = zephra::Get32(header + 32);
    const uint32_t extra = zephra::Get32(header + 36);
    if (extra > uint64_t(stream.Remaining()))
        return ThumbnailFileStatus::Damaged;
    stream.Seek(extra, CGraphicsStream::kCurrent);
    if (uint64_t(count) * kSmallestEntry > uint64_t(stream.Remaining()))
        return ThumbnailFileStatus::Damaged;

    entries.reserve(count);
    progress.SetRange(0, count);
    for (uint32_t i = 0; i < count; ++i) {
        if (!progress.SetPos(i))
            return ThumbnailFileStatus::Cancelled;
        uint8_t record[kThumbnailRecordSize];
        if (stream.Read(record, sizeof record) != sizeof record)
            return ThumbnailFileStatus::Damaged;
        ThumbnailEntry entry = DecodeRecord(record);
        // The name field: the name, its terminator and one more zero.
        const uint32_t field = zephra::Get32(record);
        if (field < 3 || field > kThumbnailNameLimit + 2)
            return ThumbnailFileStatus::Damaged;
        char name[kThumbnailNameLimit + 2];
        if (stream.Read(name, field) != field)
            return ThumbnailFileStatus::Damaged;
        if (name[field - 1] != 0 || name[field - 2] != 0 || std::memchr(name, 0, field - 2) != nullptr)
            return ThumbnailFileStatus::Damaged;
        entry.name.assign(name, field - 2);

        entry.picture = std::make_unique<CPicture>();
        if (ReadPictureBlock(*entry.picture, stream, nullptr) != kZephraOk)
            return ThumbnailFileStatus::Damaged;
        // The block must hold the picture its record announces.
        const int width = entry.picture->IsEmpty() ? 0 : entry.picture->Width();
        const int height = entry.picture->IsEmpty() ? 0 : entry.picture->Height();
        if (width == 0 || width != entry.thumbWidth || height != entry.thumbHeight)
            return ThumbnailFileStatus::Damaged;
        entries.push_back(std::move(entry));
    }
    return ThumbnailFileStatus::Ok;
}
} // namespace

bool ThumbnailEntry::SameStamp(const ThumbnailEntry& o) const
{
    return cellWidth == o.cellWidth && cellHeight == o.cellHeight && day == o.day && month == o.month &&
           year == o.year && hour == o.hour && minute == o.minute && second == o.second && fileSize == o.fileSize;
}

void EncodeThumbnailRecord(const ThumbnailEntry& e, uint8_t r[kThumbnailRecordSize])
{
    std::memset(r, 0, kThumbnailRecordSize);
    zephra::Put32(r, static_cast<uint32_t>(e.name.size() + 2));
    zephra::Put16(r + 4, static_cast<uint16_t>(e.thumbWidth));
    zephra::Put16(r + 6, static_cast<uint16_t>(e.thumbHeight));
    zephra::Put16(r + 8, static_cast<uint16_t>(e.cellWidth));
    zephra::Put16(r + 10, static_cast<uint16_t>(e.cellHeight));
    r[12] = static_cast<uint8_t>(e.day);
    r[13] = static_cast<uint8_t>(e.month);
    zephra::Put16(r + 14, static_cast<uint16_t>(e.year));
    r[16] = static_cast<uint8_t>(e.hour);
    r[17] = static_cast<uint8_t>(e.minute);
    r[18] = static_cast<uint8_t>(e.second);
    zephra::Put32(r + 20, e.fileSize);
}

ThumbnailFileStatus ReadThumbnailFile(CGraphicsStream& stream, std::vector<ThumbnailEntry>& entries,
                                      CQnProgress* progress)
{
    entries.clear();
    ThumbnailFileStatus status;
    try {
        status = ReadEntries(stream, entries, ProgressOrSilent(progress));
    } catch (const EGraphicsException&) {
        status = ThumbnailFileStatus::Damaged;
    } catch (const std::bad_alloc&) {
        status = ThumbnailFileStatus::Damaged;
    }
    if (status != ThumbnailFileStatus::Ok)
        entries.clear();
    return status;
}

bool WriteThumbnailFile(CGraphicsStream& stream, const std::vector<ThumbnailEntry>& entries, CQnProgress* progress)
{
    CQnProgress& sink = ProgressOrSilent(progress);
    uint8_t header[kThumbnailHeaderSize] = {};
    zephra::PutSignature(header, kThumbnailFileSignature);
    zephra::Put16(header + 26, 1);
    zephra::Put16(header + 28, 1);
    zephra::Put32(header + 32, static_cast<uint32_t>(entries.size()));
    if (!stream.Write(header, sizeof header))
        return false;
    sink.SetRange(0, static_cast<int64_t>(entries.size()));
    int64_t index = 0;
    for (const ThumbnailEntry& entry : entries) {
        sink.SetPos(index++);
        uint8_t record[kThumbnailRecordSize];
        EncodeThumbnailRecord(entry, record);
        const char zeros[2] = {0, 0};
        if (!stream.Write(record, sizeof record) || !stream.Write(entry.name.data(), entry.name.size()) ||
            !stream.Write(zeros, 2))
            return false;
        static const CPicture kEmpty;
        if (WritePictureBlock(entry.picture ? *entry.picture : kEmpty, stream, nullptr) != kZephraOk)
            return false;
    }
    return true;
}
