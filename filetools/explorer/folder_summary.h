#pragma once
// The explorer's "Info" tab apart from the window: what it says about a folder from its listing.
#include <cstdint>
#include <string>

#include "app/folder_listing.h"

struct FolderSummary {
    std::string name;     // the folder's own name ("C:\" for a drive's root)
    std::string parent;   // the folder that holds it, with its trailing separator
    uint64_t totalSize = 0; // of its files, not of its sub-folders
    int files = 0;
    int folders = 0;      // sub-folders, "." and ".." not counted
};

// `folder` may end with a separator or not.
FolderSummary SummariseFolder(const std::string& folder, const FolderListing& listing);

// The folder with exactly one trailing '\' (an empty text stays empty).
std::string WithTrailingSeparator(const std::string& folder);
