// Native build: texts from the table generated from the .rc string tables.
#include "base/text.h"

#include "base/text_table.h"

std::string LoadText(unsigned id)
{
    const char* text = LookupText(kQuentaTexts, id, TextLanguage());
    return text ? std::string(text) : std::string();
}

unsigned SystemTextLanguage() { return 0x0409; }
