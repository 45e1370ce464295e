#include "app/registry_access.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "app/paths.h"

namespace {
constexpr int kMaxTreeDepth = 512;
constexpr uint32_t kMaxEnumerated = 1u << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Text of a REG_SZ or REG_EXPAND_SZ value up to its first zero.
bool TextOf(uint32_t type, const std::vector<uint8_t>& data, std::string& text)
{
    if (type != kRegString && type != kRegExpandString)
        return false;
    const char* chars = reinterpret_cast<const char*>(data.data());
    text.assign(chars, strnlen(chars, data.size()));
    return true;
}

bool DeleteTree(CRegistryKey& parent, const std::string& name, int depth)
{
    if (depth > kMaxTreeDepth)
        return false;
    std::unique_ptr<CRegistryKey> key = parent.OpenSubKey(name, false);
    if (!key)
        return false;
    // Collect the names first: deleting while enumerating would shift the indexes.
    std::vector<std::string> children;
    std::string child;
    for (uint32_t i = 0; i < kMaxEnumerated && key->EnumSubKey(i, child); ++i)
        children.push_back(child);
    bool ok = true;
    for (const std::string& c : children)
        ok = DeleteTree(*key, c, depth + 1) && ok;
    key.reset();
    return parent.DeleteSubKey(name) && ok;
}
} // namespace

int ParseLeadingInt(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

std::unique_ptr<CRegistryKey> CRegistryAccess::Open(RegRoot root, const std::string& path, bool create)
{
    m_root = root;
    m_keyPath = path;
    std::unique_ptr<CRegistryKey> key = OpenRegistryRoot(root);
    for (const std::string& part : SplitKeyPath(path)) {
        if (!key)
            break;
        key = key->OpenSubKey(part, create);
    }
    m_succeeded = key != nullptr;
    return key;
}

bool CRegistryAccess::ReadText(RegRoot root, const std::string& path, const std::string& name,
                               size_t capacity, std::string& text)
{
    std::unique_ptr<CRegistryKey> key = Open(root, path, false);
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
    std::string value;
    m_succeeded = key && key->QueryValue(name, type, data) && TextOf(type, data, value) &&
                  value.size() < capacity;
    if (m_succeeded)
        text = std::move(value);
    return m_succeeded;
}

char* CRegistryAccess::ReadString(RegRoot root, const std::string& path, const std::string& name,
                                  char (&buffer)[kTextBuffer], const char* defaultText)
{
    std::string text = defaultText ? defaultText : "";
    ReadText(root, path, name, kTextBuffer, text);
    size_t n = std::min(text.size(), kTextBuffer - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return buffer;
}

std::string CRegistryAccess::ReadString(RegRoot root, const std::string& path, const std::string& name,
                                        const std::string& defaultText)
{
    std::string text = defaultText;
    ReadText(root, path, name, kStringScratch, text);
    return text;
}

uint32_t CRegistryAccess::ReadDword(RegRoot root, const std::string& path, const std::string& name,
                                    uint32_t defaultValue)
{
    std::unique_ptr<CRegistryKey> key = Open(root, path, false);
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
    m_succeeded = key && key->QueryValue(name, type, data) && data.size() == 4;
    if (!m_succeeded)
        return defaultValue;
    return data[0] | (data[1] << 8) | (data[2] << 16) | (uint32_t(data[3]) << 24);
}

int CRegistryAccess::ReadInt(RegRoot root, const std::string& path, const std::string& name, int defaultValue)
{
    return ParseLeadingInt(ReadString(root, path, name, std::to_string(defaultValue)));
}

bool CRegistryAccess::Write(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                            const std::vector<uint8_t>& data)
{
    std::unique_ptr<CRegistryKey> key = Open(root, path, true);
    m_succeeded = key && key->SetValue(name, type, data) && key->Flush();
    return m_succeeded;
}

bool CRegistryAccess::WriteString(RegRoot root, const std::string& path, const std::string& name,
                                  const std::string& text)
{
    std::vector<uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return Write(root, path, name, kRegString, data);
}

bool CRegistryAccess::WriteInt(RegRoot root, const std::string& path, const std::string& name, int value)
{
    return WriteString(root, path, name, std::to_string(value));
}

bool CRegistryAccess::WriteDword(RegRoot root, const std::string& path, const std::string& name, uint32_t value)
{
    std::vector<uint8_t> data = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    return Write(root, path, name, kRegBinary, data);
}

bool CRegistryAccess::DeleteValue(RegRoot root, const std::string& path, const std::string& name)
{
    std::unique_ptr<CRegistryKey> key = Open(root, path, false);
    m_succeeded = key && key->DeleteValue(name) && key->Flush();
    return m_succeeded;
}

bool CRegistryAccess::DeleteKey(RegRoot root, const std::string& path)
{
    std::vector<std::string> parts = SplitKeyPath(WithoutTrailingSeparator(path));
    if (parts.empty()) {
        // Never the root itself.
        m_root = root;
        m_keyPath = path;
        return m_succeeded = false;
    }
    std::string name = parts.back();
    parts.pop_back();
    std::string parent;
    for (const std::string& p : parts)
        parent = JoinPath(parent, p);
    std::unique_ptr<CRegistryKey> key = Open(root, parent, false);
    m_keyPath = path;
    m_succeeded = key && DeleteTree(*key, name, 0) && key->Flush();
    return m_succeeded;
}

bool CRegistryAccess::DeleteKey(RegRoot root, const std::string& parent, const std::string& name)
{
    return DeleteKey(root, JoinPath(parent, name));
}

void CRegistryAccess::FreeEnumerations()
{
    m_stringValues.clear();
    m_otherValues.clear();
    m_subKeys.clear();
}

const std::vector<CRegistryAccess::StringValue>& CRegistryAccess::EnumStringValues(RegRoot root,
                                                                                   const std::string& path)
{
    FreeEnumerations();
    std::unique_ptr<CRegistryKey> key = Open(root, path, false);
    std::string name, text;
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
    for (uint32_t i = 0; key && i < kMaxEnumerated && key->EnumValue(i, name, type, data); ++i) {
        if (type != kRegString || name.size() > kEnumTextLimit)
            continue;
        TextOf(type, data, text);
        m_stringValues.emplace_back(name, text.substr(0, kEnumTextLimit));
    }
    return m_stringValues;
}

const std::vector<std::string>& CRegistryAccess::EnumOtherValues(RegRoot root, const std::string& path)
{
    FreeEnumerations();
    std::unique_ptr<CRegistryKey> key = Open(root, path, false);
    std::string name;
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
    for (uint32_t i = 0; key && i < kMaxEnumerated && key->EnumValue(i, name, type, data); ++i)
        if (type != kRegString)
            m_otherValues.push_back(name);
    return m_otherValues;
}

const std::vector<std::string>& CRegistryAccess::EnumSubKeys(RegRoot root, const std::string& path)
{
    FreeEnumerations();
    std::unique_ptr<CRegistryKey> key = Open(root, path, false);
    std::string name;
    for (uint32_t i = 0; key && i < kMaxEnumerated && key->EnumSubKey(i, name); ++i)
        m_subKeys.push_back(name);
    return m_subKeys;
}
