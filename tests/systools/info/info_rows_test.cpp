// Processor naming, the rows of the system and Windows information lists, the 5-5-5 display
// test and the files of the file tabs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/paths.h"
#include "base/size_text.h"
#include "base/text.h"
#include "res/resource.h"
#include "systools/info/font_families.h"
#include "systools/info/system_files.h"
#include "systools/info/system_info_rows.h"
#include "systools/info/windows_info_rows.h"

namespace {
ProcessorRecord Processor(uint16_t architecture, uint32_t type, uint16_t level, uint16_t revision)
{
    return {architecture, type, level, revision};
}

std::vector<unsigned> NamesOf(const InfoRows& rows)
{
    std::vector<unsigned> names;
    for (const InfoRow& row : rows)
        names.push_back(row.nameId);
    return names;
}

TEST(ProcessorNaming, IntelTypesAndPentiumLevels)
{
    EXPECT_EQ(ProcessorName(Processor(kArchitectureIntel, 386, 3, 0)), "386");
    EXPECT_EQ(ProcessorName(Processor(kArchitectureIntel, 486, 4, 0)), "486");
    const char* const byLevel[] = {"80x386", "80x486", "Pentium", "Pentium II / Pentium Pro"};
    for (uint16_t level = 3; level <= 6; ++level)
        EXPECT_EQ(ProcessorName(Processor(kArchitectureIntel, 586, level, 0)), byLevel[level - 3]);
    EXPECT_EQ(ProcessorName(Processor(kArchitectureIntel, 586, 15, 0)), "Pentium compatible");
    EXPECT_EQ(ProcessorName(Processor(kArchitectureIntel, 2200, 6, 0)), "2200");
    // A 64-bit x86 processor is named by the same rows (its type is 8664).
    EXPECT_EQ(ProcessorName(Processor(kArchitectureAmd64, 8664, 6, 0x9E0A)), "8664");
}

TEST(ProcessorNaming, RevisionTextsSplitModelAndStepping)
{
    // 386 and 486: the model as a letter from "A", the stepping in hexadecimal.
    EXPECT_EQ(ProcessorRevisionText(Processor(kArchitectureIntel, 386, 3, 0x0000)), "A0 chip");
    EXPECT_EQ(ProcessorRevisionText(Processor(kArchitectureIntel, 486, 4, 0x021B)), "C1b chip");
    EXPECT_EQ(ProcessorRevisionText(Processor(kArchitectureIntel, 586, 6, 0x0803)), "Model 8, Stepping 3");
    EXPECT_EQ(ProcessorRevisionText(Processor(kArchitectureAmd64, 8664, 6, 0x9E0A)), "Model 158, Stepping 10");
    EXPECT_EQ(ProcessorRevisionText(Processor(kArchitectureMips, 4000, 0, 0x0204)), "4");
    EXPECT_EQ(ProcessorRevisionText(Processor(kArchitectureAlpha, 21064, 0, 0x0103)), "Model B, Pass 3");
    EXPECT_EQ(ProcessorRevisionText(Processor(kArchitecturePowerPc, 601, 0, 0x0102)), "1.2");
}

TEST(ProcessorNaming, OtherArchitecturesAreUnknownWithoutRevision)
{
    EXPECT_EQ(ProcessorName(Processor(kArchitectureMips, 4000, 0, 0)), "MIPS");
    EXPECT_EQ(ProcessorName(Processor(kArchitectureAlpha, 21064, 0, 0)), "Alpha");
    EXPECT_EQ(ProcessorName(Processor(kArchitecturePowerPc, 601, 0, 0)), "Power PC");
    for (uint16_t architecture : {uint16_t(kArchitectureUnknown), uint16_t(12)}) {
        EXPECT_EQ(ProcessorName(Processor(architecture, 0, 0, 0x0102)), LoadText(IDS_UNKNOWN));
        EXPECT_EQ(ProcessorRevisionText(Processor(architecture, 0, 0, 0x0102)), "");
    }
    EXPECT_EQ(LoadText(IDS_UNKNOWN), "Unknown");
}

TEST(SystemInfoRows, RevisionRowOnlyWhereTheSystemGivesIt)
{
    SystemFacts facts;
    facts.processor = Processor(kArchitectureIntel, 586, 6, 0x0803);
    facts.processorCount = 1;
    const InfoRows without = SystemInfoRows(facts);
    ASSERT_GE(without.size(), 2u);
    EXPECT_EQ(without[0].nameId, unsigned(IDS_SYSINFO_ARCHITECTURE));
    EXPECT_EQ(without[1].nameId, unsigned(IDS_SYSINFO_PROCESSORS));
    EXPECT_EQ(without[1].value, "1");

    facts.revisionGiven = true;
    const InfoRows with = SystemInfoRows(facts);
    EXPECT_EQ(with.size(), without.size() + 1);
    EXPECT_EQ(with[1].nameId, unsigned(IDS_SYSINFO_REVISION));
    EXPECT_EQ(with[1].value, "Model 8, Stepping 3");
}

TEST(SystemInfoRows, OrderFormatsAndMemorySizeTexts)
{
    SystemFacts facts;
    facts.processor = Processor(kArchitectureIntel, 586, 5, 0);
    facts.revisionGiven = true;
    facts.processorCount = 2;
    facts.allocationGranularity = 65536;
    facts.pageSize = 4096;
    facts.minimumAddress = 0x10000;
    facts.maximumAddress = 0x7FFFFFFEFFFFull; // past 32 bits: never cut
    facts.memoryLoad = 42;
    facts.totalPhysical = 1536;
    facts.freeUser = 5ull << 30;
    const InfoRows rows = SystemInfoRows(facts);
    const std::vector<unsigned> expected = {
        IDS_SYSINFO_ARCHITECTURE, IDS_SYSINFO_REVISION,  IDS_SYSINFO_PROCESSORS,  IDS_SYSINFO_GRANULARITY,
        IDS_SYSINFO_PAGE_SIZE,    IDS_SYSINFO_MIN_ADDRESS, IDS_SYSINFO_MAX_ADDRESS, 0,
        IDS_SYSINFO_MEMORY_LOAD,  IDS_SYSINFO_PHYSICAL,  IDS_SYSINFO_FREE_PHYSICAL, IDS_SYSINFO_PAGING,
        IDS_SYSINFO_FREE_PAGING,  IDS_SYSINFO_VIRTUAL,   IDS_SYSINFO_FREE_VIRTUAL};
    EXPECT_EQ(NamesOf(rows), expected);
    EXPECT_EQ(rows[0].value, "Pentium");
    EXPECT_EQ(rows[3].value, "65536");
    EXPECT_EQ(rows[4].value, "4096");
    EXPECT_EQ(rows[5].value, "0x10000 (65536)");
    EXPECT_EQ(rows[6].value, "0x7FFFFFFEFFFF (140737488289791)");
    EXPECT_TRUE(rows[7].IsSeparator() && rows[7].value.empty() && rows[7].iconPath.empty());
    EXPECT_EQ(rows[8].value, "42 %");
    EXPECT_EQ(rows[9].value, "1.5 Kb (1,536 bytes)");
    EXPECT_EQ(rows[10].value, LongSizeText(0));
    EXPECT_EQ(rows[14].value, "5.0 Gb (5,368,709,120 bytes)");
}

TEST(WindowsInfo, KeyAndValuesFollowThePlatform)
{
    EXPECT_STREQ(WindowsVersionKey(true), "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\");
    EXPECT_STREQ(WindowsVersionKey(false), "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\");

    WindowsFacts nt;
    nt.nt = true;
    nt.values = {{"CurrentVersion", "6.1"}, {"VersionNumber", "4.10.2222"}, {"CurrentBuildNumber", "7601"},
                 {"RegisteredOwner", "Ann"}, {"RegisteredOrganization", std::string(600, 'o')}};
    nt.displayBits = 32;
    nt.screenWidth = 1024;
    nt.screenHeight = 768;
    nt.frequency = 60;
    nt.windowsFolder = "C:\\windows";
    nt.systemFolder = "C:\\windows\\system32";
    nt.temporaryFolder = "C:\\temp\\";
    const InfoRows rows = WindowsInfoRows(nt);
    const std::vector<unsigned> expected = {
        IDS_WININFO_PRODUCT_NAME, IDS_WININFO_VERSION, IDS_WININFO_PLUS_VERSION, IDS_WININFO_CSD_VERSION,
        IDS_WININFO_BUILD, IDS_WININFO_PRODUCT_ID, IDS_WININFO_SYSTEM_ROOT, 0, IDS_WININFO_SCREEN_BPP,
        IDS_WININFO_SCREEN_WIDTH, IDS_WININFO_SCREEN_HEIGHT, IDS_WININFO_FREQUENCY, 0, IDS_WININFO_WINDOWS_DIR,
        IDS_WININFO_SYSTEM_DIR, IDS_WININFO_TEMP_DIR};
    EXPECT_EQ(NamesOf(rows), expected);
    EXPECT_EQ(rows[0].value, "Windows NT"); // no "ProductName": the platform's default
    EXPECT_EQ(rows[1].value, "6.1");
    EXPECT_EQ(rows[4].value, "7601");
    EXPECT_EQ(rows[11].value, "60 Hz");
    EXPECT_EQ(rows[14].value, "C:\\windows\\system32");
    EXPECT_EQ(rows[14].iconPath, "C:\\windows\\system32");
    EXPECT_EQ(RegisteredOwner(nt), "Ann");
    EXPECT_EQ(RegisteredOrganization(nt).size(), 600u); // shown whole

    WindowsFacts nine = nt;
    nine.nt = false;
    const InfoRows nineRows = WindowsInfoRows(nine);
    EXPECT_EQ(nineRows.size(), rows.size() - 1); // no frequency
    EXPECT_EQ(nineRows[0].value, "Windows");
    EXPECT_EQ(nineRows[1].value, "4.10.2222");
    EXPECT_EQ(nineRows[11].nameId, 0u);
    const std::vector<std::string> names = WindowsValueNames(false);
    EXPECT_NE(std::find(names.begin(), names.end(), "VersionNumber"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "CurrentVersion"), names.end());
}

TEST(WindowsInfo, SixteenBitDisplayIsFifteenUnlessGreenHasSixBits)
{
    EXPECT_EQ(ReportedDisplayBits(16, 0x7FFF), 15); // 5-5-5
    EXPECT_EQ(ReportedDisplayBits(16, 0xFFFF), 16); // 5-6-5
    EXPECT_EQ(ReportedDisplayBits(16, 0), 15);      // the probe failed: no 6-bit green seen
    EXPECT_EQ(ReportedDisplayBits(32, 0x7FFF), 32);
    EXPECT_EQ(ReportedDisplayBits(8, 0xFFFF), 8);
}

TEST(SystemFiles, WindowsFolderFirstThenSystemFolderByNameAndExtension)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "quenta_info_files_test";
    fs::remove_all(root);
    fs::create_directories(root / "system");
    fs::create_directories(root / "folder.dll"); // a folder is never a file of the list
    for (const char* name : {"b.dll", "A.DLL", "c.exe", "dll", "x.dll.txt", "notdll"})
        std::ofstream(root / name) << "x";
    for (const char* name : {"z.dll", "k.Exe"})
        std::ofstream(root / "system" / name) << "x";
    const std::string windows = root.string(), system = (root / "system").string();
    auto names = [](const std::vector<std::string>& paths) {
        std::vector<std::string> found;
        for (const std::string& path : paths)
            found.push_back(PathNamePart(path));
        return found;
    };
    EXPECT_EQ(names(SystemFilePaths(SystemFileTab::SystemDll, windows, system)),
              (std::vector<std::string>{"A.DLL", "b.dll", "z.dll"}));
    EXPECT_EQ(names(SystemFilePaths(SystemFileTab::SystemExe, windows, system)),
              (std::vector<std::string>{"c.exe", "k.Exe"}));
    // The same folder twice is listed once; a missing folder lists nothing.
    EXPECT_EQ(SystemFilePaths(SystemFileTab::SystemDll, windows, windows).size(), 2u);
    EXPECT_TRUE(SystemFilePaths(SystemFileTab::SystemDll, (root / "missing").string(), "").empty());
    fs::remove_all(root);
}

TEST(FontFamilies, EachFamilyOnceByNameWithItsFirstCharacterSet)
{
    const std::vector<FontFamily> families = UniqueFamilies(
        {{"Tahoma", 0}, {"arial", 0}, {"Tahoma", 161}, {"@MS Gothic", 128}, {"Arial", 204}, {"Symbol", 2}, {"", 0}});
    ASSERT_EQ(families.size(), 3u);
    EXPECT_EQ(families[0].face, "arial");
    EXPECT_EQ(families[1].face, "Symbol");
    EXPECT_EQ(families[1].charSet, 2);
    EXPECT_EQ(families[2].face, "Tahoma");
    EXPECT_EQ(families[2].charSet, 0);
}
} // namespace

#include "systools/info/character_grid.h"

namespace {
TEST(CharacterGrid, CharactersFillLinesOfTheAreaWidth)
{
    const CharacterGrid grid = LayOutCharacters(100, 20, 30);
    EXPECT_EQ(grid.columns, 5);
    EXPECT_EQ(grid.rows, 51); // 255 characters, 5 to a line
    EXPECT_EQ(grid.ContentHeight(), 51 * 30);
    EXPECT_EQ(CellOfCharacter(grid, 1).x, 0);
    EXPECT_EQ(CellOfCharacter(grid, 1).y, 0);
    EXPECT_EQ(CellOfCharacter(grid, 7).x, 20); // second in the second line
    EXPECT_EQ(CellOfCharacter(grid, 7).y, 30);
    EXPECT_EQ(CellOfCharacter(grid, 255).y, 50 * 30);
    // A cell wider than the area still gets one column; empty sizes count as one pixel.
    EXPECT_EQ(LayOutCharacters(10, 400, 400).columns, 1);
    EXPECT_EQ(LayOutCharacters(10, 400, 400).rows, 255);
    EXPECT_EQ(LayOutCharacters(0, 0, 0).cellWidth, 1);
}

TEST(CharacterGrid, ScrollStaysWithinTheHiddenPart)
{
    const CharacterGrid grid = LayOutCharacters(100, 20, 30); // 1530 pixels tall
    EXPECT_EQ(ClampGridScroll(grid, 300, -5), 0);
    EXPECT_EQ(ClampGridScroll(grid, 300, 500), 500);
    EXPECT_EQ(ClampGridScroll(grid, 300, 5000), 1230);
    EXPECT_EQ(ClampGridScroll(grid, 2000, 100), 0); // all of it fits
}
} // namespace
