#pragma once
// The system's side of installing a wallpaper: the real screen, folders, file replacement
// and SPI_SETDESKWALLPAPER.
#include "picturetools/wallpaper/wallpaper_install.h"

WallpaperSystem& DesktopWallpaperSystem();
