#pragma once
// The view of each module, created afresh at every switch. A module's own source defines its
// factory; modules not written yet have a stand-in in shell/modules/pending/ that shows an
// empty form with the module's title (delete the stand-in when the module lands).
#include <memory>

#include "shell/qn_form_view_win.h"

// The view of a module id, or null for ids outside 0..18.
std::unique_ptr<CQnFormView> CreateModuleView(int moduleId);

std::unique_ptr<CQnFormView> CreateStartPanelView();    // 0  CStartPanel
std::unique_ptr<CQnFormView> CreateSysPictureView();    // 1  CSysPicture
std::unique_ptr<CQnFormView> CreateWinInfoView();       // 2  CWinInfo
std::unique_ptr<CQnFormView> CreateBackgroundView();    // 3  CQnBackground
std::unique_ptr<CQnFormView> CreateWinColorView();      // 4  CWinColor
std::unique_ptr<CQnFormView> CreateToolsView();         // 5  CQnTools
std::unique_ptr<CQnFormView> CreateMiscView();          // 6  CMisc
std::unique_ptr<CQnFormView> CreateSysInfoView();       // 7  CSysInfo
std::unique_ptr<CQnFormView> CreateSearchView();        // 8  CQnSearch
std::unique_ptr<CQnFormView> CreateUninstView();        // 9  CUninst
std::unique_ptr<CQnFormView> CreateSysFontsView();      // 10 CSysFonts
std::unique_ptr<CQnFormView> CreateDiskInfoView();      // 11 CDiskInfo
std::unique_ptr<CQnFormView> CreateDataTypeView();      // 12 CDataType
std::unique_ptr<CQnFormView> CreateExplorerView();      // 13 CQnExplorer
std::unique_ptr<CQnFormView> CreateConvertView();       // 14 CQnConvert
std::unique_ptr<CQnFormView> CreateSnapView();          // 15 CQnSnap
std::unique_ptr<CQnFormView> CreateTwainView();         // 16 CQnTwain
std::unique_ptr<CQnFormView> CreateRunView();           // 17 CQnRun
std::unique_ptr<CQnFormView> CreateRixoPanelView();     // 18 CRixoPanel

// The in-memory template of a form without controls (child, no border of its own).
const CDialogTemplate& EmptyFormTemplate();
