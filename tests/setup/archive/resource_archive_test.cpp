// The archive reader: entry table and texts, extraction and removal below a folder, the
// delta-coded resource form, encryption, damaged and hostile archives, progress and cancel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/progress.h"
#include "setup/archive_file_system.h"
#include "setup/resource_archive.h"
#include "tests/setup/archive/zip_builder.h"

namespace fs = std::filesystem;

namespace {
std::string DataFile(const std::string& name) { return std::string(QUENTA_SOURCE_DIR) + "/tests/data/archive/" + name; }

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder under the system temporary folder, removed afterwards.
class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("qn-archive-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        for (const auto& item : fs::recursive_directory_iterator(m_folder, ignored))
            fs::permissions(item.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_folder, ignored);
    }
    // The folder as the reader takes it ("\" separated on Windows; the native build maps them).
    std::string Folder() const { return m_folder.string(); }
    fs::path m_folder;
};

TEST(ArchiveTable, EntriesTextsTotalsAndFolderTreeOfARealArchive)
{
    ResourceArchive archive;
    ASSERT_EQ(archive.Open(DataFile("plain.zip"), true), kArchiveOk) << archive.LastError();
    const auto& entries = archive.Entries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].path, "readme.txt");
    EXPECT_TRUE(entries[0].isFile);
    EXPECT_EQ(entries[1].path, "docs\\");
    EXPECT_FALSE(entries[1].isFile);
    EXPECT_EQ(entries[4].path, "docs\\sub\\data.bin");
    EXPECT_EQ(entries[4].folder, "docs\\sub\\");
    EXPECT_EQ(entries[4].name, "data.bin");
    EXPECT_EQ(entries[4].sizeText, "20,000");
    EXPECT_EQ(entries[4].dateText, "03/05/2024");
    EXPECT_EQ(entries[4].timeText, "02:22 PM");
    EXPECT_EQ(archive.Totals().files, 3u);
    EXPECT_EQ(archive.Totals().uncompressed, 17u + 2513u + 20000u);
    EXPECT_EQ(archive.Summary().files, "3");
    EXPECT_EQ(archive.Summary().totalSize, "22,530");
    EXPECT_EQ(archive.Find("DOCS\\Sub\\DATA.BIN", true), 4);
    EXPECT_EQ(archive.Find("docs/page.htm", true), 2);
    EXPECT_EQ(archive.Find("README.TXT", false), 0);
    EXPECT_EQ(archive.Find("data.bin", false), -1); // looked up in the top folder only
    EXPECT_EQ(archive.Find("docs\\nothing.txt", true), -1);
    EXPECT_EQ(archive.LongestTextIndex(kColumnSize), 4);  // "20,000"
    EXPECT_EQ(archive.LongestTextIndex(kColumnPath), 3);  // the first of the two "docs\\sub\\"
    // Folder nodes: top, docs\, docs\sub\, each listing its own entries.
    ASSERT_EQ(archive.Folders().size(), 3u);
    EXPECT_EQ(archive.Folders()[0].entries, (std::vector<int>{0, 1}));
    EXPECT_EQ(archive.Folders()[1].entries, (std::vector<int>{2, 3}));
    EXPECT_EQ(archive.Folders()[2].entries, (std::vector<int>{4}));
}

TEST(ArchiveTexts, RatiosSizesAttributesAndVolumeLabels)
{
    EXPECT_EQ(RatioText(1000, 250), "75%");
    EXPECT_EQ(RatioText(3, 2), "33%");
    EXPECT_EQ(RatioText(10, 12), "-20%");
    EXPECT_EQ(RatioText(0, 0), "?");
    EXPECT_EQ(RatioText(0xFFFFFFFFu, 10), "?");
    EXPECT_EQ(ArchiveSizeText(0xFFFFFFFFu), "?");
    EXPECT_EQ(ArchiveSizeText(1234567), "1,234,567");
    EXPECT_EQ(ArchiveAttributeText(0x27), "RAHS");
    EXPECT_EQ(ArchiveAttributeText(0x21), "RA");
    EXPECT_EQ(SpannedVolumeLabel(5), "PKBACK# 005");
    EXPECT_EQ(SpannedVolumeLabel(42), "PKBACK# 042");
    EXPECT_EQ(SpannedVolumeLabel(123), "PKBACK# 123");
    ZipCentralHeader header;
    EXPECT_TRUE(MakeArchiveEntry(header, "bin/SeTuP.ExE").isInstaller);
    EXPECT_TRUE(MakeArchiveEntry(header, "install.exe").isInstaller);
    EXPECT_FALSE(MakeArchiveEntry(header, "setup.exe.txt").isInstaller);
    EXPECT_FALSE(IsContainedEntryPath("..\\x"));
    EXPECT_FALSE(IsContainedEntryPath("a/../../x"));
    EXPECT_FALSE(IsContainedEntryPath("C:\\x"));
    EXPECT_FALSE(IsContainedEntryPath("/etc/x"));
    EXPECT_TRUE(IsContainedEntryPath("a\\..b\\x..txt"));
}

