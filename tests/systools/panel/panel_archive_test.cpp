// The packed panel archive as the view reads it: both languages hold the same pages, every page
// has a title and text, every link leads to a module or to a page of the archive, and every
// picture decodes through the picture library.
#include <gtest/gtest.h>

#include <set>

#include "picture/picture.h"
#include "setup/resource_archive.h"
#include "systools/panel/panel_links.h"
#include "systools/panel/panel_source.h"

namespace {

class PanelArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_archive.Open(std::string(QUENTA_BINARY_DIR) + "/res/package/panel.zip", false), kArchiveOk)
            << m_archive.LastError();
    }

    std::set<std::string> PagesOf(const std::string& language) const
    {
        std::set<std::string> pages;
        for (const ArchiveEntry& entry : m_archive.Entries())
            if (entry.path.rfind(language + "\\", 0) == 0 && entry.path.size() > 4 && // stored with "\\"
                entry.path.substr(entry.path.size() - 4) == ".htm")
                pages.insert(entry.path.substr(language.size() + 1));
        return pages;
    }

    ResourceArchive m_archive;
};

TEST_F(PanelArchiveTest, BothLanguagesHoldTheSamePagesAndTheStartPage)
{
    const std::set<std::string> english = PagesOf("en");
    EXPECT_EQ(english, PagesOf("fr"));
    EXPECT_TRUE(english.count("index.htm"));
    EXPECT_GE(english.size(), 3u); // welcome, news, tips
}

TEST_F(PanelArchiveTest, EveryPageReadsAndEveryLinkAndPictureLeadsSomewhere)
{
    PanelSource source(m_archive);
    std::set<int> modulesLinkedFromWelcome;
    for (const std::string language : {"en", "fr"}) {
        for (const std::string& name : PagesOf(language)) {
            const std::string path = language + "/" + name;
            const std::optional<PanelPage> page = source.Page(path);
            ASSERT_TRUE(page) << path;
            EXPECT_FALSE(page->title.empty()) << path;
            EXPECT_GT(PanelPlainText(*page).size(), 40u) << path;
            for (const PanelBlock& block : page->blocks) {
                if (block.kind == PanelBlockKind::Picture) {
                    EXPECT_NE(source.Picture(ResolvePanelPath(block.picture, path)), nullptr) << path << ": " << block.picture;
                }
                for (const PanelRun& run : block.runs) {
                    if (run.link.empty())
                        continue;
                    const PanelLinkTarget target = ResolvePanelLink(run.link, path);
                    EXPECT_NE(target.kind, PanelLinkKind::None) << path << ": " << run.link;
                    if (target.kind == PanelLinkKind::Page) {
                        EXPECT_GE(m_archive.Find(target.path, true), 0) << path << ": " << run.link;
                    }
                    if (target.kind == PanelLinkKind::Module && name == "index.htm" && language == "en")
                        modulesLinkedFromWelcome.insert(target.moduleId);
                }
            }
        }
    }
    // The welcome page leads to every module of the bar but the two panels.
    EXPECT_EQ(modulesLinkedFromWelcome.size(), 17u);
    EXPECT_FALSE(modulesLinkedFromWelcome.count(0));
    EXPECT_FALSE(modulesLinkedFromWelcome.count(18));
}

TEST_F(PanelArchiveTest, MissingOrUnreadableMembersGiveNothing)
{
    PanelSource source(m_archive);
    EXPECT_FALSE(source.Page("de/index.htm"));
    EXPECT_EQ(source.Picture("pictures/none.bmp"), nullptr);
    EXPECT_EQ(source.Picture("en/index.htm"), nullptr); // a page is no picture
    EXPECT_EQ(source.Picture(""), nullptr);
}

} // namespace
