#include "filetools/common/free_names.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {
std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "name (n).ext": the number goes before the last dot, unless the dot starts the name.
std::string NumberedName(const std::string& name, int number)
{
    const size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    const std::string stem = hasExtension ? name.substr(0, dot) : name;
    const std::string extension = hasExtension ? name.substr(dot) : std::string();
    return stem + " (" + std::to_string(number) + ")" + extension;
}
} // namespace

std::string FileNamePart(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> FreeTargetPaths(const std::vector<std::string>& sources, const std::string& folder,
                                         const PathExists& exists)
{
    std::string base = folder;
    if (!base.empty() && base.back() != '\\' && base.back() != '/')
        base += '\\';
    std::set<std::string> taken; // names given earlier in this operation, lowered
    std::vector<std::string> targets;
    targets.reserve(sources.size());
    for (const std::string& source : sources) {
        const std::string name = FileNamePart(source);
        std::string candidate = name;
        // A file moved onto itself keeps its name: the shell leaves it where it is.
        const bool sameFile = Lowered(base + name) == Lowered(source);
        for (int number = 2; !sameFile && (taken.count(Lowered(candidate)) || exists(base + candidate)); ++number)
            candidate = NumberedName(name, number);
        taken.insert(Lowered(candidate));
        targets.push_back(base + candidate);
    }
    return targets;
}
