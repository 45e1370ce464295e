#include "filetools/properties/shared_libraries.h"

#include "app/registry_access.h"
#include "filetools/properties/file_facts.h"
#include "filetools/properties/file_type_name.h"

const char* const kSharedLibrariesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls\\";

namespace {
bool ExtensionStartsWithDll(const std::string& path)
{
    const std::string extension = ExtensionOf(path);
    if (extension.size() < 3)
        return false;
    for (size_t i = 0; i < 3; ++i)
        if ((extension[i] | 0x20) != "dll"[i])
            return false;
    return true;
}

bool IsExistingFile(const std::string& path)
{
    FileFacts facts;
    return ReadFileFacts(path, facts) && !(facts.attributes & kAttributeDirectory);
}
} // namespace

std::vector<std::string> ListSharedLibraries()
{
    CRegistryAccess registry;
    std::vector<std::string> libraries;
    for (const std::string& name : registry.EnumOtherValues(RegRoot::LocalMachine, kSharedLibrariesKey))
        if (ExtensionStartsWithDll(name) && IsExistingFile(name))
            libraries.push_back(name);
    return libraries;
}
