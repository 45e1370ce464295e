#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/paths.h"
#include "app/services.h"

namespace {
void Touch(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(f, "x", 1, &written, nullptr);
    CloseHandle(f);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class FolderTreeWin : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = JoinPath(SystemTempPath(), "quenta_tree_test_" + std::to_string(GetCurrentProcessId()));
        CreateDirectoryA(root.c_str(), nullptr);
    }
    void TearDown() override { DeleteFolderTree(root); }
    std::string root;
};
} // namespace

TEST_F(FolderTreeWin, DeletesReadOnlyFilesAndSubfolders)
{
    std::string tree = JoinPath(root, "tree");
    CreateDirectoryA(tree.c_str(), nullptr);
    CreateDirectoryA(JoinPath(tree, "sub").c_str(), nullptr);
    Touch(JoinPath(tree, "plain.txt"));
    Touch(JoinPath(tree, "sub\\locked.txt"), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(DeleteFolderTree(tree + "\\"));
    EXPECT_FALSE(Exists(tree));
}

TEST_F(FolderTreeWin, RefusesRelativePathsAndDrives)
{
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    SetCurrentDirectoryA(root.c_str());
    CreateDirectoryA("rel", nullptr);
    EXPECT_FALSE(DeleteFolderTree("rel"));
    EXPECT_FALSE(DeleteFolderTree(".\\rel"));
    EXPECT_FALSE(DeleteFolderTree(std::string(1, root[0]) + ":rel"));
    EXPECT_TRUE(Exists(JoinPath(root, "rel")));
    SetCurrentDirectoryA(cwd);
    EXPECT_FALSE(DeleteFolderTree("C:\\"));
    EXPECT_FALSE(DeleteFolderTree(""));
}

TEST_F(FolderTreeWin, NeverFollowsADirectoryLinkOutOfTheTree)
{
    std::string outside = JoinPath(root, "outside");
    CreateDirectoryA(outside.c_str(), nullptr);
    Touch(JoinPath(outside, "precious.txt"));
    std::string tree = JoinPath(root, "tree");
    CreateDirectoryA(tree.c_str(), nullptr);
    std::string link = JoinPath(tree, "link");
    if (!CreateSymbolicLinkA(link.c_str(), outside.c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
        !(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "directory links cannot be made here";

    EXPECT_TRUE(DeleteFolderTree(tree));
    EXPECT_FALSE(Exists(tree));
    EXPECT_TRUE(Exists(JoinPath(outside, "precious.txt")));
}
