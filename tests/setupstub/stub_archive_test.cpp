// The setup stub's reader: members below the target folder, skipped and failed members, and
// which file counts as the last one written.
#include <gtest/gtest.h>

#include <map>

#include "setupstub/stub_archive.h"
#include "tests/setup/archive/zip_builder.h"

namespace {
class RecordingFiles : public StubFiles {
public:
    bool CreateFoldersOf(const std::string& path) override
    {
        folderRequests.push_back(path);
        return true;
    }
    bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) override
    {
        files[path] = std::string(bytes.begin(), bytes.end());
        return true;
    }
    std::vector<std::string> folderRequests;
    std::map<std::string, std::string> files;
};

TEST(StubArchive, MembersLandBelowTheFolderWithBackslashesAndTheLastFileIsReported)
{
    const std::string binary("MZ\0\x01\x02\xff binary", 14);
    const auto archive = BuildZip({{"sub/dir/file.txt", std::string(3000, 't'), true},
                                   {"empty/", ""},
                                   {"zero.txt", ""},
                                   {"quenta.exe", binary}},
                                  "a comment before nothing");
    RecordingFiles files;
    EXPECT_EQ(ExtractStubArchive(archive, "C:\\TEMP\\", files), "C:\\TEMP\\quenta.exe");
    ASSERT_EQ(files.files.size(), 2u); // the folder entry and the empty file are skipped
    EXPECT_EQ(files.files["C:\\TEMP\\sub\\dir\\file.txt"], std::string(3000, 't'));
    EXPECT_EQ(files.files["C:\\TEMP\\quenta.exe"], binary); // stored: byte for byte
    StubDirectory directory;
    ASSERT_TRUE(ReadStubDirectory(archive, directory));
    EXPECT_EQ(directory.entries.size(), 4u);
    EXPECT_EQ(directory.totalSize, 3000u + 14u);
    EXPECT_FALSE(directory.anyEncrypted);
}

TEST(StubArchive, DamagedOrOutsideMembersAreLeftOutAndNeverReportedAsTheProgram)
{
    auto archive = BuildZip({{"good.txt", "good"}, {"..\\outside.exe", "evil"}, {"C:/abs.exe", "evil"},
                             {"broken.exe", std::string(4000, 'b'), true}});
    // Damage the deflated member's data (it is the last member, right before the directory).
    const size_t directory = ReadLe32(archive.data() + archive.size() - 6);
    archive[directory - 10] ^= 0xFF;
    RecordingFiles files;
    // The broken program is not written, so the last good file is what was written last.
    EXPECT_EQ(ExtractStubArchive(archive, "C:\\T", files), "C:\\T\\good.txt");
    EXPECT_EQ(files.files.size(), 1u);
    // No end record, or a truncated directory: nothing at all.
    std::vector<uint8_t> noEnd(archive.begin(), archive.end() - 22);
    EXPECT_EQ(ExtractStubArchive(noEnd, "C:\\T", files), "");
    std::vector<uint8_t> farDirectory = BuildZip({{"a.txt", "a"}});
    farDirectory[farDirectory.size() - 6] = 0x7F;
    StubDirectory read;
    EXPECT_FALSE(ReadStubDirectory(farDirectory, read));
}

TEST(StubArchive, PathJoining)
{
    EXPECT_EQ(JoinStubPath("C:\\TEMP\\", "a.exe"), "C:\\TEMP\\a.exe");
    EXPECT_EQ(JoinStubPath("C:\\TEMP", "\\a.exe"), "C:\\TEMP\\a.exe");
    EXPECT_EQ(JoinStubPath("", "a.exe"), "a.exe");
    EXPECT_EQ(JoinStubPath("C:\\TEMP", ""), "C:\\TEMP");
}
} // namespace
