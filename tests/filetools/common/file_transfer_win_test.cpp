// Moving and copying through the shell never replaces a file of the target folder: the shell
// under Wine ignores "rename on collision", so the names are chosen before the operation.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "filetools/common/file_action_win.h"

namespace {
namespace fs = std::filesystem;

std::string Content(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class FileTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        m_root = fs::path(temp) / ("quenta_transfer_" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "from");
        fs::create_directories(m_root / "to");
        Write("from/a.txt", "new a");
        Write("from/b.dat", "new b");
        Write("to/a.txt", "old a");
        Write("to/a (2).txt", "old a 2");
    }
    void TearDown() override { fs::remove_all(m_root); }

    void Write(const char* name, const char* text) { std::ofstream(m_root / name, std::ios::binary) << text; }
    std::string Path(const char* name) const { return (m_root / name).string(); }

    fs::path m_root;
};
} // namespace

TEST_F(FileTransfer, MoveOntoTakenNamesKeepsBothFiles)
{
    ASSERT_TRUE(TransferFilesKeepingBoth({Path("from\\a.txt"), Path("from\\b.dat")}, Path("to"), true));
    EXPECT_EQ(Content(m_root / "to" / "a.txt"), "old a");
    EXPECT_EQ(Content(m_root / "to" / "a (2).txt"), "old a 2");
    EXPECT_EQ(Content(m_root / "to" / "a (3).txt"), "new a");
    EXPECT_EQ(Content(m_root / "to" / "b.dat"), "new b");
    EXPECT_FALSE(fs::exists(m_root / "from" / "a.txt"));
    EXPECT_FALSE(fs::exists(m_root / "from" / "b.dat"));
}

TEST_F(FileTransfer, CopyOntoTakenNamesKeepsBothFilesAndTheSources)
{
    ASSERT_TRUE(TransferFilesKeepingBoth({Path("from\\a.txt")}, Path("to") + "\\", false));
    EXPECT_EQ(Content(m_root / "to" / "a.txt"), "old a");
    EXPECT_EQ(Content(m_root / "to" / "a (3).txt"), "new a");
    EXPECT_EQ(Content(m_root / "from" / "a.txt"), "new a");
}
