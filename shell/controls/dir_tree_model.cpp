#include "shell/controls/dir_tree_model.h"

#include <algorithm>
#include <cctype>

namespace dirtree {
namespace {
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
} // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern)
{
    if (pattern == "*.*" || pattern == "*")
        return true;
    // Iterative matching with one backtrack point for the last '*'.
    size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> SplitPatternList(const std::string& list)
{
    std::vector<std::string> patterns;
    size_t start = 0;
    for (;;) {
        const size_t end = list.find(';', start);
        std::string pattern = Trimmed(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!pattern.empty())
            patterns.push_back(std::move(pattern));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (patterns.empty())
        patterns.push_back("*.*");
    return patterns;
}

bool MatchesAnyPattern(const std::string& name, const std::vector<std::string>& patterns)
{
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return MatchesPattern(name, pattern); });
}

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

void SortEntries(std::vector<Entry>& entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.folder != b.folder)
            return a.folder;
        return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                            [](char x, char y) { return Lower(x) < Lower(y); });
    });
}

std::vector<std::string> SplitTreePath(const std::string& path)
{
    if (path.size() < 2 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' ||
        (path.size() > 2 && !IsSeparator(path[2])))
        return {};
    std::vector<std::string> steps{std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) +
                                   ":\\"};
    size_t at = 2;
    while (at < path.size()) {
        while (at < path.size() && IsSeparator(path[at]))
            ++at;
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        if (end > at)
            steps.push_back(path.substr(at, end - at));
        at = end;
    }
    return steps;
}

std::string ChildPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return IsSeparator(folder.back()) ? folder + name : folder + "\\" + name;
}

} // namespace dirtree
