#include "shell/module_factory_win.h"

#include "shell/module_catalogue.h"
#include "shell/pending_module_view_win.h"

std::unique_ptr<CQnFormView> CreateModuleView(int moduleId)
{
    if (!IsListedModule(moduleId))
        return nullptr;
    const ModuleRow& row = CatalogueRow(moduleId);
    if (row.factory)
        return row.factory();
    return std::make_unique<CPendingModuleView>(row.titleId);
}
