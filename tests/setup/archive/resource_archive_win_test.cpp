// Archives among a program's resources (this test program carries one, delta-coded).
#include <gtest/gtest.h>

#include "setup/resource_archive_win.h"

namespace {
TEST(ArchiveResourceWin, ADeltaCodedResourceOpensAndAMissingOneLeavesTheArchiveEmpty)
{
    ResourceArchive archive;
    ASSERT_EQ(LoadFromResource(archive, GetModuleHandleA(nullptr), 300, "ZIP", true), kArchiveOk);
    ASSERT_EQ(archive.Entries().size(), 5u);
    EXPECT_EQ(archive.Entries()[4].path, "docs\\sub\\data.bin");
    ASSERT_TRUE(archive.ReadEntry(0));
    EXPECT_EQ(LoadFromResource(archive, GetModuleHandleA(nullptr), 301, "ZIP", true), kArchiveOk);
    EXPECT_TRUE(archive.Entries().empty());
}
} // namespace
