// The information sheet of the picture viewer and the long size text it uses.
#include <gtest/gtest.h>

#include <memory>

#include "picture/picture.h"
#include "shell/viewer/picture_info.h"

namespace {
std::unique_ptr<CPicture> MakePicture(int width, int height, int bits)
{
    auto picture = std::make_unique<CPicture>();
    EXPECT_TRUE(picture->Create(width, height));
    picture->SetBitsPerPixel(bits);
    return picture;
}

std::string ValueOf(const std::vector<InfoItem>& items, const std::string& label)
{
    for (const InfoItem& item : items)
        if (item.label == label)
            return item.value;
    return "<missing>";
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}
} // namespace

TEST(PictureInfo, DepthColoursAndUncompressedSize)
{
    auto rgb = MakePicture(100, 100, 24);
    auto items = BuildPictureInfoItems(*rgb, nullptr);
    EXPECT_EQ(ValueOf(items, "Uncompressed"), "29.2 Kb (30,000 bytes)");
    EXPECT_EQ(ValueOf(items, "Width"), "100");
    EXPECT_EQ(ValueOf(items, "Height"), "100");
    EXPECT_EQ(ValueOf(items, "Depth"), "24 Bits");
    EXPECT_EQ(ValueOf(items, "# Colors"), "16777216");

    auto mono = MakePicture(100, 100, 1);
    items = BuildPictureInfoItems(*mono, nullptr);
    EXPECT_EQ(ValueOf(items, "Depth"), "1 Bit");
    EXPECT_EQ(ValueOf(items, "# Colors"), "2");
    EXPECT_EQ(ValueOf(items, "Uncompressed"), "1.2 Kb (1,250 bytes)");

    auto withAlpha = MakePicture(100, 100, 32);
    items = BuildPictureInfoItems(*withAlpha, nullptr);
    EXPECT_EQ(ValueOf(items, "Depth"), "32 Bits");
    EXPECT_EQ(ValueOf(items, "# Colors"), "16777216"); // the alpha plane adds no colours
    EXPECT_EQ(ValueOf(items, "Uncompressed"), "39.0 Kb (40,000 bytes)");

    // The largest picture the model holds does not wrap around 32 bits.
    EXPECT_EQ(UncompressedSize(65535, 65535, 32), 65535ull * 65535 * 4);
    EXPECT_EQ(ColourCount(8), 256u);
}

TEST(PictureInfo, WithoutFileOnlyThePictureItems)
{
    auto picture = MakePicture(3, 2, 8);
    const auto items = BuildPictureInfoItems(*picture, nullptr);
    std::vector<std::string> labels;
    for (const InfoItem& item : items)
        labels.push_back(item.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"Uncompressed", "Width", "Height", "Depth", "# Colors", "Format"}));
    EXPECT_EQ(ValueOf(items, "Format"), "Raw Memory");
}

TEST(PictureInfo, FileItemsAroundThePictureItemsWithAlignedColons)
{
    auto picture = MakePicture(10, 10, 24);
    picture->SetName("Windows bitmap (BMP)");
    PictureFileFacts file;
    file.name = "photo.bmp";
    file.folder = "C:\\Pictures\\";
    file.size = 354;
    file.shortPath = "C:\\PICTUR~1\\photo.bmp";
    file.created = "Monday, March 04, 2024 09:05:07 AM";
    file.modified = file.accessed = file.created;
    file.attributes = "RA";
    const std::string text = FormatInfoText(BuildPictureInfoItems(*picture, &file));
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "Name         : photo.bmp"); // "Uncompressed" is the longest label (12)
    EXPECT_EQ(lines[1], "Path         : C:\\Pictures\\");
    EXPECT_EQ(lines[2], "Size         : 354.0 Bytes (354 bytes)");
    EXPECT_EQ(lines[3], "Uncompressed : 300.0 Bytes (300 bytes)");
    EXPECT_EQ(lines[8], "MSDos Name   : C:\\PICTUR~1\\photo.bmp");
    EXPECT_EQ(lines[12], "Attributes   : RA");
    EXPECT_EQ(lines[13], "Format       : Windows bitmap (BMP)");
    for (const std::string& line : lines)
        EXPECT_EQ(line.find(':'), 13u) << line;
}

TEST(PictureInfo, AttributeLettersAndFileTimes)
{
    EXPECT_EQ(AttributeLetters(true, true, true, true), "RAHS");
    EXPECT_EQ(AttributeLetters(false, false, true, false), "H");
    EXPECT_EQ(AttributeLetters(false, false, false, false), "");
    std::tm time{};
    time.tm_year = 124;
    time.tm_mon = 2;
    time.tm_mday = 4;
    time.tm_wday = 1;
    time.tm_hour = 21;
    time.tm_min = 5;
    time.tm_sec = 7;
    EXPECT_EQ(FormatFileTime(time), "Monday, March 04, 2024 09:05:07 PM");
}
