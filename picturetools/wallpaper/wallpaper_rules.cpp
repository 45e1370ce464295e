#include "picturetools/wallpaper/wallpaper_rules.h"

#include <algorithm>
#include <cstdint>

#include "app/paths.h"

namespace {
const WallpaperTarget kTargets[kWallpaperTargetCount] = {
    {RegRoot::CurrentUser, "Control Panel\\desktop\\", "QnBackPic.bmp", true},
    {RegRoot::Users, ".default\\Control Panel\\desktop\\", "QnBackPicDefault.bmp", false},
};
} // namespace

const WallpaperTarget& WallpaperTargetAt(int index)
{
    return kTargets[index == static_cast<int>(WallpaperTargetId::DefaultUser) ? 1 : 0];
}

int StoredWallpaperStyle(WallpaperMode mode)
{
    return mode == WallpaperMode::BestFit ? 0 : static_cast<int>(mode);
}

WallpaperMode ModeOfStoredStyle(int style)
{
    switch (style) {
    case 1: return WallpaperMode::Mosaic;
    case 2: return WallpaperMode::Stretch;
    case 4: return WallpaperMode::BestFit;
    default: return WallpaperMode::Normal;
    }
}

int ClampWallpaperDimension(int value)
{
    return std::clamp(value, kMinWallpaperDimension, kMaxWallpaperDimension);
}

PictureSize WallpaperTargetSize(WallpaperMode mode, PictureSize screen, PictureSize edits)
{
    if (mode == WallpaperMode::Stretch)
        return screen;
    return {ClampWallpaperDimension(edits.width), ClampWallpaperDimension(edits.height)};
}

PlacedPicture BestFitPlacement(PictureSize picture, PictureSize screen)
{
    if (picture.width <= 0 || picture.height <= 0 || screen.width <= 0 || screen.height <= 0)
        return {};
    const int64_t pw = picture.width, ph = picture.height, sw = screen.width, sh = screen.height;
    PlacedPicture placed;
    // sw / pw <= sh / ph  <=>  sw * ph <= sh * pw: the width limits the factor.
    if (sw * ph <= sh * pw) {
        placed.width = screen.width;
        placed.height = static_cast<int>(std::max<int64_t>(1, ph * sw / pw));
    } else {
        placed.width = static_cast<int>(std::max<int64_t>(1, pw * sh / ph));
        placed.height = screen.height;
    }
    placed.x = screen.width / 2 - placed.width / 2;
    placed.y = screen.height / 2 - placed.height / 2;
    return placed;
}

std::string ParentFolderOf(const std::string& folder)
{
    const std::string trimmed = WithoutTrailingSeparator(folder);
    const size_t slash = trimmed.find_last_of("\\/");
    if (slash == std::string::npos || slash == 0)
        return {};
    return trimmed.substr(0, slash);
}
