#pragma once
// The uninstall entries the uninstaller lists, kept for the whole run (ModuleRecords) and
// rebuilt on every fill, and the operations that change them together with the registry.
// Rows of the view carry entry indexes; every change names entries, never rows.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "shell/module_records.h"
#include "systools/uninstall/uninstall_registry.h"

struct UninstallEntry {
    std::string displayName; // "DisplayName"
    std::string command;     // "UninstallString"
    std::string keyName;     // the entry's subkey under the uninstall key
    int iconIndex = -1;      // in the view's 16 x 16 image list
};
using UninstallEntries = ModuleRecords<UninstallEntry>;

// Gives an entry its icon: appends the icon of the command's program to the view's image list
// and answers its position (-1 for none).
class IUninstallIcons {
public:
    virtual ~IUninstallIcons() = default;
    virtual int AppendIconOf(const std::string& command) = 0;
};

// What the entry operations act on: the registry and the icon list of the current view.
struct UninstallPlace {
    CUninstallRegistry registry;
    IUninstallIcons* icons = nullptr;
};

// Replaces the texts of the entry at `index` and gives it a new icon; then, when both name and
// command are non-empty, writes them under the entry's key. False when the index is outside
// the array or the write did not succeed.
bool StoreUninstallEntry(UninstallPlace& place, size_t index, const std::string& name, const std::string& command,
                         const std::string& keyName);
// Appends an entry and stores it; its index.
size_t AppendUninstallEntry(UninstallPlace& place, const std::string& name, const std::string& command,
                            const std::string& keyName);
// Deletes the entry's key with its subkeys and removes the entry; later entries move down.
// An index outside the array is ignored (false). The slot goes even when the registry refuses:
// the next fill shows what the registry holds.
bool RemoveUninstallEntry(UninstallPlace& place, size_t index);
// Removes every listed entry exactly once, whatever the order and repetitions of the list;
// the number of keys deleted.
size_t RemoveUninstallEntries(UninstallPlace& place, std::vector<size_t> indexes);

// Rebuilds the entries from the registry: every subkey with a name or a command, in
// enumeration order; subkeys with neither are skipped. Nothing is written.
void FillUninstallEntries(UninstallPlace& place);

// The entry whose key is `keyName` (letter case ignored, as the registry does).
std::optional<size_t> FindUninstallEntry(const std::string& keyName);

// The key name for a new entry called `displayName`: the name itself when no key has it yet.
// A name that would reach another program's key gets " (2)", " (3)", ... so that adding never
// overwrites an entry; a "\" (which would make a nested key) becomes "_"; a name longer than
// the registry allows is shortened for the key (the display name stays whole).
std::string NewUninstallKeyName(const std::string& displayName, const std::vector<std::string>& existingKeys);
