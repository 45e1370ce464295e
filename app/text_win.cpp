// Windows build: texts from the executable's string table.
#include "app/text.h"

#include <windows.h>

std::string LoadText(unsigned id)
{
    char buffer[1024];
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, n) : std::string();
}
