#include "systools/info/font_list_win.h"

#include <commctrl.h>

CFontList::~CFontList()
{
    ReleaseFonts();
    if (m_rowHeight)
        ImageList_Destroy(m_rowHeight);
}

void CFontList::ReleaseFonts()
{
    for (HFONT font : m_fonts)
        if (font)
            DeleteObject(font);
    m_fonts.clear();
}

void CFontList::ShowFamilies(std::vector<FontFamily> families)
{
    if (!m_rowHeight && Hwnd()) {
        m_rowHeight = ImageList_Create(1, kRowHeight, ILC_COLOR, 0, 1);
        SetImageList(m_rowHeight, LVSIL_SMALL);
    }
    DeleteAllRows();
    ReleaseFonts();
    m_families = std::move(families);
    m_fonts.assign(m_families.size(), nullptr);
    for (size_t i = 0; i < m_families.size(); ++i)
        InsertRow(RowCount(), m_families[i].face, -1, static_cast<intptr_t>(i));
    FinishFill();
}

const FontFamily* CFontList::FamilyOfRow(int row) const
{
    const intptr_t index = RowData(row);
    if (row < 0 || row >= RowCount() || index < 0 || static_cast<size_t>(index) >= m_families.size())
        return nullptr;
    return &m_families[static_cast<size_t>(index)];
}

HFONT CFontList::FontOfRow(int row)
{
    const FontFamily* family = FamilyOfRow(row);
    if (!family)
        return nullptr;
    HFONT& font = m_fonts[static_cast<size_t>(RowData(row))];
    if (!font) {
        LOGFONTA description{};
        description.lfHeight = -kFaceHeight;
        description.lfWeight = FW_NORMAL;
        description.lfCharSet = static_cast<BYTE>(family->charSet);
        lstrcpynA(description.lfFaceName, family->face.c_str(), LF_FACESIZE);
        font = CreateFontIndirectA(&description);
    }
    return font;
}

std::optional<LRESULT> CFontList::OnReflectedNotify(NMHDR* header)
{
    std::optional<LRESULT> result = CReportList::OnReflectedNotify(header);
    if (header->code != NM_CUSTOMDRAW)
        return result;
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
        if (HFONT font = FontOfRow(static_cast<int>(draw->nmcd.dwItemSpec))) {
            SelectObject(draw->nmcd.hdc, font);
            return CDRF_NEWFONT;
        }
    return result;
}
