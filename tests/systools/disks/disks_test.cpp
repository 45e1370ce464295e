// The disks module's rules without drives: size texts, labels, the autorun.inf reader and
// writer, the pie chart's geometry, the drive list and writing a label and icon.
#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "systools/disks/autorun_inf.h"
#include "systools/disks/disk_free_space.h"
#include "systools/disks/disk_operations.h"
#include "systools/disks/disk_texts.h"
#include "systools/disks/pie_geometry.h"
#include "tests/systools/disks/fake_disk_system.h"

namespace {
class DisksTest : public ::testing::Test {
protected:
    void SetUp() override { SetTextLanguage(0x0409); }
};

using DiskTexts = DisksTest;
using Autorun = DisksTest;
using DiskList = DisksTest;
using LabelAndIcon = DisksTest;

TEST_F(DiskTexts, SizesAreWholeMebibytesWithThousands)
{
    EXPECT_EQ(MegabyteText(1234567890), "1,177 Mb");
    EXPECT_EQ(MegabyteText(0), "0 Mb");
    EXPECT_EQ(MegabyteText((1u << 20) - 1), "0 Mb");
    EXPECT_EQ(MegabyteText(uint64_t{5} << 40), "5,242,880 Mb");
    SetTextLanguage(0x040C);
    EXPECT_EQ(MegabyteText(1234567890), "1,177 Mo");
}

TEST_F(DiskTexts, LabelsShowFirstLetterAndCutToEleven)
{
    EXPECT_EQ(DisplayedVolumeLabel("QUENTA DISK"), "Quenta disk");
    EXPECT_EQ(DisplayedVolumeLabel("\xC9T\xC9"), "\xC9t\xE9"); // Western capitals too
    EXPECT_EQ(DisplayedVolumeLabel(""), "");
    EXPECT_EQ(VolumeLabelToWrite("ABCDEFGHIJKLMNO"), "ABCDEFGHIJK");
    EXPECT_EQ(VolumeLabelToWrite("short"), "short");
}

TEST_F(DiskTexts, FreeShareAndItsTexts)
{
    EXPECT_EQ(FreePercent(0, 1000), 0u);
    EXPECT_EQ(FreePercent(500, 1000), 49u); // trunc(50000 / 1001)
    EXPECT_EQ(FreePercent(1000, 1000), 99u);
    EXPECT_EQ(FreePercent(0, 0), 0u);
    EXPECT_EQ(FreePercent(5000, 10), 100u); // more free than total: never above 100
    EXPECT_EQ(FreePercent(kSizeNotAvailable, kSizeNotAvailable), 99u); // no wrap to a zero divisor
    EXPECT_EQ(FreePercent(uint64_t{1} << 62, uint64_t{1} << 63), 49u); // 100 x free does not overflow

    const DiskShareTexts full = DescribeDiskShare(0, 2048);
    EXPECT_EQ(full.freeText, "0 Byte (0%)");
    EXPECT_EQ(full.usedText, "2.0 Kb (2,048 bytes) (100%)");
    EXPECT_EQ(full.totalText, "2.0 Kb (2,048 bytes)");
    const DiskShareTexts odd = DescribeDiskShare(4096, 2048); // used never below 0
    EXPECT_EQ(odd.usedText, "0 Byte (0%)");
}

TEST_F(Autorun, IconValueIsRelativeOnTheSameDriveOnly)
{
    EXPECT_EQ(AutorunIconValue("C:\\", "C:\\Icons\\disk.ico,0"), "Icons\\disk.ico,0");
    EXPECT_EQ(AutorunIconValue("c:\\", "C:\\Icons\\disk.ico,0"), "Icons\\disk.ico,0");
    EXPECT_EQ(AutorunIconValue("D:\\", "C:\\Icons\\disk.ico,0"), "C:\\Icons\\disk.ico,0");
    EXPECT_EQ(AutorunIconValue("C:\\", "shell32.dll,8"), "shell32.dll,8");
    EXPECT_EQ(AutorunIconValue("C:\\", "\\\\server\\share\\x.ico,1"), "\\\\server\\share\\x.ico,1");
    EXPECT_EQ(AutorunIconValue("C:\\", "C:"), "C:");
}

TEST_F(Autorun, NewFileHasExactlyTheTwoLines)
{
    EXPECT_EQ(ComposeAutorunFile(nullptr, "Icons\\disk.ico,0"), "[autorun]\r\nICON=Icons\\disk.ico,0\r\n");
}

TEST_F(Autorun, OtherEntriesOfAnExistingFileSurvive)
{
    const std::string old = "; made by hand\n[AutoRun]\nopen=setup.exe\nIcon = old.ico\r\nlabel=Disk\r\n"
                            "[Content]\rMusicFiles=true\n[autorun]\nICON=older.ico";
    const auto parsed = ParseAutorunFile(old);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->icon, "old.ico");
    EXPECT_EQ(ComposeAutorunFile(&*parsed, "new.ico,2"),
              "; made by hand\r\n[autorun]\r\nICON=new.ico,2\r\nopen=setup.exe\r\nlabel=Disk\r\n"
              "[Content]\r\nMusicFiles=true\r\n");
}

