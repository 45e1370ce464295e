#include "base/text.h"

std::string FormatText(unsigned id, const std::string& arg1, const std::string& arg2)
{
    return FillConversions(LoadText(id), {arg1, arg2});
}

std::string FillConversions(const std::string& pattern, std::initializer_list<std::string> arguments)
{
    std::string out;
    out.reserve(pattern.size());
    auto next = arguments.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char k = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '%' && k == '%') {
            out += '%';
            ++i;
        } else if (c == '%' && (k == 's' || k == 'd')) {
            if (next != arguments.end())
                out += *next++;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {
unsigned g_textLanguage = 0;  // none chosen yet
}

void SetTextLanguage(unsigned langId) { g_textLanguage = langId; }

unsigned TextLanguage()
{
    if (!g_textLanguage)
        g_textLanguage = SystemTextLanguage();
    return g_textLanguage;
}
