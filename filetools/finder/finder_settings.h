#pragma once
// The finder's settings (section "Search") and its pattern history ("File0" newest to "File9").
#include <string>
#include <vector>

inline constexpr const char* kFinderSection = "Search";
inline constexpr int kComboHistorySize = 10;

struct FinderSettings {
    bool includeSubFolders = false; // "bIncludeSubDir"
    bool addToList = false;         // "bAddToList"
    bool searchInList = false;      // "bSeachInList" (the stored name, spelled as it always was)
    std::string lastFolder = "c:\\"; // "LastFolder"
};

FinderSettings ReadFinderSettings();
void WriteFinderSettings(const FinderSettings& settings);

// The history values of a section, "File0" to "File9", in that order (empty ones included).
std::vector<std::string> ReadComboHistory(const std::string& section);
// Moves value n to n+1 for n from 8 down to 0 (the oldest is overwritten) and writes `current`
// as "File0".
void PushComboHistory(const std::string& section, const std::string& current);
// The texts to add to a combo box from the history: non-empty, each once, not among `present`.
std::vector<std::string> HistoryTextsToAdd(const std::vector<std::string>& history,
                                           const std::vector<std::string>& present);
