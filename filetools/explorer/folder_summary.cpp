#include "filetools/explorer/folder_summary.h"

std::string WithTrailingSeparator(const std::string& folder)
{
    std::string path = folder;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path.empty() && folder.empty() ? path : path + '\\';
}

FolderSummary SummariseFolder(const std::string& folder, const FolderListing& listing)
{
    FolderSummary summary;
    std::string path = WithTrailingSeparator(folder);
    if (path.empty())
        return summary;
    path.pop_back(); // without its separator
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) { // a drive's root: it is its own name and has no parent
        summary.name = path + '\\';
    } else {
        summary.name = path.substr(slash + 1);
        summary.parent = path.substr(0, slash + 1);
    }
    for (const FolderEntry& entry : listing.entries) {
        if (entry.IsFolder()) {
            if (entry.name != "." && entry.name != "..")
                ++summary.folders;
        } else {
            ++summary.files;
            summary.totalSize += entry.size;
        }
    }
    return summary;
}
