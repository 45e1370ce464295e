#pragma once
// A small HTML 3.2 document model with upper-case tags and attributes. Each element renders
// itself to a new text; containers concatenate their children's texts.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CQnProgress;

namespace html {

constexpr int32_t kUnset = -1;

// Alignment names, indexed by the alignment values used throughout the model.
enum Align : int { Left, Right, Top, Middle, Bottom, TextTop, AbsMiddle, Baseline, AbsBottom, Center };
const char* AlignName(int align); // null when unset or out of range

// "#RRGGBB" of a COLORREF (0x00BBGGRR).
std::string ColourText(uint32_t colorref);
// Text with CR LF turned into <BR> and the special characters into entities.
std::string Escape(const std::string& text);

class HtmlElement {
public:
    virtual ~HtmlElement() = default;
    std::string link; // empty: no link
    // The element's text, wrapped in an anchor when it has a link.
    std::string Render(CQnProgress* progress) const;

protected:
    virtual std::string RenderOwn(CQnProgress* progress) const = 0;
};

using ElementList = std::vector<std::unique_ptr<HtmlElement>>;

class HtmlMeta {
public:
    enum Kind { Name = 0, HttpEquiv = 1 };
    int kind = Name;
    std::string name, content;
    std::string Render() const;
};

class HtmlText : public HtmlElement {
public:
    explicit HtmlText(std::string text = {}) : text(std::move(text)), hasText(true) {}
    std::string text;
    bool hasText = true;
    std::string face;
    int size = kUnset;
    int64_t colour = kUnset;
    bool bold = false, italic = false, underline = false;

protected:
    std::string RenderOwn(CQnProgress* progress) const override;
};

class HtmlParagraph : public HtmlElement {
public:
    int align = kUnset;
    ElementList children;
    HtmlElement* AddChild(std::unique_ptr<HtmlElement> child);

protected:
    std::string RenderOwn(CQnProgress* progress) const override;
};

class HtmlCell : public HtmlElement {
public:
    int align = kUnset, valign = kUnset;
    int width = kUnset, height = kUnset;
    bool widthPercent = false, heightPercent = false;
    bool noWrap = false;
    int64_t background = kUnset;
    ElementList children;
    HtmlElement* AddChild(std::unique_ptr<HtmlElement> child);

protected:
    std::string RenderOwn(CQnProgress* progress) const override;
};

class HtmlTable : public HtmlElement {
public:
    // All rows x columns cells, each `100 / columns` percent wide.
    HtmlTable(int rows, int columns);
    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }
    // Cell at (column, row), or null outside the grid.
    HtmlCell* GetCell(int column, int row);

    int border = kUnset, frame = kUnset, cellSpacing = kUnset, cellPadding = kUnset;
    bool noFlow = false;
    int width = kUnset, height = kUnset;
    bool widthPercent = false, heightPercent = false;
    int align = kUnset;
    int64_t borderColourDark = kUnset, borderColourLight = kUnset, background = kUnset;

protected:
    std::string RenderOwn(CQnProgress* progress) const override;

private:
    int m_rows, m_columns;
    std::vector<HtmlCell> m_cells; // row-major
};

class HtmlDocument {
public:
    bool hasTitle = false;
    std::string title;
    bool hasBackgroundImage = false;
    std::string backgroundImage;
    int64_t bodyColour = kUnset, textColour = kUnset, linkColour = kUnset, activeLinkColour = kUnset,
            visitedLinkColour = kUnset;
    std::vector<HtmlMeta> metas;
    ElementList body;

    HtmlElement* AddBodyElement(std::unique_ptr<HtmlElement> element);
    // The full page.
    std::string Render(CQnProgress* progress) const;
    // Renders the page and writes it in one piece; false only when the file cannot be created.
    bool WriteFile(const std::string& path, CQnProgress* progress) const;
};

} // namespace html
