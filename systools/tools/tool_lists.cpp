#include "systools/tools/tool_lists.h"

#include <utility>

#include "app/folder_listing.h"
#include "app/paths.h"
#include "app/registry_key.h"
#include "filetools/filetypes/program_command.h"
#include "shell/report_model.h"

namespace {
const char* const kBuiltInTools[] = {
    "%WINDIR%\\defrag.Exe|Defrag",
    "%WINDIR%\\scandskw.Exe|Scandisk",
    "%WINDIR%\\pbrush.Exe|Paint Brush",
    "%WINDIR%\\notepad.Exe|Notepad",
    "%WINDIR%\\write.Exe|Wordpad",
    "%WINDIR%\\progman.Exe|Program",
    "%WINDIR%\\taskman.Exe|Task Manager",
    "%WINDIR%\\winfile.Exe|Files Manager",
    "%WINDIR%\\explorer.Exe|Explorer",
    "%WINDIR%\\regedit.Exe|Regedit",
    "%WINDIR%\\system\\sysedit.Exe|System Edit",
    "%WINDIR%\\winipcfg.Exe|IP Config",
    "%WINDIR%\\Control.Exe|Control",
    "%WINDIR%\\Command.com|MSDos",
    "%WINDIR%\\mplayer.exe|Multimedia Player",
};
constexpr const char* kWindowsFolderMark = "%WINDIR%";
constexpr const char* kMakerKey = "Software\\Ostrel\\Software";
constexpr const char* kOwnRecord = "Quenta";
constexpr const char* kProgramExtension = ".exe";

std::string ReplaceAll(std::string text, const std::string& mark, const std::string& by)
{
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
        text.replace(at, mark.size(), by);
    return text;
}

bool EndsWithNoCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && CompareNoCase(text.substr(text.size() - end.size()), end) == 0;
}

// The text of a REG_SZ value up to its first zero.
std::string TextOfValue(const std::vector<uint8_t>& data)
{
    std::string text(data.begin(), data.end());
    const size_t zero = text.find('\0');
    return zero == std::string::npos ? text : text.substr(0, zero);
}
} // namespace

std::span<const char* const> BuiltInTools() { return kBuiltInTools; }

std::vector<ToolCandidate> MakerProgramCandidates()
{
    std::vector<ToolCandidate> found;
    std::unique_ptr<CRegistryKey> key = OpenRegistryRoot(RegRoot::CurrentUser);
    for (const std::string& part : SplitKeyPath(kMakerKey))
        key = key ? key->OpenSubKey(part, false) : nullptr;
    if (!key)
        return found;
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
    for (uint32_t index = 0; key->EnumValue(index, name, type, data); ++index) {
        if (type != kRegString || name.empty() || name.size() > kMaxToolText || CompareNoCase(name, kOwnRecord) == 0)
            continue;
        std::string path = TextOfValue(data);
        if (path.empty() || path.size() > kMaxToolText)
            continue;
        found.push_back({std::move(path), name});
    }
    return found;
}

std::vector<ToolCandidate> BuiltInToolCandidates(const std::string& windowsFolder,
                                                 const std::function<bool(const std::string&)>& fileExists)
{
    std::vector<ToolCandidate> found;
    for (const std::string row : kBuiltInTools) {
        const size_t bar = row.find('|');
        const std::string command = ReplaceAll(row.substr(0, bar), kWindowsFolderMark, windowsFolder);
        std::string program = ProgramFromCommandLine(command, windowsFolder, fileExists);
        if (!program.empty() && program.size() <= kMaxToolText)
            found.push_back({std::move(program), row.substr(bar + 1)});
    }
    return found;
}

std::vector<ToolCandidate> FolderProgramCandidates(const std::string& folder, const std::vector<FolderName>& names)
{
    std::vector<ToolCandidate> found;
    for (const FolderName& entry : names) {
        if (entry.isFolder || !EndsWithNoCase(entry.name, kProgramExtension))
            continue;
        std::string path = JoinPath(folder, entry.name);
        if (path.size() <= kMaxToolText)
            found.push_back({std::move(path), entry.name.substr(0, entry.name.size() - 4)});
    }
    return found;
}

void ExchangeSortByName(std::vector<ToolEntry>& entries)
{
    for (size_t i = 0; i < entries.size(); ++i)
        for (size_t j = i + 1; j < entries.size(); ++j)
            if (CompareNoCase(entries[j].name, entries[i].name) < 0)
                std::swap(entries[i], entries[j]);
}

const std::vector<ToolEntry>& ToolLists::Tab(int tab) const
{
    static const std::vector<ToolEntry> none;
    return tab >= 0 && tab < kToolTabCount ? m_tabs[static_cast<size_t>(tab)] : none;
}

const ToolEntry* ToolLists::Entry(int tab, size_t index) const
{
    const std::vector<ToolEntry>& entries = Tab(tab);
    return index < entries.size() ? &entries[index] : nullptr;
}

bool ToolLists::AddTool(ToolPlatform& platform, int tab, const ToolCandidate& candidate, int position, int count)
{
    if (tab <= kAllToolsTab || tab >= kToolTabCount)
        return false;
    platform.ShowRetrieving(candidate.path, position, count);
    const int image = platform.AddIcon(candidate.path);
    if (image < 0)
        return false;
    const ToolEntry entry{candidate.path, candidate.name, image};
    m_tabs[static_cast<size_t>(tab)].push_back(entry);
    std::vector<ToolEntry>& all = m_tabs[kAllToolsTab];
    bool listed = false;
    for (const ToolEntry& other : all)
        listed = listed || CompareNoCase(other.path, entry.path) == 0;
    if (!listed)
        all.push_back(entry);
    return true;
}

void ToolLists::Build(ToolPlatform& platform, const std::string& windowsFolder, const std::vector<ToolCandidate>& maker,
                      const std::function<void(int step)>& step)
{
    Clear();
    auto addExisting = [&](int tab, const std::vector<ToolCandidate>& candidates) {
        const int count = static_cast<int>(candidates.size());
        for (int i = 0; i < count; ++i)
            if (platform.FileExists(candidates[static_cast<size_t>(i)].path))
                AddTool(platform, tab, candidates[static_cast<size_t>(i)], i + 1, count);
    };
    auto exists = [&platform](const std::string& path) { return platform.FileExists(path); };

    if (step)
        step(1);
    addExisting(kMakerToolsTab, maker);
    if (step)
        step(2);
    addExisting(kCustomToolsTab, BuiltInToolCandidates(windowsFolder, exists));
    if (step)
        step(3);
    std::vector<ToolCandidate> programs;
    std::vector<FolderName> names;
    for (const std::string& folder : {windowsFolder, JoinPath(windowsFolder, "system")})
        if (platform.ListFolderNames(folder, names)) {
            std::vector<ToolCandidate> more = FolderProgramCandidates(folder, names);
            programs.insert(programs.end(), more.begin(), more.end());
        }
    addExisting(kSystemToolsTab, programs);
    if (step)
        step(4);
    SortAll();
    m_built = true;
}

void ToolLists::SortAll()
{
    for (std::vector<ToolEntry>& entries : m_tabs)
        ExchangeSortByName(entries);
}

void ToolLists::RemovePath(const std::string& path)
{
    for (std::vector<ToolEntry>& entries : m_tabs)
        std::erase_if(entries, [&](const ToolEntry& entry) { return CompareNoCase(entry.path, path) == 0; });
}

void ToolLists::Clear()
{
    for (std::vector<ToolEntry>& entries : m_tabs)
        entries.clear();
    m_built = false;
}
