#include "systools/panel/panel_view_win.h"

#include <algorithm>

#include "base/text.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "setup/resource_archive_win.h"
#include "systools/panel/panel_links.h"
#include "systools/panel/panel_module.h"
#include "systools/panel/panel_source.h"

namespace {

constexpr int kMargin = 24;
constexpr int kListIndent = 22;
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kHeadingColour = RGB(0x5A, 0x38, 0x9C);
constexpr COLORREF kTextColour = RGB(0x30, 0x36, 0x44);
constexpr COLORREF kLinkColour = RGB(0x10, 0x50, 0xC8);
constexpr COLORREF kRuleColour = RGB(0xC8, 0xC0, 0xDC);

// The fonts by index: body (plain, bold, italic, bold italic), then the three headings.
enum FontIndex { kBody = 0, kHeading1 = 4, kHeading2 = 5, kHeading3 = 6, kFontCount = 7 };

std::wstring Widen(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

// The string table's texts come in the ANSI code page; the panel draws UTF-8.
std::string AnsiToUtf8(const std::string& ansi)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(std::max(m, 0)), '\0');
    if (m > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), m, nullptr, nullptr);
    return utf8;
}

SIZE Measure(HDC dc, const std::wstring& text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace

CRixoPanel::CRixoPanel() : CQnFormView(&EmptyFormTemplate())
{
    m_archiveRead = LoadFromResource(m_archive, GetModuleHandleA(nullptr), IDR_ZIP_PANEL, "ZIP", true) == kArchiveOk &&
                    !m_archive.Entries().empty();
}

CRixoPanel::~CRixoPanel() = default;

bool CRixoPanel::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    if (!ShowPage(PanelStartPage(LANGIDFROMLCID(GetThreadLocale()))))
        ShowPage(PanelStartPage(0x0409)); // a language without pages shows the English ones
    return true;
}

bool CRixoPanel::ShowPage(const std::string& path)
{
    if (!m_archiveRead)
        return false;
    PanelSource source(m_archive);
    std::optional<PanelPage> page = source.Page(path);
    if (!page)
        return false;
    m_page = std::move(*page);
    m_pagePath = path;
    m_scroll = 0;
    m_laidWidth = -1;
    if (m_hwnd) {
        SetWindowTextW(m_hwnd, Widen(m_page.title).c_str());
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
    return true;
}

HFONT CRixoPanel::Font(int index)
{
    if (m_fonts.empty()) {
        m_fonts.reserve(kFontCount);
        for (int i = 0; i < 4; ++i)
            m_fonts.emplace_back(CreateSimpleFont("Arial", -15, (i & 1) ? FW_BOLD : FW_NORMAL, (i & 2) != 0));
        m_fonts.emplace_back(CreateSimpleFont("Arial", -26, FW_BOLD));
        m_fonts.emplace_back(CreateSimpleFont("Arial", -19, FW_BOLD));
        m_fonts.emplace_back(CreateSimpleFont("Arial", -16, FW_BOLD));
    }
    return m_fonts[static_cast<size_t>(std::clamp(index, 0, kFontCount - 1))].Get();
}

const CAlphaBitmap* CRixoPanel::PictureOf(const std::string& src)
{
    const std::string path = ResolvePanelPath(src, m_pagePath);
    auto found = m_pictures.find(path);
    if (found == m_pictures.end()) {
        PanelSource source(m_archive);
        std::unique_ptr<CPicture> picture = source.Picture(path);
        auto bitmap = std::make_unique<CAlphaBitmap>();
        if (!picture || !bitmap->FromPicture(*picture))
            bitmap.reset();
        found = m_pictures.emplace(path, std::move(bitmap)).first;
    }
    return found->second.get();
}

void CRixoPanel::Layout()
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    m_laidWidth = client.right;
    m_words.clear();
    m_placed.clear();
    m_links.clear();
    const int left = kMargin;
    const int right = std::max<int>(client.right - kMargin, left + 120);
    HDC dc = GetDC(m_hwnd);
    int y = kMargin;
    if (!m_archiveRead || m_pagePath.empty()) {
        PanelBlock message;
        message.runs.push_back({AnsiToUtf8(LoadText(IDS_PANEL_UNREADABLE)), false, false, {}});
        LayOutText(dc, message, kBody, left, right, y);
    }
    for (const PanelBlock& block : m_page.blocks) {
        switch (block.kind) {
        case PanelBlockKind::Picture: {
            const CAlphaBitmap* bitmap = PictureOf(block.picture);
            if (!bitmap) { // an unreadable picture shows its alternative text
                if (!block.runs.empty())
                    LayOutText(dc, block, kBody, left, right, y);
                break;
            }
            int width = bitmap->Width(), height = bitmap->Height();
            if (width > right - left) { // wide pictures shrink to the column, keeping their shape
                height = static_cast<int>(static_cast<long long>(height) * (right - left) / std::max(width, 1));
                width = right - left;
            }
            m_placed.push_back({{left, y, left + width, y + height}, bitmap});
            if (!block.runs.empty() && !block.runs[0].link.empty()) { // a picture inside a link
                m_links.push_back(block.runs[0].link);
                m_words.push_back({{left, y, left + width, y + height}, L"", kBody, static_cast<int>(m_links.size() - 1), kLinkColour, left});
            }
            y += height + 12;
            break;
        }
        case PanelBlockKind::Rule:
            m_placed.push_back({{left, y + 4, right, y + 6}, nullptr});
            y += 16;
            break;
        case PanelBlockKind::Heading1: LayOutText(dc, block, kHeading1, left, right, y); y += 4; break;
        case PanelBlockKind::Heading2: y += 6; LayOutText(dc, block, kHeading2, left, right, y); break;
        case PanelBlockKind::Heading3: y += 2; LayOutText(dc, block, kHeading3, left, right, y); break;
        case PanelBlockKind::ListItem: {
            SelectInDC select(dc, Font(kBody));
            const SIZE bullet = Measure(dc, L"\x2022");
            m_words.push_back({{left + 6, y, left + 6 + bullet.cx, y + bullet.cy}, L"\x2022", kBody, -1, kHeadingColour, left + 6});
            LayOutText(dc, block, kBody, left + kListIndent, right, y);
            y -= 4; // list items stand closer together than paragraphs
            break;
        }
        case PanelBlockKind::Paragraph: LayOutText(dc, block, kBody, left, right, y); break;
        }
    }
    ReleaseDC(m_hwnd, dc);
    m_contentHeight = y + kMargin;
    UpdateScrollBar();
}

