#include "app/registry_store.h"

#include <algorithm>
#include <cstring>

// File form (little-endian):
//   "QNREG001", then the five roots in RegRoot order, each a key:
//     key   = u16 name length, name, u32 value count, values, u32 subkey count, keys
//     value = u16 name length, name, u32 type, u32 data length, data
//   then u32 FNV-1a hash of everything before it.
// The hash and the exact end catch a file cut short or altered.

namespace {
constexpr char kMagic[8] = {'Q', 'N', 'R', 'E', 'G', '0', '0', '1'};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool NameLess(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

uint32_t Fnv1a(const uint8_t* data, size_t size)
{
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        h = (h ^ data[i]) * 16777619u;
    return h;
}

class Writer {
public:
    std::vector<uint8_t> out;
    void U16(uint16_t v) { out.push_back(v & 0xFF); out.push_back(v >> 8); }
    void U32(uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF); }
    void Bytes(const void* p, size_t n)
    {
        size_t at = out.size();
        out.resize(at + n);
        if (n)
            std::memcpy(out.data() + at, p, n);
    }
    void Name(const std::string& s) { U16(static_cast<uint16_t>(s.size())); Bytes(s.data(), s.size()); }

    void Key(const RegStoreNode& node)
    {
        Name(node.name);
        U32(static_cast<uint32_t>(node.values.size()));
        for (const RegStoreValue& v : node.values) {
            Name(v.name);
            U32(v.type);
            U32(static_cast<uint32_t>(v.data.size()));
            Bytes(v.data.data(), v.data.size());
        }
        U32(static_cast<uint32_t>(node.subkeys.size()));
        for (const auto& sub : node.subkeys)
            Key(*sub);
    }
};

// Bounds-checked reader with a sticky failure flag.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool ok = true;

    size_t Remaining() const { return m_size - m_pos; }
    bool Take(size_t n, const uint8_t** p)
    {
        if (!ok || n > Remaining())
            return ok = false;
        *p = m_data + m_pos;
        m_pos += n;
        return true;
    }
    uint32_t U16()
    {
        const uint8_t* p;
        return Take(2, &p) ? p[0] | (p[1] << 8) : 0;
    }
    uint32_t U32()
    {
        const uint8_t* p;
        return Take(4, &p) ? p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24) : 0;
    }
    bool Name(size_t limit, std::string& s)
    {
        size_t n = U16();
        const uint8_t* p;
        if (n > limit || !Take(n, &p))
            return ok = false;
        s.assign(reinterpret_cast<const char*>(p), n);
        return true;
    }

    bool Key(RegStoreNode& node, int depth)
    {
        if (depth > CRegistryStore::kMaxDepth || !Name(CRegistryStore::kMaxKeyName, node.name))
            return ok = false;
        uint32_t valueCount = U32();
        // Each value takes at least 10 bytes, so a count beyond that is damage, not a reason
        // to allocate.
        if (!ok || valueCount > Remaining() / 10)
            return ok = false;
        for (uint32_t i = 0; i < valueCount; ++i) {
            RegStoreValue v;
            if (!Name(CRegistryStore::kMaxValueName, v.name))
                return false;
            v.type = U32();
            uint32_t length = U32();
            const uint8_t* p;
            if (!Take(length, &p) || node.FindValue(v.name))
                return ok = false;
            v.data.assign(p, p + length);
            node.values.push_back(std::move(v));
        }
        uint32_t subkeyCount = U32();
        if (!ok || subkeyCount > Remaining() / 10)
            return ok = false;
        for (uint32_t i = 0; i < subkeyCount; ++i) {
            auto sub = std::make_shared<RegStoreNode>();
            if (!Key(*sub, depth + 1))
                return false;
            if (sub->name.empty() || sub->name.find('\\') != std::string::npos ||
                node.FindSubKey(sub->name))
                return ok = false;
            auto at = std::lower_bound(node.subkeys.begin(), node.subkeys.end(), sub,
                                       [](const auto& a, const auto& b) { return NameLess(a->name, b->name); });
            node.subkeys.insert(at, std::move(sub));
        }
        return ok;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};
} // namespace

bool SameRegName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

RegStoreValue* RegStoreNode::FindValue(const std::string& valueName)
{
    for (RegStoreValue& v : values)
        if (SameRegName(v.name, valueName))
            return &v;
    return nullptr;
}

void RegStoreNode::SetValue(const std::string& valueName, uint32_t type, std::vector<uint8_t> data)
{
    if (RegStoreValue* v = FindValue(valueName)) {
        v->type = type;
        v->data = std::move(data);
        return;
    }
    values.push_back(RegStoreValue{valueName, type, std::move(data)});
}

bool RegStoreNode::DeleteValue(const std::string& valueName)
{
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const RegStoreValue& v) { return SameRegName(v.name, valueName); });
    if (it == values.end())
        return false;
    values.erase(it);
    return true;
}

std::shared_ptr<RegStoreNode> RegStoreNode::FindSubKey(const std::string& keyName) const
{
    for (const auto& sub : subkeys)
        if (SameRegName(sub->name, keyName))
            return sub;
    return nullptr;
}

std::shared_ptr<RegStoreNode> RegStoreNode::AddSubKey(const std::string& keyName)
{
    if (auto existing = FindSubKey(keyName))
        return existing;
    auto sub = std::make_shared<RegStoreNode>();
    sub->name = keyName;
    auto at = std::lower_bound(subkeys.begin(), subkeys.end(), sub,
                               [](const auto& a, const auto& b) { return NameLess(a->name, b->name); });
    subkeys.insert(at, sub);
    return sub;
}

bool RegStoreNode::DeleteSubKey(const std::string& keyName)
{
    auto it = std::find_if(subkeys.begin(), subkeys.end(),
                           [&](const auto& sub) { return SameRegName(sub->name, keyName); });
    if (it == subkeys.end() || !(*it)->subkeys.empty())
        return false;
    subkeys.erase(it);
    return true;
}

CRegistryStore::CRegistryStore() { Clear(); }

void CRegistryStore::Clear()
{
    for (auto& root : m_roots)
        root = std::make_shared<RegStoreNode>();
}

std::shared_ptr<RegStoreNode> CRegistryStore::Root(RegRoot root) const
{
    int i = static_cast<int>(root);
    return i >= 0 && i < kRootCount ? m_roots[i] : nullptr;
}

std::vector<uint8_t> CRegistryStore::Serialize() const
{
    Writer w;
    w.Bytes(kMagic, sizeof kMagic);
    for (const auto& root : m_roots)
        w.Key(*root);
    w.U32(Fnv1a(w.out.data(), w.out.size()));
    return std::move(w.out);
}

bool CRegistryStore::Parse(const uint8_t* data, size_t size)
{
    if (size < sizeof kMagic + 4 || std::memcmp(data, kMagic, sizeof kMagic) != 0)
        return false;
    size_t bodySize = size - 4;
    const uint8_t* h = data + bodySize;
    uint32_t stored = h[0] | (h[1] << 8) | (h[2] << 16) | (uint32_t(h[3]) << 24);
    if (stored != Fnv1a(data, bodySize))
        return false;
    Reader r(data + sizeof kMagic, bodySize - sizeof kMagic);
    std::shared_ptr<RegStoreNode> roots[kRootCount];
    for (auto& root : roots) {
        root = std::make_shared<RegStoreNode>();
        if (!r.Key(*root, 0))
            return false;
    }
    if (r.Remaining() != 0)
        return false;
    for (int i = 0; i < kRootCount; ++i)
        m_roots[i] = std::move(roots[i]);
    return true;
}
