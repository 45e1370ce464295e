#pragma once
// General registry access: typed reads with defaults, writes that create missing keys,
// deletion of values and whole key trees, and enumerations. Every operation opens its key
// path one component at a time from the root with full access and closes it again; nothing
// is cached, so a value written anywhere is seen by the next read.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/registry_key.h"

// Leading-number rule of integer settings: optional leading blanks and sign, then decimal
// digits up to the first other character; no digits gives 0. Values beyond the range of
// int are clamped.
int ParseLeadingInt(const std::string& text);

class CRegistryAccess {
public:
    static constexpr size_t kTextBuffer = 260;  // a text read into a caller's buffer
    static constexpr size_t kStringScratch = 1024; // a text read into a string
    static constexpr size_t kEnumTextLimit = 259;  // names and texts of EnumStringValues

    using StringValue = std::pair<std::string, std::string>;

    CRegistryAccess() = default;
    CRegistryAccess(const CRegistryAccess&) = delete;
    CRegistryAccess& operator=(const CRegistryAccess&) = delete;

    // Copies the default into the buffer, then the text value when it exists, is text and fits.
    char* ReadString(RegRoot root, const std::string& path, const std::string& name,
                     char (&buffer)[kTextBuffer], const char* defaultText);
    // The same for texts up to kStringScratch - 1 characters.
    std::string ReadString(RegRoot root, const std::string& path, const std::string& name,
                           const std::string& defaultText);
    // The 4 raw bytes of the value whatever its type; the default when missing or not 4 bytes.
    uint32_t ReadDword(RegRoot root, const std::string& path, const std::string& name, uint32_t defaultValue);
    // An integer stored as decimal text (ParseLeadingInt); the default when missing.
    int ReadInt(RegRoot root, const std::string& path, const std::string& name, int defaultValue);

    // Writes create missing keys. They report success, though callers need not look.
    bool WriteString(RegRoot root, const std::string& path, const std::string& name, const std::string& text);
    bool WriteInt(RegRoot root, const std::string& path, const std::string& name, int value);
    bool WriteDword(RegRoot root, const std::string& path, const std::string& name, uint32_t value);

    bool DeleteValue(RegRoot root, const std::string& path, const std::string& name);
    // Deletes the key with its whole subtree (a trailing "\" or "/" of the path is dropped).
    bool DeleteKey(RegRoot root, const std::string& path);
    bool DeleteKey(RegRoot root, const std::string& parent, const std::string& name);

    // Enumerations. Each frees the previous result; the returned list belongs to this object
    // and stays valid until the next enumeration or the object's end.
    // Every text (REG_SZ) value as (name, text), in registry order; texts cut to 259 characters,
    // values whose names are longer than that left out.
    const std::vector<StringValue>& EnumStringValues(RegRoot root, const std::string& path);
    // Names of all values that are not REG_SZ.
    const std::vector<std::string>& EnumOtherValues(RegRoot root, const std::string& path);
    const std::vector<std::string>& EnumSubKeys(RegRoot root, const std::string& path);

    // The root and full key path of the last operation, and whether it succeeded.
    RegRoot Root() const { return m_root; }
    const std::string& KeyPath() const { return m_keyPath; }
    bool LastSucceeded() const { return m_succeeded; }

private:
    std::unique_ptr<CRegistryKey> Open(RegRoot root, const std::string& path, bool create);
    bool ReadText(RegRoot root, const std::string& path, const std::string& name, size_t capacity,
                  std::string& text);
    bool Write(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
               const std::vector<uint8_t>& data);
    void FreeEnumerations();

    RegRoot m_root = RegRoot::CurrentUser;
    std::string m_keyPath;
    bool m_succeeded = false;
    std::vector<StringValue> m_stringValues;
    std::vector<std::string> m_otherValues;
    std::vector<std::string> m_subKeys;
};
