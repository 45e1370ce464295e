#pragma once
// A registry held in memory for the uninstaller's tests: keys and values in the order they
// were made, names compared without letter case, a count of every change, and switches that
// make the registry refuse writes or deletions as a key without rights would.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/registry_key.h"
#include "shell/report_model.h"

struct MemoryRegistryNode {
    struct Value {
        std::string name;
        uint32_t type;
        std::vector<uint8_t> data;
    };
    std::string name;
    std::vector<Value> values;
    std::vector<std::shared_ptr<MemoryRegistryNode>> children;

    std::shared_ptr<MemoryRegistryNode> Child(const std::string& wanted) const
    {
        for (const auto& child : children)
            if (CompareNoCase(child->name, wanted) == 0)
                return child;
        return nullptr;
    }
    Value* FindValue(const std::string& wanted)
    {
        for (Value& value : values)
            if (CompareNoCase(value.name, wanted) == 0)
                return &value;
        return nullptr;
    }
};

struct MemoryRegistry {
    std::shared_ptr<MemoryRegistryNode> root = std::make_shared<MemoryRegistryNode>();
    bool refuseWrites = false;
    bool refuseDeletes = false;
    int writes = 0;     // values set
    int deletions = 0;  // keys deleted

    // The node at a "\"-separated path, made when `create`.
    std::shared_ptr<MemoryRegistryNode> Node(const std::string& path, bool create = false)
    {
        std::shared_ptr<MemoryRegistryNode> node = root;
        size_t start = 0;
        while (node && start < path.size()) {
            size_t end = path.find('\\', start);
            if (end == std::string::npos)
                end = path.size();
            const std::string part = path.substr(start, end - start);
            start = end + 1;
            if (part.empty())
                continue;
            auto child = node->Child(part);
            if (!child && create) {
                child = std::make_shared<MemoryRegistryNode>();
                child->name = part;
                node->children.push_back(child);
            }
            node = child;
        }
        return node;
    }
    void SetText(const std::string& path, const std::string& name, const std::string& text, uint32_t type = kRegString)
    {
        std::vector<uint8_t> data(text.begin(), text.end());
        data.push_back(0);
        SetRaw(path, name, type, data);
    }
    void SetRaw(const std::string& path, const std::string& name, uint32_t type, const std::vector<uint8_t>& data)
    {
        auto node = Node(path, true);
        if (auto* value = node->FindValue(name))
            *value = {name, type, data};
        else
            node->values.push_back({name, type, data});
    }
    bool Has(const std::string& path) { return Node(path) != nullptr; }
    // The text of a value, "<missing>" when absent, prefixed by its type when not REG_SZ.
    std::string Text(const std::string& path, const std::string& name)
    {
        auto node = Node(path);
        auto* value = node ? node->FindValue(name) : nullptr;
        if (!value)
            return "<missing>";
        std::string text(value->data.begin(), std::find(value->data.begin(), value->data.end(), uint8_t{0}));
        return value->type == kRegString ? text : std::to_string(value->type) + ":" + text;
    }
    std::vector<std::string> SubKeys(const std::string& path)
    {
        std::vector<std::string> names;
        if (auto node = Node(path))
            for (const auto& child : node->children)
                names.push_back(child->name);
        return names;
    }

    std::unique_ptr<CRegistryKey> OpenRoot();
};

class MemoryRegistryKey : public CRegistryKey {
public:
    MemoryRegistryKey(MemoryRegistry& registry, std::shared_ptr<MemoryRegistryNode> node)
        : m_registry(registry), m_node(std::move(node)) {}

    std::unique_ptr<CRegistryKey> OpenSubKey(const std::string& name, bool create) override
    {
        if (name.empty() || name.find('\\') != std::string::npos)
            return nullptr;
        auto child = m_node->Child(name);
        if (!child && create) {
            if (m_registry.refuseWrites)
                return nullptr;
            child = std::make_shared<MemoryRegistryNode>();
            child->name = name;
            m_node->children.push_back(child);
        }
        return child ? std::make_unique<MemoryRegistryKey>(m_registry, child) : nullptr;
    }
    bool QueryValue(const std::string& name, uint32_t& type, std::vector<uint8_t>& data) override
    {
        auto* value = m_node->FindValue(name);
        if (!value)
            return false;
        type = value->type;
        data = value->data;
        return true;
    }
    bool SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override
    {
        if (m_registry.refuseWrites)
            return false;
        ++m_registry.writes;
        if (auto* value = m_node->FindValue(name))
            *value = {value->name, type, data};
        else
            m_node->values.push_back({name, type, data});
        return true;
    }
    bool DeleteValue(const std::string& name) override
    {
        auto& values = m_node->values;
        const auto before = values.size();
        values.erase(std::remove_if(values.begin(), values.end(),
                                    [&](const auto& value) { return CompareNoCase(value.name, name) == 0; }),
                     values.end());
        return values.size() != before;
    }
    bool DeleteSubKey(const std::string& name) override
    {
        auto child = m_node->Child(name);
        if (!child || !child->children.empty() || m_registry.refuseDeletes)
            return false;
        ++m_registry.deletions;
        auto& children = m_node->children;
        children.erase(std::find(children.begin(), children.end(), child));
        return true;
    }
    bool EnumValue(uint32_t index, std::string& name, uint32_t& type, std::vector<uint8_t>& data) override
    {
        if (index >= m_node->values.size())
            return false;
        name = m_node->values[index].name;
        type = m_node->values[index].type;
        data = m_node->values[index].data;
        return true;
    }
    bool EnumSubKey(uint32_t index, std::string& name) override
    {
        if (index >= m_node->children.size())
            return false;
        name = m_node->children[index]->name;
        return true;
    }

private:
    MemoryRegistry& m_registry;
    std::shared_ptr<MemoryRegistryNode> m_node;
};

inline std::unique_ptr<CRegistryKey> MemoryRegistry::OpenRoot()
{
    return std::make_unique<MemoryRegistryKey>(*this, root);
}
