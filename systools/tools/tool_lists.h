#pragma once
// The tool launcher's four lists: all tools, the maker's other programs, the built-in tools
// that exist here and the programs of the Windows folders. The rules of what is listed (which
// programs, each path once under "All Tools", the exchange sort by name) are portable; the
// platform gives file existence, folder listings, icons and the status text.
#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

struct FolderName;

enum ToolTab : int {
    kAllToolsTab = 0,
    kMakerToolsTab = 1,
    kCustomToolsTab = 2,
    kSystemToolsTab = 3,
    kToolTabCount = 4,
};

struct ToolEntry {
    std::string path; // the program
    std::string name; // shown in the list
    int image = -1;   // in the launcher's shared small-icon list
};

// A program that may become a tool entry, once it exists and has an icon.
struct ToolCandidate {
    std::string path;
    std::string name;
};

// What the lists need of the platform.
class ToolPlatform {
public:
    virtual ~ToolPlatform() = default;
    // Whether `path` names an existing file (not a folder).
    virtual bool FileExists(const std::string& path) = 0;
    // Appends the program's small icon to the shared image list; -1 when it has none.
    virtual int AddIcon(const std::string& path) = 0;
    // The names in `folder`; false when it cannot be listed.
    virtual bool ListFolderNames(const std::string& folder, std::vector<FolderName>& names) = 0;
    // "Retrieving "%s" (%d/%d)..." while an entry is built.
    virtual void ShowRetrieving(const std::string& path, int position, int count) = 0;
};

// The built-in tool table: "path|name", "%WINDIR%" standing for the Windows folder.
std::span<const char* const> BuiltInTools();

// Path longest accepted from the registry or a folder (a path is at most 260 characters with
// its terminating zero).
constexpr size_t kMaxToolText = 259;

// The maker's programs as the install records name them: each text value of HKEY_CURRENT_USER
// "Software\Ostrel\Software\" except "Quenta" (any case), in registry order; values without a
// name, without text or too long for a path are skipped.
std::vector<ToolCandidate> MakerProgramCandidates();
// The built-in table for this Windows folder (no trailing separator): "%WINDIR%" replaced as
// written (case-sensitive), then the program taken from the text as from a command line
// (program_command.h); rows that name no program are left out.
std::vector<ToolCandidate> BuiltInToolCandidates(const std::string& windowsFolder,
                                                 const std::function<bool(const std::string&)>& fileExists);
// The "*.exe" files among `names` of `folder`, named without their extension, in the given order.
std::vector<ToolCandidate> FolderProgramCandidates(const std::string& folder, const std::vector<FolderName>& names);


// Sorts ascending by name, ignoring case: for each position, every later entry whose name
// compares lower is swapped in.
void ExchangeSortByName(std::vector<ToolEntry>& entries);

class ToolLists {
public:
    const std::vector<ToolEntry>& Tab(int tab) const;
    const ToolEntry* Entry(int tab, size_t index) const;
    bool IsBuilt() const { return m_built; }

    // Builds the four lists in four steps (maker, built-in, folders, sort); `step` is told the
    // number of each step before it runs. The lists are emptied first.
    void Build(ToolPlatform& platform, const std::string& windowsFolder, const std::vector<ToolCandidate>& maker,
               const std::function<void(int step)>& step);
    // Adds the program to `tab` when it has an icon, and to "All Tools" when no entry there has
    // the same path (any case). `position` and `count` go to the status text. False when skipped.
    bool AddTool(ToolPlatform& platform, int tab, const ToolCandidate& candidate, int position, int count);
    void SortAll();
    // Forgets every entry of the program (moved or deleted by the user).
    void RemovePath(const std::string& path);
    void Clear();

private:
    std::array<std::vector<ToolEntry>, kToolTabCount> m_tabs;
    bool m_built = false;
};
