#pragma once
// The view of a module, created afresh at every switch from the program's module table.
#include <memory>

#include "shell/qn_form_view_win.h"

// The row's own view, the pending placeholder for a row without factory, or null for a module
// id the table does not list.
std::unique_ptr<CQnFormView> CreateModuleView(int moduleId);
