#pragma once
// The uninstaller (module 9): lists the programs of the system's uninstall registry, runs an
// entry's uninstall command and refills, adds entries, edits an entry's name and command and
// deletes entries. Its form is IDD_UNINSTALL; rows carry entry indexes.
#include <optional>
#include <string>
#include <vector>

#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "systools/uninstall/uninstall_entries.h"
#include "systools/uninstall/uninstall_icons_win.h"

// The entry list, which remembers the order the user chose so that a refill keeps it.
class CUninstallList : public CReportList {
public:
    void SortAsChosen();

protected:
    void OnColumnClick(int column) override;

private:
    int m_column = -1;
    bool m_ascending = true;
};

class CUninst : public CQnFormView {
public:
    CUninst();
    ~CUninst() override;
    void InitModule() override;

    // Reads the entries again from the registry and lists them, keeping the selected entry
    // selected when it is still there.
    void Fill();
    void OnAdd();
    void OnEdit();
    // Asks, then removes exactly the selected entries.
    void OnDelete();
    // Runs the selected entry's command, waits for it to end and fills again.
    void OnUninstall();

    CReportList& List() { return m_list; }
    // Indexes of the entries of the selected rows, in row order.
    std::vector<size_t> SelectedEntries() const;

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void FillKeeping(const std::string& keyName);
    void Rebuild(const std::string& keyName);
    void SelectEntryRow(const std::string& keyName);
    void ShowSelection();
    std::optional<size_t> FirstSelectedEntry() const;
    std::optional<LRESULT> OnListNotify(NMHDR* header);
    void ShowListMenu(LPARAM messagePoint);

    CUninstallList m_list;
    CUninstallIcons m_icons;
    UninstallPlace m_place;
    CModuleStatus m_status;
    CDxToolTip m_tips; // after m_status, which its texts give way to
};
