#include "systools/info/font_families.h"

#include <algorithm>

#include "shell/report_model.h"

std::vector<FontFamily> UniqueFamilies(std::vector<FontFamily> families)
{
    std::erase_if(families, [](const FontFamily& family) { return family.face.empty() || family.face[0] == '@'; });
    std::stable_sort(families.begin(), families.end(),
                     [](const FontFamily& a, const FontFamily& b) { return CompareNoCase(a.face, b.face) < 0; });
    // The first of each name stays: the system lists a family's own character set first.
    families.erase(std::unique(families.begin(), families.end(),
                               [](const FontFamily& a, const FontFamily& b) { return CompareNoCase(a.face, b.face) == 0; }),
                   families.end());
    return families;
}