TEST(ArchiveEndRecord, FoundBehindTheLongestCommentAndAnEmptyArchiveOpens)
{
    ResourceArchive archive;
    const std::string comment(65535, 'c');
    ASSERT_EQ(archive.OpenMemory(BuildZip({{"a.txt", "alpha"}}, comment), true), kArchiveOk);
    EXPECT_EQ(archive.Entries().size(), 1u);
    EXPECT_EQ(archive.Comment().size(), 65535u);
    // Only an end record: no entries.
    std::vector<uint8_t> endOnly = BuildZip({});
    ASSERT_EQ(endOnly.size(), 22u);
    EXPECT_EQ(archive.OpenMemory(endOnly, true), kArchiveOk);
    EXPECT_TRUE(archive.Entries().empty());
    endOnly.pop_back();
    EXPECT_EQ(archive.OpenMemory(endOnly, true), kArchiveNoEndRecord);
    EXPECT_FALSE(archive.LastError().empty());
    EXPECT_EQ(archive.Open(DataFile("missing.zip"), true), kArchiveUnreadable);
    // A directory offset beyond the data, and a damaged directory signature.
    std::vector<uint8_t> bytes = BuildZip({{"a.txt", "alpha"}});
    std::vector<uint8_t> farOffset = bytes;
    farOffset[farOffset.size() - 6] = 0xF0;
    EXPECT_EQ(archive.OpenMemory(farOffset, true), kArchiveBadHeader);
    const size_t directory = 30 + 5 + 5;
    bytes[directory] = 'X';
    EXPECT_EQ(archive.OpenMemory(bytes, true), kArchiveBadHeader);
}

TEST(ArchiveResource, DeltaCodedBytesGiveTheSameEntriesAsThePlainArchive)
{
    std::vector<uint8_t> plain = ReadBytes(DataFile("plain.zip"));
    std::vector<uint8_t> coded = plain;
    for (size_t i = coded.size(); i-- > 1;)
        coded[i] = static_cast<uint8_t>(coded[i] - coded[i - 1]);
    ResourceArchive fromPlain;
    ResourceArchive fromCoded;
    ASSERT_EQ(fromPlain.OpenResourceBytes(plain, false), kArchiveOk);
    ASSERT_EQ(fromCoded.OpenResourceBytes(coded, true), kArchiveOk);
    ASSERT_EQ(fromCoded.Entries().size(), fromPlain.Entries().size());
    for (size_t i = 0; i < fromPlain.Entries().size(); ++i)
        EXPECT_EQ(fromCoded.Entries()[i].path, fromPlain.Entries()[i].path);
    EXPECT_EQ(fromCoded.ReadEntry(4), fromPlain.ReadEntry(4));
    ResourceArchive missing;
    EXPECT_EQ(missing.OpenResourceBytes({}, true), kArchiveOk); // a missing resource: empty
    EXPECT_TRUE(missing.Entries().empty());
}

TEST(ArchiveEncryption, NeedsThePasswordAndRefusesAWrongOne)
{
    ResourceArchive archive;
    ASSERT_EQ(archive.Open(DataFile("encrypted.zip"), true), kArchiveOk);
    ASSERT_EQ(archive.Entries().size(), 2u);
    EXPECT_TRUE(archive.Entries()[0].encrypted);
    EXPECT_FALSE(archive.ReadEntry(0));
    EXPECT_EQ(archive.ExtractEntry(0, "unused", true), kArchiveNeedsPassword);
    archive.SetPassword("wrong");
    EXPECT_FALSE(archive.ReadEntry(0));
    archive.SetPassword("s3cret");
    const auto readme = archive.ReadEntry(0);
    ASSERT_TRUE(readme);
    EXPECT_EQ(std::string(readme->begin(), readme->end()), "Hello, archive!\r\n");
    const auto page = archive.ReadEntry(1);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->size(), 2513u);
}

