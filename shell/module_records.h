#pragma once
// Records a module keeps for the whole run of the program: a module view is destroyed at every
// module switch, but some modules (data types, uninstall entries, finder results, tool lists)
// refill their lists from records that outlive it. Each kind of record has exactly one owner,
// reached through ModuleRecords<Record, Tag>::Shared(); a module with several arrays of the
// same record type tells them apart by the tag. User-interface thread only.
#include <cstddef>
#include <utility>
#include <vector>

template <class Record, class Tag = Record>
class ModuleRecords {
public:
    // The one array of this record type and tag, built empty at first use and kept until the
    // program ends.
    static ModuleRecords& Shared()
    {
        static ModuleRecords records;
        return records;
    }

    size_t Count() const { return m_records.size(); }
    bool IsEmpty() const { return m_records.empty(); }
    Record& operator[](size_t index) { return m_records[index]; }
    const Record& operator[](size_t index) const { return m_records[index]; }
    // The record at `index`, or null outside 0..Count()-1.
    Record* At(size_t index) { return index < m_records.size() ? &m_records[index] : nullptr; }
    const Record* At(size_t index) const { return index < m_records.size() ? &m_records[index] : nullptr; }

    auto begin() { return m_records.begin(); }
    auto end() { return m_records.end(); }
    auto begin() const { return m_records.begin(); }
    auto end() const { return m_records.end(); }

    // Appends a record and returns its index.
    size_t Append(Record record)
    {
        m_records.push_back(std::move(record));
        return m_records.size() - 1;
    }
    // Removes the record at `index`; later records move down by one. An index outside the
    // array is ignored (false).
    bool RemoveAt(size_t index)
    {
        if (index >= m_records.size())
            return false;
        m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
        return true;
    }
    // Empties the array before it is built again; it counts as not built until MarkBuilt.
    void Clear()
    {
        m_records.clear();
        m_built = false;
    }

    // Whether the array was built since the program started or since the last Clear: modules
    // that build their records once (the tool lists) ask this when their view is created.
    bool IsBuilt() const { return m_built; }
    void MarkBuilt() { m_built = true; }

private:
    ModuleRecords() = default;
    ModuleRecords(const ModuleRecords&) = delete;
    ModuleRecords& operator=(const ModuleRecords&) = delete;

    std::vector<Record> m_records;
    bool m_built = false;
};
