// The file information record, size texts and the choice of version string.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/folder_listing.h"
#include "filetools/properties/file_record.h"
#include "filetools/properties/file_type_name.h"
#include "filetools/properties/size_text.h"
#include "filetools/properties/version_info.h"

namespace {

TEST(SizeText, ShortFormCountsStartedKilobytes)
{
    EXPECT_EQ(ShortSizeText(0), "1 Kb");
    EXPECT_EQ(ShortSizeText(1023), "1 Kb");
    EXPECT_EQ(ShortSizeText(1024), "2 Kb");
    EXPECT_EQ(ShortSizeText(1024ull * 1234), "1,235 Kb");
}

TEST(SizeText, LongFormTruncatesToOneDecimalInTheLargestUnitExceeded)
{
    EXPECT_EQ(LongSizeText(0), "0 Byte");
    EXPECT_EQ(LongSizeText(1), "1.0 Bytes (1 bytes)");
    EXPECT_EQ(LongSizeText(1023), "1023.0 Bytes (1,023 bytes)");
    EXPECT_EQ(LongSizeText(1024), "1.0 Kb (1,024 bytes)");
    EXPECT_EQ(LongSizeText(1536), "1.5 Kb (1,536 bytes)");
    EXPECT_EQ(LongSizeText(2047), "1.9 Kb (2,047 bytes)"); // 1.999 truncated, not rounded
    EXPECT_EQ(LongSizeText(1048575), "1023.9 Kb (1,048,575 bytes)");
    EXPECT_EQ(LongSizeText(1048576), "1.0 Mb (1,048,576 bytes)");
    EXPECT_EQ(LongSizeText(1073741824), "1.0 Gb (1,073,741,824 bytes)");
    // Past the last unit the number simply grows.
    EXPECT_EQ(LongSizeText(5000ull << 30), "5000.0 Gb (5,368,709,120,000 bytes)");
}

TEST(FileRecord, AttributeLettersInBothOrders)
{
    const uint32_t all = kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeArchive;
    EXPECT_EQ(AttributesText(all), "RHAS");
    EXPECT_EQ(AttributesTextRAHS(all), "RAHS");
    EXPECT_EQ(AttributesText(kAttributeArchive | kAttributeSystem | kAttributeDirectory), "AS");
    EXPECT_EQ(AttributesText(0), "");
}

// A version resource with fixed contents: its translation and the strings by query path.
class FakeVersionResource : public VersionResource {
public:
    bool hasTranslation = true;
    uint16_t language = 0x040C, codePage = 0x04B0;
    std::map<std::string, std::string> strings;