TEST_F(Autorun, UntrustedTextIsReadWithoutFault)
{
    // "[" without "]" is an ordinary line: ICON below it belongs to no [autorun] section.
    const auto open = ParseAutorunFile("[autorun\nICON=x.ico\n");
    ASSERT_TRUE(open);
    EXPECT_FALSE(open->icon);
    EXPECT_EQ(ComposeAutorunFile(&*open, "y.ico"), "[autorun\r\nICON=x.ico\r\n[autorun]\r\nICON=y.ico\r\n");

    const auto empty = ParseAutorunFile("");
    ASSERT_TRUE(empty);
    EXPECT_EQ(ComposeAutorunFile(&*empty, "y.ico"), "[autorun]\r\nICON=y.ico\r\n");

    const std::string longLine = "[autorun]\nopen=" + std::string(100000 - 20, 'x');
    EXPECT_FALSE(ParseAutorunFile(longLine)); // too large to be an autorun.inf
    const std::string overlong = "[autorun]\nopen=" + std::string(20000, 'x') + "\nicon=a.ico";
    const auto kept = ParseAutorunFile(overlong);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->icon, "a.ico");
    EXPECT_NE(ComposeAutorunFile(&*kept, "b").find(std::string(20000, 'x')), std::string::npos);

    EXPECT_FALSE(ParseAutorunFile(std::string("[autorun]\nICON=a\0b", 17))); // binary
    const auto high = ParseAutorunFile("[autorun]\n\xFF\xFE=\x80\nICON=\xE9.ico");
    ASSERT_TRUE(high);
    EXPECT_EQ(high->icon, "\xE9.ico");
    const auto blankLines = ParseAutorunFile("\r\n\r\n\n\r");
    ASSERT_TRUE(blankLines);
    EXPECT_EQ(blankLines->lines.size(), 4u);
}

