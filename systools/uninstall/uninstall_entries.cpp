#include "systools/uninstall/uninstall_entries.h"

#include <algorithm>

#include "shell/report_model.h"

namespace {
int NextIcon(UninstallPlace& place, const std::string& command)
{
    return place.icons ? place.icons->AppendIconOf(command) : -1;
}

bool SameKeyName(const std::string& a, const std::string& b) { return CompareNoCase(a, b) == 0; }
} // namespace

bool StoreUninstallEntry(UninstallPlace& place, size_t index, const std::string& name, const std::string& command,
                         const std::string& keyName)
{
    UninstallEntry* entry = UninstallEntries::Shared().At(index);
    if (!entry)
        return false;
    entry->displayName = name;
    entry->command = command;
    entry->keyName = keyName;
    entry->iconIndex = NextIcon(place, command);
    if (name.empty() || command.empty())
        return false; // listed, but not written
    return place.registry.WriteEntry(keyName, name, command);
}

size_t AppendUninstallEntry(UninstallPlace& place, const std::string& name, const std::string& command,
                            const std::string& keyName)
{
    const size_t index = UninstallEntries::Shared().Append(UninstallEntry{});
    StoreUninstallEntry(place, index, name, command, keyName);
    return index;
}

bool RemoveUninstallEntry(UninstallPlace& place, size_t index)
{
    UninstallEntries& entries = UninstallEntries::Shared();
    const UninstallEntry* entry = entries.At(index);
    if (!entry)
        return false;
    const bool deleted = place.registry.DeleteEntry(entry->keyName);
    entries.RemoveAt(index);
    return deleted;
}

size_t RemoveUninstallEntries(UninstallPlace& place, std::vector<size_t> indexes)
{
    // From the highest index down, so that each removal leaves the lower indexes in place.
    std::sort(indexes.begin(), indexes.end(), std::greater<size_t>());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    size_t deleted = 0;
    for (size_t index : indexes)
        deleted += RemoveUninstallEntry(place, index) ? 1 : 0;
    return deleted;
}

void FillUninstallEntries(UninstallPlace& place)
{
    UninstallEntries& entries = UninstallEntries::Shared();
    entries.Clear();
    for (const std::string& keyName : place.registry.SubKeyNames()) {
        StoredEntryTexts texts = place.registry.ReadEntry(keyName);
        if (texts.displayName.empty() && texts.command.empty())
            continue;
        const int icon = NextIcon(place, texts.command);
        entries.Append(UninstallEntry{std::move(texts.displayName), std::move(texts.command), keyName, icon});
    }
    entries.MarkBuilt();
}

std::optional<size_t> FindUninstallEntry(const std::string& keyName)
{
    const UninstallEntries& entries = UninstallEntries::Shared();
    for (size_t i = 0; i < entries.Count(); ++i)
        if (SameKeyName(entries[i].keyName, keyName))
            return i;
    return std::nullopt;
}

std::string NewUninstallKeyName(const std::string& displayName, const std::vector<std::string>& existingKeys)
{
    std::string base = displayName;
    std::replace(base.begin(), base.end(), '\\', '_');
    auto taken = [&](const std::string& name) {
        return std::any_of(existingKeys.begin(), existingKeys.end(),
                           [&](const std::string& key) { return SameKeyName(key, name); });
    };
    auto fitted = [](std::string name, const std::string& suffix) {
        if (name.size() + suffix.size() > kMaxEntryKeyName)
            name.resize(kMaxEntryKeyName - suffix.size());
        return name + suffix;
    };
    std::string candidate = fitted(base, "");
    for (int number = 2; taken(candidate); ++number)
        candidate = fitted(base, " (" + std::to_string(number) + ")");
    return candidate;
}
