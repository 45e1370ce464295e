// The panel pages' HTML subset: blocks, styled runs, links, pictures, entities, and pages that
// are not well formed (they come from a resource, but a broken one must not break the panel).
#include <gtest/gtest.h>

#include "systools/panel/panel_page.h"

namespace {

TEST(PanelPage, BlocksFollowTheTagsAndTheTitleIsKeptApart)
{
    const PanelPage page = ParsePanelPage("<html><head><meta charset=\"utf-8\"><title> Quenta  News </title>"
                                          "<style>p { color: red }</style></head><body>"
                                          "<h1>Welcome</h1><p>First\n   paragraph.</p><h2>Files</h2>"
                                          "<ul><li>One</li><li>Two</li></ul><hr><h3>Small</h3>Loose text"
                                          "<script>if (a < b) alert('x');</script></body></html>");
    EXPECT_EQ(page.title, "Quenta News");
    EXPECT_EQ(PanelPlainText(page), "Welcome\nFirst paragraph.\nFiles\n* One\n* Two\n----\nSmall\nLoose text\n");
    ASSERT_EQ(page.blocks.size(), 8u);
    EXPECT_EQ(page.blocks[0].kind, PanelBlockKind::Heading1);
    EXPECT_EQ(page.blocks[2].kind, PanelBlockKind::Heading2);
    EXPECT_EQ(page.blocks[3].kind, PanelBlockKind::ListItem);
    EXPECT_EQ(page.blocks[5].kind, PanelBlockKind::Rule);
    EXPECT_EQ(page.blocks[6].kind, PanelBlockKind::Heading3);
    EXPECT_EQ(page.blocks[7].kind, PanelBlockKind::Paragraph); // text after a closed heading
}

TEST(PanelPage, RunsCarryBoldItalicAndTheirLink)
{
    const PanelPage page = ParsePanelPage(
        "<p>Open <a href=\"quenta:module/13\">the <b>Explorer</b></a>, <i>then</i> <a href='news.htm'>news</a>.<br>Next</p>");
    ASSERT_EQ(page.blocks.size(), 1u);
    const std::vector<PanelRun>& runs = page.blocks[0].runs;
    ASSERT_EQ(runs.size(), 7u);
    EXPECT_EQ(runs[0].text, "Open ");
    EXPECT_EQ(runs[1].text, "the ");
    EXPECT_EQ(runs[1].link, "quenta:module/13");
    EXPECT_EQ(runs[2].text, "Explorer");
    EXPECT_TRUE(runs[2].bold);
    EXPECT_EQ(runs[2].link, "quenta:module/13");
    EXPECT_EQ(runs[3].text, ", ");
    EXPECT_TRUE(runs[3].link.empty());
    EXPECT_TRUE(runs[4].italic);
    EXPECT_EQ(runs[5].text, "news");
    EXPECT_EQ(runs[5].link, "news.htm");
    EXPECT_EQ(runs[6].text, ".\nNext");
}

TEST(PanelPage, PicturesKeepTheirSourceAlternativeTextAndLink)
{
    const PanelPage page =
        ParsePanelPage("<p>Before<img src=\"../pictures/a.bmp\" alt=\"A &amp; B\">after</p><a href=\"x.htm\"><img src=b.png></a>");
    ASSERT_EQ(page.blocks.size(), 4u);
    EXPECT_EQ(PanelPlainText(page), "Before\n[A & B]\nafter\n[]\n");
    EXPECT_EQ(page.blocks[1].kind, PanelBlockKind::Picture);
    EXPECT_EQ(page.blocks[1].picture, "../pictures/a.bmp");
    EXPECT_EQ(page.blocks[3].picture, "b.png");
    ASSERT_EQ(page.blocks[3].runs.size(), 1u);
    EXPECT_EQ(page.blocks[3].runs[0].link, "x.htm");
}

TEST(PanelPage, EntitiesBecomeUtf8AndUnknownOnesStayAsWritten)
{
    const PanelPage page = ParsePanelPage("<p>&eacute;t&#233; &#x2013; caf&eacute;&nbsp;&lt;b&gt; AT&T &bogus; &#0; &#xD800; &#99999999;</p>");
    ASSERT_EQ(page.blocks.size(), 1u);
    EXPECT_EQ(page.blocks[0].runs[0].text,
              "\xC3\xA9t\xC3\xA9 \xE2\x80\x93 caf\xC3\xA9\xC2\xA0<b> AT&T &bogus; \xEF\xBF\xBD \xEF\xBF\xBD \xEF\xBF\xBD");
}

TEST(PanelPage, BrokenMarkupEndsCleanly)
{
    for (const char* html : {"<p>Open <a href=\"unterminated", "<h1>Title", "<!-- never closed <p>hidden",
                             "<script>never closed", "<b><b><b>deep</i></i>", "</p></li></h1>text", "< p>a < b",
                             "<img", "<a href=x", "&", "&#", "&#x;", "<title>t", "\x01\x02<p>\x7F"}) {
        const PanelPage page = ParsePanelPage(html);
        for (const PanelBlock& block : page.blocks)
            for (const PanelRun& run : block.runs)
                for (char c : run.text)
                    EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << html;
    }
    EXPECT_EQ(PanelPlainText(ParsePanelPage("< p>a < b")), "< p>a < b\n");
    EXPECT_EQ(PanelPlainText(ParsePanelPage("<h1>Title")), "Title\n");
    EXPECT_TRUE(ParsePanelPage("<!-- never closed <p>hidden").blocks.empty());
    EXPECT_EQ(PanelPlainText(ParsePanelPage("<b>x</b></b></b><b>y")), "xy\n");
    EXPECT_TRUE(ParsePanelPage("<b>x</b></b></b>y").blocks[0].runs.back().bold == false);
}

TEST(PanelPage, HugePagesAreCapped)
{
    std::string html;
    for (int i = 0; i < 10000; ++i)
        html += "<p>x</p>";
    EXPECT_EQ(ParsePanelPage(html).blocks.size(), kPanelPageMaxBlocks);
    const std::string title = "<title>" + std::string(5000, 't') + "</title>";
    EXPECT_EQ(ParsePanelPage(title).title.size(), 256u);
    const std::string big(kPanelPageMaxBytes + 100, 'a');
    const PanelPage page = ParsePanelPage(big);
    ASSERT_EQ(page.blocks.size(), 1u);
    EXPECT_EQ(page.blocks[0].runs[0].text.size(), kPanelPageMaxBytes);
}

} // namespace
