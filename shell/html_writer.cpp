#include "shell/html_writer.h"

#include <cstdio>

#include "base/progress.h"

namespace html {
namespace {
constexpr const char* kCrLf = "\r\n";
constexpr const char* kAlignNames[] = {"LEFT",     "RIGHT",     "TOP",       "MIDDLE", "BOTTOM",
                                       "TEXTTOP",  "ABSMIDDLE", "BASELINE",  "ABSBOTTOM", "CENTER"};

void AddNumber(std::string& out, const char* name, int value, bool percent = false)
{
    if (value == kUnset)
        return;
    out += ' ';
    out += name;
    out += "=\"" + std::to_string(value);
    if (percent)
        out += '%';
    out += '"';
}

void AddText(std::string& out, const char* name, const std::string& value)
{
    out += ' ';
    out += name;
    out += "=\"" + value + '"';
}

void AddColour(std::string& out, const char* name, int64_t colour)
{
    if (colour != kUnset)
        AddText(out, name, ColourText(static_cast<uint32_t>(colour)));
}

void AddAlign(std::string& out, const char* name, int align)
{
    if (const char* text = AlignName(align))
        AddText(out, name, text);
}

void AddFlag(std::string& out, const char* name, bool set)
{
    if (set) {
        out += ' ';
        out += name;
    }
}

std::string RenderChildren(const ElementList& children, CQnProgress* progress)
{
    std::string out;
    for (const auto& child : children)
        out += child->Render(progress);
    return out;
}
} // namespace

const char* AlignName(int align)
{
    if (align < 0 || align >= static_cast<int>(std::size(kAlignNames)))
        return nullptr;
    return kAlignNames[align];
}

std::string ColourText(uint32_t colorref)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colorref & 0xFF, (colorref >> 8) & 0xFF,
                  (colorref >> 16) & 0xFF);
    return text;
}

std::string Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "<BR>";
            ++i;
            continue;
        }
        switch (c) {
        case 0xE0: out += "&agrave;"; break;
        case 0xE9: out += "&eacute;"; break;
        case 0xEA: out += "&ecirc;"; break;
        case 0xE8: out += "&egrave;"; break;
        case 0xEB: out += "&euml;"; break;
        case 0xEE: out += "&icirc;"; break;
        case 0xEF: out += "&iuml;"; break;
        case 0xF4: out += "&ocirc;"; break;
        case 0xF9: out += "&ugrave;"; break;
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += static_cast<char>(c);
        }
    }
    return out;
}

std::string HtmlElement::Render(CQnProgress* progress) const
{
    if (link.empty())
        return RenderOwn(progress);
    return "<A HREF=\"" + link + "\">" + RenderOwn(progress) + "</A>";
}

std::string HtmlMeta::Render() const
{
    std::string out = "<META";
    if (!name.empty())
        AddText(out, kind == HttpEquiv ? "HTTP-EQUIV" : "NAME", name);
    if (!content.empty())
        AddText(out, "CONTENT", content);
    return out + ">";
}

std::string HtmlText::RenderOwn(CQnProgress*) const
{
    if (!hasText)
        return {};
    std::string out;
    const bool font = !face.empty() || size != kUnset || colour != kUnset;
    if (font) {
        out = "<FONT ";
        AddNumber(out, "SIZE", size);
        AddColour(out, "COLOR", colour);
        if (!face.empty())
            AddText(out, "FACE", face);
        out += '>';
    }
    std::string closing;
    if (bold) { out += "<B>"; closing += "</B>"; }
    if (italic) { out += "<I>"; closing += "</I>"; }
    if (underline) { out += "<U>"; closing += "</U>"; }
    out += Escape(text) + closing;
    if (font)
        out += "</FONT>";
    return out;
}

HtmlElement* HtmlParagraph::AddChild(std::unique_ptr<HtmlElement> child)
{
    children.push_back(std::move(child));
    return children.back().get();
}

std::string HtmlParagraph::RenderOwn(CQnProgress* progress) const
{
    if (!AlignName(align))
        return RenderChildren(children, progress);
    std::string out = "<P ";
    AddAlign(out, "ALIGN", align);
    return out + ">" + RenderChildren(children, progress) + "</P>";
}

HtmlElement* HtmlCell::AddChild(std::unique_ptr<HtmlElement> child)
{
    children.push_back(std::move(child));
    return children.back().get();
}

