#pragma once
// Paths handed to the shell as items of one folder (its context menu works on the items of a
// single folder): the common folder and each item's name relative to it.
#include <optional>
#include <string>
#include <vector>

struct ShellItemsInFolder {
    std::string folder;             // without a trailing separator, except for a drive root ("C:\")
    std::vector<std::string> names; // in the order of the paths
};

// The folder and names of `paths`, or nothing when the list is empty, a path has no folder or
// no name, or the paths lie in different folders (compared without regard to ASCII case).
std::optional<ShellItemsInFolder> SplitIntoOneFolder(const std::vector<std::string>& paths);
