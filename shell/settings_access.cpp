#include "shell/settings_access.h"

#include <climits>

int ParseSettingInt(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // saturate instead of overflowing
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

int ReadSettingInt(const std::string& section, const std::string& name, int defaultValue)
{
    return ParseSettingInt(ReadSettingText(section, name, std::to_string(defaultValue)));
}

void WriteSettingInt(const std::string& section, const std::string& name, int value)
{
    WriteSettingText(section, name, std::to_string(value));
}
