#pragma once
// The main window: module button bar on the left, caption bar on top, status bar (or the
// progress bar while busy) at the bottom and exactly one module view in between.
#include <memory>
#include <string>

#include "framework/frame.h"
#include "shell/busy_bar_win.h"
#include "shell/caption_bar_win.h"
#include "shell/main_window_parts_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_bar_win.h"
#include "shell/module_host_win.h"
#include "shell/qn_form_view_win.h"

class CMainFrame : public CFrameWindow, public IModuleHost {
public:
    enum : UINT { IdModuleBar = 103, IdCaptionBar = 105, IdBusyBar = 107, IdDatePane = 108, IdTextPane = 110 };

    CMainFrame();
    ~CMainFrame() override;

    bool CreateFrame(int showCommand);

    // IModuleHost
    void SwitchModule(int moduleId) override;
    void SetActiveModuleView(CQnFormView* view) override { m_activeModuleView = view; }
    void ModuleViewDestroyed(CQnFormView* view) override;
    void ShowNavigationBars(bool show) override;
    void SetBusy(bool busy) override;
    bool IsBusy() const override { return m_busy; }
    void SetStatusText(const std::string& text) override { m_statusBar.SetPaneText(0, text); }
    void SetWindowTitleExtra(const std::string* extra) override;
    void PostCommand(unsigned id) override;

    void UpdateModuleCaption(int moduleId);
    void ShowModuleHelp();
    void SetProgressRange(int low, int high);
    void SetProgressPos(int position);
    void SetProgressText(const std::string& text);
    int CurrentModule() const { return m_currentModule; }
    CQnFormView* CurrentView() const { return m_view.get(); }
    CBusyBar& BusyBar() { return m_busyBar; }

    bool RunCommand(UINT id) override;
    std::optional<bool> IsCommandEnabled(UINT id) override;
    void OnIdleUpdate() override;

protected:
    WindowClassSpec ClassSpec() const override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    void OnExit();
    void OnPrintSetup();
    void OnHelpContents();
    void OnAbout();
    void OnShowModuleHelp();

private:
    void PrepareModuleButtons();
    void BindProgressSink();

    static const CommandEntry<CMainFrame> s_commands[6];
    int m_currentModule = -1;
    std::string m_moduleTitle;
    CStatusBar m_statusBar;
    CBusyBar m_busyBar;
    CModuleBar m_moduleBar;
    CCaptionBar m_captionBar;
    CDxToolTip m_toolTip; // its tool texts go to the status bar's message pane
    bool m_busy = false;
    std::unique_ptr<CQnFormView> m_view;
    CQnFormView* m_activeModuleView = nullptr;
    CMainWindowParts m_parts; // made after the first view, destroyed after the last
};

// The main window of the run, or null.
CMainFrame* MainFrame();
