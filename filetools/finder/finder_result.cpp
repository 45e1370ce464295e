#include "filetools/finder/finder_result.h"

std::string ShortSizeText(uint64_t size)
{
    const std::string digits = std::to_string(size / 1024 + 1);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text + " Kb";
}

char DriveLetterOf(const std::string& path)
{
    if (path.size() < 2 || path[1] != ':')
        return 0;
    const char c = path[0];
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    return c >= 'A' && c <= 'Z' ? c : 0;
}

bool IsOnDrive(const std::string& path, char letter) { return letter != 0 && DriveLetterOf(path) == letter; }
