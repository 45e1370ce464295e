#include "systools/misc/stored_value.h"

#include <algorithm>
#include <memory>

#include "app/paths.h"

namespace {
std::unique_ptr<CRegistryKey> OpenKey(const ValueAddress& at, bool create)
{
    std::unique_ptr<CRegistryKey> key = OpenRegistryRoot(at.root);
    for (const std::string& part : SplitKeyPath(at.key)) {
        if (!key)
            break;
        key = key->OpenSubKey(part, create);
    }
    return key;
}
} // namespace

StoredValue StoredValue::Text(const std::string& text)
{
    StoredValue value;
    value.present = true;
    value.type = kRegString;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return value;
}

StoredValue StoredValue::Dword(uint32_t number)
{
    StoredValue value;
    value.present = true;
    value.type = kRegDword;
    for (int shift = 0; shift < 32; shift += 8)
        value.data.push_back(static_cast<uint8_t>(number >> shift));
    return value;
}

std::string StoredValue::TextOr(const std::string& fallback) const
{
    if (!IsText())
        return fallback;
    const auto end = std::find(data.begin(), data.end(), uint8_t{0});
    return std::string(data.begin(), end);
}

StoredValue ReadStoredValue(const ValueAddress& at)
{
    StoredValue value;
    std::unique_ptr<CRegistryKey> key = OpenKey(at, false);
    if (key && key->QueryValue(at.name, value.type, value.data))
        value.present = true;
    else
        value = StoredValue::Missing();
    value.keyExisted = key != nullptr;
    return value;
}

namespace {
// Removes the value's key when it holds nothing.
void RemoveKeyIfEmpty(const ValueAddress& at)
{
    std::vector<std::string> parts = SplitKeyPath(at.key);
    if (parts.empty())
        return;
    std::unique_ptr<CRegistryKey> key = OpenKey(at, false);
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
    if (!key || key->EnumValue(0, name, type, data) || key->EnumSubKey(0, name))
        return;
    key.reset();
    const std::string last = parts.back();
    parts.pop_back();
    std::string parent;
    for (const std::string& part : parts)
        parent += part + "\\";
    if (std::unique_ptr<CRegistryKey> holder = OpenKey({at.root, parent, ""}, false))
        holder->DeleteSubKey(last);
}
} // namespace

bool WriteStoredValue(const ValueAddress& at, const StoredValue& wanted)
{
    const StoredValue current = ReadStoredValue(at);
    StoredValue value = wanted;
    if (value.type == kRegString && current.present && current.type == kRegExpandString)
        value.type = kRegExpandString;
    if (!value.present) {
        if (current.present)
            if (std::unique_ptr<CRegistryKey> key = OpenKey(at, false))
                key->DeleteValue(at.name);
        if (!value.keyExisted && current.keyExisted)
            RemoveKeyIfEmpty(at);
        return !ReadStoredValue(at).present;
    }
    if (current == value)
        return true;
    std::unique_ptr<CRegistryKey> key = OpenKey(at, true);
    return key && key->SetValue(at.name, value.type, value.data) && key->Flush();
}