std::string HtmlCell::RenderOwn(CQnProgress* progress) const
{
    std::string out = kCrLf;
    out += "<TD";
    AddAlign(out, "ALIGN", align);
    AddAlign(out, "VALIGN", valign);
    AddNumber(out, "WIDTH", width, widthPercent);
    AddNumber(out, "HEIGHT", height, heightPercent);
    AddFlag(out, "NOWRAP", noWrap);
    AddColour(out, "BGCOLOR", background);
    return out + ">" + RenderChildren(children, progress) + "</TD>";
}

HtmlTable::HtmlTable(int rows, int columns)
    : m_rows(rows < 0 ? 0 : rows), m_columns(columns < 0 ? 0 : columns),
      m_cells(static_cast<size_t>(m_rows) * m_columns)
{
    for (HtmlCell& cell : m_cells) {
        cell.width = 100 / m_columns; // m_cells is empty when there are no columns
        cell.widthPercent = true;
    }
}

HtmlCell* HtmlTable::GetCell(int column, int row)
{
    if (column < 0 || row < 0 || column >= m_columns || row >= m_rows)
        return nullptr;
    return &m_cells[static_cast<size_t>(row) * m_columns + column];
}

std::string HtmlTable::RenderOwn(CQnProgress* progress) const
{
    CQnProgress& sink = ProgressOrSilent(progress);
    const char* alignName = AlignName(align);
    std::string out;
    if (alignName) {
        out = "<DIV";
        AddAlign(out, "ALIGN", align);
        out += "><";
        out += alignName;
        out += ">";
        out += kCrLf;
    }
    out += "<TABLE";
    AddNumber(out, "BORDER", border);
    AddNumber(out, "FRAME", frame);
    AddNumber(out, "CELLSPACING", cellSpacing);
    AddNumber(out, "CELLPADDING", cellPadding);
    AddFlag(out, "NOFLOW", noFlow);
    AddNumber(out, "WIDTH", width, widthPercent);
    AddNumber(out, "HEIGHT", height, heightPercent);
    AddAlign(out, "ALIGN", align);
    AddColour(out, "BORDERCOLORDARK", borderColourDark);
    AddColour(out, "BORDERCOLORLIGHT", borderColourLight);
    AddColour(out, "BGCOLOR", background);
    out += ">";
    out += kCrLf;
    sink.Begin();
    for (int r = 0; r < m_rows; ++r) {
        sink.SetRange(0, m_rows, false);
        sink.SetPos(r);
        out += "<TR>";
        for (int c = 0; c < m_columns; ++c)
            out += m_cells[static_cast<size_t>(r) * m_columns + c].Render(progress);
        out += kCrLf;
        out += "</TR>";
        out += kCrLf;
    }
    sink.End();
    out += "</TABLE>";
    if (alignName) {
        out += kCrLf;
        out += "</";
        out += alignName;
        out += "></DIV>";
    }
    return out;
}

HtmlElement* HtmlDocument::AddBodyElement(std::unique_ptr<HtmlElement> element)
{
    body.push_back(std::move(element));
    return body.back().get();
}

std::string HtmlDocument::Render(CQnProgress* progress) const
{
    CQnProgress& sink = ProgressOrSilent(progress);
    std::string out = "<HTML>\r\n\r\n<HEAD>\r\n<TITLE>";
    if (hasTitle)
        out += title;
    out += "</TITLE>\r\n";
    for (const HtmlMeta& meta : metas)
        out += meta.Render();
    out += "</HEAD>\r\n\r\n<BODY";
    if (hasBackgroundImage)
        AddText(out, "BACKGROUND", backgroundImage);
    AddColour(out, "BGCOLOR", bodyColour);
    AddColour(out, "TEXT", textColour);
    AddColour(out, "LINK", linkColour);
    AddColour(out, "ALINK", activeLinkColour);
    AddColour(out, "VLINK", visitedLinkColour);
    out += ">";
    sink.Begin();
    sink.SetTextById(kStatusGeneratingHtml);
    const int count = static_cast<int>(body.size());
    for (int i = 0; i < count; ++i) {
        sink.SetRange(0, count, false);
        sink.SetPos(i);
        out += kCrLf;
        out += body[i]->Render(progress);
    }
    out += "\r\n</BODY>\r\n\r\n</HTML>";
    sink.End();
    return out;
}

bool HtmlDocument::WriteFile(const std::string& path, CQnProgress* progress) const
{
    const std::string page = Render(progress);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(page.data(), 1, page.size(), file) == page.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

} // namespace html
