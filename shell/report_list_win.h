#pragma once
// The report list control: a virtual list view that shows a CReportModel, paints its rows in
// the two alternating backgrounds of the list print settings, sorts by a clicked column and
// prints itself (rows, or one picture) with header and footer bands.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "framework/print.h"
#include "framework/window.h"
#include "shell/gdi_helpers_win.h"
#include "shell/print_layout.h"
#include "shell/report_model.h"

class CPicture;
class CQnProgress;

// A column as a module declares it: header text id, width, sort kind and alignment.
struct ColumnLayout {
    unsigned textId;
    int width = 100;
    SortKind sort = SortKind::TextNoCase;
    int alignment = AlignLeft;
};

class CReportList : public CWindow, public CReportModel {
public:
    CReportList();
    ~CReportList() override;

    // Creates the list view as a child of `parent`.
    bool CreateList(HWND parent, UINT id, const RECT& rect, DWORD extraStyle = 0);
    // Takes the place of a list control of a dialog template (same id, position and style).
    bool ReplaceControl(HWND dialog, UINT id);

    int ColumnPixelWidth(int column) const override;
    // Appends the columns with their headers in the current language.
    void AddColumns(std::initializer_list<ColumnLayout> columns);

    void SetImageList(HIMAGELIST list, int kind);
    // The first popup of menu resource `menuId` (in the language of the texts) at the mouse point
    // of the message being handled (a right click); its commands go to `owner`. With
    // `needsSelection`, every item is grayed while no row is selected.
    void ShowContextMenu(UINT menuId, HWND owner, bool needsSelection = false);
    void SetProgressSink(CQnProgress* sink) { m_progress = sink; }
    CQnProgress& ProgressSink() const;
    // A picture selects the picture mode (its file name becomes the print title); null: rows.
    void SetPicture(const CPicture* picture);
    bool IsPictureMode() const { return m_picture != nullptr; }
    void FinishFill();
    // Selection as the control shows it.
    std::vector<int> SelectedRowsOfControl() const;
    // Deletes the rows in one pass and leaves nothing selected.
    void RemoveRows(const std::vector<int>& rows);

    // Printing, called by the module view.
    void BeginPrinting(HDC dc, CPrintInfo& info);
    void PrintPage(HDC dc, CPrintInfo& info);
    void EndPrinting();
    int PageCount() const { return m_layout.pageCount; }

protected:
    void OnRowsChanged() override;
    void OnColumnsChanged() override;
    std::optional<LRESULT> OnReflectedNotify(NMHDR* header) override;
    virtual void OnColumnClick(int column);

private:
    bool SetUp();
    void PullSelection();
    void PushSelection();
    void DrawBand(HDC dc, const PrintRect& band, HFONT font, const std::string& left, const std::string& centre,
                  const std::string& right, bool header, const CPrintInfo& info);
    void DrawRows(HDC dc, const CPrintInfo& info);

    COLORREF m_background[2] = {RGB(255, 255, 255), RGB(255, 255, 240)};
    const CPicture* m_picture = nullptr;
    CQnProgress* m_progress = nullptr;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    bool m_syncing = false;

    // State of the current print job.
    ListPrintSettings m_print;
    PrintLayout m_layout;
    GdiObject<HFONT> m_headerFont, m_footerFont, m_textFont, m_tabHeaderFont;
    std::unique_ptr<CPicture> m_logo;
    std::string m_jobTitle;
};
