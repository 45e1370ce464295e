// The capture list: ownership, the current index on delete, thumbnails and the placeholder.
#include <gtest/gtest.h>

#include <memory>

#include "picture/picture.h"
#include "shell/capture_list.h"

namespace {
using Change = CCaptureList::ImageChange;

// A picture filled with one colour (blue, green, red).
std::unique_ptr<CPicture> Plain(int width, int height, uint8_t b, uint8_t g, uint8_t r)
{
    auto picture = std::make_unique<CPicture>();
    if (!picture->Create(width, height))
        return nullptr;
    const uint8_t bgr[3] = {b, g, r};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture->SetPixel(x, y, bgr);
    return picture;
}

int Blue(const CPicture& picture, int x, int y)
{
    uint8_t bgr[3] = {};
    picture.GetPixel(x, y, bgr);
    return bgr[0];
}

// A list holding pictures whose blue channel numbers them.
void Fill(CCaptureList& list, int count)
{
    for (int i = 0; i < count; ++i)
        list.Add(Plain(8, 8, static_cast<uint8_t>(i), 0, 0));
}
} // namespace

TEST(CaptureList, FirstPictureReplacesThePlaceholderAndLaterOnesAppend)
{
    CCaptureList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.Add(Plain(640, 480, 1, 2, 3)), Change::ReplacePlaceholder);
    EXPECT_EQ(list.Add(Plain(20, 10, 4, 5, 6)), Change::Append);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.CurrentIndex(), 1u); // the new picture is current
    EXPECT_EQ(list.Current()->Width(), 20);

    // Thumbnails are 16 x 16 whatever the proportions, with the picture's colours.
    for (size_t i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.Thumbnail(i).Width(), CCaptureList::kThumbnailSize);
        EXPECT_EQ(list.Thumbnail(i).Height(), CCaptureList::kThumbnailSize);
    }
    EXPECT_EQ(Blue(list.Thumbnail(1), 15, 15), 4);
    EXPECT_EQ(list.Picture(0).Width(), 640); // the picture itself is untouched

    // Nothing and an empty picture are refused without a change.
    EXPECT_EQ(list.Add(nullptr), Change::None);
    EXPECT_EQ(list.Add(std::make_unique<CPicture>()), Change::None);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.CurrentIndex(), 1u);
}

TEST(CaptureList, DeleteKeepsTheIndexOrMovesItBackFromTheEnd)
{
    CCaptureList list;
    Fill(list, 4);
    ASSERT_TRUE(list.Select(1));
    EXPECT_EQ(list.DeleteCurrent(), Change::Remove);
    EXPECT_EQ(list.CurrentIndex(), 1u); // stays: now the former third picture
    EXPECT_EQ(Blue(*list.Current(), 0, 0), 2);
    EXPECT_EQ(Blue(list.Thumbnail(1), 0, 0), 2); // thumbnails move with their pictures

    ASSERT_TRUE(list.Select(2));
    EXPECT_EQ(list.DeleteCurrent(), Change::Remove); // the last one: back to the new last
    EXPECT_EQ(list.CurrentIndex(), 1u);
    EXPECT_EQ(Blue(*list.Current(), 0, 0), 2);

    EXPECT_FALSE(list.Select(2));
    EXPECT_EQ(list.CurrentIndex(), 1u);
}

TEST(CaptureList, DeletingTheOnlyPictureRestoresThePlaceholderAndIndexZero)
{
    CCaptureList list;
    Fill(list, 1);
    EXPECT_EQ(list.DeleteCurrent(), Change::RestorePlaceholder);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.CurrentIndex(), 0u);
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.DeleteCurrent(), Change::None); // nothing left to delete
    // The next picture takes the placeholder's place again.
    EXPECT_EQ(list.Add(Plain(2, 2, 9, 9, 9)), Change::ReplacePlaceholder);

    Fill(list, 3);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.CurrentIndex(), 0u);
}

TEST(CaptureList, PlaceholderIsAFramedGreySquare)
{
    const std::unique_ptr<CPicture> placeholder = CCaptureList::MakePlaceholder();
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->Width(), 16);
    EXPECT_EQ(placeholder->Height(), 16);
    EXPECT_EQ(Blue(*placeholder, 0, 0), 128);
    EXPECT_EQ(Blue(*placeholder, 15, 8), 128);
    EXPECT_EQ(Blue(*placeholder, 8, 8), 192);
    EXPECT_EQ(CCaptureList::MakeThumbnail(CPicture()), nullptr);
}
