// Stand-in until module 11 is written: an empty form with its title.
#include "shell/module_views.h"
#include "shell/pending_module_view_win.h"
#include "res/resource.h"

std::unique_ptr<CQnFormView> CreateDiskInfoView() { return std::make_unique<CPendingModuleView>(IDS_MODULE_DISKINFO); }
