#pragma once
// Applications shortcuts (module 17): a tab per shell place (desktop, quick launch, start-up,
// each for the user and for all users) listing its links with their targets; the selected link
// is renamed or retargeted with Apply, links are added, deleted, started, dropped files become
// links, and the shell's own menu works on the selected links. Its form is IDD_SHORTCUTS.
#include <windows.h>

#include <string>
#include <vector>

#include "shell/apply_tracker_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/image_tab_strip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "shell/row_records.h"
#include "systools/shortcuts/shortcut_changes.h"
#include "systools/shortcuts/shortcut_files_win.h"
#include "systools/shortcuts/shortcut_places.h"

class CQnRun : public CQnFormView {
public:
    CQnRun();
    ~CQnRun() override;
    void InitModule() override;

    // Shows the links of tab `tab` (as choosing the tab does).
    void ShowPlace(int tab);
    // Lists the current place's links again and selects the row of `linkPath` (row 0 when it
    // is not there).
    void Fill(const std::string& linkPath = {});
    int PlaceCount() const { return static_cast<int>(m_places.size()); }
    const std::string& PlaceFolderPath() const;
    const std::string& StatusText() const { return m_status.Text(); }

    // The user's gestures, callable by tests as the buttons and keys call them.
    void AddShortcutFromDialog();
    void AddDroppedFiles(const std::vector<std::string>& files);
    bool ApplyChanges();
    void DeleteSelected();
    void RunSelected();

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    struct Entry {
        std::string linkPath;
        std::string target;
    };

    const Entry* EntryOfRow(int row) const;
    const Entry* SelectedEntry() const;
    std::vector<std::string> SelectedLinkPaths() const;
    void OnSelectionChanged();
    void ShowLargeIcon(const std::string& path);
    void BrowseForProgram();
    void ShowShellMenu(LPARAM messagePoint);
    bool ConfirmReplace(const std::string& name) const;
    // Tells the user what went wrong; true when the change stands as asked.
    bool ReportChange(ShortcutChange change, const std::string& name, const std::string& command,
                      const std::string& linkPath) const;
    void UpdateStatus();

    CImageTabStrip m_tabs;
    CReportList m_list;
    CRowRecords<Entry> m_records;
    CApplyTracker m_apply;
    CDxToolTip m_tips;
    CModuleStatus m_status;
    CShortcutFiles m_files;
    std::vector<PlaceFolder> m_places;
    int m_place = -1;
    HICON m_largeIcon = nullptr;
    bool m_filling = false;
};
