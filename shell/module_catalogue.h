#pragma once
// The module catalogue: one row per button of the module bar, top to bottom, and the text
// rules of the main window (window title, button captions, progress text).
#include <string>

struct ModuleRow {
    int moduleId;
    unsigned titleId;   // string table id of the title
    unsigned pictureId; // TGA resource of the button picture
    const char* helpPage;
};

constexpr int kModuleCount = 19;
constexpr int kHighestModuleId = 18;

// The rows in button order; Catalogue()[kModuleCount] is the end row (module id -1).
const ModuleRow* Catalogue();
// Row index of a module id; row 0 when the id is not in the catalogue.
int CatalogueRowOf(int moduleId);

// "base - title - [extra]", "base - title", or the base alone when the title is empty.
std::string ComposeWindowTitle(const std::string& base, const std::string& moduleTitle,
                               const std::string* extra);
// A button's caption: the title after its first line break, or the whole title.
std::string ButtonCaption(const std::string& title);
// The progress text as shown: without three trailing dots.
std::string ProgressDisplayText(const std::string& text);
