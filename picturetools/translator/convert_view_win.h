#pragma once
// The pictures translator (module 14): a list of picture files, the output format, depth,
// JPEG quality or compression and output folder, and a batch run that writes every listed
// file in the chosen format into the output folder. Its form is IDD_TRANSLATOR.
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

    // Adds one file a codec recognises; loud adding tells the user when none does.
    bool AddFile(const std::string& path, bool loud);
    // With the main window's progress; `rememberFolder` keeps each added file's folder as the
    // file dialog's next starting folder.
    void AddFiles(const std::vector<std::string>& paths, bool loud, bool rememberFolder = false);
    void AddFolder(const std::string& folder); // its files only, quietly
    void RemoveSelected();
    void StartBatch(); // every item in list order
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
    void RefillDepths();
    void OnListChanged();
    void UpdateStartButton();
    void OnAddFilesClicked();
    void OnBrowseClicked(bool forOutput);
    void ViewItem(int row);
    std::optional<LRESULT> OnListNotify(NMHDR* header);
    std::vector<std::string> PathsOfRows(const std::vector<int>& rows) const;

    CReportList m_list;
    CRowRecords<ConvertItem> m_items;
    CModuleStatus m_status;
    CDxToolTip m_tips;      // after m_status, which its texts give way to
    bool m_running = false; // a batch run is under way (the overwrite question runs a message loop)
};
