#pragma once
// Module 18: the online news panel. Shows the pages of archive 380 in the interface language,
// laid out as headings, paragraphs, list items and pictures, scrolled vertically. A link either
// opens another panel page or runs a command of the main window (switching modules).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "setup/resource_archive.h"
#include "shell/gdi_helpers_win.h"
#include "shell/qn_form_view_win.h"
#include "systools/panel/panel_page.h"

class CRixoPanel : public CQnFormView {
public:
    CRixoPanel();
    ~CRixoPanel() override;

    // Shows a page of the archive; false (and the page unchanged) when it cannot be read.
    bool ShowPage(const std::string& path);
    const std::string& CurrentPage() const { return m_pagePath; }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Word {
        RECT box;
        std::wstring text;
        int font;
        int link; // index into m_links, -1 outside links
        COLORREF colour;
        int underlineLeft; // a link's underline also spans the blank before a word of the same link
    };
    struct Placed {
        RECT box;
        const CAlphaBitmap* bitmap; // null: a rule
    };

    void Layout();
    void LayOutText(HDC dc, const PanelBlock& block, int font, int left, int right, int& y);
    void Paint();
    void ScrollTo(int position);
    void UpdateScrollBar();
    int LinkAt(POINT client) const;
    void FollowLink(int link);
    const CAlphaBitmap* PictureOf(const std::string& src);
    HFONT Font(int index);

    ResourceArchive m_archive;
    bool m_archiveRead = false;
    std::string m_pagePath;
    PanelPage m_page;
    std::map<std::string, std::unique_ptr<CAlphaBitmap>> m_pictures; // null: unreadable
    std::vector<GdiObject<HFONT>> m_fonts;
    std::vector<std::string> m_links;
    std::vector<Word> m_words;
    std::vector<Placed> m_placed;
    int m_contentHeight = 0;
    int m_scroll = 0;
    int m_laidWidth = -1;
};
