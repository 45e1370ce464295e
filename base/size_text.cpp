#include "base/size_text.h"

#include "base/text.h"
#include "res/resource.h"

std::string GroupThousands(uint64_t value)
{
    std::string digits = std::to_string(value);
    for (size_t end = digits.size(); end > 3; end -= 3)
        digits.insert(end - 3, 1, ',');
    return digits;
}

std::string ShortSizeText(uint64_t bytes) { return GroupThousands(bytes / 1024 + 1) + LoadText(IDS_SIZE_KB_SUFFIX); }

std::string LongSizeText(uint64_t bytes)
{
    if (bytes == 0)
        return LoadText(IDS_SIZE_ZERO);
    static const unsigned kUnits[] = {IDS_SIZE_UNIT_BYTES, IDS_SIZE_UNIT_KB, IDS_SIZE_UNIT_MB, IDS_SIZE_UNIT_GB};
    // Tenths of the unit, truncated: each step divides the exact count once more by 1024, so
    // no rounding error accumulates.
    uint64_t divisor = 1;
    int unit = 0;
    while (unit < 3 && bytes > divisor * 1024 - 1) {
        divisor *= 1024;
        ++unit;
    }
    const uint64_t tenths = bytes / divisor * 10 + bytes % divisor * 10 / divisor;
    const std::string amount = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    // "%s %s (%s bytes)": amount, unit and exact count, in that order in every language.
    const std::string pattern = LoadText(IDS_SIZE_LONG_FORMAT);
    const std::string args[3] = {amount, LoadText(kUnits[unit]), GroupThousands(bytes)};
    std::string text;
    int next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            if (next < 3)
                text += args[next];
            ++next;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}
