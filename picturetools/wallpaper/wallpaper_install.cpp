#include "picturetools/wallpaper/wallpaper_install.h"

#include <algorithm>
#include <cstring>

#include "app/paths.h"
#include "app/registry_access.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/core/scaling.h"

namespace {
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/'; // the native build's tests write into the host's folders
#endif
const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";

void FillRow(uint8_t* row, int width, const uint8_t bgr[3])
{
    for (int x = 0; x < width; ++x)
        std::memcpy(row + 3 * x, bgr, 3);
}

// Writes beside the output file and then replaces it: the system never meets a half-written
// picture, and a refused write leaves the previous wallpaper whole.
bool WritePictureFile(CPicture& picture, const std::string& path, WallpaperSystem& system, CQnProgress* progress)
{
    const std::string beside = path + ".tmp";
    if (BmpCodec().WriteFile(beside, &picture, 24, false, progress) && system.MoveOver(beside, path))
        return true;
    system.RemoveFile(beside);
    return false;
}
} // namespace

InstalledWallpaper ReadInstalledWallpaper(const WallpaperTarget& target)
{
    CRegistryAccess registry;
    InstalledWallpaper installed;
    installed.path = registry.ReadString(target.root, target.desktopKey, "Wallpaper", "");
    installed.style = registry.ReadInt(target.root, target.desktopKey, "WallpaperStyle", 0);
    return installed;
}

std::string WallpaperOutputPath(const WallpaperTarget& target, WallpaperSystem& system)
{
    std::string folder;
    if (target.root == RegRoot::CurrentUser) {
        std::string startMenu = CRegistryAccess().ReadString(RegRoot::CurrentUser, kShellFoldersKey, "Start Menu", "");
        if (startMenu.empty())
            startMenu = system.StartMenuFolder();
        folder = ParentFolderOf(startMenu);
    } else {
        folder = WithoutTrailingSeparator(system.WindowsFolder());
    }
    return folder.empty() ? std::string() : folder + kPathSeparator + target.fileName;
}

bool ComposeBestFit(CPicture& picture, PictureSize screen, uint32_t background, CQnProgress* progress)
{
    const PlacedPicture placed = BestFitPlacement({picture.Width(), picture.Height()}, screen);
    if (placed.width <= 0 || picture.IsEmpty())
        return false;
    CPicture fitted;
    CPicture canvas;
    if (!fitted.CopyFrom(picture) || !ScaleSmooth(fitted, placed.width, placed.height, progress) ||
        !canvas.Create(static_cast<unsigned>(screen.width), static_cast<unsigned>(screen.height)))
        return false;
    const uint8_t bgr[3] = {static_cast<uint8_t>(background >> 16), static_cast<uint8_t>(background >> 8),
                            static_cast<uint8_t>(background)};
    for (int y = 0; y < canvas.Height(); ++y)
        FillRow(canvas.Row(y), canvas.Width(), bgr);
    // The placement lies inside the canvas by construction; clip anyway so no rounding of a
    // scaler can write past a row.
    const int rows = std::min(fitted.Height(), canvas.Height() - placed.y);
    const int columns = std::min(fitted.Width(), canvas.Width() - placed.x);
    for (int y = 0; y < rows; ++y)
        std::memcpy(canvas.Row(placed.y + y) + 3 * placed.x, fitted.Row(y), 3 * static_cast<size_t>(columns));
    canvas.SetName(picture.Name());
    canvas.SetDescription(picture.Description());
    picture.Swap(canvas);
    return true;
}

WallpaperOutcome InstallWallpaper(const WallpaperTarget& target, CPicture* picture, const WallpaperRequest& request,
                                  WallpaperSystem& system, CQnProgress* progress)
{
    WallpaperOutcome outcome;
    WallpaperMode written = request.mode;
    if (picture && !picture->IsEmpty()) {
        outcome.path = WallpaperOutputPath(target, system);
        if (outcome.path.empty()) {
            outcome.result = WallpaperResult::FileNotWritten;
            return outcome;
        }
        const PictureSize screen = system.ScreenSize();
        const PictureSize size = WallpaperTargetSize(request.mode, screen, request.sizeEdits);
        if ((size.width != picture->Width() || size.height != picture->Height()) &&
            !ScaleSmooth(*picture, size.width, size.height, progress)) {
            outcome.result = WallpaperResult::PictureNotMade;
            return outcome;
        }
        if (request.mode == WallpaperMode::BestFit && !ComposeBestFit(*picture, screen, request.background, progress)) {
            outcome.result = WallpaperResult::PictureNotMade;
            return outcome;
        }
        if (!WritePictureFile(*picture, outcome.path, system, progress)) {
            outcome.result = WallpaperResult::FileNotWritten;
            return outcome;
        }
    }
    CRegistryAccess registry;
    const bool stored = registry.WriteString(target.root, target.desktopKey, "Wallpaper", outcome.path) &&
                        registry.WriteInt(target.root, target.desktopKey, "WallpaperStyle", StoredWallpaperStyle(written));
    if (!stored) {
        outcome.result = WallpaperResult::SettingsNotWritten;
        return outcome;
    }
    if (target.notifiesSystem) {
        const bool updated = system.SetDesktopWallpaper(outcome.path, kWallpaperUpdateIniFile);
        const bool sent = system.SetDesktopWallpaper(outcome.path, kWallpaperSendChange);
        if (!updated || !sent)
            outcome.result = WallpaperResult::NotifyRefused;
    }
    return outcome;
}