TEST_F(ArchiveTest, ExtractAllWritesEveryFileWithItsFoldersAndStamp)
{
    ResourceArchive archive;
    ASSERT_EQ(archive.Open(DataFile("plain.zip"), false), kArchiveOk);
    const std::string target = Folder() + "\\out\\deeper";
    ASSERT_EQ(archive.ExtractAll(target, true, true), kArchiveOk) << archive.LastError();
    const fs::path out = m_folder / "out" / "deeper";
    EXPECT_EQ(ReadBytes(out / "readme.txt"), ReadBytes(out / "readme.txt"));
    const auto readme = ReadBytes(out / "readme.txt");
    EXPECT_EQ(std::string(readme.begin(), readme.end()), "Hello, archive!\r\n");
    EXPECT_EQ(ReadBytes(out / "docs" / "sub" / "data.bin"), *archive.ReadEntry(4));
    EXPECT_FALSE(fs::exists(out / "docs" / "sub" / "data.bin.qn-part"));
    const auto stamp = fs::last_write_time(out / "docs" / "page.htm");
    const auto extracted = fs::last_write_time(out / "readme.txt");
    EXPECT_EQ(stamp, extracted); // both carry the archive's 2024 stamp, not the extraction time
    EXPECT_LT(stamp, fs::file_time_type::clock::now() - std::chrono::hours(24 * 200));
    // Without folders every file lands in the target itself.
    ASSERT_EQ(archive.ExtractAll(Folder() + "\\flat", false, true), kArchiveOk);
    EXPECT_TRUE(fs::exists(m_folder / "flat" / "data.bin"));
    EXPECT_FALSE(fs::exists(m_folder / "flat" / "docs"));
}

TEST_F(ArchiveTest, FolderEntriesAloneCreateNothingAndRemovalLeavesNoEmptyFolders)
{
    ResourceArchive archive;
    ASSERT_EQ(archive.OpenMemory(BuildZip({{"empty/", ""}, {"keep/a.txt", "a", true}, {"keep/b.txt", "bb"}}), false),
              kArchiveOk);
    ASSERT_EQ(archive.ExtractAll(Folder(), true, true), kArchiveOk) << archive.LastError();
    EXPECT_FALSE(fs::exists(m_folder / "empty"));
    EXPECT_TRUE(fs::exists(m_folder / "keep" / "b.txt"));
    std::ofstream(m_folder / "keep" / "mine.txt") << "user file";
    fs::remove(m_folder / "keep" / "a.txt"); // already gone: still counts as removed
    ASSERT_EQ(archive.ExtractAll(Folder(), true, false), kArchiveOk) << archive.LastError();
    EXPECT_FALSE(fs::exists(m_folder / "keep" / "b.txt"));
    EXPECT_TRUE(fs::exists(m_folder / "keep" / "mine.txt")); // not the archive's: kept, with its folder
    fs::remove(m_folder / "keep" / "mine.txt");
    ASSERT_EQ(archive.ExtractAll(Folder(), true, false), kArchiveOk);
    EXPECT_FALSE(fs::exists(m_folder / "keep"));
}

TEST_F(ArchiveTest, HostileNamesAndDamagedDataWriteNothing)
{
    ResourceArchive archive;
    ASSERT_EQ(archive.OpenMemory(BuildZip({{"ok.txt", "fine"}, {"../escape.txt", "bad"}}), false), kArchiveOk);
    const std::string inner = Folder() + "\\inner";
    EXPECT_EQ(archive.ExtractAll(inner, true, true), kArchiveFailed);
    EXPECT_NE(archive.LastError().find("escape.txt"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_folder / "escape.txt"));
    EXPECT_EQ(archive.ExtractAll(inner, true, false), kArchiveFailed); // nor deleted outside

    // A flipped byte in deflated data: refused, and the file already there is left as it was.
    const std::string text(5000, 'q');
    std::vector<uint8_t> bytes = BuildZip({{"page.htm", text, true}});
    std::ofstream(m_folder / "page.htm", std::ios::binary) << "earlier copy";
    bytes[30 + 8 + 3] ^= 0x55;
    ASSERT_EQ(archive.OpenMemory(bytes, false), kArchiveOk);
    EXPECT_EQ(archive.ExtractEntry(0, Folder(), true), kArchiveFailed);
    const auto kept = ReadBytes(m_folder / "page.htm");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "earlier copy");
    // A truncated stream does not come out shorter as if it were whole.
    std::vector<uint8_t> truncated = BuildZip({{"t.bin", std::string(70000, 'z') + "end", true}});
    const uint32_t packed = ReadLe32(truncated.data() + 18);
    const uint32_t shorter = packed / 2;
    for (size_t at : {size_t(18), truncated.size() - 22 - (46 + 5) + 20})
        for (int k = 0; k < 4; ++k)
            truncated[at + k] = static_cast<uint8_t>(shorter >> (8 * k));
    ASSERT_EQ(archive.OpenMemory(truncated, false), kArchiveOk);
    EXPECT_FALSE(archive.ReadEntry(0));
    // A claimed size far beyond what the data can inflate to is refused before any allocation.
    std::vector<uint8_t> huge = BuildZip({{"h.bin", "abc", true}});
    const size_t central = huge.size() - 22 - (46 + 5);
    huge[central + 24 + 3] = 0x7F;
    ASSERT_EQ(archive.OpenMemory(huge, false), kArchiveOk);
    EXPECT_FALSE(archive.ReadEntry(0));
}

