#pragma once
// One run of the finder's Start button, apart from its window: which results it starts from
// (cleared, kept for add-to-list, or searched again), the result callback's rules (duplicates
// skipped, at most 4500 results, the running flag) and the engine call. The view supplies the
// hooks that touch the window.
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "filetools/finder/file_search.h"

class CQnProgress;

inline constexpr size_t kMaxFinderResults = 4500;

// The paths already listed and the cap: decides what happens to each found path.
class FinderResultGate {
public:
    enum class Outcome {
        Added,     // a new result; the search may go on
        Duplicate, // already listed: skipped, the search goes on
        Full,      // the new result reached the cap: the search ends
    };
    explicit FinderResultGate(const std::vector<std::string>& listed = {}, size_t cap = kMaxFinderResults);
    Outcome Offer(const std::string& path);
    size_t Count() const { return m_paths.size(); }

private:
    std::unordered_set<std::string> m_paths;
    size_t m_cap;
};

struct FinderRequest {
    FileSearchRequest search;
    bool addToList = false;
    bool searchInList = false;
};

struct FinderHooks {
    std::function<void()> clearResults;                    // empty the result array and the list
    std::function<void()> pumpMessages;                    // paint and the Start/Stop button only
    std::function<void(const std::string& path)> addResult; // record, row, drive tab
    std::function<bool()> isRunning;                       // the running flag
    std::function<void()> tellTooMany;                     // the cap's message
};

struct FinderOutcome {
    FileSearchEnd end = FileSearchEnd::Completed;
    bool searchedInList = false; // the run searched the earlier results only
    size_t added = 0;
};

// `listed` holds the result paths before the run, in order. Search in list (with results)
// searches those paths only, after clearing them; otherwise they are cleared unless
// add-to-list keeps them (and a path found again is then skipped).
FinderOutcome RunFinderSearch(const FinderRequest& request, const std::vector<std::string>& listed,
                              const FinderHooks& hooks, CQnProgress& progress);
