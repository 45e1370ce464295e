#pragma once
// System information (module 7): the processor, the address space and the memory figures in a
// name/value list whose name column takes a third of its width. Its form is IDD_SYSINFO.
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "systools/info/system_info_rows.h"

class CSysInfo : public CQnFormView {
public:
    CSysInfo();
    ~CSysInfo() override;
    void InitModule() override;

    // The running system's figures (GetSystemInfo, GlobalMemoryStatusEx, GetVersionEx).
    static SystemFacts ReadSystemFacts();

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CReportList m_list;
};
