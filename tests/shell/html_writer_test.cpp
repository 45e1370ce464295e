#include "shell/html_writer.h"

#include <gtest/gtest.h>

#include "base/progress.h"
#include "test_files.h"

using namespace html;

TEST(HtmlWriter, TableWithOneTextCellRendersLineByLine)
{
    HtmlTable table(1, 1);
    table.border = 1;
    auto text = std::make_unique<HtmlText>("a&b");
    text->size = 2;
    text->colour = 0;
    table.GetCell(0, 0)->AddChild(std::move(text));
    EXPECT_EQ(table.Render(nullptr), "<TABLE BORDER=\"1\">\r\n"
                                     "<TR>\r\n"
                                     "<TD WIDTH=\"100%\"><FONT  SIZE=\"2\" COLOR=\"#000000\">a&amp;b</FONT></TD>\r\n"
                                     "</TR>\r\n"
                                     "</TABLE>");
}

TEST(HtmlWriter, TextStylesFontsAndEscapes)
{
    HtmlText plain("x\r\ny<\"\xE9\xF9>\n");
    EXPECT_EQ(plain.Render(nullptr), "x<BR>y&lt;&quot;&eacute;&ugrave;&gt;\n");

    HtmlText styled("t");
    styled.bold = styled.italic = styled.underline = true;
    EXPECT_EQ(styled.Render(nullptr), "<B><I><U>t</B></I></U>");

    HtmlText faced("t");
    faced.face = "Arial";
    faced.link = "http://x/";
    EXPECT_EQ(faced.Render(nullptr), "<A HREF=\"http://x/\"><FONT  FACE=\"Arial\">t</FONT></A>");

    EXPECT_EQ(ColourText(0x0000FF), "#FF0000");
    EXPECT_EQ(ColourText(0x0A0B0C), "#0C0B0A");
}

TEST(HtmlWriter, AttributesInOrderAndAlignedTableInDiv)
{
    HtmlTable bare(0, 0);
    EXPECT_EQ(bare.Render(nullptr), "<TABLE>\r\n</TABLE>");
    EXPECT_EQ(bare.GetCell(0, 0), nullptr);

    HtmlTable table(1, 3);
    EXPECT_EQ(table.GetCell(3, 0), nullptr);
    table.align = Center;
    table.cellSpacing = 0;
    table.noFlow = true;
    table.width = 80;
    table.widthPercent = true;
    table.background = 0xFFFFFF;
    HtmlCell* cell = table.GetCell(2, 0);
    cell->align = Right;
    cell->valign = Top;
    cell->height = 10;
    cell->noWrap = true;
    cell->background = 0x00FF00;
    EXPECT_EQ(table.Render(nullptr),
              "<DIV ALIGN=\"CENTER\"><CENTER>\r\n"
              "<TABLE CELLSPACING=\"0\" NOFLOW WIDTH=\"80%\" ALIGN=\"CENTER\" BGCOLOR=\"#FFFFFF\">\r\n"
              "<TR>\r\n<TD WIDTH=\"33%\"></TD>\r\n<TD WIDTH=\"33%\"></TD>\r\n"
              "<TD ALIGN=\"RIGHT\" VALIGN=\"TOP\" WIDTH=\"33%\" HEIGHT=\"10\" NOWRAP BGCOLOR=\"#00FF00\"></TD>\r\n"
              "</TR>\r\n</TABLE>\r\n</CENTER></DIV>");

    HtmlParagraph paragraph;
    paragraph.AddChild(std::make_unique<HtmlText>("p"));
    EXPECT_EQ(paragraph.Render(nullptr), "p");
    paragraph.align = Left;
    EXPECT_EQ(paragraph.Render(nullptr), "<P  ALIGN=\"LEFT\">p</P>");
}

TEST(HtmlWriter, DocumentPageAndFile)
{
    HtmlDocument document;
    document.hasTitle = true;
    document.title = "T";
    document.bodyColour = 0xFFFFFF;
    document.linkColour = 0xFF0000;
    document.metas.push_back({HtmlMeta::HttpEquiv, "Content-Type", "text/html"});
    document.AddBodyElement(std::make_unique<HtmlText>("a"));
    document.AddBodyElement(std::make_unique<HtmlText>("b"));
    const std::string expected = "<HTML>\r\n\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n"
                                 "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html\"></HEAD>\r\n\r\n"
                                 "<BODY BGCOLOR=\"#FFFFFF\" LINK=\"#0000FF\">\r\na\r\nb\r\n</BODY>\r\n\r\n</HTML>";
    CQnProgress progress;
    EXPECT_EQ(document.Render(&progress), expected);
    EXPECT_FALSE(progress.IsActive());

    const std::string path = ScratchPath("document.htm");
    ASSERT_TRUE(document.WriteFile(path, nullptr));
    EXPECT_EQ(ReadBytes(path), expected);
    EXPECT_FALSE(document.WriteFile(ScratchPath("no/such/folder/x.htm"), nullptr));
}
