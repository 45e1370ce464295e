#include "systools/panel/panel_page.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

namespace {

constexpr size_t kMaxTitle = 256;
constexpr size_t kMaxAttribute = 2048;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view prefix)
{
    if (text.size() - at < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[at + i]) != prefix[i])
            return false;
    return true;
}

void AppendUtf8(std::string& out, uint32_t code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

struct NamedEntity {
    std::string_view name;
    uint32_t code;
};
constexpr NamedEntity kEntities[] = {
    {"amp", '&'},      {"lt", '<'},        {"gt", '>'},       {"quot", '"'},     {"apos", '\''},
    {"nbsp", 0xA0},    {"copy", 0xA9},     {"laquo", 0xAB},   {"raquo", 0xBB},   {"agrave", 0xE0},
    {"acirc", 0xE2},   {"ccedil", 0xE7},   {"egrave", 0xE8},  {"eacute", 0xE9},  {"ecirc", 0xEA},
    {"euml", 0xEB},    {"icirc", 0xEE},    {"iuml", 0xEF},    {"ocirc", 0xF4},   {"ugrave", 0xF9},
    {"ucirc", 0xFB},   {"Eacute", 0xC9},   {"Agrave", 0xC0},  {"oelig", 0x153},  {"ndash", 0x2013},
    {"mdash", 0x2014}, {"rsquo", 0x2019},  {"hellip", 0x2026}, {"middot", 0xB7},
};

// Decodes the entity at text[at] == '&' into `out`; returns the characters it took (a lone
// or unknown '&' takes one and stands for itself).
size_t DecodeEntity(std::string_view text, size_t at, std::string& out)
{
    size_t end = at + 1;
    while (end < text.size() && end - at <= 10 && text[end] != ';' && !IsSpace(text[end]) && text[end] != '&' &&
           text[end] != '<')
        ++end;
    if (end >= text.size() || text[end] != ';') {
        out += '&';
        return 1;
    }
    const std::string_view body = text.substr(at + 1, end - at - 1);
    if (body.size() >= 2 && body[0] == '#') {
        const bool hex = body[1] == 'x' || body[1] == 'X';
        const std::string_view digits = body.substr(hex ? 2 : 1);
        uint32_t code = 0;
        bool valid = !digits.empty();
        for (char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0) {
                valid = false;
                break;
            }
            code = std::min<uint32_t>(code * (hex ? 16 : 10) + static_cast<uint32_t>(digit), 0x110000);
        }
        if (valid) {
            AppendUtf8(out, code);
            return end - at + 1;
        }
    }
    for (const NamedEntity& entity : kEntities)
        if (entity.name == body) {
            AppendUtf8(out, entity.code);
            return end - at + 1;
        }
    out += '&';
    return 1;
}

std::string DecodeText(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size() && out.size() < kMaxAttribute;) {
        if (text[i] == '&')
            i += DecodeEntity(text, i, out);
        else
            out += text[i++];
    }
    return out;
}

struct Tag {
    std::string name; // lower case
    bool closing = false;
    std::vector<std::pair<std::string, std::string>> attributes;

    std::string Attribute(std::string_view attributeName) const
    {
        for (const auto& [key, value] : attributes)
            if (key == attributeName)
                return value;
        return {};
    }
};

