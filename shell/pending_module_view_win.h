#pragma once
// Stand-in view of a module not written yet: an empty form that shows the module's title.
#include "shell/qn_form_view_win.h"

class CPendingModuleView : public CQnFormView {
public:
    explicit CPendingModuleView(unsigned titleId);

protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    unsigned m_titleId;
};
