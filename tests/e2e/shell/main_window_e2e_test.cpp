// Drives the real toolbox window from outside: switches to every module, checks the window
// title rules and keeps a screenshot per module in the build folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "screenshot_win.h"

namespace {
const std::string kBase = "Ostrel Quenta v1.6";
constexpr UINT kSwitchModuleFirst = 0x8400;
constexpr UINT kAbout = 32844;

struct Module {
    int id;
    const char* title;
};
const Module kModules[] = {
    {0, ""}, {18, "Quenta Online News"}, {13, "Quenta Explorer"}, {1, "System Pictures"}, {3, "Wallpaper"},
    {14, "Pictures Translator"}, {15, "Screen Capture"}, {16, "Acquire"}, {4, "Windows Colors"}, {5, "Tools"},
    {8, "Quenta Finder"}, {2, "Windows"}, {10, "Fonts"}, {17, "Applications shortcuts"}, {9, "Uninstall"},
    {12, "Data Types"}, {11, "Disks Information"}, {7, "System Information"}, {6, "Miscellaneous"},
};

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 15000)
{
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

std::string TitleOf(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ExpectedTitle(const Module& module)
{
    return module.title[0] ? kBase + " - " + module.title : kBase;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string exe = std::string(QUENTA_BINARY_DIR) + "/bin/quenta.exe";
        std::string command = "\"" + exe + "\" /DEBUG";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &m_process));
        ASSERT_TRUE(WaitFor([&] {
            m_frame = FindWindowA("QuentaMainFrame", nullptr);
            return m_frame && IsWindowVisible(m_frame);
        })) << "the main window did not appear";
    }

    void TearDown() override
    {
        if (m_frame)
            PostMessageA(m_frame, WM_CLOSE, 0, 0);
        if (m_process.hProcess) {
            if (WaitForSingleObject(m_process.hProcess, 15000) != WAIT_OBJECT_0)
                TerminateProcess(m_process.hProcess, 1);
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
    }

    // Waits until the window has painted what the last command changed.
    void Settle()
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(m_frame, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
        RedrawWindow(m_frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        SendMessageTimeoutA(m_frame, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
    }

    PROCESS_INFORMATION m_process{};
    HWND m_frame = nullptr;
};
} // namespace

TEST_F(MainWindowTest, EveryModuleSwitchesAndTitlesFollowTheRules)
{
    EXPECT_EQ(TitleOf(m_frame), kBase); // placeholder view before the first choice
    for (const Module& module : kModules) {
        SendMessageA(m_frame, WM_COMMAND, kSwitchModuleFirst + module.id, 0);
        EXPECT_TRUE(WaitFor([&] { return TitleOf(m_frame) == ExpectedTitle(module); }))
            << "module " << module.id << " shows \"" << TitleOf(m_frame) << "\"";
        Settle();
        const std::string shot =
            std::string(QUENTA_BINARY_DIR) + "/tests/e2e/shell/module_" + std::to_string(module.id) + ".bmp";
        EXPECT_TRUE(SaveScreenBmp(shot));
    }
    // Help > About shows module 0: the bare product title.
    SendMessageA(m_frame, WM_COMMAND, kAbout, 0);
    EXPECT_TRUE(WaitFor([&] { return TitleOf(m_frame) == kBase; }));
}

TEST_F(MainWindowTest, SwitchingReplacesTheViewOnlyForAnotherModule)
{
    SendMessageA(m_frame, WM_COMMAND, kSwitchModuleFirst + 18, 0);
    ASSERT_TRUE(WaitFor([&] { return TitleOf(m_frame) == kBase + " - Quenta Online News"; }));
    // Pressing the button of the module already shown changes nothing.
    HWND viewBefore = GetDlgItem(m_frame, 0xE900);
    ASSERT_NE(viewBefore, nullptr);
    SendMessageA(m_frame, WM_COMMAND, kSwitchModuleFirst + 18, 0);
    EXPECT_EQ(GetDlgItem(m_frame, 0xE900), viewBefore);
    SendMessageA(m_frame, WM_COMMAND, kSwitchModuleFirst + 13, 0);
    EXPECT_NE(GetDlgItem(m_frame, 0xE900), viewBefore);
    EXPECT_FALSE(IsWindow(viewBefore)); // the old view is gone
}
