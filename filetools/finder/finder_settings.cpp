#include "filetools/finder/finder_settings.h"

#include <algorithm>

#include "app/settings.h"

namespace {
std::string HistoryName(int index) { return "File" + std::to_string(index); }
} // namespace

FinderSettings ReadFinderSettings()
{
    CQnSettings store;
    FinderSettings settings;
    settings.includeSubFolders = store.ReadBool(kFinderSection, "bIncludeSubDir", false);
    settings.addToList = store.ReadBool(kFinderSection, "bAddToList", false);
    settings.searchInList = store.ReadBool(kFinderSection, "bSeachInList", false);
    settings.lastFolder = store.ReadString(kFinderSection, "LastFolder", "c:\\");
    return settings;
}

void WriteFinderSettings(const FinderSettings& settings)
{
    CQnSettings store;
    store.WriteBool(kFinderSection, "bIncludeSubDir", settings.includeSubFolders);
    store.WriteBool(kFinderSection, "bAddToList", settings.addToList);
    store.WriteBool(kFinderSection, "bSeachInList", settings.searchInList);
    store.WriteString(kFinderSection, "LastFolder", settings.lastFolder);
}

std::vector<std::string> ReadComboHistory(const std::string& section)
{
    CQnSettings store;
    std::vector<std::string> history;
    for (int i = 0; i < kComboHistorySize; ++i)
        history.push_back(store.ReadString(section, HistoryName(i), ""));
    return history;
}

void PushComboHistory(const std::string& section, const std::string& current)
{
    CQnSettings store;
    for (int n = kComboHistorySize - 2; n >= 0; --n)
        store.WriteString(section, HistoryName(n + 1), store.ReadString(section, HistoryName(n), ""));
    store.WriteString(section, HistoryName(0), current);
}

std::vector<std::string> HistoryTextsToAdd(const std::vector<std::string>& history,
                                           const std::vector<std::string>& present)
{
    std::vector<std::string> added;
    for (const std::string& text : history) {
        if (text.empty() || std::find(present.begin(), present.end(), text) != present.end() ||
            std::find(added.begin(), added.end(), text) != added.end())
            continue;
        added.push_back(text);
    }
    return added;
}
