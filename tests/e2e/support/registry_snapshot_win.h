#pragma once
// Registry snapshots for end-to-end tests: everything below a key, read into sorted maps, and
// the keys whose existence or values differ between two snapshots. A scenario takes one before
// and one after and checks that exactly the keys it names changed.
#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace e2e {
// Key path (as given, e.g. "HKCR\.abc\Shell") → value name → "type:data" (data as text for the
// string types, decimal for DWORD, hexadecimal bytes otherwise).
using RegistryValues = std::map<std::string, std::string>;
using RegistrySnapshot = std::map<std::string, RegistryValues>;

inline std::string RegistryValueText(DWORD type, const std::vector<BYTE>& data, DWORD size)
{
    std::string text = std::to_string(type) + ":";
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        std::string s(reinterpret_cast<const char*>(data.data()), size);
        while (!s.empty() && s.back() == '\0')
            s.pop_back();
        return text + s;
    }
    if (type == REG_DWORD && size == 4)
        return text + std::to_string(*reinterpret_cast<const DWORD*>(data.data()));
    char hex[4];
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(hex, sizeof hex, "%02x", data[i]);
        text += hex;
    }
    return text;
}

namespace detail {
inline void SnapshotKey(HKEY key, const std::string& path, RegistrySnapshot& snapshot)
{
    RegistryValues& values = snapshot[path];
    std::vector<char> name(16384);
    std::vector<BYTE> data(1 << 16);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        const LONG status = RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            data.resize(size + 1);
            --index; // read this value again with room for it
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        values[std::string(name.data(), nameLength)] = RegistryValueText(type, data, size);
    }
    std::vector<std::string> children;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(name.data(), nameLength);
    }
    for (const std::string& child : children) {
        HKEY sub = nullptr;
        if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, &sub) != ERROR_SUCCESS)
            continue;
        SnapshotKey(sub, path + "\\" + child, snapshot);
        RegCloseKey(sub);
    }
}
} // namespace detail

// Everything below root\subkey (subkey may be empty), under paths that start with `label`.
// An absent key gives an empty snapshot.
inline RegistrySnapshot SnapshotRegistry(HKEY root, const std::string& subkey, const std::string& label)
{
    RegistrySnapshot snapshot;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.empty() ? nullptr : subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return snapshot;
    detail::SnapshotKey(key, label, snapshot);
    RegCloseKey(key);
    return snapshot;
}

// The key paths that were added, removed, or whose values differ.
inline std::set<std::string> ChangedKeys(const RegistrySnapshot& before, const RegistrySnapshot& after)
{
    std::set<std::string> changed;
    for (const auto& [path, values] : before) {
        const auto found = after.find(path);
        if (found == after.end() || found->second != values)
            changed.insert(path);
    }
    for (const auto& entry : after)
        if (!before.count(entry.first))
            changed.insert(entry.first);
    return changed;
}

// A readable list of the changes, for failure messages.
inline std::string DescribeChanges(const RegistrySnapshot& before, const RegistrySnapshot& after)
{
    std::string text;
    for (const std::string& path : ChangedKeys(before, after)) {
        const auto was = before.find(path);
        const auto now = after.find(path);
        text += (was == before.end() ? "+ " : now == after.end() ? "- " : "~ ") + path + "\n";
        if (was == before.end() || now == after.end())
            continue;
        for (const auto& [name, value] : now->second) {
            const auto old = was->second.find(name);
            if (old == was->second.end() || old->second != value)
                text += "    " + name + " = " + value + "\n";
        }
        for (const auto& [name, value] : was->second)
            if (!now->second.count(name))
                text += "    (removed) " + name + "\n";
    }
    return text;
}
} // namespace e2e
