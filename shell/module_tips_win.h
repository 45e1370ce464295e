#pragma once
// The balloon tips of a module form's controls: each tip's text stands in the status bar while
// it shows, and the module's own status text comes back after.
#include <windows.h>

#include <span>

#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_form_win.h"
#include "shell/module_status_win.h"

void AttachModuleTips(CDxToolTip& tips, HWND form, const CModuleStatus& status, std::span<const FormText> texts);
