// Links written, read and started through the shell link object under Wine.
#include "systools/shortcuts/shortcut_ops_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {
std::string LongPath(const std::string& path)
{
    char buffer[MAX_PATH + 1];
    DWORD n = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string CurrentFolder()
{
    char buffer[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
    return std::string(buffer, n);
}

class ShortcutOps : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_root = LongPath(std::string(temp)) + "qn shortcut ops";
        RemoveAll();
        CreateDirectoryA(m_root.c_str(), nullptr);
        m_targets = m_root + "\\Program Folder";
        m_links = m_root + "\\Links";
        CreateDirectoryA(m_targets.c_str(), nullptr);
        CreateDirectoryA(m_links.c_str(), nullptr);
        std::ofstream(m_targets + "\\Long Target Name.txt") << "target";
    }
    void TearDown() override { RemoveAll(); }

    void RemoveAll()
    {
        std::string from = m_root + std::string(1, '\0');
        SHFILEOPSTRUCTA op = {};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        if (Exists(m_root))
            SHFileOperationA(&op);
    }

    std::string m_root, m_targets, m_links;
};
} // namespace

TEST_F(ShortcutOps, ALinkKeepsItsTargetArgumentsAndWorkingFolder)
{
    ASSERT_TRUE(CreateShortcut(m_targets, "Long Target Name.txt", m_links, "Notes.lnk", "my notes", "-a \"b c\"", 0));
    ShortcutLink link = ReadShortcut(m_links + "\\Notes.lnk");
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(LongPath(link.target), m_targets + "\\Long Target Name.txt");
    EXPECT_EQ(link.arguments, "-a \"b c\"");
    EXPECT_EQ(LongPath(link.workingFolder), m_targets);
}

TEST_F(ShortcutOps, ALinkWhoseTargetIsGoneStillReadsAsALink)
{
    ASSERT_TRUE(CreateShortcut(m_targets, "Long Target Name.txt", m_links, "Gone.lnk", "", "", -1));
    ASSERT_TRUE(DeleteFileA((m_targets + "\\Long Target Name.txt").c_str()));
    ShortcutLink link = ReadShortcut(m_links + "\\Gone.lnk");
    EXPECT_TRUE(link.loaded);
    EXPECT_TRUE(link.arguments.empty());
}

TEST_F(ShortcutOps, RefusesWhatCannotBeWrittenAndReadsNoLinkFromOtherFiles)
{
    EXPECT_FALSE(CreateShortcut(m_targets, "Long Target Name.txt", m_root + "\\No Such Folder", "x.lnk", "", "", -1));
    EXPECT_FALSE(CreateShortcut(m_targets, "Long Target Name.txt", m_links, std::string(300, 'n') + ".lnk", "", "", -1));
    EXPECT_FALSE(CreateShortcut(m_targets, "Long Target Name.txt", m_links, "", "", "", -1));
    EXPECT_FALSE(CreateShortcut(m_targets, "Long Target Name.txt", m_links, "x.lnk", "", std::string(2000, 'a'), -1));
    EXPECT_FALSE(Exists(m_links + "\\x.lnk"));

    EXPECT_FALSE(ReadShortcut(m_targets + "\\Long Target Name.txt").loaded);
    EXPECT_FALSE(ReadShortcut(m_links + "\\missing.lnk").loaded);
    EXPECT_FALSE(ReadShortcut(std::string(400, 'p')).loaded);
}

TEST_F(ShortcutOps, RunningALinkStartsItsTargetWithItsArgumentsInItsWorkingFolder)
{
    // A copy of cmd in our folder writes the folder it runs in into a file named relative to it.
    char system[MAX_PATH];
    UINT n = GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_GT(n, 0u);
    ASSERT_TRUE(CopyFileA((std::string(system, n) + "\\cmd.exe").c_str(), (m_targets + "\\cmd.exe").c_str(), FALSE));
    ASSERT_TRUE(CreateShortcut(m_targets, "cmd.exe", m_links, "Where.lnk", "", "/c cd > where.txt", -1));
    std::string before = CurrentFolder();
    RunShortcut(m_links + "\\Where.lnk");
    EXPECT_EQ(CurrentFolder(), before);
    std::string written = m_targets + "\\where.txt";
    std::string text;
    for (int i = 0; i < 200 && text.find('\n') == std::string::npos; ++i) {
        Sleep(50);
        std::ifstream file(written);
        std::stringstream content;
        content << file.rdbuf();
        text = content.str();
    }
    EXPECT_NE(text.find("Program Folder"), std::string::npos) << text;
}

TEST_F(ShortcutOps, RunningALinkWithoutATargetDoesNothing)
{
    ASSERT_TRUE(CreateShortcut(m_targets, "Long Target Name.txt", m_links, "Gone.lnk", "", "", -1));
    ASSERT_TRUE(DeleteFileA((m_targets + "\\Long Target Name.txt").c_str()));
    std::string before = CurrentFolder();
    RunShortcut(m_links + "\\Gone.lnk");
    RunShortcut(m_links + "\\missing.lnk");
    EXPECT_EQ(CurrentFolder(), before);
}
