#pragma once
// The records behind a module's list rows: the view owns them, each row's item data points at
// its record, and removing many rows removes their records in one pass (no search per row).
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_set>
#include <vector>

template <class Record>
class CRowRecords {
public:
    // Takes ownership; the returned value is the row's item data.
    intptr_t Add(std::unique_ptr<Record> record)
    {
        m_records.push_back(std::move(record));
        return DataOf(*m_records.back());
    }
    static intptr_t DataOf(const Record& record) { return reinterpret_cast<intptr_t>(&record); }
    static Record* FromData(intptr_t data) { return reinterpret_cast<Record*>(data); }

    // Frees the records whose item data is listed (others and unknown values are left alone).
    void RemoveData(std::span<const intptr_t> data)
    {
        const std::unordered_set<intptr_t> gone(data.begin(), data.end());
        std::erase_if(m_records, [&](const std::unique_ptr<Record>& r) { return gone.count(DataOf(*r)) != 0; });
    }
    void Clear() { m_records.clear(); }
    size_t Count() const { return m_records.size(); }

private:
    std::vector<std::unique_ptr<Record>> m_records;
};
