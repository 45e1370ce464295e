#include "setup/install_machine_win.h"

#include <shlobj.h>

#include <map>
#include <vector>

#include "app/message.h"
#include "app/paths.h"
#include "app/registry_access.h"
#include "app/services.h"
#include "app/settings.h"
#include "base/text.h"
#include "res/resource.h"
#include "setup/archive_file_system.h"
#include "setup/resource_archive.h"
#include "setup/resource_archive_win.h"
#include "systools/shortcuts/shortcut_ops_win.h"

namespace {
constexpr DWORD kCopyChunk = 1024;

std::string UpperFullPath(const std::string& path)
{
    char full[MAX_PATH * 2] = {};
    if (!GetFullPathNameA(path.c_str(), sizeof full, full, nullptr))
        return path;
    CharUpperA(full);
    return full;
}

// Closes a file handle on every way out.
struct FileHandle {
    HANDLE handle;
    ~FileHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};
} // namespace

std::string RunningProgramPath()
{
    char path[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

ResourceArchive& PackageArchive(unsigned id)
{
    static std::map<unsigned, std::unique_ptr<ResourceArchive>> archives;
    std::unique_ptr<ResourceArchive>& archive = archives[id];
    if (!archive) {
        archive = std::make_unique<ResourceArchive>();
        LoadFromResource(*archive, GetModuleHandleA(nullptr), id, "ZIP", true);
    }
    return *archive;
}

void CWindowsInstallMachine::SetLanguage(int language) { ::SetLanguage(language); }

void CWindowsInstallMachine::BeginProgress(bool install)
{
    // The archives are loaded on first use, all four at once.
    for (unsigned id : {kArchiveFrenchHelp, kArchiveEnglishHelp, kArchiveHelpFiles, kArchivePanel})
        PackageArchive(id).SetProgress(&m_progress);
    m_progress.Show(m_owner, install);
}

void CWindowsInstallMachine::EndProgress()
{
    m_progress.Close();
    for (unsigned id : {kArchiveFrenchHelp, kArchiveEnglishHelp, kArchiveHelpFiles, kArchivePanel})
        PackageArchive(id).SetProgress(nullptr);
}

bool CWindowsInstallMachine::CreateFolders(const std::string& folder)
{
    return ArchiveFileSystem::Platform().CreateFolders(folder);
}

int CWindowsInstallMachine::ExtractArchive(unsigned archiveId, const std::string& folder, bool extracting,
                                           std::string& error)
{
    ResourceArchive& archive = PackageArchive(archiveId);
    const int status = archive.ExtractAll(folder, true, extracting);
    if (status != kArchiveOk)
        error = archive.LastError();
    return status;
}

bool CWindowsInstallMachine::CopyRunningProgram(const std::string& target, std::string& error)
{
    const std::string source = RunningProgramPath();
    // Reinstalling from the installed copy: the file is already where it belongs, and copying
    // it onto itself would empty it.
    if (UpperFullPath(source) == UpperFullPath(target))
        return true;
    error = FormatText(IDS_SETUP_COPY_FAILED, target);
    FileHandle in{CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (in.handle == INVALID_HANDLE_VALUE)
        return false;
    // The copy goes to a new file that replaces the old one only when it is whole.
    const std::string partial = target + ".new";
    {
        FileHandle out{CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr)};
        if (out.handle == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER size{};
        GetFileSizeEx(in.handle, &size);
        m_progress.Begin();
        m_progress.SetRange(0, size.QuadPart > 0 ? size.QuadPart : 1);
        m_progress.SetTextFormatted(kStatusCopyingFile, source, target);
        std::vector<char> chunk(kCopyChunk);
        int64_t copied = 0;
        bool whole = true;
        for (;;) {
            DWORD read = 0, written = 0;
            if (!ReadFile(in.handle, chunk.data(), kCopyChunk, &read, nullptr)) {
                whole = false;
                break;
            }
            if (read == 0)
                break;
            if (!WriteFile(out.handle, chunk.data(), read, &written, nullptr) || written != read) {
                whole = false;
                break;
            }
            copied += read;
            m_progress.SetPos(copied);
        }
        m_progress.End();
        if (!whole) {
            CloseHandle(out.handle);
            out.handle = INVALID_HANDLE_VALUE;
            DeleteFileA(partial.c_str());
            return false;
        }
    }
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!MoveFileExA(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(partial.c_str());
        return false;
    }
    error.clear();
    return true;
}

void CWindowsInstallMachine::CopySystemFile(const std::string& name, const std::string& folder)
{
    CopyFileA(JoinPath(SystemFolder(), name).c_str(), JoinPath(folder, name).c_str(), FALSE);
}

void CWindowsInstallMachine::DeleteFileAt(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

std::string CWindowsInstallMachine::StartMenuFolder()
{
    CRegistryAccess registry;
    std::string folder = registry.ReadString(RegRoot::CurrentUser, kShellFoldersKey, "Start Menu", "");
    if (folder.empty()) {
        // The shell records its folders when first asked for them.
        char path[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_STARTMENU, nullptr, SHGFP_TYPE_CURRENT, path)))
            folder = path;
    }
    return folder;
}

void CWindowsInstallMachine::DeleteFolderTree(const std::string& folder) { ::DeleteFolderTree(folder); }

bool CWindowsInstallMachine::CreateShortcut(const std::string& linkFolder, const ShortcutPlan& shortcut)
{
    return ::CreateShortcut(shortcut.targetFolder, shortcut.targetName, linkFolder, shortcut.linkName, "",
                            shortcut.arguments, shortcut.iconIndex);
}

void CWindowsInstallMachine::WriteRegistry(const RegistryEntry& entry)
{
    CRegistryAccess().WriteString(entry.root, entry.key, entry.value, entry.text);
}

void CWindowsInstallMachine::DeleteRegistryKey(RegRoot root, const std::string& key)
{
    CRegistryAccess().DeleteKey(root, key);
}

void CWindowsInstallMachine::StartProgram(const std::string& program, const std::string& arguments,
                                          const std::string& folder)
{
    RunProgram(true, SW_SHOW, program, arguments, folder);
}

std::string CWindowsInstallMachine::WindowsFolder()
{
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return path;
}

std::string CWindowsInstallMachine::SystemFolder()
{
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    return path;
}

void CWindowsInstallMachine::Tell(const std::string& text) { ShowMessage(text, MessageButtons::Ok); }

bool CWindowsInstallMachine::Ask(const std::string& text)
{
    return ShowMessage(text, MessageButtons::YesNo) == MessageAnswer::Yes;
}

std::string CWindowsInstallMachine::RegisteredProgram()
{
    return CRegistryAccess().ReadString(RegRoot::CurrentUser, kInstallRecordKey, "Quenta", "");
}

bool CWindowsInstallMachine::FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CWindowsInstallMachine::RecordedLanguage() { return CQnSettings().ReadInt("", "Language", kLanguageEnglish); }

std::vector<std::string> CWindowsInstallMachine::SubfolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        // A link inside the folder is never followed: its target is not ours to tidy.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
            name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool CWindowsInstallMachine::RemoveFolderIfEmpty(const std::string& folder)
{
    return RemoveDirectoryA(folder.c_str()) != 0;
}
