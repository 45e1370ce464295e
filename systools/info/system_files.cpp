#include "systools/info/system_files.h"

#include "app/folder_listing.h"
#include "app/paths.h"
#include "filetools/properties/shared_libraries.h"

namespace {
std::string LowerText(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool HasExtension(const std::string& name, const std::string& extension)
{
    return name.size() > extension.size() &&
           LowerText(name.substr(name.size() - extension.size())) == LowerText(extension);
}
} // namespace

std::vector<std::string> FilesWithExtension(const std::string& folder, const std::string& extension)
{
    std::vector<std::string> paths;
    if (folder.empty())
        return paths;
    FolderListing listing = ListFolder(folder);
    std::vector<FolderEntry> files = FilesOf(listing.entries);
    SortByName(files);
    for (const FolderEntry& file : files)
        if (HasExtension(file.name, extension))
            paths.push_back(JoinPath(folder, file.name));
    return paths;
}

std::vector<std::string> SystemFilePaths(SystemFileTab tab, const std::string& windowsFolder,
                                         const std::string& systemFolder)
{
    if (tab == SystemFileTab::SharedDll)
        return ListSharedLibraries();
    const std::string extension = tab == SystemFileTab::SystemDll ? ".dll" : ".exe";
    std::vector<std::string> paths = FilesWithExtension(windowsFolder, extension);
    if (LowerText(WithoutTrailingSeparator(systemFolder)) != LowerText(WithoutTrailingSeparator(windowsFolder)))
        for (std::string& path : FilesWithExtension(systemFolder, extension))
            paths.push_back(std::move(path));
    return paths;
}
