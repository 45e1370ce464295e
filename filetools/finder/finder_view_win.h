#pragma once
// The finder (module 8): searches files by name patterns in a folder, a folder tree or on all
// fixed disks, and lists the results (all, by folder, by drive) for the file actions, saving
// and printing. Its form is IDD_FINDER.
#include <array>
#include <string>
#include <vector>

#include "filetools/finder/finder_result_win.h"
#include "filetools/finder/result_list_win.h"
#include "shell/controls/dx_combo_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/image_tab_strip_win.h"
#include "filetools/common/file_action_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"

class CQnSearch : public CQnFormView, private IFileRowRecords {
public:
    static constexpr int kAllResultsTab = 0, kFoldersTab = 1;

    CQnSearch();
    ~CQnSearch() override;
    void InitModule() override;

    // The Start/Stop button: starts a search, or asks the running one to stop.
    void OnStartClicked();
    bool IsRunning() const { return m_running; }
    // Shows tab `tab` (all results, folders or a drive) and rebuilds the list for it.
    void ShowTab(int tab);

    CReportList& List() { return m_list; }
    CImageTabStrip& Tabs() { return m_tabs; }
    CDxCombo& FolderBox() { return m_folders; }
    const std::string& StatusText() const { return m_status.Text(); }
    // The result record a row of the list shows, or null (the folders tab has none).
    const FileRecord* ResultOfRow(int row) const;

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    struct DriveTab {
        std::string label; // the drive's root, "C:\"
        int image = -1;
        bool inserted = false;
    };

    void ReplaceFolderBox();
    void FillFolderBox();
    void ReadSettingsIntoControls();
    void RunSearch();
    void PumpWhileRunning();
    void AddResult(const std::string& path);
    void AppendRow(size_t record);
    void NoteDrive(char letter);
    void ClearResults();
    void SetResultColumns();
    void ListResults(char drive);
    void ListFolders();
    void AfterListChange();
    void OnSelectFolder();
    void RunFileAction(int action);
    // IFileRowRecords: the result rows' paths come from their records.
    std::string PathOfRow(int row) const override;
    void RefreshRow(int row, const std::string& path) override;
    void FillCells(int row, const FileRecord& record);
    std::optional<LRESULT> OnListNotify(NMHDR* header);
    bool AllDisksChosen() const;
    char DriveOfTab(int tab) const;

    CFinderResultList m_list;
    FinderRecordBuilder m_builder;
    DWORD m_lastPaint = 0; // tick of the last paint round during a search
    CImageTabStrip m_tabs;
    CDxCombo m_folders;
    CModuleStatus m_status;
    CDxToolTip m_tips; // after m_status, which its texts give way to
    std::array<DriveTab, 26> m_drives{};
    std::vector<HICON> m_icons; // the folder box's drive icons, which the box only draws
    std::string m_allDisksText;
    bool m_running = false;
    int m_shownTab = kAllResultsTab;
};
