// The modules of the toolbox, in the order of the module bar's buttons. A module adds its
// folder and its row here; a row without a factory shows the pending placeholder.
#include "app/module_table.h"

#include "filetools/explorer/explorer_module.h"
#include "filetools/finder/finder_module.h"
#include "picturetools/acquire/acquire_module.h"
#include "picturetools/capture/capture_module.h"
#include "picturetools/syspicture/syspicture_module.h"
#include "picturetools/translator/translator_module.h"
#include "picturetools/wallpaper/wallpaper_module.h"
#include "res/resource.h"
#include "shell/main_window_parts_win.h"
#include "shell/module_catalogue.h"
#include "shell/start_panel_win.h"
#include "systools/colours/colours_module.h"
#include "systools/datatypes/datatypes_module.h"
#include "systools/disks/disk_info_module.h"
#include "systools/info/info_module.h"
#include "systools/misc/misc_module.h"
#include "systools/panel/panel_module.h"
#include "systools/shortcuts/shortcuts_module.h"
#include "systools/tools/tools_module.h"
#include "systools/uninstall/uninstall_module.h"

namespace {
const ModuleRow kModules[] = {
    {0, IDS_MODULE_START, IDR_PIC_START, "local\\index.htm", CreateStartPanelView},
    {18, IDS_MODULE_ONLINE, IDR_PIC_ONLINE, "local\\index.htm", CreatePanelView},
    {13, IDS_MODULE_EXPLORER, IDR_PIC_EXPLORER, "local\\qnexplorer.htm", CreateExplorerView},
    {1, IDS_MODULE_SYSPICTURE, IDR_PIC_SYSPICTURE, "local\\syspicture.htm", CreateSysPictureView},
    {3, IDS_MODULE_WALLPAPER, IDR_PIC_WALLPAPER, "local\\wallpaper.htm", CreateWallpaperView},
    {14, IDS_MODULE_TRANSLATOR, IDR_PIC_TRANSLATOR, "local\\pictranslator.htm", CreateTranslatorView},
    {15, IDS_MODULE_CAPTURE, IDR_PIC_CAPTURE, "local\\screencapture.htm", CreateCaptureView},
    {16, IDS_MODULE_ACQUIRE, IDR_PIC_ACQUIRE, "local\\acquire.htm", CreateAcquireView},
    {4, IDS_MODULE_WINCOLORS, IDR_PIC_WINCOLORS, "local\\wincolors.htm", CreateWinColorView},
    {5, IDS_MODULE_TOOLS, IDR_PIC_TOOLS, "local\\tools.htm", CreateToolsView},
    {8, IDS_MODULE_FINDER, IDR_PIC_FINDER, "local\\qnfinder.htm", CreateFinderView},
    {2, IDS_MODULE_WINDOWS, IDR_PIC_WINDOWS, "local\\windows.htm", CreateWindowsInfoView},
    {10, IDS_MODULE_FONTS, IDR_PIC_FONTS, "local\\fonts.htm", CreateFontsView},
    {17, IDS_MODULE_SHORTCUTS, IDR_PIC_SHORTCUTS, "local\\appshortcuts.htm", CreateShortcutsView},
    {9, IDS_MODULE_UNINSTALL, IDR_PIC_UNINSTALL, "local\\uninstall.htm", CreateUninstallView},
    {12, IDS_MODULE_DATATYPES, IDR_PIC_DATATYPES, "local\\datatype.htm", CreateDataTypeView},
    {11, IDS_MODULE_DISKINFO, IDR_PIC_DISKINFO, "local\\diskinfo.htm", CreateDiskInfoView},
    {7, IDS_MODULE_SYSINFO, IDR_PIC_SYSINFO, "local\\sysinfo.htm", CreateSystemInfoView},
    {6, IDS_MODULE_MISC, IDR_PIC_MISC, "local\\misc.htm", CreateMiscView},
};

// What modules add to the main window beyond their views.
const MainWindowPartFactory kMainWindowParts[] = {CreateTwainLink};
} // namespace

std::span<const ModuleRow> ProgramModules() { return kModules; }

void InstallProgramModules()
{
    SetModuleTable(kModules);
    SetMainWindowPartFactories(kMainWindowParts);
}
