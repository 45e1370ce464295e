#include "shell/module_catalogue.h"

#include "res/resource.h"

namespace {
const ModuleRow kCatalogue[kModuleCount + 1] = {
    {0, IDS_MODULE_START, IDR_PIC_START, "local\\index.htm"},
    {18, IDS_MODULE_ONLINE, IDR_PIC_ONLINE, "local\\index.htm"},
    {13, IDS_MODULE_EXPLORER, IDR_PIC_EXPLORER, "local\\qnexplorer.htm"},
    {1, IDS_MODULE_SYSPICTURE, IDR_PIC_SYSPICTURE, "local\\syspicture.htm"},
    {3, IDS_MODULE_WALLPAPER, IDR_PIC_WALLPAPER, "local\\wallpaper.htm"},
    {14, IDS_MODULE_TRANSLATOR, IDR_PIC_TRANSLATOR, "local\\pictranslator.htm"},
    {15, IDS_MODULE_CAPTURE, IDR_PIC_CAPTURE, "local\\screencapture.htm"},
    {16, IDS_MODULE_ACQUIRE, IDR_PIC_ACQUIRE, "local\\acquire.htm"},
    {4, IDS_MODULE_WINCOLORS, IDR_PIC_WINCOLORS, "local\\wincolors.htm"},
    {5, IDS_MODULE_TOOLS, IDR_PIC_TOOLS, "local\\tools.htm"},
    {8, IDS_MODULE_FINDER, IDR_PIC_FINDER, "local\\qnfinder.htm"},
    {2, IDS_MODULE_WINDOWS, IDR_PIC_WINDOWS, "local\\windows.htm"},
    {10, IDS_MODULE_FONTS, IDR_PIC_FONTS, "local\\fonts.htm"},
    {17, IDS_MODULE_SHORTCUTS, IDR_PIC_SHORTCUTS, "local\\appshortcuts.htm"},
    {9, IDS_MODULE_UNINSTALL, IDR_PIC_UNINSTALL, "local\\uninstall.htm"},
    {12, IDS_MODULE_DATATYPES, IDR_PIC_DATATYPES, "local\\datatype.htm"},
    {11, IDS_MODULE_DISKINFO, IDR_PIC_DISKINFO, "local\\diskinfo.htm"},
    {7, IDS_MODULE_SYSINFO, IDR_PIC_SYSINFO, "local\\sysinfo.htm"},
    {6, IDS_MODULE_MISC, IDR_PIC_MISC, "local\\misc.htm"},
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
