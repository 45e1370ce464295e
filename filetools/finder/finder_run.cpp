#include "filetools/finder/finder_run.h"

#include "base/progress.h"
#include "filetools/finder/pattern_match.h"

FinderResultGate::FinderResultGate(const std::vector<std::string>& listed, size_t cap)
    : m_paths(listed.begin(), listed.end()), m_cap(cap)
{
}

FinderResultGate::Outcome FinderResultGate::Offer(const std::string& path)
{
    if (!m_paths.insert(path).second)
        return Outcome::Duplicate;
    return m_paths.size() >= m_cap ? Outcome::Full : Outcome::Added;
}

FinderOutcome RunFinderSearch(const FinderRequest& request, const std::vector<std::string>& listed,
                              const FinderHooks& hooks, CQnProgress& progress)
{
    FinderOutcome outcome;
    outcome.searchedInList = request.searchInList && !listed.empty();
    const bool keep = !outcome.searchedInList && request.addToList;
    if (!keep && hooks.clearResults)
        hooks.clearResults();
    FinderResultGate gate(keep ? listed : std::vector<std::string>{});
    const FoundFileCallback found = [&](const std::string& path) {
        if (hooks.pumpMessages)
            hooks.pumpMessages();
        const FinderResultGate::Outcome offered = gate.Offer(path);
        if (offered == FinderResultGate::Outcome::Duplicate)
            return true;
        ++outcome.added;
        hooks.addResult(path);
        if (offered == FinderResultGate::Outcome::Full) {
            if (hooks.tellTooMany)
                hooks.tellTooMany();
            return false;
        }
        return !hooks.isRunning || hooks.isRunning();
    };
    if (outcome.searchedInList)
        outcome.end = MatchCandidates(CandidatesOfPaths(listed), SplitPatterns(request.search.patterns), found, progress);
    else
        outcome.end = FileSearch(request.search, found, progress);
    return outcome;
}
