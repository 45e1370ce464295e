#pragma once
// Command ids of the main window besides those of the menu.
#include <windows.h>

enum : UINT {
    ID_HELP_CONTENTS = 32801,
    ID_APP_ABOUT_QUENTA = 32844,
    // Shows the help page of the current module (the caption bar's help zone).
    ID_SHOW_MODULE_HELP = 0x8300,
    // ID_SWITCH_MODULE_FIRST + module id switches to that module (the module buttons send
    // these too, so other programs can drive the window the same way).
    ID_SWITCH_MODULE_FIRST = 0x8400,
    ID_SWITCH_MODULE_LAST = ID_SWITCH_MODULE_FIRST + 18,
};
