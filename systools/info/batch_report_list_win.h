#pragma once
// A report list that holds back the control's refresh while a fill adds many rows and cells:
// one refresh at the end instead of one per row and cell.
#include "shell/report_list_win.h"

class CBatchReportList : public CReportList {
public:
    void BeginBatch() { m_batch = true; }
    void EndBatch()
    {
        m_batch = false;
        FinishFill();
    }

protected:
    void OnRowsChanged() override
    {
        if (!m_batch)
            CReportList::OnRowsChanged();
    }

private:
    bool m_batch = false;
};
