#pragma once
// The portable half of running a conversion in several worker processes: which items must run
// one after another in the same worker, how a worker reports to the parent, and putting the
// reports back into input order.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "picturetools/translator/batch_convert.h"

// Items that may touch the same file run in one group, in input order: a destination that is
// another item's destination or source (compared by file name, ignoring case, so that
// folders and case-insensitive file systems never hide a clash). Groups come in the order of
// their first item.
std::vector<std::vector<size_t>> IndependentGroups(const std::vector<std::string>& sources,
                                                   const std::vector<std::string>& destinations);

// A worker's messages: "started item i" and "item i done, with this result".
struct WorkerMessage {
    size_t index = 0;
    bool started = false; // else `result` is the item's outcome
    ConvertResult result;
};

std::string EncodeWorkerMessage(const WorkerMessage& message);

// Collects a worker's bytes as they arrive and hands out whole messages.
class CWorkerMessageReader {
public:
    void Append(const char* bytes, size_t size) { m_buffer.append(bytes, size); }
    // The next complete message, or nothing until more bytes arrive. False in `valid` when the
    // bytes cannot be a message (the reader then stays stuck).
    std::optional<WorkerMessage> Next(bool& valid);
    bool Empty() const { return m_buffer.empty(); }

private:
    std::string m_buffer;
};

// Results arriving in any order are passed to `report` in input order, as soon as every
// earlier item has been passed on.
class COrderedResults {
public:
    COrderedResults(size_t count, std::function<void(const ConvertResult&)> report);
    void Add(size_t index, ConvertResult result);
    bool Has(size_t index) const { return m_results[index].has_value(); }
    // Every result, in input order (all must have arrived).
    std::vector<ConvertResult> Take();

private:
    std::vector<std::optional<ConvertResult>> m_results;
    std::function<void(const ConvertResult&)> m_report;
    size_t m_next = 0;
};
