#pragma once
// Names for files moved or copied into a folder that never replace what is there: a name that
// is taken (in the folder, or by an earlier file of the same operation) becomes "name (2).ext",
// "name (3).ext", ... The shell is asked to rename on collision too, but not every shell does
// (Wine ignores the request), so the operation is given these names itself.
#include <functional>
#include <string>
#include <vector>

// Whether a full path names an existing file or folder.
using PathExists = std::function<bool(const std::string& path)>;

// The file name part of a path (after the last '\' or '/').
std::string FileNamePart(const std::string& path);

// The full target path of each source in `folder` (a trailing separator is optional), in the
// order of `sources`. Names compare without regard to ASCII letter case, as the file system does.
std::vector<std::string> FreeTargetPaths(const std::vector<std::string>& sources, const std::string& folder,
                                         const PathExists& exists);
