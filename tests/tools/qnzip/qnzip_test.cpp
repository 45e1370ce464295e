// qnzip as a user runs it, on archives made by Info-ZIP: listing, testing, extracting byte for
// byte as unzip does, passwords, damaged and hostile archives, and its exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "tests/setup/archive/zip_builder.h"

namespace fs = std::filesystem;

namespace {
struct ToolRun {
    int code = -1;
    std::string out;
};

ToolRun Shell(const std::string& command)
{
    ToolRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

ToolRun Qnzip(const std::string& arguments) { return Shell(std::string(QUENTA_BINARY_DIR) + "/bin/qnzip " + arguments); }

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

class QnzipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("qnzip-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "src" / "docs" / "deep");
        std::mt19937 random(5);
        std::string noise(50000, '\0');
        for (char& c : noise)
            c = static_cast<char>(random());
        WriteAll(m_root / "src" / "noise.bin", noise);
        WriteAll(m_root / "src" / "docs" / "page.htm", std::string(20000, 'p') + "<html>");
        WriteAll(m_root / "src" / "docs" / "deep" / "note.txt", "note\r\n");
        WriteAll(m_root / "src" / "empty.txt", "");
    }
    void TearDown() override { fs::remove_all(m_root); }
    // Info-ZIP's zip run in the source folder.
    void Zip(const std::string& archive, const std::string& options)
    {
        const ToolRun made = Shell("cd '" + (m_root / "src").string() + "' && zip -q -r " + options + " '" +
                                 (m_root / archive).string() + "' .");
        ASSERT_EQ(made.code, 0) << "zip is needed (tools/install-deps.sh installs it): " << made.out;
    }
    fs::path m_root;
};

TEST_F(QnzipTest, ExtractsWhatUnzipExtractsByteForByte)
{
    Zip("mixed.zip", "");
    const ToolRun listed = Qnzip("list '" + (m_root / "mixed.zip").string() + "'");
    EXPECT_EQ(listed.code, 0);
    EXPECT_NE(listed.out.find("docs\\deep\\note.txt"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("4 files"), std::string::npos) << listed.out;
    EXPECT_EQ(Qnzip("test '" + (m_root / "mixed.zip").string() + "'").code, 0);
    const ToolRun ours = Qnzip("extract '" + (m_root / "mixed.zip").string() + "' '" + (m_root / "ours").string() + "'");
    ASSERT_EQ(ours.code, 0) << ours.out;
    ASSERT_EQ(Shell("unzip -qq -o '" + (m_root / "mixed.zip").string() + "' -d '" + (m_root / "theirs").string() + "'").code, 0);
    for (const char* file : {"noise.bin", "docs/page.htm", "docs/deep/note.txt", "empty.txt"})
        EXPECT_EQ(ReadAll(m_root / "ours" / file), ReadAll(m_root / "theirs" / file)) << file;
    EXPECT_TRUE(fs::exists(m_root / "ours" / "empty.txt"));
}

TEST_F(QnzipTest, PasswordsAndExitCodes)
{
    Zip("locked.zip", "-P s3cret");
    EXPECT_EQ(Qnzip("test '" + (m_root / "locked.zip").string() + "'").code, 1);
    EXPECT_EQ(Qnzip("test '" + (m_root / "locked.zip").string() + "' --password wrong").code, 1);
    const ToolRun opened = Qnzip("extract '" + (m_root / "locked.zip").string() + "' '" + (m_root / "out").string() +
                                 "' --password s3cret");
    EXPECT_EQ(opened.code, 0) << opened.out;
    EXPECT_EQ(ReadAll(m_root / "out" / "noise.bin"), ReadAll(m_root / "src" / "noise.bin"));
    EXPECT_EQ(Qnzip("").code, 2);
    EXPECT_EQ(Qnzip("extract only-an-archive.zip").code, 2);
    EXPECT_EQ(Qnzip("explode a.zip").code, 2);
    EXPECT_EQ(Qnzip("list '" + (m_root / "missing.zip").string() + "'").code, 1);
}

TEST_F(QnzipTest, HostileAndDamagedArchivesWriteNothingOutsideAndFail)
{
    const auto slip = BuildZip({{"fine.txt", "fine"}, {"../slip.txt", "x"}, {"..\\slip2.txt", "x"},
                                {"/abs.txt", "x"}, {"C:\\abs.txt", "x"}});
    WriteAll(m_root / "slip.zip", std::string(slip.begin(), slip.end()));
    const ToolRun run = Qnzip("extract '" + (m_root / "slip.zip").string() + "' '" + (m_root / "out").string() + "'");
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(fs::exists(m_root / "out" / "fine.txt"));
    EXPECT_FALSE(fs::exists(m_root / "slip.txt"));
    EXPECT_FALSE(fs::exists(m_root / "slip2.txt"));
    EXPECT_FALSE(fs::exists("/abs.txt"));
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 5) << run.out; // one line per entry

    auto badCrc = BuildZip({{"data.txt", std::string(3000, 'd'), true}});
    badCrc[14] ^= 1; // the local header's CRC is not used; the central one is
    badCrc[badCrc.size() - 22 - 46 - 8 + 16] ^= 1;
    WriteAll(m_root / "crc.zip", std::string(badCrc.begin(), badCrc.end()));
    EXPECT_EQ(Qnzip("test '" + (m_root / "crc.zip").string() + "'").code, 1);
    const auto truncated = std::string(badCrc.begin(), badCrc.end() - 30);
    WriteAll(m_root / "cut.zip", truncated);
    EXPECT_EQ(Qnzip("list '" + (m_root / "cut.zip").string() + "'").code, 1);
}
} // namespace