// Reads the tag starting at html[at] == '<'; returns the position after its '>' (or the end).
size_t ReadTag(std::string_view html, size_t at, Tag& tag)
{
    size_t i = at + 1;
    if (i < html.size() && html[i] == '/') {
        tag.closing = true;
        ++i;
    }
    while (i < html.size() && std::isalnum(static_cast<unsigned char>(html[i])))
        tag.name += Lower(html[i++]);
    while (i < html.size() && html[i] != '>') {
        if (IsSpace(html[i]) || html[i] == '/') {
            ++i;
            continue;
        }
        std::string key;
        while (i < html.size() && !IsSpace(html[i]) && html[i] != '=' && html[i] != '>' && html[i] != '/')
            key += Lower(html[i++]);
        if (key.empty()) { // a stray '=' or the like
            ++i;
            continue;
        }
        while (i < html.size() && IsSpace(html[i]))
            ++i;
        std::string_view value;
        if (i < html.size() && html[i] == '=') {
            ++i;
            while (i < html.size() && IsSpace(html[i]))
                ++i;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                const char quote = html[i++];
                const size_t close = html.find(quote, i);
                const size_t stop = close == std::string_view::npos ? html.size() : close;
                value = html.substr(i, stop - i);
                i = close == std::string_view::npos ? html.size() : close + 1;
            } else {
                const size_t start = i;
                while (i < html.size() && !IsSpace(html[i]) && html[i] != '>')
                    ++i;
                value = html.substr(start, i - start);
            }
        }
        if (tag.attributes.size() < 16)
            tag.attributes.emplace_back(std::move(key), DecodeText(value.substr(0, kMaxAttribute)));
    }
    return i < html.size() ? i + 1 : html.size();
}

class PageReader {
public:
    explicit PageReader(std::string_view html) : m_html(html.substr(0, kPanelPageMaxBytes)) {}

    PanelPage Read()
    {
        size_t i = 0;
        while (i < m_html.size()) {
            const char c = m_html[i];
            if (c == '<' && StartsWithNoCase(m_html, i, "<!--")) {
                const size_t end = m_html.find("-->", i + 4);
                i = end == std::string_view::npos ? m_html.size() : end + 3;
            } else if (c == '<' && i + 1 < m_html.size() &&
                       (std::isalpha(static_cast<unsigned char>(m_html[i + 1])) || m_html[i + 1] == '/' ||
                        m_html[i + 1] == '!' || m_html[i + 1] == '?')) {
                Tag tag;
                i = ReadTag(m_html, i, tag);
                i = OnTag(tag, i);
            } else if (c == '&') {
                std::string decoded;
                i += DecodeEntity(m_html, i, decoded);
                AddText(decoded);
            } else if (IsSpace(c)) {
                m_pendingSpace = true;
                ++i;
            } else {
                const size_t start = i++; // a '<' that opens no tag is text
                while (i < m_html.size() && m_html[i] != '<' && m_html[i] != '&' && !IsSpace(m_html[i]))
                    ++i;
                AddText(m_html.substr(start, i - start));
            }
        }
        CloseBlock();
        return std::move(m_page);
    }

private:
    // Handles a tag; returns where reading goes on (past the content of skipped elements).
    size_t OnTag(const Tag& tag, size_t next)
    {
        const std::string& name = tag.name;
        if (name == "script" || name == "style") {
            if (tag.closing)
                return next;
            const std::string close = "</" + name;
            for (size_t at = next; at < m_html.size(); ++at)
                if (StartsWithNoCase(m_html, at, close)) {
                    const size_t end = m_html.find('>', at);
                    return end == std::string_view::npos ? m_html.size() : end + 1;
                }
            return m_html.size();
        }
        if (name == "title") {
            m_inTitle = !tag.closing;
            return next;
        }
        if (name == "h1" || name == "h2" || name == "h3" || name == "h4" || name == "h5" || name == "h6") {
            CloseBlock();
            m_nextKind = tag.closing ? PanelBlockKind::Paragraph
                         : name == "h1" ? PanelBlockKind::Heading1
                         : name == "h2" ? PanelBlockKind::Heading2
                                        : PanelBlockKind::Heading3;
        } else if (name == "p" || name == "div" || name == "ul" || name == "ol" || name == "table" ||
                   name == "tr" || name == "body" || name == "blockquote") {
            CloseBlock();
            m_nextKind = PanelBlockKind::Paragraph;
        } else if (name == "li") {
            CloseBlock();
            m_nextKind = tag.closing ? PanelBlockKind::Paragraph : PanelBlockKind::ListItem;
        } else if (name == "br" && !tag.closing) {
            if (m_open)
                AppendRun("\n");
            m_pendingSpace = false;
        } else if (name == "b" || name == "strong") {
            m_bold = tag.closing ? std::max(0, m_bold - 1) : std::min(m_bold + 1, 64);
        } else if (name == "i" || name == "em") {
            m_italic = tag.closing ? std::max(0, m_italic - 1) : std::min(m_italic + 1, 64);
        } else if (name == "a") {
            m_link = tag.closing ? std::string() : tag.Attribute("href");
        } else if (name == "img" && !tag.closing) {
            CloseBlock();
            PanelBlock picture;
            picture.kind = PanelBlockKind::Picture;
            picture.picture = tag.Attribute("src");
            picture.alt = tag.Attribute("alt");
            if (!picture.alt.empty())
                picture.runs.push_back({picture.alt, false, false, m_link});
            else if (!m_link.empty())
                picture.runs.push_back({"", false, false, m_link});
            AddBlock(std::move(picture));
        } else if (name == "hr" && !tag.closing) {
            CloseBlock();
            PanelBlock rule;
            rule.kind = PanelBlockKind::Rule;
            AddBlock(std::move(rule));
        }
        return next;
    }

