#include "picturetools/translator/file_ops.h"

#include "app/folder_listing.h"

std::vector<std::string> FilesInFolder(const std::string& folder)
{
    std::vector<std::string> paths;
    const FolderListing listing = ListFolder(folder);
    if (!listing.Ok())
        return paths;
    const bool separated = !folder.empty() && (folder.back() == kPathSeparator || folder.back() == '/');
    const std::string prefix = separated ? folder : folder + kPathSeparator;
    for (const FolderEntry& file : FilesOf(listing.entries))
        paths.push_back(prefix + file.name);
    return paths;
}
