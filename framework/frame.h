#pragma once
// The frame window: docked bars around one view (or the print preview that stands in for
// it), a status bar, command routing (view first, then frame), menu and accelerator command
// states from the targets' tables, menu prompts in the status bar, and idle updates.
#include <functional>
#include <optional>
#include <vector>

#include "framework/command.h"
#include "framework/control_bar.h"
#include "framework/form_view.h"

class CFrameWindow : public CWindow, public CCommandTarget {
public:
    ~CFrameWindow() override;

    // The program's main frame (receives idle updates and accelerators).
    static CFrameWindow* Main();
    void MakeMain();
    void SetAccelerators(HACCEL accelerators) { m_accelerators = accelerators; }
    HACCEL Accelerators() const { return m_accelerators; }

    void AddBar(CControlBar* bar) { m_bars.push_back(bar); }
    void SetStatusBar(CStatusBar* bar) { m_statusBar = bar; }
    CStatusBar* StatusBar() const { return m_statusBar; }

    CFormView* ActiveView() const { return m_view; }
    void SetActiveView(CFormView* view) { m_view = view; }
    // The window shown in place of the view (print preview); null to show the view again.
    void SetViewReplacement(CWindow* window, CCommandTarget* target);
    CWindow* ViewReplacement() const { return m_replacement; }
    RECT ViewArea() const;
    void RecalcLayout();

    // Runs a command through the view and the frame; false when nobody owns it.
    bool RouteCommand(UINT id);
    std::optional<bool> RouteCommandState(UINT id);
    bool IsRoutedCommandEnabled(UINT id) { return RouteCommandState(id).value_or(false); }

    // Called when the message queue is empty.
    virtual void OnIdleUpdate() {}

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSizeMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommandMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroyMessage(WPARAM wParam, LPARAM lParam);

private:
    std::vector<CControlBar*> m_bars;
    CStatusBar* m_statusBar = nullptr;
    CFormView* m_view = nullptr;
    CWindow* m_replacement = nullptr;
    CCommandTarget* m_replacementTarget = nullptr;
    HACCEL m_accelerators = nullptr;
    bool m_inMenu = false;
    std::string m_textBeforeMenu;
};

// The message loop: accelerators of the main frame, dialog keys of form views and modeless
// dialogs, idle updates when the queue is empty. An exception escaping a message is dropped
// and the loop goes on. Returns the exit code of WM_QUIT.
int RunFrameworkMessageLoop();
// The same steps for a program that runs its own loop.
bool PreTranslateFrameworkMessage(MSG& msg);
// Observers see every message PreTranslateFrameworkMessage sees (also inside modal loops
// once the message hook is installed), before anything else; they cannot consume it.
// AddMessageObserver returns the id that removes the observer again.
using MessageObserver = std::function<void(const MSG& msg)>;
int AddMessageObserver(MessageObserver observer);
void RemoveMessageObserver(int id);
// Filters come after the observers and may take a message (true): a message taken is neither
// translated nor dispatched (a scanner's own events). AddMessageFilter returns the id that
// removes the filter again.
using MessageFilter = std::function<bool(const MSG& msg)>;
int AddMessageFilter(MessageFilter filter);
void RemoveMessageFilter(int id);
void RunIdleUpdate();
// Makes any message loop of this thread behave like RunFrameworkMessageLoop: a message hook
// translates accelerators and dialog keys, and idle updates run once the messages that
// were waiting have been handled.
void InstallFrameworkMessageHook();
