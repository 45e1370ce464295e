// Windows: GetDiskFreeSpaceExA when KERNEL32 offers it, else GetDiskFreeSpaceA on the root.
#include <windows.h>

#include "app/message.h"
#include "base/text.h"
#include "res/resource.h"
#include "systools/disks/disk_free_space.h"

namespace {
using FreeSpaceExCall = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

class CWin32FreeSpaceCalls : public IFreeSpaceCalls {
public:
    bool HasExtendedCall() override
    {
        m_extended = nullptr;
        // Looked up at each call, as the rule says: a system may lack it.
        if (HMODULE kernel = GetModuleHandleA("KERNEL32.DLL"))
            m_extended = reinterpret_cast<FreeSpaceExCall>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")));
        return m_extended != nullptr;
    }

    std::optional<FreeSpace> Extended(const std::string& path) override
    {
        ULARGE_INTEGER available{}, total{}, totalFree{};
        if (!m_extended || !m_extended(path.c_str(), &available, &total, &totalFree))
            return std::nullopt;
        return FreeSpace{totalFree.QuadPart, total.QuadPart};
    }

    std::string ShortForm(const std::string& path) override
    {
        char shortPath[MAX_PATH];
        const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
        return length > 0 && length < MAX_PATH ? std::string(shortPath, length) : path;
    }

    ClusterStatus ClusterCounts(const std::string& root, Clusters& clusters) override
    {
        DWORD sectors = 0, bytes = 0, freeClusters = 0, total = 0;
        if (GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &total)) {
            clusters = {sectors, bytes, freeClusters, total};
            return ClusterStatus::Done;
        }
        return GetLastError() == ERROR_NO_SYSTEM_RESOURCES ? ClusterStatus::NoResources : ClusterStatus::Failed;
    }

    bool IsExistingFolder(const std::string& path) override
    {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    void ReportNoResources() override { ShowMessage(LoadText(IDS_DISK_NO_RESOURCES)); }

private:
    FreeSpaceExCall m_extended = nullptr;
};
} // namespace

FreeSpace DiskFreeSpace(const std::string& path)
{
    CWin32FreeSpaceCalls calls;
    return DiskFreeSpaceWith(calls, path);
}
