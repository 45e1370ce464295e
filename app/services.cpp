#include "app/services.h"

#include <atomic>
#include <ctime>

#include "app/message.h"
#include "app/paths.h"
#include "app/program_state.h"
#include "app/services_platform.h"
#include "app/settings.h"
#include "base/text.h"
#include "res/resource.h"

namespace {
constexpr const char* kTempFolderName = "Ostrel Quenta";

std::string g_temporaryDirectory;
std::atomic<int> g_tempCounter{0};
std::string g_windowEntryKey;
} // namespace

unsigned LanguageIdOfChoice(int choice)
{
    switch (choice) {
    case 1: return 0x0409;
    case 2: return 0x040C;
    default: return 0;
    }
}

void SetLanguage(int choice)
{
    if (choice == -1)
        choice = CQnSettings().ReadInt("", "Language", 0);
    if (unsigned langId = LanguageIdOfChoice(choice)) {
        SetThreadLanguage(langId);
        SetTextLanguage(langId);
    }
}

std::string HelpPagePath(const std::string& page)
{
    std::string folder = CQnSettings().ReadString("", "HelpFolder", "");
    if (!IsExistingFolder(folder))
        folder = JoinPath(Program().programFolder, "Help");
    return JoinPath(folder, page);
}

void ShowHelpPage(const std::string& page)
{
    std::string path = HelpPagePath(page);
    if (IsReadableFile(path))
        OpenWithShell(path);
    else
        ShowMessage(FormatText(IDS_HELP_PAGE_MISSING, path));
}

std::string BuildRunCommandLine(bool isDosProgram, const std::string& shortProgramPath,
                                const std::string& arguments)
{
    std::string line = isDosProgram ? "command.com /c " : "";
    bool quote = shortProgramPath.find(' ') != std::string::npos && shortProgramPath.front() != '"';
    line += quote ? '"' + shortProgramPath + '"' : shortProgramPath;
    return line + ' ' + arguments;
}

void SetTemporaryDirectory(const std::string& folder) { g_temporaryDirectory = folder; }

std::string FormatTempName(const std::string& base, long long seconds, int counter)
{
    return JoinPath(JoinPath(base, kTempFolderName), std::to_string(seconds) + std::to_string(counter));
}

std::string MakeTempName()
{
    std::string base = IsExistingFolder(g_temporaryDirectory) ? g_temporaryDirectory : SystemTempPath();
    return FormatTempName(base, static_cast<long long>(std::time(nullptr)), g_tempCounter++);
}

void RegisterWindowEntry(const std::string& program)
{
    g_windowEntryKey = JoinPath(kWindowRegistryKey, program) + "\\";
    CRegistryAccess().WriteString(RegRoot::CurrentUser, g_windowEntryKey, "HWND", "0");
}

void ClearWindowEntry()
{
    if (!g_windowEntryKey.empty())
        CRegistryAccess().WriteString(RegRoot::CurrentUser, g_windowEntryKey, "HWND", "0");
}

uintptr_t ParseWindowHandleText(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        i += 2;
    uintptr_t value = 0;
    int digits = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0)
            break;
        // Leading zeros are free; more significant digits than a pointer holds is no handle.
        if ((value != 0 || d != 0) && ++digits > static_cast<int>(2 * sizeof(uintptr_t)))
            return 0;
        value = value * 16 + static_cast<uintptr_t>(d);
    }
    return value;
}

void* FindWindowEntry(const std::string& program)
{
    std::string text = CRegistryAccess().ReadString(RegRoot::CurrentUser, JoinPath(kWindowRegistryKey, program),
                                                    "HWND", "0");
    return reinterpret_cast<void*>(ParseWindowHandleText(text));
}

bool PostToWindowEntry(const std::string& program, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    void* window = FindWindowEntry(program);
    return window && PostToWindow(window, message, wParam, lParam);
}
