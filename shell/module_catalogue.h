#pragma once
// The module catalogue: the program's table of modules, one row per button of the module bar,
// top to bottom, and the text rules of the main window (window title, button captions,
// progress text). The shell knows no module: the program installs its table at start-up
// (app/module_table_win.cpp), each row naming its module's factory.
#include <memory>
#include <span>
#include <string>

class CQnFormView;
// Creates a module's view; a row without one shows the pending placeholder.
using ModuleFactory = std::unique_ptr<CQnFormView> (*)();

struct ModuleRow {
    int moduleId;
    unsigned titleId;   // string table id of the title
    unsigned pictureId; // TGA resource of the button picture
    const char* helpPage;
    ModuleFactory factory = nullptr;
};

// The rows in button order; the table must outlive the run (a static array).
void SetModuleTable(std::span<const ModuleRow> rows);
std::span<const ModuleRow> ModuleTable();
// Row index of a module id; row 0 when the id is not in the table.
int CatalogueRowOf(int moduleId);
// The row of a module id: its own, row 0's when the id is not listed, or a blank row (no
// title, no picture, the index page) while no table is installed.
const ModuleRow& CatalogueRow(int moduleId);
// Whether the table lists the module id.
bool IsListedModule(int moduleId);

// "base - title - [extra]", "base - title", or the base alone when the title is empty.
std::string ComposeWindowTitle(const std::string& base, const std::string& moduleTitle,
                               const std::string* extra);
// A button's caption: the title after its first line break, or the whole title.
std::string ButtonCaption(const std::string& title);
// The progress text as shown: without three trailing dots.
std::string ProgressDisplayText(const std::string& text);
