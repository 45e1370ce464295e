#include "systools/colours/theme_apply_win.h"

#include <windows.h>

#include "app/paths.h"
#include "systools/colours/default_theme.h"
#include "systools/colours/system_colours_win.h"
#include "systools/colours/theme_file.h"
#include "systools/colours/wait_cursor_win.h"

namespace {
// Far beyond any theme file (a few kilobytes); a larger file is not a theme.
constexpr DWORD kMaxThemeFileSize = 4u << 20;
constexpr UINT kBroadcastTimeoutMs = 2000;

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxThemeFileSize;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

std::string WithSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

std::string WindowsFolder()
{
    char folder[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return WithSeparator(length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string());
}

bool FolderExists(const std::string& folder)
{
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every top-level window learns the display's first settings mode.
void BroadcastDisplayChange()
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, 0, &mode))
        return;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DISPLAYCHANGE, mode.dmBitsPerPel,
                        MAKELPARAM(mode.dmPelsWidth, mode.dmPelsHeight), SMTO_ABORTIFHUNG, kBroadcastTimeoutMs,
                        &result);
}
} // namespace

bool ApplyThemeFile(const std::string& path)
{
    CWaitCursor wait;
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    const size_t slash = path.find_last_of("\\/");
    ThemeFolders folders;
    folders.windowsFolder = WindowsFolder();
    folders.themeFolder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    folders.folderExists = FolderExists;
    const ThemeReading reading = ReadThemeValues(bytes, folders);
    WriteThemeValues(reading.values, OpenRegistryRoot);
    SetSystemColours(ThemeSessionColours(reading.values));
    BroadcastDisplayChange();
    return true;
}

bool ApplyDefaultTheme(const std::string& folder)
{
    const std::string path = JoinPath(folder, kDefaultThemeFileName);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::string text = DefaultThemeFileText();
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok && ApplyThemeFile(path);
}
