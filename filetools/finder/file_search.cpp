#include "filetools/finder/file_search.h"

#include "app/folder_listing.h"
#include "base/progress.h"
#include "base/text.h"
#include "filetools/finder/pattern_match.h"
#include "filetools/finder/search_drives.h"
#include "res/resource.h"

namespace {
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string WithSeparator(std::string folder)
{
    if (!folder.empty() && !IsSeparator(folder.back()))
        folder += kSeparator;
    return folder;
}

// A loaded text with one "%s", split once so that thousands of progress texts cost one
// concatenation each.
class PathText {
public:
    explicit PathText(unsigned id)
    {
        const std::string text = LoadText(id);
        const size_t at = text.find("%s");
        m_before = text.substr(0, at);
        m_after = at == std::string::npos ? std::string() : text.substr(at + 2);
    }
    std::string With(const std::string& path) const { return m_before + path + m_after; }

private:
    std::string m_before, m_after;
};

// Begin and End around one search, whichever way it ends.
class ProgressLevel {
public:
    explicit ProgressLevel(CQnProgress& progress) : m_progress(progress) { m_progress.Begin(); }
    ~ProgressLevel() { m_progress.End(); }

private:
    CQnProgress& m_progress;
};

class Collector {
public:
    Collector(SearchCandidates& candidates, CQnProgress& progress)
        : m_candidates(candidates), m_progress(progress), m_text(IDS_FINDER_SEARCHING_FOLDERS)
    {
    }

    void Walk(const std::string& folder, bool deep)
    {
        std::vector<FolderName> names; // one per level: a sub-folder is entered while its parent's list is kept
        if (!ListFolderNames(folder, names))
            return;
        const auto index = static_cast<uint32_t>(m_candidates.folders.size());
        m_candidates.folders.push_back(folder);
        for (FolderName& entry : names) {
            if (!entry.isFolder) {
                m_candidates.files.push_back({index, std::move(entry.name)});
            } else if (deep) {
                const std::string sub = folder + entry.name;
                m_progress.SetText(m_text.With(sub));
                Walk(sub + kSeparator, true);
            }
        }
    }

private:
    SearchCandidates& m_candidates;
    CQnProgress& m_progress;
    PathText m_text;
};
} // namespace

std::vector<std::string> SearchStartPoints(const FileSearchRequest& request, const std::vector<LogicalDrive>& drives)
{
    if (!request.allDisks)
        return {WithSeparator(request.startFolder)};
    std::vector<std::string> roots;
    for (char letter : SearchedDriveLetters(drives))
        roots.push_back(DriveRoot(letter));
    return roots;
}

void CollectCandidates(const std::string& folder, bool deep, SearchCandidates& candidates, CQnProgress& progress)
{
    if (folder.empty())
        return;
    Collector(candidates, progress).Walk(WithSeparator(folder), deep);
}

FileSearchEnd MatchCandidates(const SearchCandidates& candidates, const std::vector<std::string>& patterns,
                              const FoundFileCallback& found, CQnProgress& progress)
{
    const ProgressLevel level(progress);
    std::vector<std::string> lowered;
    for (const std::string& pattern : patterns)
        lowered.push_back(LowerAscii(pattern));
    const PathText text(IDS_FINDER_SEARCHING_FILES);
    progress.SetRange(0, static_cast<int64_t>(candidates.Count()));
    std::string name; // reused: one lower-cased name at a time
    uint32_t folder = UINT32_MAX;
    for (size_t i = 0; i < candidates.Count(); ++i) {
        const SearchCandidates::File& file = candidates.files[i];
        if (file.folder != folder) {
            folder = file.folder;
            progress.SetText(text.With(candidates.folders[folder]));
        }
        if (!progress.SetPos(static_cast<int64_t>(i)))
            return FileSearchEnd::Cancelled;
        name.assign(file.name);
        for (char& c : name)
            c = LowerAscii(c);
        for (const std::string& pattern : lowered) {
            if (!MatchLoweredPattern(name, pattern))
                continue;
            if (!found(candidates.PathOf(i)))
                return FileSearchEnd::Stopped;
            break;
        }
    }
    return FileSearchEnd::Completed;
}

SearchCandidates CandidatesOfPaths(const std::vector<std::string>& paths)
{
    SearchCandidates candidates;
    for (const std::string& path : paths) {
        size_t cut = path.size();
        while (cut > 0 && !IsSeparator(path[cut - 1]))
            --cut;
        std::string folder = path.substr(0, cut);
        if (candidates.folders.empty() || candidates.folders.back() != folder)
            candidates.folders.push_back(std::move(folder));
        candidates.files.push_back({static_cast<uint32_t>(candidates.folders.size() - 1), path.substr(cut)});
    }
    return candidates;
}

FileSearchEnd FileSearch(const FileSearchRequest& request, const FoundFileCallback& found, CQnProgress& progress)
{
    const ProgressLevel level(progress);
    SearchCandidates candidates;
    const std::vector<LogicalDrive> drives = request.allDisks ? ListLogicalDrives() : std::vector<LogicalDrive>{};
    for (const std::string& start : SearchStartPoints(request, drives))
        CollectCandidates(start, request.includeSubFolders, candidates, progress);
    return MatchCandidates(candidates, SplitPatterns(request.patterns), found, progress);
}
