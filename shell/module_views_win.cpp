#include "shell/module_views.h"

std::unique_ptr<CQnFormView> CreateModuleView(int moduleId)
{
    using Factory = std::unique_ptr<CQnFormView> (*)();
    static constexpr Factory kFactories[] = {
        CreateStartPanelView, CreateSysPictureView, CreateWinInfoView,  CreateBackgroundView, CreateWinColorView,
        CreateToolsView,      CreateMiscView,       CreateSysInfoView,  CreateSearchView,     CreateUninstView,
        CreateSysFontsView,   CreateDiskInfoView,   CreateDataTypeView, CreateExplorerView,   CreateConvertView,
        CreateSnapView,       CreateTwainView,      CreateRunView,      CreateRixoPanelView,
    };
    if (moduleId < 0 || moduleId >= static_cast<int>(std::size(kFactories)))
        return nullptr;
    return kFactories[moduleId]();
}

const CDialogTemplate& EmptyFormTemplate()
{
    static const CDialogTemplate layout(WS_CHILD | DS_CONTROL, WS_EX_CONTROLPARENT, 0, 0, 400, 300, "");
    return layout;
}
