#pragma once
// Windows information (module 2): the registered owner and organisation, the information list
// (product, version, display, folders) and three tabs listing the shared DLLs, the system DLLs
// and the system programs with their version information. Each tab's files are examined on its
// first use and kept for the whole run. Its form is IDD_WININFO.
#include <windows.h>

#include <memory>

#include "shell/image_tab_strip_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "systools/info/batch_report_list_win.h"
#include "systools/info/system_files.h"
#include "systools/info/windows_info_rows.h"

struct FileRecord;

class CWinInfo : public CQnFormView {
public:
    CWinInfo();
    ~CWinInfo() override;
    void InitModule() override;

    // The running system's facts: version key values, display and folders.
    static WindowsFacts ReadWindowsFacts();
    // Shows a file tab, examining its files first when this run has not yet done so.
    void ShowTab(int tab);
    int CurrentTab() const { return m_tab; }

    bool RunCommand(UINT id) override;
    bool OnPreparePrinting(CPrintInfo& info) override;
    void OnEndPrinting(HDC dc, CPrintInfo& info) override;

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void BuildTabRecords(SystemFileTab tab);
    void FillFiles();
    void AddFileIcons();

    CReportList m_info;
    CBatchReportList m_files;
    CImageTabStrip m_tabs;
    HIMAGELIST m_fileIcons = nullptr; // the file-type icon cache's small icons, by slot
    WindowsFacts m_facts;
    int m_tab = -1;
    // Cleared when the view goes: a module switch that arrives while a tab's files are being
    // examined must not find the examination writing into a view that is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
