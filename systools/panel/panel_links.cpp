#include "systools/panel/panel_links.h"

#include <vector>

#include "res/resource.h"

namespace {

constexpr int kLastModuleId = 18;
constexpr unsigned kFrenchPrimaryLanguage = 0x0C;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

} // namespace

std::string ResolvePanelPath(std::string_view relative, std::string_view currentPage)
{
    const size_t cut = relative.find_first_of("#?");
    relative = relative.substr(0, cut);
    if (relative.empty() || relative.front() == '/' || relative.front() == '\\' ||
        relative.find(':') != std::string_view::npos || relative.find('\\') != std::string_view::npos)
        return {};
    std::vector<std::string> parts;
    const size_t slash = currentPage.rfind('/');
    const std::string joined = (slash == std::string_view::npos ? std::string() : std::string(currentPage.substr(0, slash + 1))) +
                               std::string(relative);
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos)
            end = joined.size();
        const std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (parts.empty())
                return {};
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string& part : parts)
        path += (path.empty() ? "" : "/") + part;
    return path;
}

PanelLinkTarget ResolvePanelLink(std::string_view href, std::string_view currentPage)
{
    PanelLinkTarget target;
    constexpr std::string_view kModulePrefix = "quenta:module/";
    if (StartsWith(href, kModulePrefix)) {
        const std::string_view digits = href.substr(kModulePrefix.size());
        if (digits.empty() || digits.size() > 2)
            return target;
        int id = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return target;
            id = id * 10 + (c - '0');
        }
        if (id > kLastModuleId)
            return target;
        target.kind = PanelLinkKind::Module;
        target.moduleId = id;
        return target;
    }
    std::string path = ResolvePanelPath(href, currentPage);
    if (!path.empty()) {
        target.kind = PanelLinkKind::Page;
        target.path = std::move(path);
    }
    return target;
}

unsigned PanelLinkCommand(const PanelLinkTarget& target)
{
    return target.kind == PanelLinkKind::Module ? ID_SWITCH_MODULE_FIRST + static_cast<unsigned>(target.moduleId) : 0;
}

std::string PanelLanguageFolder(unsigned languageId)
{
    return (languageId & 0x3FF) == kFrenchPrimaryLanguage ? "fr" : "en";
}

std::string PanelStartPage(unsigned languageId) { return PanelLanguageFolder(languageId) + "/index.htm"; }
