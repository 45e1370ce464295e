#pragma once
// The data types (module 12): every extension of the class registry with its type name,
// command line and icon; the selected type can be edited and applied, new types added and
// types removed. Its form is IDD_DATATYPES.
#include <map>
#include <string>

#include "shell/apply_tracker_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"

// The types' list: a click on a column header sorts by it, the same column again reverses.
class CDataTypeList : public CReportList {
public:
    // Sorts by `column` in the given order and remembers it for the next header click.
    void SortBy(int column, bool ascending);

protected:
    void OnColumnClick(int column) override;

private:
    int m_column = -1;
    bool m_ascending = true;
};

class CDataType : public CQnFormView {
public:
    CDataType();
    ~CDataType() override;
    void InitModule() override;

    // Reads the class registry again and fills the list (sorted by name, row 0 selected).
    void Refill();
    // The selected rows' types, after asking.
    void RemoveSelected();
    // Opens the new-type dialog and shows the type it wrote.
    void AddNewType();

    CDataTypeList& List() { return m_list; }
    const std::string& StatusText() const { return m_status.Text(); }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void FillList();
    void ShowRow(int row, int entryIndex);
    int ImageOfSlot(int slot);
    void RefreshIcons(int entryIndex);
    void ShowSelection();
    void ShowLargeIcon(HICON icon, bool owned);
    void UpdateCount();
    int SelectedEntry() const;
    int RowOfEntry(int entryIndex) const;
    void SelectOnly(int row);
    bool ApplyChanges();
    void OnChangeIcon();
    void OnSelectProgram();
    std::optional<LRESULT> OnListNotify(NMHDR* header);

    CDataTypeList m_list;
    HIMAGELIST m_images = nullptr;      // the rows' small icons, one per icon-cache slot shown
    std::map<int, int> m_imageOfSlot;  // icon-cache slot -> image
    CModuleStatus m_status;
    CDxToolTip m_tips; // after m_status, which its texts give way to
    CApplyTracker m_apply;
    std::string m_pendingIcon; // the icon location Apply writes
    HICON m_ownedIcon = nullptr; // the large icon shown when it is not the cache's
};