// Breaks a block's runs into words and places them line by line between left and right.
void CRixoPanel::LayOutText(HDC dc, const PanelBlock& block, int font, int left, int right, int& y)
{
    const bool heading = font != kBody;
    SelectInDC select(dc, Font(font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading + 2;
    int x = left;
    bool spaceBefore = false;
    size_t lineStart = m_words.size();
    auto newLine = [&] {
        x = left;
        y += lineHeight;
        lineStart = m_words.size();
        spaceBefore = false;
    };
    for (const PanelRun& run : block.runs) {
        const int runFont = heading ? font : kBody + (run.bold ? 1 : 0) + (run.italic ? 2 : 0);
        int link = -1;
        if (!run.link.empty()) {
            m_links.push_back(run.link);
            link = static_cast<int>(m_links.size() - 1);
        }
        const COLORREF colour = link >= 0 ? kLinkColour : heading ? kHeadingColour : kTextColour;
        SelectInDC runSelect(dc, Font(runFont));
        const std::wstring text = Widen(run.text);
        const int space = Measure(dc, L" ").cx;
        size_t i = 0;
        while (i < text.size()) {
            if (text[i] == L'\n') {
                newLine();
                ++i;
                continue;
            }
            if (text[i] == L' ') {
                spaceBefore = true;
                ++i;
                continue;
            }
            size_t end = i;
            while (end < text.size() && text[end] != L' ' && text[end] != L'\n')
                ++end;
            const std::wstring word = text.substr(i, end - i);
            i = end;
            const SIZE size = Measure(dc, word);
            int start = x + (spaceBefore && m_words.size() > lineStart ? space : 0);
            if (start + size.cx > right && m_words.size() > lineStart) {
                newLine();
                start = x;
            }
            const bool sameLink = m_words.size() > lineStart && !run.link.empty() && m_words.back().link >= 0 &&
                                  m_links[static_cast<size_t>(m_words.back().link)] == run.link;
            const int underlineLeft = sameLink ? m_words.back().box.right : start;
            m_words.push_back({{start, y, start + size.cx, y + lineHeight}, word, runFont, link, colour, underlineLeft});
            x = start + size.cx;
            spaceBefore = false;
        }
    }
    y += lineHeight + (heading ? 6 : 10);
}

void CRixoPanel::UpdateScrollBar()
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(m_contentHeight - 1, 0);
    info.nPage = static_cast<UINT>(std::max<LONG>(client.bottom, 0));
    m_scroll = std::clamp(m_scroll, 0, std::max(0, m_contentHeight - static_cast<int>(client.bottom)));
    info.nPos = m_scroll;
    SetScrollInfo(m_hwnd, SB_VERT, &info, TRUE);
}

void CRixoPanel::ScrollTo(int position)
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int limit = std::max(0, m_contentHeight - static_cast<int>(client.bottom));
    position = std::clamp(position, 0, limit);
    if (position == m_scroll)
        return;
    m_scroll = position;
    SetScrollPos(m_hwnd, SB_VERT, m_scroll, TRUE);
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void CRixoPanel::Paint()
{
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(m_hwnd, &ps);
    RECT client;
    GetClientRect(m_hwnd, &client);
    if (m_laidWidth != client.right)
        Layout();
    OffscreenBuffer buffer(screen, client);
    HDC dc = buffer.DC();
    GdiObject<HBRUSH> background(CreateSolidBrush(kBackground));
    FillRect(dc, &client, background.Get());
    for (const Placed& placed : m_placed) {
        RECT box = placed.box;
        OffsetRect(&box, 0, -m_scroll);
        if (box.bottom < 0 || box.top > client.bottom)
            continue;
        if (placed.bitmap) {
            placed.bitmap->DrawScaled(dc, box.left, box.top, box.right - box.left, box.bottom - box.top);
        } else {
            GdiObject<HBRUSH> rule(CreateSolidBrush(kRuleColour));
            FillRect(dc, &box, rule.Get());
        }
    }
    SetBkMode(dc, TRANSPARENT);
    for (const Word& word : m_words) {
        RECT box = word.box;
        OffsetRect(&box, 0, -m_scroll);
        if (word.text.empty() || box.bottom < 0 || box.top > client.bottom)
            continue;
        SelectInDC select(dc, Font(word.font));
        SetTextColor(dc, word.colour);
        TextOutW(dc, box.left, box.top, word.text.c_str(), static_cast<int>(word.text.size()));
        if (word.link >= 0) { // links are underlined
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            RECT line = {word.underlineLeft, box.top + metrics.tmAscent + 2, box.right, box.top + metrics.tmAscent + 3};
            GdiObject<HBRUSH> brush(CreateSolidBrush(word.colour));
            FillRect(dc, &line, brush.Get());
        }
    }
    buffer.CopyToTarget();
    EndPaint(m_hwnd, &ps);
}

int CRixoPanel::LinkAt(POINT client) const
{
    const POINT content = {client.x, client.y + m_scroll};
    for (const Word& word : m_words)
        if (word.link >= 0 && PtInRect(&word.box, content))
            return word.link;
    return -1;
}

void CRixoPanel::FollowLink(int link)
{
    if (link < 0 || link >= static_cast<int>(m_links.size()))
        return;
    const PanelLinkTarget target = ResolvePanelLink(m_links[static_cast<size_t>(link)], m_pagePath);
    if (const unsigned command = PanelLinkCommand(target)) {
        // Posted: switching modules destroys this view.
        PostMessageA(GetAncestor(m_hwnd, GA_ROOT), WM_COMMAND, command, 0);
    } else if (target.kind == PanelLinkKind::Page) {
        ShowPage(target.path);
    }
}

std::optional<LRESULT> CRixoPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        m_laidWidth = -1;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT point;
            GetCursorPos(&point);
            ScreenToClient(m_hwnd, &point);
            if (LinkAt(point) >= 0) {
                SetCursor(LoadCursor(nullptr, IDC_HAND));
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN: SetFocus(m_hwnd); return 0;
    case WM_LBUTTONUP: FollowLink(LinkAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))})); return 0;
    case WM_MOUSEWHEEL: ScrollTo(m_scroll - GET_WHEEL_DELTA_WPARAM(wParam) * 48 / WHEEL_DELTA); return 0;
    case WM_VSCROLL: {
        RECT client;
        GetClientRect(m_hwnd, &client);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(m_hwnd, SB_VERT, &info);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(m_scroll - 24); break;
        case SB_LINEDOWN: ScrollTo(m_scroll + 24); break;
        case SB_PAGEUP: ScrollTo(m_scroll - client.bottom + 24); break;
        case SB_PAGEDOWN: ScrollTo(m_scroll + client.bottom - 24); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(info.nTrackPos); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(m_contentHeight); break;
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_BACK || wParam == VK_HOME) {
            ShowPage(PanelStartPage(LANGIDFROMLCID(GetThreadLocale()))); // back to the welcome page
            return 0;
        }
        if (wParam == VK_DOWN || wParam == VK_UP || wParam == VK_NEXT || wParam == VK_PRIOR) {
            const int steps[] = {24, -24, 200, -200};
            const int step = steps[wParam == VK_DOWN ? 0 : wParam == VK_UP ? 1 : wParam == VK_NEXT ? 2 : 3];
            ScrollTo(m_scroll + step);
            return 0;
        }
        break;
    }
    return CQnFormView::OnMessage(message, wParam, lParam);
}

std::unique_ptr<CQnFormView> CreatePanelView() { return std::make_unique<CRixoPanel>(); }