TEST_F(Autorun, PieGeometry)
{
    EXPECT_EQ(GradientLevel(0, 99), 128);
    EXPECT_EQ(GradientLevel(99, 99), 128 + 0x7F0000 / 100 * 99 / 65536);
    EXPECT_LT(GradientLevel(1000, 1000), 255);
    EXPECT_EQ(GradientLevel(-5, 10), 128); // clamped, never outside the gradient

    const PieLayout wide = LayOutPie({0, 0, 240, 200});
    EXPECT_EQ(wide.top.Width(), 200);
    EXPECT_EQ(wide.top.Height(), 100);
    EXPECT_EQ(wide.top.left, 20);
    EXPECT_EQ(wide.base.top, wide.top.top + kPieBaseDepth);
    EXPECT_EQ(wide.band.top, wide.top.top + 50);
    const PieLayout low = LayOutPie({0, 0, 400, 60}); // too low: smaller, still 2:1 and centred
    EXPECT_EQ(low.top.Height(), 50);
    EXPECT_EQ(low.top.Width(), 100);
    EXPECT_EQ(low.top.left, 150);
    EXPECT_EQ(LayOutPie({0, 0, 10, 5}).top.Width(), 0);

    const PieRect pie{0, 0, 200, 100};
    EXPECT_DOUBLE_EQ(FreeSectorAngle(25), 25 * 0.0628);
    const PiePoint east = PointAtAngle(pie, 0);
    EXPECT_EQ(east.x, 200);
    EXPECT_EQ(east.y, 50);
    const PiePoint north = PointAtAngle(pie, FreeSectorAngle(25)); // a quarter: straight up
    EXPECT_NEAR(north.x, 100, 1);
    EXPECT_EQ(north.y, 0);

    const auto none = PieSectors(pie, 0);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_FALSE(none[0].free);
    EXPECT_TRUE(none[0].whole);
    const auto all = PieSectors(pie, 100);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_TRUE(all[0].free);
    const auto quarter = PieSectors(pie, 25);
    ASSERT_EQ(quarter.size(), 2u);
    EXPECT_TRUE(quarter[0].free);
    EXPECT_EQ(quarter[0].end.y, 0);
    EXPECT_EQ(quarter[1].start.y, quarter[0].end.y);
    const auto thin = PieSectors({0, 0, 4, 2}, 1); // too thin to draw: not drawn whole
    ASSERT_EQ(thin.size(), 1u);
    EXPECT_FALSE(thin[0].free);
}

TEST_F(DiskList, ListsFiveTypesFromCToZ)
{
    FakeDiskSystem system;
    system.drives["C:\\"] = {3, VolumeInformation{"SYSTEM", "NTFS", 1234, 255}, {1234567890, 4000000000}, "x.dll,8"};
    system.drives["E:\\"] = {5, std::nullopt, {}, ""};
    system.drives["F:\\"] = {0, std::nullopt, {}, ""}; // unknown type: skipped
    system.drives["T:\\"] = {2, VolumeInformation{"", "FAT", 7, 12}, {1, 2}, ""};
    system.drives["Z:\\"] = {6, VolumeInformation{"R", "FAT", 0, 8}, {}, ""};
    const auto records = EnumerateDisks(system, "Unknown");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(system.probedRoots.front(), "C:\\"); // A: and B: never probed
    EXPECT_EQ(system.probedRoots.size(), 24u);
    EXPECT_EQ(records[0].volumeLabel, "System");
    EXPECT_EQ(records[0].typeName, "Local Disk");
    EXPECT_EQ(records[0].freeBytes, 1234567890u);
    EXPECT_EQ(records[0].volumeSerial, 1234u);
    EXPECT_EQ(records[0].iconLocation, "x.dll,8");
    EXPECT_EQ(records[1].rootPath, "E:\\");
    EXPECT_EQ(records[1].typeName, "CD-ROM");
    EXPECT_EQ(records[1].volumeLabel, "Unknown"); // unreadable: Unknown and zero sizes
    EXPECT_EQ(records[1].fileSystemName, "Unknown");
    EXPECT_EQ(records[1].totalBytes, 0u);
    EXPECT_EQ(records[2].typeName, "Removable");
    EXPECT_EQ(records[3].typeName, "Ram Disk");

    EXPECT_EQ(DefaultDriveIcon(2, "C:\\W\\S"), "C:\\W\\S\\shell32.dll,7");
    EXPECT_EQ(DefaultDriveIcon(3, "C:\\W\\S\\"), "C:\\W\\S\\shell32.dll,8");
    EXPECT_EQ(DefaultDriveIcon(4, "S"), "S\\shell32.dll,10");
    EXPECT_EQ(DefaultDriveIcon(6, "S"), "S\\shell32.dll,12");
    EXPECT_EQ(DefaultDriveIcon(5, "S"), "");
}

