// A module's Help button opens its page once the help archives are extracted as the install
// run does: archive 365 into the help folder, the language's pages (366) into "local" below it.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/paths.h"
#include "app/services.h"
#include "app/settings.h"
#include "setup/resource_archive_win.h"
#include "tests/res/help/package_sources.h"

namespace {
class ExtractedHelp : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_TRUE(GetTempPathA(MAX_PATH, temp));
        m_folder = JoinPath(temp, "quenta_help_test_" + std::to_string(GetCurrentProcessId()));
        m_previous = CQnSettings().ReadString("", "HelpFolder", "");
        m_module = LoadLibraryExA(QUENTA_BINARY_DIR "/bin/quenta.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(m_module);
    }
    void TearDown() override
    {
        CQnSettings().WriteString("", "HelpFolder", m_previous);
        if (m_module)
            FreeLibrary(m_module);
        DeleteFolderTree(m_folder);
    }
    void Extract(unsigned id, const std::string& folder)
    {
        ResourceArchive archive;
        ASSERT_EQ(LoadFromResource(archive, m_module, id, "ZIP", true), kArchiveOk);
        ASSERT_FALSE(archive.Entries().empty());
        ASSERT_EQ(archive.ExtractAll(folder, true, true), kArchiveOk) << archive.LastError();
    }

    std::string m_folder;
    std::string m_previous;
    HMODULE m_module = nullptr;
};

TEST_F(ExtractedHelp, EveryModulePageOpensFromTheHelpFolderWithItsStyleSheet)
{
    Extract(365, m_folder);
    Extract(366, JoinPath(m_folder, "local"));
    CQnSettings().WriteString("", "HelpFolder", m_folder);

    std::vector<std::string> pages = ModuleTableHelpPages();
    ASSERT_GE(pages.size(), 19u);
    pages.push_back("local\\filesselector.htm");
    for (const std::string& page : pages) {
        const std::string path = HelpPagePath(page);
        EXPECT_EQ(path, m_folder + "\\" + page);
        EXPECT_TRUE(IsReadableFile(path)) << path;
    }
    // The pages reach the shared files one folder up.
    EXPECT_TRUE(IsReadableFile(JoinPath(m_folder, "quenta.css")));
    EXPECT_TRUE(IsReadableFile(JoinPath(m_folder, "pictures\\explorer.png")));
}

TEST_F(ExtractedHelp, AHelpFolderThatIsGoneFallsBackToTheProgramFolder)
{
    CQnSettings().WriteString("", "HelpFolder", JoinPath(m_folder, "missing"));
    const std::string path = HelpPagePath("local\\index.htm");
    EXPECT_NE(path.find("Help\\local\\index.htm"), std::string::npos) << path;
    EXPECT_EQ(path.find("missing"), std::string::npos) << path;
}
} // namespace
