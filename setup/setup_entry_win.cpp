// The product's own setup: the install run shows the setup screen with its wizard, the
// uninstall run removes the installation the install record names.
#include "app/setup_entry.h"

#include "setup/install_machine_win.h"
#include "setup/install_product.h"
#include "setup/setup_screen_win.h"
#include "shell/message_box_win.h"

void RunInstall()
{
    InstallMessageBox();
    RunSetupScreen();
}

void RunUninstall(int mode)
{
    InstallMessageBox();
    CWindowsInstallMachine machine(nullptr);
    RunUninstallFlow(machine, mode != 0);
}
