#include "filetools/properties/file_type_name.h"

#include "app/paths.h"
#include "base/text.h"
#include "res/resource.h"

std::string ExtensionOf(const std::string& path)
{
    const std::string name = PathNamePart(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string GetFileTypeName(const std::string& path)
{
    std::string name = ShellTypeName(path);
    return name.empty() ? LoadText(IDS_TYPE_UNKNOWN) : name;
}
