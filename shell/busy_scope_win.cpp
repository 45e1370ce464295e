#include "shell/busy_scope_win.h"

#include "app/main_window.h"
#include "base/progress.h"
#include "shell/module_host_win.h"

CBusyScope::CBusyScope()
{
    IModuleHost* host = ModuleHost();
    m_turnedOn = host && !host->IsBusy();
    if (m_turnedOn)
        host->SetBusy(true);
    CQnCallbackProgress& sink = MainWindowProgress();
    if (m_turnedOn || !host)
        sink.ResetCancel();
    sink.Begin();
}

CBusyScope::~CBusyScope()
{
    CQnCallbackProgress& sink = MainWindowProgress();
    sink.End(m_turnedOn);
    if (!m_turnedOn)
        return;
    sink.ResetCancel();
    if (IModuleHost* host = ModuleHost())
        host->SetBusy(false);
}

CQnProgress& CBusyScope::Progress() { return MainWindowProgress(); }

void CBusyScope::SetRange(int64_t count) { MainWindowProgress().SetRange(0, count); }

bool CBusyScope::Step(int64_t position, const std::string& text)
{
    CQnProgress& sink = MainWindowProgress();
    sink.SetText(text);
    return sink.SetPos(position);
}
