#pragma once
// The finder's search engine: collects the candidate files of a folder, a folder tree or every
// searched drive, then matches their names against the patterns and hands each match to a
// callback. Runs on the calling thread; the callback decides whether the search goes on.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CQnProgress;

// Called with each matching file's full path; false ends the search at once.
using FoundFileCallback = std::function<bool(const std::string& path)>;

enum class FileSearchEnd {
    Completed, // every candidate was tested
    Stopped,   // the callback returned false
    Cancelled, // the progress sink's SetPos returned false
};

struct FileSearchRequest {
    std::string patterns;          // the pattern text, ";" separated (SplitPatterns)
    std::string startFolder;       // with or without its trailing separator
    bool includeSubFolders = false;
    bool allDisks = false;         // every searched drive instead of the start folder
};

// The candidate files of a search: each file's folder (with its trailing separator) and name.
struct SearchCandidates {
    struct File {
        uint32_t folder; // index into folders
        std::string name;
    };
    std::vector<std::string> folders;
    std::vector<File> files;

    size_t Count() const { return files.size(); }
    std::string PathOf(size_t index) const { return folders[files[index].folder] + files[index].name; }
};

// The folders a request starts from: the start folder, or each searched drive's root among
// `drives` (ListLogicalDrives) with the all-disks flag.
struct LogicalDrive;
std::vector<std::string> SearchStartPoints(const FileSearchRequest& request, const std::vector<LogicalDrive>& drives);

// Appends the files of `folder` to `candidates` in the order the file system lists them; with
// `deep`, each sub-folder is entered when met (depth first), after the progress text
// "Searching directories : "%s"..." names it. Folders that cannot be listed are skipped.
void CollectCandidates(const std::string& folder, bool deep, SearchCandidates& candidates, CQnProgress& progress);

// Tests every candidate's name (not its folder) against the patterns in order, with the range
// 0..count and the text "Searching : "%s"..." whenever the folder changes; the first matching
// pattern reports the file.
FileSearchEnd MatchCandidates(const SearchCandidates& candidates, const std::vector<std::string>& patterns,
                              const FoundFileCallback& found, CQnProgress& progress);

// Candidates made of full paths (a search among earlier results).
SearchCandidates CandidatesOfPaths(const std::vector<std::string>& paths);

// The whole search: start points, collection, matching.
FileSearchEnd FileSearch(const FileSearchRequest& request, const FoundFileCallback& found, CQnProgress& progress);
