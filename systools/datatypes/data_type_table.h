#pragma once
// The data types known to the class registry: one entry per registered extension with its
// type name, open command and icon location, read from HKEY_CLASSES_ROOT and written back
// there. The process-wide table survives a module switch; removed entries stay (flagged)
// until the next fill.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/registry_access.h"

class CQnProgress;

struct DataTypeEntry {
    std::string description;  // the type name
    std::string command;      // open command line
    std::string iconLocation; // "file,index"
    std::string extension;    // with its dot, ".txt"
    std::string typeKey;      // the key holding the type, ending with "\": "txtfile\" or ".txt\"
    int iconIndex = -1;       // slot in the file-type icon cache, -1 until known
    bool removed = false;
};

class DataTypeTable {
public:
    // The icon-cache slot of an extension (".txt").
    using IconSlotFn = std::function<int(const std::string& extension)>;

    // The entry of one extension key, or none when it has no type name. With a progid whose
    // key has a type name, the type lives there; otherwise in the extension key itself, named
    // by the progid text.
    static std::optional<DataTypeEntry> ReadEntry(CRegistryAccess& registry, const std::string& extensionKey);

    // Rebuilds the table from every key of the class root whose name begins with ".",
    // reporting every FillStepWidth keys; false when the user cancelled (the entries read so
    // far stay).
    bool Fill(CRegistryAccess& registry, CQnProgress& progress, const IconSlotFn& iconSlot = {});

    // Writes a type for the extension the text addresses (NormaliseExtension): a new type
    // gets the key "Quenta_%s_file", an existing one is written where it lives. The entry's
    // index, or -1 when the extension cannot name a key or the registry refused a write (what
    // was written is then undone as far as the registry lets it).
    struct SetResult {
        int index = -1;
        bool created = false;
    };
    SetResult SetDataType(CRegistryAccess& registry, const std::string& extensionText, const std::string& description,
                          const std::string& command, const std::string& iconLocation);

    // Deletes the extension key (with its subkeys) of each listed entry and marks it removed;
    // the type key it pointed to stays. The key is named exactly as listed (no separator of
    // it is dropped). The indexes whose key is gone, in the order given.
    std::vector<int> Remove(const std::vector<int>& indexes);

    // The non-removed entry of an extension (letter case ignored), or -1.
    int Find(const std::string& extension) const;

    int Count() const { return static_cast<int>(m_entries.size()); }
    DataTypeEntry* At(int index);
    const DataTypeEntry* At(int index) const;
    void Clear() { m_entries.clear(); }

    // The program's table.
    static DataTypeTable& Shared();

private:
    std::vector<DataTypeEntry> m_entries;
};
