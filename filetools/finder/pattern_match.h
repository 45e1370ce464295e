#pragma once
// Name patterns of the finder: "*" and "?" wildcards, case-insensitive.
#include <string>
#include <string_view>
#include <vector>

// The pattern text split at every ";" (a missing final ";" is implied); an empty piece ends the
// list (so ";*.bmp" names no pattern and finds nothing), and an empty text gives the single
// pattern "*". Patterns keep their letter case.
std::vector<std::string> SplitPatterns(const std::string& text);

// Whether a file name matches a pattern, ignoring the case of ASCII letters. "?" stands for one
// character and "*" for any run of characters, tried at every length, so "*.txt" finds
// "my.notes.txt". A name matches once the pattern is used up, whatever characters remain
// ("*.txt" also finds "readme.txt.bak", "a?c" finds "abcd"); an empty pattern matches all.
bool MatchPattern(const std::string& name, const std::string& pattern);

// The same rule for a name and a pattern already in lower case (the search lowers each once).
bool MatchLoweredPattern(std::string_view name, std::string_view pattern);

// ASCII lower case, other bytes unchanged.
char LowerAscii(char c);
std::string LowerAscii(std::string_view text);
