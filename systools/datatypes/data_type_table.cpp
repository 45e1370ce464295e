#include "systools/datatypes/data_type_table.h"

#include "app/paths.h"
#include "base/progress.h"
#include "base/text.h"
#include "res/resource.h"
#include "shell/report_model.h"
#include "systools/datatypes/data_type_rules.h"

namespace {
constexpr RegRoot kClasses = RegRoot::ClassesRoot;
const std::string kDefault; // the default value of a key has the empty name

std::string ReadDefault(CRegistryAccess& registry, const std::string& key)
{
    // A path of separators alone would address the class root itself.
    if (SplitKeyPath(key).empty())
        return {};
    return registry.ReadString(kClasses, key, kDefault, std::string());
}

bool KeyExists(const std::string& key)
{
    std::unique_ptr<CRegistryKey> root = OpenRegistryRoot(kClasses);
    for (const std::string& part : SplitKeyPath(key)) {
        if (!root)
            return false;
        root = root->OpenSubKey(part, false);
    }
    return root != nullptr;
}

// Deletes the key `name` directly below `parent` with its whole subtree, depth first. The
// name is taken as it stands: no separator of it is dropped or split.
bool DeleteKeyTree(CRegistryKey& parent, const std::string& name, int depth = 0)
{
    constexpr int kMaxDepth = 512;
    std::unique_ptr<CRegistryKey> key = depth > kMaxDepth ? nullptr : parent.OpenSubKey(name, false);
    if (!key)
        return false;
    std::vector<std::string> children; // collected first: deleting shifts the enumeration
    std::string child;
    for (uint32_t i = 0; key->EnumSubKey(i, child); ++i)
        children.push_back(child);
    for (const std::string& c : children)
        DeleteKeyTree(*key, c, depth + 1);
    key.reset();
    return parent.DeleteSubKey(name);
}

// A default value as it was before a write, to put it back when a later write fails.
struct SavedDefault {
    std::string key;
    bool existed = false;
    std::string text;
};

SavedDefault SaveDefault(CRegistryAccess& registry, const std::string& key)
{
    SavedDefault saved;
    saved.key = key;
    saved.text = registry.ReadString(kClasses, key, kDefault, std::string());
    saved.existed = registry.LastSucceeded();
    return saved;
}

void RestoreDefault(CRegistryAccess& registry, const SavedDefault& saved)
{
    if (saved.existed)
        registry.WriteString(kClasses, saved.key, kDefault, saved.text);
    else
        registry.DeleteValue(kClasses, saved.key, kDefault);
}
} // namespace

std::optional<DataTypeEntry> DataTypeTable::ReadEntry(CRegistryAccess& registry, const std::string& extensionKey)
{
    const std::string progid = ReadDefault(registry, extensionKey);
    const std::string progidDescription = progid.empty() ? std::string() : ReadDefault(registry, progid);
    DataTypeEntry entry;
    entry.extension = extensionKey;
    if (!progidDescription.empty()) {
        entry.description = progidDescription;
        entry.typeKey = progid + "\\";
    } else {
        entry.description = progid;
        entry.typeKey = extensionKey + "\\";
    }
    if (entry.description.empty())
        return std::nullopt;
    entry.description = WithUpperFirstLetter(entry.description);
    entry.iconLocation = ReadDefault(registry, DefaultIconKey(entry.typeKey));
    entry.command = ReadDefault(registry, OpenCommandKey(entry.typeKey));
    return entry;
}

bool DataTypeTable::Fill(CRegistryAccess& registry, CQnProgress& progress, const IconSlotFn& iconSlot)
{
    m_entries.clear();
    const std::vector<std::string> keys = registry.EnumSubKeys(kClasses, "");
    struct Running {
        CQnProgress& progress;
        explicit Running(CQnProgress& p) : progress(p) { progress.Begin(); }
        ~Running() { progress.End(); }
    } running(progress);
    progress.SetText(LoadText(IDS_COLLECTING_INFORMATION));
    progress.SetRange(0, static_cast<int64_t>(keys.size()));
    const size_t step = FillStepWidth(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        if (i % step == 0 && !progress.SetPos(static_cast<int64_t>(i)))
            return false;
        if (keys[i].empty() || keys[i][0] != '.')
            continue;
        std::optional<DataTypeEntry> entry = ReadEntry(registry, keys[i]);
        if (!entry)
            continue;
        if (iconSlot)
            entry->iconIndex = iconSlot(entry->extension);
        m_entries.push_back(std::move(*entry));
    }
    return true;
}

