#include "filetools/properties/size_text.h"

#include "base/text.h"
#include "res/resource.h"

std::string ThousandsText(uint64_t value)
{
    std::string digits = std::to_string(value);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::string ShortSizeText(uint64_t bytes)
{
    return ThousandsText(bytes / 1024 + 1) + LoadText(IDS_SIZE_KB_SUFFIX);
}

std::string LongSizeText(uint64_t bytes)
{
    if (bytes == 0)
        return LoadText(IDS_SIZE_ZERO);
    static const unsigned kUnits[] = {IDS_SIZE_UNIT_BYTES, IDS_SIZE_UNIT_KB, IDS_SIZE_UNIT_MB, IDS_SIZE_UNIT_GB};
    int unit = 0;
    uint64_t scale = 1;
    while (unit < 3 && bytes > scale * 1024 - 1) {
        scale *= 1024;
        ++unit;
    }
    // One decimal, truncated: tenths counted in integers so that no rounding creeps in.
    const uint64_t tenths = bytes / scale * 10 + (bytes % scale) * 10 / scale;
    const std::string amount = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    // "%s %s (%s bytes)": three insertions, in order.
    const std::string pattern = LoadText(IDS_SIZE_LONG_FORMAT);
    const std::string args[3] = {amount, LoadText(kUnits[unit]), ThousandsText(bytes)};
    std::string out;
    int next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            if (next < 3)
                out += args[next];
            ++next;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}
