#pragma once
// The name/value rows of the information lists: a name from the string table and its value;
// a separator row is empty (no name, no value, no image). Rows may ask for an icon of their
// own (a folder's shell icon), which the view resolves.
#include <string>
#include <vector>

struct InfoRow {
    unsigned nameId = 0; // 0: a separator
    std::string value;
    std::string iconPath; // a folder whose shell icon the row shows; empty for none

    bool IsSeparator() const { return nameId == 0; }
};

using InfoRows = std::vector<InfoRow>;

inline InfoRow SeparatorRow() { return {}; }
inline InfoRow NamedRow(unsigned nameId, std::string value, std::string iconPath = {})
{
    InfoRow row;
    row.nameId = nameId;
    row.value = std::move(value);
    row.iconPath = std::move(iconPath);
    return row;
}
