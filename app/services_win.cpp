// Windows side of the process-wide services.
#include "app/services.h"
#include "app/services_platform.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "app/paths.h"

void SetThreadLanguage(unsigned langId)
{
    SetThreadLocale(MAKELCID(static_cast<LANGID>(langId), SORT_DEFAULT));
}

bool PostToWindow(void* window, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    HWND hwnd = static_cast<HWND>(window);
    return IsWindow(hwnd) && PostMessageA(hwnd, message, wParam, lParam);
}

bool IsExistingFolder(const std::string& path)
{
    if (path.empty())
        return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsReadableFile(const std::string& path)
{
    if (path.empty())
        return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return !IsExistingFolder(path);
}

std::string SystemTempPath()
{
    char buffer[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof buffer, buffer);
    if (n == 0 || n >= sizeof buffer)
        return "C:\\";
    return std::string(buffer, n);
}

void OpenWithShell(const std::string& path)
{
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    if (IsExistingFolder(path)) {
        char windows[MAX_PATH + 1];
        UINT n = GetWindowsDirectoryA(windows, sizeof windows);
        std::string explorer = JoinPath(n && n < sizeof windows ? std::string(windows, n) : "C:\\Windows",
                                        "explorer.exe");
        std::string arguments = "/n," + path;
        ShellExecuteA(nullptr, "open", explorer.c_str(), arguments.c_str(), nullptr, SW_SHOWNORMAL);
    } else {
        std::string folder = FolderOf(path);
        ShellExecuteA(nullptr, "open", path.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(),
                      SW_SHOWNORMAL);
    }
    SetCursor(previous);
}

namespace {
bool IsDosProgram(const std::string& program)
{
    DWORD_PTR type = SHGetFileInfoA(program.c_str(), 0, nullptr, 0, SHGFI_EXETYPE);
    return LOWORD(type) == 0x5A4D && HIWORD(type) == 0; // 'MZ' without a Windows version
}

// The 8.3 form of the path. A file that does not exist yet gets a one-character placeholder
// for the moment it takes to learn its short name.
std::string ShortPathOf(const std::string& program)
{
    bool placeholder = false;
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        HANDLE file = CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, "x", 1, &written, nullptr);
            CloseHandle(file);
            placeholder = true;
        }
    }
    char buffer[MAX_PATH + 1];
    DWORD n = GetShortPathNameA(program.c_str(), buffer, sizeof buffer);
    if (placeholder)
        DeleteFileA(program.c_str());
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : program;
}
} // namespace

bool RunProgram(bool noWait, int showState, const std::string& program, const std::string& arguments,
                const std::string& folder)
{
    std::string line = BuildRunCommandLine(IsDosProgram(program), ShortPathOf(program), arguments);
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SHARED_WOW_VDM, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return false;
    if (!noWait)
        WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
