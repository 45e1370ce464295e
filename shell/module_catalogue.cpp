#include "shell/module_catalogue.h"

#include "res/resource.h"

namespace {
std::span<const ModuleRow> g_table;
const ModuleRow kBlankRow{0, 0, 0, "local\\index.htm"};
} // namespace

void SetModuleTable(std::span<const ModuleRow> rows) { g_table = rows; }

std::span<const ModuleRow> ModuleTable() { return g_table; }

int CatalogueRowOf(int moduleId)
{
    for (size_t row = 0; row < g_table.size(); ++row)
        if (g_table[row].moduleId == moduleId)
            return static_cast<int>(row);
    return 0;
}

const ModuleRow& CatalogueRow(int moduleId) { return g_table.empty() ? kBlankRow : g_table[CatalogueRowOf(moduleId)]; }

bool IsListedModule(int moduleId)
{
    for (const ModuleRow& row : g_table)
        if (row.moduleId == moduleId)
            return true;
    return false;
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
