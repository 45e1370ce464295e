// The "zephra.zeb" layout byte by byte, and the reader's refusals of damaged files.
#include <gtest/gtest.h>

#include <cstring>

#include "picture/codecs/picture_block.h"
#include "picture/graphics_stream.h"
#include "picturetools/browser/thumbnail_file.h"

namespace {

ThumbnailEntry SampleEntry(const std::string& name, int width, int height)
{
    ThumbnailEntry e;
    e.name = name;
    e.thumbWidth = width;
    e.thumbHeight = height;
    e.cellWidth = 80;
    e.cellHeight = 60;
    e.day = 7;
    e.month = 12;
    e.year = 2026;
    e.hour = 21;
    e.minute = 42;
    e.second = 31;
    e.fileSize = 0x01020304;
    e.picture = std::make_unique<CPicture>();
    e.picture->Create(width, height);
    return e;
}

std::vector<uint8_t> Written(const std::vector<ThumbnailEntry>& entries)
{
    CGraphicsStream stream;
    EXPECT_TRUE(stream.CreateMemory(4096));
    EXPECT_TRUE(WriteThumbnailFile(stream, entries, nullptr));
    return std::vector<uint8_t>(stream.Data(), stream.Data() + stream.Size());
}

ThumbnailFileStatus ReadBack(const std::vector<uint8_t>& bytes, std::vector<ThumbnailEntry>& entries)
{
    CGraphicsStream stream;
    stream.OpenMemory(bytes.data(), bytes.size());
    return ReadThumbnailFile(stream, entries, nullptr);
}

TEST(ThumbnailFile, BytesFollowTheLayout)
{
    std::vector<ThumbnailEntry> entries;
    entries.push_back(SampleEntry("photo.jpg", 5, 3));
    const std::vector<uint8_t> b = Written(entries);

    const uint8_t signature[] = "BrowserFile\xA7Zephra";
    ASSERT_GE(b.size(), 40u + 28u + 11u + kPictureBlockHeaderSize);
    EXPECT_EQ(std::memcmp(b.data(), signature, sizeof signature), 0); // with its terminator
    EXPECT_EQ(b[11], 0xA7);
    for (size_t i = sizeof signature; i < 26; ++i)
        EXPECT_EQ(b[i], 0) << i;
    const uint8_t counts[] = {1, 0, 1, 0, 0, 0, /*entries*/ 1, 0, 0, 0, /*extra*/ 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(b.data() + 26, counts, sizeof counts), 0);

    const uint8_t record[28] = {11, 0, 0, 0, 5, 0, 3, 0, 80, 0, 60, 0, 7, 12, 0xEA, 0x07,
                                21, 42, 31, 0, 4, 3, 2, 1, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(b.data() + 40, record, 28), 0);
    EXPECT_EQ(std::memcmp(b.data() + 68, "photo.jpg\0\0", 11), 0);
    EXPECT_EQ(std::memcmp(b.data() + 79, kPictureBlockSignature, std::strlen(kPictureBlockSignature)), 0);

    std::vector<ThumbnailEntry> read;
    ASSERT_EQ(ReadBack(b, read), ThumbnailFileStatus::Ok);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].name, "photo.jpg");
    EXPECT_TRUE(read[0].SameStamp(entries[0]));
    EXPECT_EQ(read[0].picture->Width(), 5);
}

TEST(ThumbnailFile, ExtraBytesAfterTheHeaderAreSkipped)
{
    std::vector<ThumbnailEntry> entries;
    entries.push_back(SampleEntry("a.bmp", 2, 2));
    std::vector<uint8_t> b = Written(entries);
    b[36] = 5;
    b.insert(b.begin() + 40, 5, 0xEE);
    std::vector<ThumbnailEntry> read;
    ASSERT_EQ(ReadBack(b, read), ThumbnailFileStatus::Ok);
    EXPECT_EQ(read.at(0).name, "a.bmp");
}

TEST(ThumbnailFile, DamagedFilesAreRefusedWhole)
{
    std::vector<ThumbnailEntry> entries;
    entries.push_back(SampleEntry("a.bmp", 4, 4));
    entries.push_back(SampleEntry("b.bmp", 4, 4));
    const std::vector<uint8_t> good = Written(entries);
    std::vector<ThumbnailEntry> read;

    std::vector<uint8_t> b = good;
    b[11] = '?';
    EXPECT_EQ(ReadBack(b, read), ThumbnailFileStatus::WrongSignature);

    // Every truncation is refused, and nothing read so far is kept.
    for (size_t size = 0; size < good.size(); ++size) {
        b.assign(good.begin(), good.begin() + long(size));
        EXPECT_NE(ReadBack(b, read), ThumbnailFileStatus::Ok) << size;
        EXPECT_TRUE(read.empty());
    }
    // An entry count the file cannot hold is refused before anything is reserved for it.
    b = good;
    b[32] = b[33] = b[34] = b[35] = 0xFF;
    EXPECT_EQ(ReadBack(b, read), ThumbnailFileStatus::Damaged);
    // Extra bytes past the end.
    b = good;
    b[39] = 0x7F;
    EXPECT_EQ(ReadBack(b, read), ThumbnailFileStatus::Damaged);
    // A name field without its two zeros, or far too long.
    b = good;
    b[40] = 9;
    EXPECT_EQ(ReadBack(b, read), ThumbnailFileStatus::Damaged);
    b = good;
    b[42] = 1;
    EXPECT_EQ(ReadBack(b, read), ThumbnailFileStatus::Damaged);
    // A record whose size is not its picture block's.
    b = good;
    b[44] = 5;
    EXPECT_EQ(ReadBack(b, read), ThumbnailFileStatus::Damaged);
}

} // namespace
