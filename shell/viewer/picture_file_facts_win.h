#pragma once
// Windows build: the facts of the information sheet read from a file on disk.
#include <optional>
#include <string>

#include "shell/viewer/picture_info.h"

// Nothing when `path` is empty or names no existing file (folders included).
std::optional<PictureFileFacts> ReadPictureFileFacts(const std::string& path);
