// QuentaSetup.exe end to end: it writes "rixo.aid", unpacks quenta.exe into the temporary
// folder, starts it with "/INSTALL" while its wait box shows, waits for it, then deletes it.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {
std::string TempFolder()
{
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct FoundWindow {
    DWORD process = 0;
    bool wantTitle = false;
    HWND window = nullptr;
};

// A visible dialog-class window of the process (with a caption: a message box; without: the
// stub's wait box), or of any other process when `process` is 0.
HWND FindDialog(DWORD process, bool withTitle)
{
    FoundWindow found{process, withTitle, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<FoundWindow*>(data);
            char className[32] = {};
            char title[128] = {};
            GetClassNameA(window, className, sizeof className);
            GetWindowTextA(window, title, sizeof title);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            const bool processMatches = f->process ? owner == f->process : true;
            if (IsWindowVisible(window) && std::string(className) == "#32770" && processMatches &&
                (title[0] != '\0') == f->wantTitle) {
                f->window = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

// The setup wizard of the unpacked program: a top-level dialog holding the folder edit.
HWND FindSetupWizard()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            char className[32] = {};
            GetClassNameA(window, className, sizeof className);
            if (IsWindowVisible(window) && std::string(className) == "#32770" &&
                FindWindowExA(FindWindowExA(window, nullptr, "#32770", nullptr), nullptr, "Edit", nullptr)) {
                *reinterpret_cast<HWND*>(data) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

template <typename Condition>
bool WaitFor(Condition condition, int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += 100) {
        if (condition())
            return true;
        Sleep(100);
    }
    return condition();
}

TEST(SetupStub, UnpacksRunsWaitsForAndDeletesThePackagedProgram)
{
    const std::string temp = TempFolder();
    const std::string program = temp + "quenta.exe";
    const std::string record = temp + "rixo.aid";
    DeleteFileA(program.c_str());
    std::ofstream(record, std::ios::binary) << "an earlier record";

    const std::string stub = std::string(QUENTA_BINARY_DIR) + "/bin/QuentaSetup.exe";
    ASSERT_TRUE(Exists(stub)) << stub;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + stub + "\"";
    ASSERT_TRUE(CreateProcessA(stub.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    CloseHandle(process.hThread);

    // The unpacked program shows its setup wizard; the stub waits meanwhile.
    HWND wizard = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (wizard = FindSetupWizard()) != nullptr; }, 60000));
    EXPECT_NE(FindDialog(process.dwProcessId, false), nullptr) << "the wait box is shown";
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(ReadAll(program), ReadAll(std::string(QUENTA_BINARY_DIR) + "/bin/quenta.exe"));
    EXPECT_EQ(ReadAll(record), std::string(64, '#')); // rewritten on every run

    // Cancelling the wizard ends the install run without installing.
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(Exists(program)) << "the unpacked program is deleted";
    EXPECT_TRUE(Exists(record)) << "the record stays";
    EXPECT_FALSE(Exists(program + ".part"));
}
} // namespace