    bool Translation(uint16_t& l, uint16_t& c) const override
    {
        l = language;
        c = codePage;
        return hasTranslation;
    }
    bool QueryString(const std::string& path, std::string& value) const override
    {
        auto it = strings.find(path);
        if (it == strings.end())
            return false;
        value = it->second;
        return true;
    }
};

TEST(VersionString, QueryPathsUseUpperCaseHexPaddedToFourDigits)
{
    EXPECT_EQ(VersionStringPath(0x40c, 0x4b0, "FileVersion"), "\\StringFileInfo\\040C04B0\\FileVersion");
    EXPECT_EQ(VersionStringPath(0, 0, "X"), "\\StringFileInfo\\00000000\\X");
}

TEST(VersionString, OwnTranslationFirstThenUsEnglishWestern)
{
    FakeVersionResource file;
    file.strings["\\StringFileInfo\\040C04B0\\ProductVersion"] = "own product";
    file.strings["\\StringFileInfo\\040904E4\\FileVersion"] = "english file";
    // The second name under the file's translation beats the first name under 040904E4.
    EXPECT_EQ(ChooseVersionString(&file, "FileVersion", "ProductVersion"), "own product");
    file.strings["\\StringFileInfo\\040C04B0\\FileVersion"] = "own file";
    EXPECT_EQ(ChooseVersionString(&file, "FileVersion", "ProductVersion"), "own file");
}

TEST(VersionString, StringsOnlyUnderUsEnglishWesternStillFound)
{
    FakeVersionResource file;
    file.strings["\\StringFileInfo\\040904E4\\ProductVersion"] = "2.0";
    EXPECT_EQ(ChooseVersionString(&file, "FileVersion", "ProductVersion"), "2.0");
    file.hasTranslation = false;
    EXPECT_EQ(ChooseVersionString(&file, "FileVersion", "ProductVersion"), "2.0");
}

TEST(VersionString, NothingFoundGivesEmpty)
{
    FakeVersionResource file;
    file.strings["\\StringFileInfo\\040C04B0\\FileVersion"] = ""; // present but empty
    file.strings["\\StringFileInfo\\041104E4\\FileVersion"] = "other language";
    EXPECT_EQ(ChooseVersionString(&file, "FileVersion", "ProductVersion"), "");
    EXPECT_EQ(ChooseVersionString(nullptr, "FileVersion", "ProductVersion"), "");
}

class FileRecordOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() / ("qn_record_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string Make(const std::string& name, size_t bytes)
    {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
        return path;
    }
    std::filesystem::path folder_;
};

TEST_F(FileRecordOnDisk, EmptyFileWithAndWithoutVersionInformation)
{
    const std::string path = Make("empty.qnt", 0);
    FileRecord record;
    record.version = "stale";
    record.attributes = "stale";
    BuildFileRecord(record, path, true);
    EXPECT_EQ(record.path, path);
    EXPECT_EQ(record.sizeText, "1 Kb");
    EXPECT_EQ(record.byteSize, 0u);
    EXPECT_NE(record.modified, 0u);
    EXPECT_EQ(record.modifiedText.size(), std::string("12/31/2026 11:59 PM").size());
    EXPECT_FALSE(record.typeName.empty());
    EXPECT_EQ(record.version, "");
    EXPECT_EQ(record.attributes, "");
    EXPECT_EQ(record.productName, "");

    const std::string big = Make("big.qnt", 5000);
    BuildFileRecord(record, big, false); // refilled for another file
    EXPECT_EQ(record.path, big);
    EXPECT_EQ(record.byteSize, 5000u);
    EXPECT_EQ(record.sizeText, "5 Kb");
    EXPECT_EQ(record.version, ""); // a file without a version resource
    EXPECT_EQ(record.folder + "big.qnt", big);
}

TEST_F(FileRecordOnDisk, MissingFileKeepsZeroSizeAndTime)
{
    FileRecord record;
    BuildFileRecord(record, (folder_ / "gone.txt").string(), false);
    EXPECT_EQ(record.byteSize, 0u);
    EXPECT_EQ(record.modified, 0u);
    EXPECT_EQ(record.modifiedText, "");
    EXPECT_EQ(record.sizeText, "1 Kb");
}

TEST(FileTypeName, ExtensionIsTheTextAfterTheNamesLastDot)
{
    EXPECT_EQ(ExtensionOf("C:\\a.b\\c.TXT"), "TXT");
    EXPECT_EQ(ExtensionOf("C:\\a.b\\noext"), "");
    EXPECT_EQ(ExtensionOf("archive.tar.gz"), "gz");
}

TEST(LocalStamp, UnknownStampGivesNoText)
{
    EXPECT_EQ(FormatLocalStamp(0, "%Y"), "");
    EXPECT_EQ(FormatLocalStamp(FileStampFromUnix(86400 * 365, 0), "%Y"), "1971");
}

} // namespace

#include "filetools/properties/attribute_boxes.h"

namespace {
TEST(AttributeBoxesTest, ApplySetsTheThreeBoxesKeepsSystemAndClearsTheRest)
{
    const uint32_t systemArchive = kAttributeSystem | kAttributeArchive | 0x100 /* temporary */;
    AttributeBoxes boxes = BoxesOf(systemArchive);
    EXPECT_TRUE(boxes.archive);
    EXPECT_TRUE(boxes.system);
    EXPECT_FALSE(boxes.readOnly);
    boxes.archive = false;
    boxes.system = false; // the box cannot change the attribute
    EXPECT_EQ(AppliedAttributes(boxes, systemArchive), static_cast<uint32_t>(kAttributeSystem));
    boxes.readOnly = boxes.hidden = boxes.archive = true;
    EXPECT_EQ(AppliedAttributes(boxes, 0), static_cast<uint32_t>(kAttributeReadOnly | kAttributeHidden | kAttributeArchive));
    EXPECT_EQ(AppliedAttributes(AttributeBoxes{}, kAttributeDirectory | kAttributeHidden), 0u);
}
} // namespace