DataTypeTable::SetResult DataTypeTable::SetDataType(CRegistryAccess& registry, const std::string& extensionText,
                                                    const std::string& description, const std::string& command,
                                                    const std::string& iconLocation)
{
    const std::string extension = NormaliseExtension(extensionText);
    if (!IsUsableExtension(extension))
        return {};
    const int found = Find(extension);
    if (found < 0) {
        // The type's own keys first and the extension's pointer last, so that a refused write
        // leaves no extension pointing at a half-written type.
        const std::string typeName = NewTypeKeyName(extension);
        const std::string typeKey = typeName + "\\";
        const bool typeExisted = KeyExists(typeName);
        const SavedDefault oldPointer = SaveDefault(registry, extension);
        const bool extensionExisted = KeyExists(extension);
        const bool written = registry.WriteString(kClasses, typeKey, kDefault, description) &&
                             registry.WriteString(kClasses, OpenCommandKey(typeKey), kDefault, command) &&
                             registry.WriteString(kClasses, DefaultIconKey(typeKey), kDefault, iconLocation) &&
                             registry.WriteString(kClasses, extension + "\\", kDefault, typeName);
        if (!written) {
            if (!typeExisted)
                registry.DeleteKey(kClasses, typeName);
            if (!extensionExisted)
                registry.DeleteKey(kClasses, extension);
            else
                RestoreDefault(registry, oldPointer);
            return {};
        }
        DataTypeEntry entry;
        entry.description = description;
        entry.command = command;
        entry.iconLocation = iconLocation;
        entry.extension = extension;
        entry.typeKey = typeKey;
        m_entries.push_back(std::move(entry));
        return {Count() - 1, true};
    }

    DataTypeEntry& entry = m_entries[static_cast<size_t>(found)];
    const std::string keys[] = {entry.typeKey, DefaultIconKey(entry.typeKey), OpenCommandKey(entry.typeKey)};
    const std::string* texts[] = {&description, &iconLocation, &command};
    std::vector<SavedDefault> saved;
    for (size_t i = 0; i < 3; ++i) {
        saved.push_back(SaveDefault(registry, keys[i]));
        if (!registry.WriteString(kClasses, keys[i], kDefault, *texts[i])) {
            for (const SavedDefault& old : saved)
                RestoreDefault(registry, old);
            return {};
        }
    }
    entry.description = description;
    entry.iconLocation = iconLocation;
    entry.command = command;
    return {found, false};
}

std::vector<int> DataTypeTable::Remove(const std::vector<int>& indexes)
{
    std::vector<int> removed;
    for (int index : indexes) {
        DataTypeEntry* entry = At(index);
        if (!entry || entry->removed || !IsUsableExtension(entry->extension))
            continue;
        if (std::unique_ptr<CRegistryKey> root = OpenRegistryRoot(kClasses)) {
            DeleteKeyTree(*root, entry->extension);
            root->Flush();
        }
        if (KeyExists(entry->extension))
            continue; // refused: the entry stays as the registry has it
        entry->removed = true;
        removed.push_back(index);
    }
    return removed;
}

int DataTypeTable::Find(const std::string& extension) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (!m_entries[i].removed && CompareNoCase(m_entries[i].extension, extension) == 0)
            return static_cast<int>(i);
    return -1;
}

DataTypeEntry* DataTypeTable::At(int index)
{
    return index >= 0 && index < Count() ? &m_entries[static_cast<size_t>(index)] : nullptr;
}

const DataTypeEntry* DataTypeTable::At(int index) const
{
    return index >= 0 && index < Count() ? &m_entries[static_cast<size_t>(index)] : nullptr;
}

DataTypeTable& DataTypeTable::Shared()
{
    static DataTypeTable table;
    return table;
}
