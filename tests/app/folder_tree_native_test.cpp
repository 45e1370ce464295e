#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/services.h"

namespace fs = std::filesystem;

namespace {
class FolderTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::path(QUENTA_BINARY_DIR) / ("folder_tree_test." + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    static void Touch(const fs::path& p) { std::ofstream(p) << "x"; }
    fs::path root;
};
} // namespace

TEST_F(FolderTree, DeletesNestedFilesAndFolders)
{
    fs::path tree = root / "tree";
    fs::create_directories(tree / "a" / "b");
    Touch(tree / "f");
    Touch(tree / "a" / "b" / "g");
    EXPECT_TRUE(DeleteFolderTree(tree.string() + "/"));
    EXPECT_FALSE(fs::exists(tree));
}

TEST_F(FolderTree, NeverFollowsALinkOutOfTheTree)
{
    fs::path outside = root / "outside";
    fs::create_directories(outside / "deep");
    Touch(outside / "precious");
    Touch(outside / "deep" / "precious");
    fs::path tree = root / "tree";
    fs::create_directories(tree / "sub");
    fs::create_directory_symlink(outside, tree / "sub" / "link");
    fs::create_symlink(outside / "precious", tree / "filelink");

    EXPECT_TRUE(DeleteFolderTree(tree.string()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
    EXPECT_TRUE(fs::exists(outside / "precious"));
    EXPECT_TRUE(fs::exists(outside / "deep" / "precious"));

    // A tree that is itself a link: only the link goes.
    fs::create_directory_symlink(outside, root / "alias");
    EXPECT_TRUE(DeleteFolderTree((root / "alias").string()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(root / "alias")));
    EXPECT_TRUE(fs::exists(outside / "deep" / "precious"));
}

TEST_F(FolderTree, RefusesRelativePathsAndTheRoot)
{
    fs::path cwd = fs::current_path();
    fs::current_path(root);
    fs::create_directories("relative/x");
    EXPECT_FALSE(DeleteFolderTree("relative"));
    EXPECT_FALSE(DeleteFolderTree("relative/x"));
    EXPECT_TRUE(fs::exists("relative/x"));
    fs::current_path(cwd);
    EXPECT_FALSE(DeleteFolderTree("/"));
    EXPECT_FALSE(DeleteFolderTree(""));
    EXPECT_FALSE(DeleteFolderTree((root / "missing").string()));
}