// Answers "cancelled" from the second position on.
class CancellingSink : public CQnProgress {
public:
    bool SetPos(int64_t position, bool redraw) override
    {
        CQnProgress::SetPos(position, redraw);
        return ++calls < 2;
    }
    int calls = 0;
};

// A file system that has only 100 bytes free, and records what is written.
class SmallDisk : public ArchiveFileSystem {
public:
    bool CreateFolders(const std::string&) override { return true; }
    std::optional<uint64_t> FreeSpace(const std::string&) override { return 100; }
    std::optional<uint64_t> FileSize(const std::string& path) override
    {
        if (path.find("old.bin") != std::string::npos)
            return 500;
        return std::nullopt;
    }
    bool WriteWholeFile(const std::string& path, std::span<const uint8_t>) override
    {
        written.push_back(path);
        return true;
    }
    void SetFileStamp(const std::string&, uint16_t, uint16_t, uint32_t) override {}
    bool DeleteFileAt(const std::string&) override { return true; }
    void RemoveFolderIfEmpty(const std::string&) override {}
    bool IsOnRemovableDrive(const std::string&) override { return false; }
    std::vector<std::string> written;
};

TEST(ArchiveExtraction, CancelStopsBeforeTheNextEntryAndFreeSpaceIsChecked)
{
    std::vector<ZipMember> members;
    for (int i = 0; i < 9; ++i)
        members.push_back({"f" + std::to_string(i) + ".txt", "x"});
    SmallDisk disk;
    ResourceArchive archive(&disk);
    ASSERT_EQ(archive.OpenMemory(BuildZip(members), false), kArchiveOk);
    CancellingSink sink;
    archive.SetProgress(&sink);
    EXPECT_EQ(archive.ExtractAll("C:\\out", true, true), kArchiveCancelled);
    // Step width trunc(sqrt(9) + 1) = 4: positions 0 and 4 are reported; the second cancels.
    EXPECT_EQ(disk.written.size(), 4u);
    EXPECT_EQ(sink.Text(), "Extracting : \"f3.txt\"...");  // the last entry written
    archive.SetProgress(nullptr);

    ASSERT_EQ(archive.OpenMemory(BuildZip({{"big.bin", std::string(100, 'b')}, {"old.bin", std::string(300, 'o')}}), false),
              kArchiveOk);
    disk.written.clear();
    EXPECT_EQ(archive.ExtractEntry(0, "C:\\out", true), kArchiveNoSpace);
    EXPECT_NE(archive.LastError().find("big.bin"), std::string::npos);
    EXPECT_TRUE(disk.written.empty());
    // The file it replaces frees its own room.
    EXPECT_EQ(archive.ExtractEntry(1, "C:\\out", true), kArchiveOk);
}

TEST(ArchiveSpanned, ASpannedArchiveOffARemovableDiskIsRefused)
{
    std::vector<uint8_t> bytes = BuildZip({{"a.txt", "a"}});
    const uint8_t marker[4] = {0x50, 0x4b, 0x07, 0x08};
    bytes.insert(bytes.begin(), marker, marker + 4);
    const fs::path file = fs::temp_directory_path() / "qn-spanned.zip";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    ResourceArchive archive;
    EXPECT_EQ(archive.Open(file.string(), true), kArchiveNotRemovable);
    fs::remove(file);
}
} // namespace
