#include "base/text.h"

std::string FormatText(unsigned id, const std::string& arg1, const std::string& arg2)
{
    const std::string pattern = LoadText(id);
    const std::string* args[2] = {&arg1, &arg2};
    int next = 0;
    std::string out;
    out.reserve(pattern.size() + arg1.size() + arg2.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            char k = pattern[i + 1];
            if (k == '%') { out += '%'; ++i; continue; }
            if (k == 's' || k == 'd') {
                if (next < 2) out += *args[next];
                ++next;
                ++i;
                continue;
            }
        }
        out += c;
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
