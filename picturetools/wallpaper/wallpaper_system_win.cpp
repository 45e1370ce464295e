#include "picturetools/wallpaper/wallpaper_system_win.h"

#include <windows.h>
#include <shlobj.h>

namespace {
class CDesktopWallpaperSystem : public WallpaperSystem {
public:
    PictureSize ScreenSize() override { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

    std::string WindowsFolder() override
    {
        char folder[MAX_PATH] = {};
        const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
        return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
    }

    std::string StartMenuFolder() override
    {
        char folder[MAX_PATH] = {};
        return SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_STARTMENU, nullptr, SHGFP_TYPE_CURRENT, folder)) ? folder : "";
    }

    bool MoveOver(const std::string& from, const std::string& to) override
    {
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }

    void RemoveFile(const std::string& path) override { DeleteFileA(path.c_str()); }

    bool SetDesktopWallpaper(const std::string& path, unsigned flags) override
    {
        std::string text = path; // the call takes a writable buffer
        return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, text.data(), flags) != FALSE;
    }
};
} // namespace

WallpaperSystem& DesktopWallpaperSystem()
{
    static CDesktopWallpaperSystem system;
    return system;
}
