#pragma once
// Windows side of the finder's results.
#include <windows.h>

#include "filetools/finder/finder_result.h"

// The result record of a found file, with its small icon's index.
FinderResult BuildFinderResult(const std::string& path);
bool FileStillExists(const std::string& path);
