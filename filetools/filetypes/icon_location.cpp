#include "filetools/filetypes/icon_location.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {
bool SameLetters(const std::string& text, size_t at, const char* lowerWord, size_t length)
{
    if (at + length > text.size())
        return false;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[at + i]);
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c | 0x20) : static_cast<char>(c);
        if (lower != lowerWord[i])
            return false;
    }
    return true;
}

// "%d": optional white space and sign, then decimal digits; values beyond int are clamped
// (sscanf's overflow is undefined).
int ReadIndex(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            value = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        value = std::numeric_limits<int>::max();
    return static_cast<int>(value);
}
} // namespace

std::string ExpandSystemRoot(const std::string& text, const std::string& windowsFolder)
{
    static const char kWord[] = "%systemroot%";
    constexpr size_t kLength = sizeof kWord - 1;
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '%' && SameLetters(text, i, kWord, kLength)) {
            out += windowsFolder;
            i += kLength;
        } else {
            out += text[i++];
        }
    }
    return out;
}

IconLocation ParseIconLocation(const std::string& text, const std::string& windowsFolder)
{
    IconLocation location;
    const size_t comma = text.rfind(',');
    if (comma == std::string::npos || comma == 0) {
        location.file = ExpandSystemRoot(text, windowsFolder);
        return location;
    }
    location.file = ExpandSystemRoot(text.substr(0, comma), windowsFolder);
    location.index = ReadIndex(text.substr(comma + 1));
    return location;
}

std::string FormatIconLocation(const std::string& file, int index) { return file + "," + std::to_string(index); }
