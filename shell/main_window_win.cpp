// The main window of a toolbox run, created by the application object.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "base/text.h"
#include "framework/frame.h"
#include "shell/main_frame_win.h"
#include "shell/message_box_win.h"

namespace {
std::string LoadProgramText(UINT id) { return LoadText(id); }
}

bool CreateMainWindow(int showCommand)
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    SetStringLoader(LoadProgramText);
    InstallMessageBox();
    InstallFrameworkMessageHook();
    // The frame lives until its window is destroyed; it is released with the process.
    static CMainFrame* frame = nullptr;
    if (!frame)
        frame = new CMainFrame();
    if (!frame->CreateFrame(showCommand)) {
        delete frame;
        frame = nullptr;
        return false;
    }
    return true;
}
