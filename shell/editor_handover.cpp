#include "shell/editor_handover.h"

#include <string_view>

#include "app/paths.h"

const char kEditorProgramName[] = "Zephra";
const char kEditorClipboardFormat[] = "ZephraPicture";
const char kEditorInstallKey[] = "Software\\Ostrel\\Software\\";

namespace {
bool IsForbiddenInFileName(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
}
} // namespace

std::string EditorHandoverFileName(const std::string& description, long long seconds)
{
    std::string name = PathNamePart(description);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    for (char& c : name)
        if (IsForbiddenInFileName(c))
            c = '_';
    // Trailing blanks and dots vanish from Windows file names: drop them here so the name
    // written is the name passed.
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.pop_back();
    if (name.empty())
        name = std::to_string(seconds);
    return name + ".bmp";
}