TEST_F(LabelAndIcon, WritesTheFileTheLabelAndTellsTheWindows)
{
    FakeDiskSystem system;
    ASSERT_TRUE(WriteVolumeLabelAndIcon(system, "C:\\", std::string("ABCDEFGHIJKLMNO"), "C:\\Icons\\disk.ico,0"));
    EXPECT_EQ(system.files.at("C:\\autorun.inf"), "[autorun]\r\nICON=Icons\\disk.ico,0\r\n");
    EXPECT_EQ(system.files.size(), 1u); // nothing left beside it
    ASSERT_EQ(system.labelsSet.size(), 1u);
    EXPECT_EQ(system.labelsSet[0].second, "ABCDEFGHIJK");
    EXPECT_EQ(system.broadcasts, 1);

    ASSERT_TRUE(WriteVolumeLabelAndIcon(system, "D:\\", std::nullopt, "C:\\Icons\\disk.ico,0"));
    EXPECT_EQ(system.files.at("D:\\autorun.inf"), "[autorun]\r\nICON=C:\\Icons\\disk.ico,0\r\n");
    EXPECT_EQ(system.labelsSet.size(), 1u); // no label given: none set

    ASSERT_TRUE(WriteVolumeLabelAndIcon(system, "E:\\", std::string("x"), ""));
    EXPECT_EQ(system.files.count("E:\\autorun.inf"), 0u); // no icon given: no file
}

TEST_F(LabelAndIcon, FailureLeavesEverythingAsItWas)
{
    FakeDiskSystem system;
    system.files["C:\\autorun.inf"] = "[autorun]\nopen=a.exe\nicon=old.ico\n";
    const auto before = system.files;
    system.failWrite = true;
    EXPECT_FALSE(WriteVolumeLabelAndIcon(system, "C:\\", std::string("NEW"), "C:\\n.ico,0"));
    system.failWrite = false;
    system.failReplace = true;
    EXPECT_FALSE(WriteVolumeLabelAndIcon(system, "C:\\", std::string("NEW"), "C:\\n.ico,0"));
    system.failReplace = false;
    system.failRead = true; // an existing file that cannot be read is not replaced
    EXPECT_FALSE(WriteVolumeLabelAndIcon(system, "C:\\", std::string("NEW"), "C:\\n.ico,0"));
    system.failRead = false;
    EXPECT_FALSE(WriteVolumeLabelAndIcon(system, "C:\\", std::string("NEW"), "C:\\n.ico,0\r\nopen=evil.exe"));
    EXPECT_EQ(system.files, before);
    EXPECT_TRUE(system.labelsSet.empty());
    EXPECT_EQ(system.broadcasts, 0);

    ASSERT_TRUE(WriteVolumeLabelAndIcon(system, "C:\\", std::string("NEW"), "C:\\n.ico,0"));
    EXPECT_EQ(system.files.at("C:\\autorun.inf"), "[autorun]\r\nICON=n.ico,0\r\nopen=a.exe\r\n");

    system.files["C:\\autorun.inf"] = std::string("\0\1binary", 8); // not text: replaced whole
    ASSERT_TRUE(WriteVolumeLabelAndIcon(system, "C:\\", std::nullopt, "C:\\n.ico,1"));
    EXPECT_EQ(system.files.at("C:\\autorun.inf"), "[autorun]\r\nICON=n.ico,1\r\n");
}

// The free-space rules over calls that record what they were asked.
class FakeFreeSpaceCalls : public IFreeSpaceCalls {
public:
    bool extended = true;
    std::optional<FreeSpace> extendedAnswer = FreeSpace{10, 20};
    ClusterStatus clusterStatus = ClusterStatus::Done;
    std::vector<std::string> asked;
    int reports = 0;

