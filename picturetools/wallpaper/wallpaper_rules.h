#pragma once
// The wallpaper's fixed rules: its two targets, its four modes and how each is stored, the
// size the picture is made for a mode, and where a best-fit picture lies on the screen.
#include <string>

#include "app/registry_key.h"

enum class WallpaperTargetId { CurrentUser = 0, DefaultUser = 1 };
constexpr int kWallpaperTargetCount = 2;

struct WallpaperTarget {
    RegRoot root;
    const char* desktopKey;   // below the root
    const char* fileName;     // the picture file written
    bool notifiesSystem;      // SPI_SETDESKWALLPAPER after writing (never for Default User)
};

// The target of a tab index (0 Current User, 1 Default User; anything else Current User).
const WallpaperTarget& WallpaperTargetAt(int index);

// The modes in the order of their radios. Best fit is the module's own: the picture is
// composed on a screen-size canvas and the system shows that as a normal wallpaper.
enum class WallpaperMode { Normal = 0, Mosaic = 1, Stretch = 2, BestFit = 4 };

// The "WallpaperStyle" value written for a mode (best fit is stored as 0).
int StoredWallpaperStyle(WallpaperMode mode);
// The mode a stored "WallpaperStyle" shows: 1 Mosaic, 2 Stretch, 4 Best fit, anything else Normal.
WallpaperMode ModeOfStoredStyle(int style);

// The range of the size edits and their spins.
constexpr int kMinWallpaperDimension = 1;
constexpr int kMaxWallpaperDimension = 32000;
int ClampWallpaperDimension(int value);

struct PictureSize {
    int width = 0, height = 0;
    bool operator==(const PictureSize&) const = default;
};

// The size the picture is scaled to before writing: the screen in Stretch mode, else the
// size edits (clamped to their range).
PictureSize WallpaperTargetSize(WallpaperMode mode, PictureSize screen, PictureSize edits);

struct PlacedPicture {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PlacedPicture&) const = default;
};

// Best fit: the picture scaled by min(screen width / width, screen height / height), each
// side truncated (at least 1), centred at (screen width / 2 - new width / 2, screen height / 2
// - new height / 2) with integer halves. Exact in integers: no rounding drift at large sizes.
PlacedPicture BestFitPlacement(PictureSize picture, PictureSize screen);

// The folder the Current User's picture goes to: the parent of the "Start Menu" shell folder
// (one trailing separator dropped first). Empty when the path has no parent.
std::string ParentFolderOf(const std::string& folder);
