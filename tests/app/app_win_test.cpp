#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "app/main_window.h"
#include "app/message_loop_win.h"
#include "app/paths.h"
#include "app/program_state.h"
#include "app/quenta_app_win.h"
#include "app/setup_entry.h"
#include "app/services.h"

// The application object's hook to the main window; these tests never open one.
bool CreateMainWindow(int) { return false; }
// Nor do they install or uninstall.
void RunInstall() {}
void RunUninstall(int) {}

namespace {
int g_seen = 0;

bool ThrowOnceThenQuit(MSG& message)
{
    if (message.message != WM_APP)
        return false;
    if (++g_seen == 1)
        throw std::runtime_error("fault in a message handler");
    PostQuitMessage(7);
    return true;
}
} // namespace

TEST(MessageLoop, SurvivesAnEscapingException)
{
    MessageFilter previous = SetQuentaMessageFilter(ThrowOnceThenQuit);
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    EXPECT_EQ(RunQuentaMessageLoop(), 7);
    EXPECT_EQ(g_seen, 2);
    SetQuentaMessageFilter(previous);
}

TEST(QuentaApp, MeasuresTheDisplayAndCleansItsTemporaryFolderAtExit)
{
    const std::string temp = JoinPath(SystemTempPath(), "Ostrel Quenta");
    CreateDirectoryA(temp.c_str(), nullptr);
    CreateDirectoryA(JoinPath(temp, "sub").c_str(), nullptr);
    HANDLE f = CreateFileA(JoinPath(temp, "sub\\x.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(f);
    {
        CQuentaApp app(GetModuleHandleA(nullptr), "app_win_test.exe /DEBUG", SW_HIDE);
        HDC screen = GetDC(nullptr);
        int bits = GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(nullptr, screen);
        if (bits != 16)
            EXPECT_EQ(Program().displayDepth, bits);
        else
            EXPECT_TRUE(Program().displayDepth == 15 || Program().displayDepth == 16);
        EXPECT_EQ(CQuentaApp::Instance(), &app);
    }
    EXPECT_EQ(GetFileAttributesA(temp.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(CQuentaApp::Instance(), nullptr);
}
