// Native build: texts from a small built-in table until the generated string table exists.
#include "app/text.h"

#include <map>

std::string LoadText(unsigned id)
{
    static const std::map<unsigned, const char*> table = {
        {62701, "Loading file \"%s\"..."},
        {62703, "Saving file \"%s\"..."},
        {62704, "Examining file \"%s\"..."},
        {62724, "All supported formats."},
    };
    auto it = table.find(id);
    return it == table.end() ? std::string() : std::string(it->second);
}
