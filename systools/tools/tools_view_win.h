#pragma once
// The tool launcher (module 5): programs the user may want to start, in four tabs (all tools,
// the maker's programs, the built-in tools, the programs of the Windows folders), as small
// icons with names. A double click starts a program; a right click shows the shell's menu for
// it; the list's own menu opens, copies, moves, deletes or shows the properties of the program
// file. Its form is IDD_TOOLS.
#include <string>

#include "filetools/common/file_action_win.h"
#include "shell/image_tab_strip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "systools/tools/list_row_tips_win.h"

struct ToolEntry;

class CQnTools : public CQnFormView, private IFileRowRecords {
public:
    CQnTools();
    ~CQnTools() override;
    void InitModule() override;

    // Shows tab `tab` (ToolTab) and fills the list from its entries.
    void ShowTab(int tab);
    int ShownTab() const { return m_shownTab; }
    // Starts the program of `row` as a double click does; false when it could not be started.
    bool RunTool(int row);
    // The entry a row of the list shows, or null.
    const ToolEntry* EntryOfRow(int row) const;
    CReportList& List() { return m_list; }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void BuildLists();
    void FillList();
    void AfterListChange();
    void ShowShellMenu(int row);
    void RunFileAction(int action);
    int FocusedRow() const;
    int RowAtMessagePoint() const;
    int RowAtPoint(POINT screenPoint) const;
    void ShowMenuForClick(int row);
    bool MenuShownForThisClick() const;
    std::optional<LRESULT> OnListNotify(NMHDR* header);
    // IFileRowRecords: the rows' paths are their entries' programs.
    std::string PathOfRow(int row) const override;
    void RefreshRow(int row, const std::string& path) override;

    CReportList m_list;
    CImageTabStrip m_tabs;
    CModuleStatus m_status;
    CListRowTips m_tips; // after m_status, which its texts stand in
    int m_shownTab = -1;
    LONG m_menuClickTime = 0; // message time of the click that last showed a menu
    bool m_menuShown = false;
};
