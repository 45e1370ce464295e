// Where panel links lead: module commands, other pages resolved inside the archive, and the
// links that must lead nowhere.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "systools/panel/panel_links.h"

namespace {

TEST(PanelLinks, ModuleLinksRunTheSwitchCommand)
{
    for (int id : {0, 6, 13, 18}) {
        const PanelLinkTarget target = ResolvePanelLink("quenta:module/" + std::to_string(id), "en/index.htm");
        EXPECT_EQ(target.kind, PanelLinkKind::Module);
        EXPECT_EQ(target.moduleId, id);
        EXPECT_EQ(PanelLinkCommand(target), static_cast<unsigned>(ID_SWITCH_MODULE_FIRST + id));
    }
    EXPECT_LE(PanelLinkCommand(ResolvePanelLink("quenta:module/18", "")), static_cast<unsigned>(ID_SWITCH_MODULE_LAST));
    for (const char* bad : {"quenta:module/19", "quenta:module/", "quenta:module/-1", "quenta:module/1x",
                            "quenta:module/007", "quenta:modules/1", "quenta:help", "http://example.com/",
                            "mailto:x@y", "javascript:alert(1)"}) {
        const PanelLinkTarget target = ResolvePanelLink(bad, "en/index.htm");
        EXPECT_EQ(target.kind, PanelLinkKind::None) << bad;
        EXPECT_EQ(PanelLinkCommand(target), 0u) << bad;
    }
}

TEST(PanelLinks, PageLinksResolveAgainstTheCurrentPageAndStayInside)
{
    EXPECT_EQ(ResolvePanelLink("news.htm", "en/index.htm").path, "en/news.htm");
    EXPECT_EQ(ResolvePanelLink("news.htm#top", "fr/index.htm").path, "fr/news.htm");
    EXPECT_EQ(ResolvePanelLink("news.htm", "fr/index.htm").kind, PanelLinkKind::Page);
    EXPECT_EQ(PanelLinkCommand(ResolvePanelLink("news.htm", "fr/index.htm")), 0u);
    EXPECT_EQ(ResolvePanelPath("../pictures/welcome.bmp", "en/index.htm"), "pictures/welcome.bmp");
    EXPECT_EQ(ResolvePanelPath("./a/../b.htm", "en/index.htm"), "en/b.htm");
    EXPECT_EQ(ResolvePanelPath("index.htm", "top.htm"), "index.htm");
    for (const char* outside : {"../../x.htm", "/etc/passwd", "\\x.htm", "C:\\x.htm", "c:x", "a\\..\\..\\b", "", "#top",
                                "..", "en/../../../x"})
        EXPECT_EQ(ResolvePanelLink(outside, "en/index.htm").kind, PanelLinkKind::None) << outside;
}

TEST(PanelLinks, TheInterfaceLanguageChoosesThePages)
{
    EXPECT_EQ(PanelStartPage(0x040C), "fr/index.htm"); // French (France)
    EXPECT_EQ(PanelStartPage(0x0C0C), "fr/index.htm"); // French (Canada)
    EXPECT_EQ(PanelStartPage(0x0409), "en/index.htm");
    EXPECT_EQ(PanelStartPage(0x0407), "en/index.htm"); // no German pages: English
}

} // namespace
