#pragma once
// The wallpaper's entry in the program's module table (module 3).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateWallpaperView();
