#include "shell/module_status_win.h"

#include "shell/module_host_win.h"
#include "shell/object_count.h"

namespace {
void ShowInPane(const std::string& text)
{
    if (IModuleHost* host = ModuleHost())
        host->SetStatusText(text);
}
} // namespace

void CModuleStatus::Show(const std::string& text)
{
    m_text = text;
    ShowInPane(m_text);
}

void CModuleStatus::ShowObjectCount(int rows, int selected) { Show(ObjectCountText(rows, selected)); }

void CModuleStatus::ShowTip(const std::string& tip) const { ShowInPane(tip.empty() ? m_text : tip); }
