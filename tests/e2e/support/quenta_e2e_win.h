#pragma once
// What every end-to-end test includes: the toolbox started once per test suite, module
// switching, finding a module's form (a form that cannot be found fails the test, it never
// skips), driving windows of the toolbox's process and checking screenshots.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/command.h"
#include "res/resource.h"
#include "tests/e2e/support/remote_process_win.h"
#include "tests/e2e/support/screen_win.h"

namespace e2e {
constexpr UINT kModuleView = AFX_IDW_PANE_FIRST; // the frame's child that is the current view
constexpr int kBlankModule = 0;                  // the product view, shown by Help > About

inline std::string QuentaExe() { return std::string(QUENTA_BINARY_DIR) + "/bin/quenta.exe"; }

// Returns once the window's thread has handled everything sent before and `window` has painted.
inline void Settle(HWND window)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result);
}
} // namespace e2e

// A suite of end-to-end tests on one running quenta.exe: starting Wine's program takes seconds,
// so it starts before the suite's first test and closes after its last. Each test begins with
// only the main window open. A suite that sets up more calls these functions first/last.
class QuentaSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_quenta = new QuentaUnderTest;
        s_started = s_quenta->Start(e2e::QuentaExe(), "/DEBUG");
    }
    static void TearDownTestSuite()
    {
        delete s_quenta;
        s_quenta = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_started && s_quenta->Running()) << "the main window of " << e2e::QuentaExe() << " did not appear";
        s_quenta->CloseOtherWindows();
    }

    static QuentaUnderTest& Quenta() { return *s_quenta; }
    static HWND Frame() { return s_quenta->Frame(); }
    static HWND CurrentView() { return GetDlgItem(Frame(), e2e::kModuleView); }

    static void SwitchTo(int moduleId)
    {
        SendMessageA(Frame(), WM_COMMAND, ID_SWITCH_MODULE_FIRST + moduleId, 0);
        e2e::Settle(Frame());
    }

    // Shows the module in a new view (leaving it first when it is already shown, so that
    // nothing of an earlier test stays) and returns its control `controlId` of class
    // `className`, or nullptr when the form does not show it within five seconds.
    static HWND OpenModuleForm(int moduleId, int controlId, const char* className)
    {
        SwitchTo(moduleId == e2e::kBlankModule ? 1 : e2e::kBlankModule);
        SwitchTo(moduleId);
        HWND control = nullptr;
        WaitFor(
            [&] {
                HWND view = CurrentView();
                control = view ? FindDescendantById(view, controlId) : nullptr;
                return control && lstrcmpiA(ClassOf(control).c_str(), className) == 0;
            },
            5000);
        return control && lstrcmpiA(ClassOf(control).c_str(), className) == 0 ? control : nullptr;
    }

private:
    static inline QuentaUnderTest* s_quenta = nullptr;
    static inline bool s_started = false;
};
