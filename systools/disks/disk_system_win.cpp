#include "systools/disks/disk_system_win.h"

#include <windows.h>

#include <shellapi.h>

#include "systools/disks/disk_free_space.h"

namespace {
// Errors such as "no disk in the drive" are the caller's to handle, never a system box.
class ErrorModeScope {
public:
    ErrorModeScope() : m_old(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~ErrorModeScope() { SetErrorMode(m_old); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
    UINT m_old;
};

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return m_handle; }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Close()
    {
        const bool closed = CloseHandle(m_handle) != FALSE;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};
} // namespace

unsigned CWin32DiskSystem::DriveType(const std::string& root) { return GetDriveTypeA(root.c_str()); }

std::optional<VolumeInformation> CWin32DiskSystem::Volume(const std::string& root)
{
    ErrorModeScope quiet;
    char label[512] = "", fileSystem[512] = "";
    DWORD serial = 0, maxLength = 0, flags = 0;
    if (!GetVolumeInformationA(root.c_str(), label, sizeof label, &serial, &maxLength, &flags, fileSystem,
                               sizeof fileSystem))
        return std::nullopt;
    label[sizeof label - 1] = fileSystem[sizeof fileSystem - 1] = '\0';
    return VolumeInformation{label, fileSystem, serial, maxLength};
}

FreeSpace CWin32DiskSystem::Space(const std::string& root)
{
    ErrorModeScope quiet;
    return DiskFreeSpace(root);
}

std::string CWin32DiskSystem::ShellIconLocation(const std::string& root)
{
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(root.c_str(), 0, &info, sizeof info, SHGFI_ICONLOCATION) || info.szDisplayName[0] == '\0')
        return {};
    info.szDisplayName[MAX_PATH - 1] = '\0';
    return std::string(info.szDisplayName) + "," + std::to_string(info.iIcon);
}

bool CWin32DiskSystem::CanMakeCurrent(const std::string& root)
{
    ErrorModeScope quiet;
    char current[MAX_PATH] = "";
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
    const bool made = SetCurrentDirectoryA(root.c_str()) != FALSE;
    if (length > 0 && length < MAX_PATH)
        SetCurrentDirectoryA(current);
    return made;
}

std::string CWin32DiskSystem::SystemFolder()
{
    char folder[MAX_PATH] = "";
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

bool CWin32DiskSystem::FileExists(const std::string& path)
{
    ErrorModeScope quiet;
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> CWin32DiskSystem::ReadFile(const std::string& path, size_t limit)
{
    ErrorModeScope quiet;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (bytes.size() <= limit) {
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr))
            return std::nullopt;
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    if (bytes.size() > limit + 1)
        bytes.resize(limit + 1); // enough to tell that it is too long
    return bytes;
}

bool CWin32DiskSystem::WriteNewFile(const std::string& path, const std::string& bytes)
{
    ErrorModeScope quiet;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    DWORD written = 0;
    const bool complete = ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size() && FlushFileBuffers(file.Get());
    if (file.Close() && complete)
        return true;
    DeleteFileA(path.c_str());
    return false;
}

bool CWin32DiskSystem::PutFileInPlace(const std::string& from, const std::string& to)
{
    ErrorModeScope quiet;
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void CWin32DiskSystem::RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

bool CWin32DiskSystem::WriteVolumeLabel(const std::string& root, const std::string& label)
{
    ErrorModeScope quiet;
    return SetVolumeLabelA(root.c_str(), label.c_str()) != FALSE; // never null: "" removes it
}

void CWin32DiskSystem::BroadcastDisplayChange()
{
    // The display as it is now: windows that lay themselves out by it stay right.
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode))
        return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DISPLAYCHANGE, mode.dmBitsPerPel, MAKELPARAM(mode.dmPelsWidth, mode.dmPelsHeight),
                        SMTO_ABORTIFHUNG | SMTO_NORMAL, 2000, &ignored);
}
