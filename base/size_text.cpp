#include "base/size_text.h"

std::string GroupThousands(uint64_t value)
{
    std::string digits = std::to_string(value);
    for (size_t end = digits.size(); end > 3; end -= 3)
        digits.insert(end - 3, 1, ',');
    return digits;
}

std::string LongSizeText(uint64_t bytes)
{
    if (bytes == 0)
        return "0 Byte";
    static const char* const units[] = {"Bytes", "Kb", "Mb", "Gb"};
    // Tenths of the unit, truncated: each step divides the exact count once more by 1024, so
    // no rounding error accumulates.
    uint64_t divisor = 1;
    int unit = 0;
    while (unit < 3 && bytes > divisor * 1024 - 1) {
        divisor *= 1024;
        ++unit;
    }
    const uint64_t tenths = bytes / divisor * 10 + bytes % divisor * 10 / divisor;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + units[unit] + " (" +
           GroupThousands(bytes) + " bytes)";
}

std::string ShortSizeText(uint64_t bytes) { return GroupThousands(bytes / 1024 + 1) + " Kb"; }
