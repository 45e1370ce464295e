#include "shell/main_window_parts_win.h"

#include "framework/frame.h"

namespace {
std::span<const MainWindowPartFactory> g_factories;
}

void SetMainWindowPartFactories(std::span<const MainWindowPartFactory> factories) { g_factories = factories; }

void CMainWindowParts::Create(HWND mainWindow)
{
    Destroy();
    for (MainWindowPartFactory factory : g_factories)
        if (std::unique_ptr<CMainWindowPart> part = factory ? factory(mainWindow) : nullptr)
            m_parts.push_back(std::move(part));
    if (!m_parts.empty())
        m_filter = AddMessageFilter([this](const MSG& msg) {
            for (const std::unique_ptr<CMainWindowPart>& part : m_parts)
                if (part->PreTranslateMessage(msg))
                    return true;
            return false;
        });
}

void CMainWindowParts::Destroy()
{
    if (m_filter) {
        RemoveMessageFilter(m_filter);
        m_filter = 0;
    }
    while (!m_parts.empty())
        m_parts.pop_back();
}
