#pragma once
// The folder tree's decisions apart from the tree control: which files a folder listing
// shows, the order of a folder's children, and the steps from a drive down to a path.
#include <string>
#include <vector>

namespace dirtree {

// Whether `name` matches the wildcard pattern ('*' any run, '?' one character), ignoring
// ASCII letter case. "*.*" matches every name, also those without a dot, as the system's
// file search does.
bool MatchesPattern(const std::string& name, const std::string& pattern);

// The patterns of a list separated by ';' (blanks around them dropped); "*.*" when the list
// holds none.
std::vector<std::string> SplitPatternList(const std::string& list);
bool MatchesAnyPattern(const std::string& name, const std::vector<std::string>& patterns);

struct Entry {
    std::string name;
    bool folder = false;
};
// Folders first, then files; each by name ignoring letter case.
void SortEntries(std::vector<Entry>& entries);

// The steps of a full path: the drive's root ("C:\") followed by each folder or file name.
// Separators may be '\' or '/', doubled or trailing. An empty list for a path that does not
// start with a drive letter.
std::vector<std::string> SplitTreePath(const std::string& path);

// A child's full path: the folder's path and the name with one separator between them.
std::string ChildPath(const std::string& folder, const std::string& name);

bool SameName(const std::string& a, const std::string& b);

} // namespace dirtree
