#pragma once
// The finder's result list: a report list that can hold back its refresh while a search adds
// rows one by one, so that thousands of rows cost one refresh per paint round instead of
// several per row.
#include "shell/report_list_win.h"

class CFinderResultList : public CReportList {
public:
    // While held, added rows reach the control only at the next Release or Flush.
    void Hold() { m_held = true; }
    void Flush()
    {
        if (m_held && m_pending)
            CReportList::OnRowsChanged();
        m_pending = false;
    }
    void Release()
    {
        Flush();
        m_held = false;
    }

protected:
    void OnRowsChanged() override
    {
        if (m_held)
            m_pending = true;
        else
            CReportList::OnRowsChanged();
    }

private:
    bool m_held = false;
    bool m_pending = false;
};
