#pragma once
// The explorer (module 13): a folder tree on the left and four tabs over the chosen folder: its
// files as large icons, its pictures as thumbnails, a report of its files and a summary of the
// folder. The selected files take the shared file actions. Its form is IDD_EXPLORER.
#include <windows.h>

#include <string>

#include "filetools/common/file_action_win.h"
#include "filetools/properties/file_record.h"
#include "shell/controls/dx_dir_tree_win.h"
#include "shell/deferred_icon_resolver_win.h"
#include "shell/image_tab_strip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "shell/row_records.h"

class CQnExplorer : public CQnFormView, private IFileRowRecords {
public:
    enum Tab { TabFiles = 0, TabPictures = 1, TabReport = 2, TabInfo = 3 };

    CQnExplorer();
    ~CQnExplorer() override;
    void InitModule() override;

    // Shows `folder` (selecting it in the tree) / another tab, as the user's choice would.
    bool ShowFolder(const std::string& folder);
    void ShowTab(int tab);
    const std::string& Folder() const { return m_folder; }
    int CurrentTab() const { return m_tab; }
    // The current tab's list (null on no tab).
    CReportList* CurrentList();
    // Runs a file action on the current list's selection, then drops the rows whose files went.
    void RunFileAction(int action, int argument = 0);
    const std::string& StatusText() const { return m_status.Text(); }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    struct ThumbnailNote; // an engine event, posted from its worker to the view

    struct PendingIcon {
        int image;
        std::string path;
    };

    void OnFolderOrTabChanged();
    void FillFiles();
    void FillPictures();
    void StartThumbnails();
    void OnThumbnailNote(ThumbnailNote& note);
    void FillReport();
    void FillInfo();
    bool ResolveFileIcon(const PendingIcon& pending);
    void RemoveVanishedRows();
    void UpdateStatus();
    void LayOut(int width, int height);
    void ClearIconList();
    void AddReportRow(std::unique_ptr<FileRecord> record);
    void FillReportCells(int row, const FileRecord& record);
    std::optional<LRESULT> OnListNotify(NMHDR* header);

    // IFileRowRecords (the report's rows)
    std::string PathOfRow(int row) const override;
    void RefreshRow(int row, const std::string& path) override;

    CDxDirTree m_tree;
    CImageTabStrip m_tabs;
    CReportList m_icons, m_report, m_summary, m_picturePrinter;
    CRowRecords<FileRecord> m_records; // the report's rows
    CModuleStatus m_status;
    CDeferredIconResolver<PendingIcon> m_iconResolver;
    HIMAGELIST m_iconImages = nullptr; // the icon list's pictures, owned here
    std::string m_folder;              // with its trailing separator; empty for a tree root
    int m_tab = TabFiles;
    std::string m_shownFolder;
    int m_shownTab = -1;
    SIZE m_firstSize{};
    bool m_filling = false;
    unsigned m_thumbnailRun = 0; // notes of an earlier run are dropped
    bool m_thumbnailsStarted = false;
};
