#pragma once
// The pictures translator (module 14): a list of picture files, the output format, depth,
// JPEG quality or compression and output folder, and a batch run that writes every listed
// file in the chosen format into the output folder. The form is IDD_TRANSLATOR (res/forms.rc).
#include <string>
#include <vector>

#include "picturetools/translator/convert_item.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "shell/row_records.h"

class CQnConvert : public CQnFormView {
public:
    CQnConvert();
    ~CQnConvert() override { SetReportList(nullptr); }

    void InitModule() override;

    // Adds one file when a codec recognises it; loud adding tells the user when none does.
    bool AddFile(const std::string& path, bool loud);
    // Adds several files with the main window's progress; `rememberFolder` keeps the folder of
    // each file added as the file dialog's next starting folder.
    void AddFiles(const std::vector<std::string>& paths, bool loud, bool rememberFolder = false);
    // Adds every file directly in `folder`, quietly.
    void AddFolder(const std::string& folder);
    void RemoveSelected();
    // The batch run over every item in list order.
    void StartBatch();

    // Selects the output format of codec table index `codecIndex` and refills the depths.
    bool SelectFormat(int codecIndex);
    size_t ItemCount() const { return m_items.Count(); }
    const ConvertItem& ItemAtRow(int row) const;
    CReportList& List() { return m_list; }
    const std::string& StatusText() const { return m_status.Text(); }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void SetUpList();
    void RefillDepths();
    void OnListChanged();
    void UpdateStartButton();
    void OnAddFilesClicked();
    void OnBrowseClicked(bool forOutput);
    void ViewItem(int row);
    void ShowListMenu();
    std::optional<LRESULT> OnListNotify(NMHDR* header);
    std::vector<std::string> PathsOfRows(const std::vector<int>& rows) const;

    CReportList m_list;
    CRowRecords<ConvertItem> m_items;
    CModuleStatus m_status;
    bool m_running = false; // a batch run is under way (the overwrite question runs a message loop)
    CDxToolTip m_tips; // after m_status, which its texts give way to
};
