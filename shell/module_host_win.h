#pragma once
// What module views need from the main window, without knowing the main window class.
#include <string>

class CQnFormView;
class CPicture;

class IModuleHost {
public:
    virtual ~IModuleHost() = default;
    virtual void SetActiveModuleView(CQnFormView* view) = 0;
    virtual void ModuleViewDestroyed(CQnFormView* view) = 0;
    // Hides (preview) or shows again the caption bar and the module button bar.
    virtual void ShowNavigationBars(bool show) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual bool IsBusy() const = 0;
    // The message pane of the status bar.
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetWindowTitleExtra(const std::string* extra) = 0;
    virtual void SwitchModule(int moduleId) = 0;
    virtual void PostCommand(unsigned id) = 0;
};

// The main window, or null before it exists (and in tests without one).
IModuleHost* ModuleHost();
void SetModuleHost(IModuleHost* host);
