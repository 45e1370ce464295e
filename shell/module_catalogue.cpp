#include "shell/module_catalogue.h"

namespace {
const ModuleRow kCatalogue[kModuleCount + 1] = {
    {0, 62448, 358, "local\\index.htm"},
    {18, 62468, 374, "local\\index.htm"},
    {13, 62449, 327, "local\\qnexplorer.htm"},
    {1, 62450, 347, "local\\syspicture.htm"},
    {3, 62451, 343, "local\\wallpaper.htm"},
    {14, 62452, 322, "local\\pictranslator.htm"},
    {15, 62453, 340, "local\\screencapture.htm"},
    {16, 62454, 350, "local\\acquire.htm"},
    {4, 62455, 344, "local\\wincolors.htm"},
    {5, 62456, 348, "local\\tools.htm"},
    {8, 62457, 339, "local\\qnfinder.htm"},
    {2, 62458, 345, "local\\windows.htm"},
    {10, 62459, 328, "local\\fonts.htm"},
    {17, 62460, 351, "local\\appshortcuts.htm"},
    {9, 62461, 341, "local\\uninstall.htm"},
    {12, 62462, 323, "local\\datatype.htm"},
    {11, 62463, 324, "local\\diskinfo.htm"},
    {7, 62464, 346, "local\\sysinfo.htm"},
    {6, 62465, 332, "local\\misc.htm"},
    {-1, 0, 0, ""},
};
} // namespace

const ModuleRow* Catalogue() { return kCatalogue; }

int CatalogueRowOf(int moduleId)
{
    for (int row = 0; kCatalogue[row].moduleId != -1; ++row)
        if (kCatalogue[row].moduleId == moduleId)
            return row;
    return 0;
}

std::string ComposeWindowTitle(const std::string& base, const std::string& moduleTitle, const std::string* extra)
{
    if (extra)
        return base + " - " + moduleTitle + " - [" + *extra + "]";
    if (moduleTitle.empty())
        return base;
    return base + " - " + moduleTitle;
}

std::string ButtonCaption(const std::string& title)
{
    const size_t lineBreak = title.find('\n');
    if (lineBreak == std::string::npos)
        return title;
    return title.substr(lineBreak + 1);
}

std::string ProgressDisplayText(const std::string& text)
{
    if (text.size() >= 3 && text.compare(text.size() - 3, 3, "...") == 0)
        return text.substr(0, text.size() - 3);
    return text;
}
