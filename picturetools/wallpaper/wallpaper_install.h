#pragma once
// Reading a wallpaper target's settings and installing a picture as a target's wallpaper.
// What belongs to the system (screen, folders, replacing a file, the notification) comes
// through WallpaperSystem, so the whole installation runs and is tested without windows.
#include <memory>
#include <string>

#include "picturetools/wallpaper/wallpaper_rules.h"

class CPicture;
class CQnProgress;

class WallpaperSystem {
public:
    virtual ~WallpaperSystem() = default;
    virtual PictureSize ScreenSize() = 0;
    // The Windows folder (Default User's picture), and the "Start Menu" shell folder as the
    // system knows it, asked only when the registry does not hold it.
    virtual std::string WindowsFolder() = 0;
    virtual std::string StartMenuFolder() = 0;
    // Puts `from` in place of `to` in one step (the old file stays when that fails).
    virtual bool MoveOver(const std::string& from, const std::string& to) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
    // SPI_SETDESKWALLPAPER with the path and one of the flags below.
    virtual bool SetDesktopWallpaper(const std::string& path, unsigned flags) = 0;
};

constexpr unsigned kWallpaperUpdateIniFile = 0x01;    // SPIF_UPDATEINIFILE
constexpr unsigned kWallpaperSendChange = 0x02;       // SPIF_SENDWININICHANGE

// What a target's desktop key holds.
struct InstalledWallpaper {
    std::string path; // "Wallpaper"; empty for none
    int style = 0;    // "WallpaperStyle" (default 0)
};
InstalledWallpaper ReadInstalledWallpaper(const WallpaperTarget& target);

// The picture file a target's picture is written to; empty when its folder is unknown.
std::string WallpaperOutputPath(const WallpaperTarget& target, WallpaperSystem& system);

// Makes `picture` a screen-size canvas of `background` (COLORREF 0x00BBGGRR) with the old
// picture scaled into it by BestFitPlacement. False when memory or scaling failed (the
// picture is then left as it was).
bool ComposeBestFit(CPicture& picture, PictureSize screen, uint32_t background, CQnProgress* progress);

struct WallpaperRequest {
    WallpaperMode mode = WallpaperMode::Normal;
    PictureSize sizeEdits;   // the size edits
    uint32_t background = 0; // "BackgroundColor"
};

enum class WallpaperResult {
    Installed,
    PictureNotMade,     // no memory to scale or compose
    FileNotWritten,     // the file (or its folder) refused the picture; nothing was replaced
    SettingsNotWritten, // the desktop key refused the values
    NotifyRefused,      // the system refused the new wallpaper
};

struct WallpaperOutcome {
    WallpaperResult result = WallpaperResult::Installed;
    std::string path; // the path installed (or that could not be)
};

// "&Apply" for one target: with a picture, scales it to the target size (Stretch: the screen),
// composes it for best fit, writes it as a 24-bit BMP beside the output file and replaces
// that; without one, installs the empty path. Then writes "Wallpaper" and "WallpaperStyle"
// and, for a target that notifies, tells the system twice (update the settings, then
// broadcast the change). `picture` may be null; when not, it is left as written (the view
// shows it).
WallpaperOutcome InstallWallpaper(const WallpaperTarget& target, CPicture* picture, const WallpaperRequest& request,
                                  WallpaperSystem& system, CQnProgress* progress);
