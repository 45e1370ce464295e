#include "filetools/finder/pattern_match.h"

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = LowerAscii(c);
    return lowered;
}

std::vector<std::string> SplitPatterns(const std::string& text)
{
    if (text.empty())
        return {"*"};
    std::vector<std::string> patterns;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(';', start);
        const size_t stop = end == std::string::npos ? text.size() : end;
        if (stop == start)
            break; // an empty piece ends the list
        patterns.push_back(text.substr(start, stop - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return patterns;
}

// Greedy matching that remembers the last "*": on a mismatch the star takes one more name
// character and matching resumes after it. Remembering only the last star is enough, since
// an earlier star can take any characters a later one gives up.
bool MatchLoweredPattern(std::string_view name, std::string_view pattern)
{
    constexpr size_t kNoStar = std::string_view::npos;
    size_t n = 0, p = 0;
    size_t afterStar = kNoStar, starName = 0;
    for (;;) {
        if (p == pattern.size())
            return true; // the pattern is used up: whatever follows in the name matches
        if (n == name.size())
            return pattern.find_first_not_of('*', p) == std::string_view::npos;
        const char c = pattern[p];
        if (c == '*') {
            afterStar = ++p;
            starName = n;
        } else if (c == '?' || c == name[n]) {
            ++p;
            ++n;
        } else if (afterStar != kNoStar) {
            p = afterStar;
            n = ++starName;
        } else {
            return false;
        }
    }
}

bool MatchPattern(const std::string& name, const std::string& pattern)
{
    return MatchLoweredPattern(LowerAscii(name), LowerAscii(pattern));
}
