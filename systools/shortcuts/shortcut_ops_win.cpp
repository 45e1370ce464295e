// Shortcut files through the shell link object (IShellLinkA with IPersistFile).
#include "systools/shortcuts/shortcut_ops_win.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "app/paths.h"
#include "app/services.h"
#include "shell/com_ptr_win.h"

namespace {

// Keeps COM initialised on this thread for one operation (the program has usually done so
// already; then this only counts up and down).
class ComScope {
public:
    ComScope() : m_ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope()
    {
        if (m_ok)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool m_ok;
};

std::wstring Wide(const std::string& text)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

// The longest arguments or description text a link keeps (the shell's own limit).
constexpr size_t kLinkTextSize = 1024;

bool FitsPath(const std::string& path) { return path.size() < MAX_PATH; }

std::string ShortPathOrSame(const std::string& path)
{
    char buffer[MAX_PATH + 1];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

// A folder as a working folder: without a trailing separator, except a drive root ("C:\").
std::string WorkingFolderOf(const std::string& folder)
{
    std::string trimmed = WithoutTrailingSeparator(folder);
    return trimmed.size() == 2 && trimmed[1] == ':' ? trimmed + '\\' : trimmed;
}

std::string LongPathOrSame(const std::string& path)
{
    char buffer[MAX_PATH + 1];
    DWORD n = path.empty() ? 0 : GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

bool PathExistsOnDisk(const std::string& path)
{
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Restores the process's current folder when it goes out of scope.
class CurrentFolderScope {
public:
    CurrentFolderScope()
    {
        char buffer[MAX_PATH + 1];
        DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
        if (n > 0 && n < sizeof buffer)
            m_previous.assign(buffer, n);
    }
    ~CurrentFolderScope()
    {
        if (!m_previous.empty())
            SetCurrentDirectoryA(m_previous.c_str());
    }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::string m_previous;
};

} // namespace

bool CreateShortcut(const std::string& targetFolder, const std::string& targetName, const std::string& linkFolder,
                    const std::string& linkName, const std::string& description, const std::string& arguments,
                    int iconIndex)
{
    std::string target = JoinPath(targetFolder, targetName);
    std::string linkPath = JoinPath(linkFolder, linkName);
    if (!FitsPath(target) || !FitsPath(linkPath) || !FitsPath(targetFolder) || linkName.empty() ||
        arguments.size() >= kLinkTextSize || description.size() >= kLinkTextSize)
        return false;
    ComScope com;
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.OutVoid())))
        return false;
    if (FAILED(link->SetPath(ShortPathOrSame(target).c_str())))
        return false;
    link->SetDescription(description.c_str());
    link->SetWorkingDirectory(WorkingFolderOf(targetFolder).c_str());
    if (!arguments.empty())
        link->SetArguments(arguments.c_str());
    if (iconIndex != -1)
        link->SetIconLocation(target.c_str(), iconIndex);
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid())))
        return false;
    return SUCCEEDED(file->Save(Wide(linkPath).c_str(), TRUE));
}

ShortcutLink ReadShortcut(const std::string& linkPath)
{
    ShortcutLink result;
    if (!FitsPath(linkPath))
        return result;
    ComScope com;
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.OutVoid())))
        return result;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid())) ||
        FAILED(file->Load(Wide(linkPath).c_str(), STGM_READ)))
        return result;
    result.loaded = true;
    // No window, no search across the disks, and the file stays as it is; the high word bounds
    // the time a missing target may take, in milliseconds.
    link->Resolve(nullptr, SLR_NO_UI | SLR_NOUPDATE | SLR_NOSEARCH | (1000u << 16));
    char buffer[kLinkTextSize + 1] = {};
    WIN32_FIND_DATAA found = {};
    if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, &found, 0)))
        result.target = LongPathOrSame(buffer); // links written here hold the short form
    buffer[0] = '\0';
    if (SUCCEEDED(link->GetArguments(buffer, static_cast<int>(kLinkTextSize))))
        result.arguments = buffer;
    buffer[0] = '\0';
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH)))
        result.workingFolder = buffer;
    return result;
}

void RunShortcut(const std::string& linkPath)
{
    ShortcutLink link = ReadShortcut(linkPath);
    if (!link.loaded || !PathExistsOnDisk(link.target))
        return;
    CurrentFolderScope restore;
    std::string folder = link.workingFolder;
    if (!IsExistingFolder(folder))
        folder = WorkingFolderOf(FolderOf(link.target));
    if (!folder.empty())
        SetCurrentDirectoryA(folder.c_str());
    if (IsExistingFolder(link.target)) {
        OpenWithShell(link.target);
        return;
    }
    // Opened as the shell opens the file, but with the link's arguments, and with the answer
    // looked at, so that a refusal falls back to starting the target directly.
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    HINSTANCE opened = ShellExecuteA(nullptr, "open", link.target.c_str(),
                                     link.arguments.empty() ? nullptr : link.arguments.c_str(),
                                     folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
    SetCursor(previous);
    if (reinterpret_cast<INT_PTR>(opened) <= 32)
        RunProgram(true, SW_SHOWNORMAL, link.target, link.arguments, folder);
}
