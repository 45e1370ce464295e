#pragma once
// The font list: a report list whose rows each show a font family's name drawn in that family's
// own face (the row's data is the family's index). Rows are tall enough for the faces; the
// fonts are made when a row is first drawn and kept until the list ends.
#include <vector>

#include "shell/report_list_win.h"
#include "systools/info/font_families.h"

class CFontList : public CReportList {
public:
    static constexpr int kFaceHeight = 18; // pixels of each row's face
    static constexpr int kRowHeight = 26;

    ~CFontList() override;
    // Replaces the rows with one per family, in the order given.
    void ShowFamilies(std::vector<FontFamily> families);
    const FontFamily* FamilyOfRow(int row) const;

protected:
    std::optional<LRESULT> OnReflectedNotify(NMHDR* header) override;

private:
    HFONT FontOfRow(int row);
    void ReleaseFonts();

    std::vector<FontFamily> m_families;
    std::vector<HFONT> m_fonts; // by family; null until first drawn
    HIMAGELIST m_rowHeight = nullptr; // an empty image list that only sets the row height
};
