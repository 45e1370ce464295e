#include "base/text_table.h"

#include <algorithm>

namespace {

const char* Find(std::span<const TextEntry> table, unsigned id)
{
    auto it = std::lower_bound(table.begin(), table.end(), id,
                               [](const TextEntry& e, unsigned key) { return e.id < key; });
    return it != table.end() && it->id == id && *it->text ? it->text : nullptr;
}

}  // namespace

const char* LookupText(const TextTables& tables, unsigned id, unsigned langId)
{
    if (langId == 0x040C) {
        if (const char* text = Find(tables.french, id)) return text;
    }
    return Find(tables.english, id);
}
