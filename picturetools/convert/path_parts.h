#pragma once
// A path split at its last separator ('\' or '/'), for the file lists of the converters.
#include <string>

// The folder part including its trailing separator; empty when the path has none.
std::string PathFolderPart(const std::string& path);
// The file name after the last separator.
std::string PathNamePart(const std::string& path);
