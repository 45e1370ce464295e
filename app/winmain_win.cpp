// Entry of the toolbox program.
#include <windows.h>

#include "app/module_table.h"
#include "app/quenta_app_win.h"
#include "app/services.h"

namespace {
// Publishes "no window" in the window registry when the process ends, however it ends.
struct WindowEntryClearer {
    ~WindowEntryClearer() { ClearWindowEntry(); }
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    WindowEntryClearer clearer;
    InstallProgramModules();
    try {
        CQuentaApp app(instance, GetCommandLineA(), showCommand);
        return app.InitInstance() ? app.Run() : 0;
    } catch (...) {
        return 1;
    }
}
