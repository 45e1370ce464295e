#pragma once
// A registry held in memory: five roots, each a tree of keys holding typed values, with a
// compact file form. It stands in for the system registry where there is none (the Linux
// build); the file form is read as untrusted bytes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/registry_key.h"

struct RegStoreValue {
    std::string name;
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
};

struct RegStoreNode {
    std::string name;
    std::vector<RegStoreValue> values;                  // in the order they were first written
    std::vector<std::shared_ptr<RegStoreNode>> subkeys; // sorted by name, ignoring case

    RegStoreValue* FindValue(const std::string& valueName);
    // Sets (or adds at the end) a value.
    void SetValue(const std::string& valueName, uint32_t type, std::vector<uint8_t> data);
    bool DeleteValue(const std::string& valueName);
    std::shared_ptr<RegStoreNode> FindSubKey(const std::string& keyName) const;
    std::shared_ptr<RegStoreNode> AddSubKey(const std::string& keyName);
    bool DeleteSubKey(const std::string& keyName);
};

// Letter-case-blind comparison of key and value names (ASCII letters).
bool SameRegName(const std::string& a, const std::string& b);

class CRegistryStore {
public:
    static constexpr int kRootCount = 5;
    // Limits of the file form, as the system registry has them.
    static constexpr size_t kMaxKeyName = 255;
    static constexpr size_t kMaxValueName = 16383;
    static constexpr int kMaxDepth = 512;

    CRegistryStore();

    std::shared_ptr<RegStoreNode> Root(RegRoot root) const;
    void Clear();

    std::vector<uint8_t> Serialize() const;
    // Replaces the content with the file form in `data`; on damaged data returns false and
    // leaves the content unchanged.
    bool Parse(const uint8_t* data, size_t size);

private:
    std::shared_ptr<RegStoreNode> m_roots[kRootCount];
};