    void AddText(std::string_view text)
    {
        if (text.empty())
            return;
        if (m_inTitle) {
            if (m_pendingSpace && !m_page.title.empty())
                m_page.title += ' ';
            m_pendingSpace = false;
            m_page.title.append(text.substr(0, kMaxTitle - std::min(kMaxTitle, m_page.title.size())));
            return;
        }
        if (!m_open) {
            m_block = PanelBlock{};
            m_block.kind = m_nextKind;
            m_open = true;
            m_pendingSpace = false;
        }
        if (m_pendingSpace && !m_block.runs.empty()) {
            std::string& last = m_block.runs.back().text; // the blank ends the run before it
            if (!last.empty() && last.back() != '\n' && last.back() != ' ')
                last += ' ';
        }
        m_pendingSpace = false;
        std::string clean;
        clean.reserve(text.size());
        for (char c : text) // control characters would draw as boxes
            if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
                clean += c;
        AppendRun(clean);
    }

    void AppendRun(std::string_view text)
    {
        const bool bold = m_bold > 0, italic = m_italic > 0;
        if (m_block.runs.empty() || m_block.runs.back().bold != bold || m_block.runs.back().italic != italic ||
            m_block.runs.back().link != m_link)
            m_block.runs.push_back({std::string(), bold, italic, m_link});
        m_block.runs.back().text.append(text);
    }

    void CloseBlock()
    {
        if (m_open) {
            // A trailing break or blank adds nothing to the page.
            while (!m_block.runs.empty()) {
                std::string& last = m_block.runs.back().text;
                while (!last.empty() && (last.back() == ' ' || last.back() == '\n'))
                    last.pop_back();
                if (!last.empty())
                    break;
                m_block.runs.pop_back();
            }
            if (!m_block.runs.empty())
                AddBlock(std::move(m_block));
        }
        m_open = false;
        m_pendingSpace = false;
    }

    void AddBlock(PanelBlock block)
    {
        if (m_page.blocks.size() < kPanelPageMaxBlocks)
            m_page.blocks.push_back(std::move(block));
    }

    std::string_view m_html;
    PanelPage m_page;
    PanelBlock m_block;
    bool m_open = false;
    PanelBlockKind m_nextKind = PanelBlockKind::Paragraph;
    bool m_pendingSpace = false;
    bool m_inTitle = false;
    int m_bold = 0;
    int m_italic = 0;
    std::string m_link;
};

} // namespace

PanelPage ParsePanelPage(std::string_view html) { return PageReader(html).Read(); }

std::string PanelPlainText(const PanelPage& page)
{
    std::string text;
    for (const PanelBlock& block : page.blocks) {
        if (block.kind == PanelBlockKind::Picture) {
            text += "[" + block.alt + "]";
        } else if (block.kind == PanelBlockKind::Rule) {
            text += "----";
        } else {
            if (block.kind == PanelBlockKind::ListItem)
                text += "* ";
            for (const PanelRun& run : block.runs)
                text += run.text;
        }
        text += '\n';
    }
    return text;
}