    bool HasExtendedCall() override { return extended; }
    std::optional<FreeSpace> Extended(const std::string& path) override
    {
        asked.push_back("ex " + path);
        return extendedAnswer;
    }
    std::string ShortForm(const std::string& path) override { return path == "C:\\Long Name" ? "C:\\LONGNA~1" : path; }
    ClusterStatus ClusterCounts(const std::string& root, Clusters& clusters) override
    {
        asked.push_back("clusters " + root);
        clusters = {8, 512, 100, 400};
        return clusterStatus;
    }
    bool IsExistingFolder(const std::string& path) override { return path == "\\\\server\\share"; }
    void ReportNoResources() override { ++reports; }
};

TEST(DiskFreeSpace, ExtendedCallOnTheShortFormElseClustersOnTheRoot)
{
    FakeFreeSpaceCalls calls;
    EXPECT_EQ(DiskFreeSpaceWith(calls, "C:\\Long Name").freeBytes, 10u);
    EXPECT_EQ(calls.asked, (std::vector<std::string>{"ex C:\\LONGNA~1"}));
    calls.extendedAnswer.reset();
    EXPECT_EQ(DiskFreeSpaceWith(calls, "C:\\x").totalBytes, 0u); // the extended call failed: no fallback

    calls.extended = false; // looked up at each call: now the cluster-based call serves
    calls.asked.clear();
    const FreeSpace space = DiskFreeSpaceWith(calls, "t:\\folder\\file");
    EXPECT_EQ(calls.asked, (std::vector<std::string>{"clusters T:\\"}));
    EXPECT_EQ(space.freeBytes, 100u * 8 * 512);
    EXPECT_EQ(space.totalBytes, 400u * 8 * 512);
    EXPECT_EQ(DiskFreeSpaceWith(calls, "\\\\server\\share").freeBytes, kSizeNotAvailable);
    EXPECT_EQ(DiskFreeSpaceWith(calls, "\\\\server\\gone").totalBytes, 0u);
    EXPECT_EQ(DiskFreeSpaceWith(calls, "relative\\path").totalBytes, 0u);

    calls.clusterStatus = IFreeSpaceCalls::ClusterStatus::NoResources;
    EXPECT_EQ(DiskFreeSpaceWith(calls, "C:\\").totalBytes, 0u);
    EXPECT_EQ(calls.reports, 1);
    calls.clusterStatus = IFreeSpaceCalls::ClusterStatus::Failed;
    EXPECT_EQ(DiskFreeSpaceWith(calls, "C:\\").totalBytes, 0u);
    EXPECT_EQ(calls.reports, 1); // other failures are not told
}

TEST(DiskFreeSpace, ClustersAndPaths)
{
    const FreeSpace space = SpaceFromClusters(8, 512, 1000, 4000);
    EXPECT_EQ(space.freeBytes, 4096000u);
    EXPECT_EQ(space.totalBytes, 16384000u);
    const FreeSpace big = SpaceFromClusters(128, 4096, 0xFFFFFFFFu, 0xFFFFFFFFu); // 64-bit, no wrap
    EXPECT_EQ(big.totalBytes, uint64_t{524288} * 0xFFFFFFFFu);
    EXPECT_TRUE(IsUncPath("\\\\server\\share"));
    EXPECT_FALSE(IsUncPath("\\folder"));
    EXPECT_EQ(PathDriveLetter("t:\\x"), 'T');
    EXPECT_EQ(PathDriveLetter("\\\\s"), 0);
    const FreeSpace here = DiskFreeSpace(".");
    EXPECT_GT(here.totalBytes, 0u);
    EXPECT_LE(here.freeBytes, here.totalBytes);
    EXPECT_EQ(DiskFreeSpace("/no/such/folder/at/all").totalBytes, 0u);
}
} // namespace
