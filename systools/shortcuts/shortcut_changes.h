#pragma once
// What the shortcuts module does to link files, without a window: link names, the command a
// link points at, renaming or retargeting (Apply), adding, links for dropped files and the
// removal of selected links. The files themselves go through IShortcutFiles, so that the
// order of the steps is tested without the shell.
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A shortcut's name as the list shows it and the name of its file.
std::string LinkFileName(const std::string& shortcutName);     // name + ".lnk"
std::string ShortcutNameOfLink(const std::string& linkFileName); // without the extension
// The name of a file's shortcut: its file name without the extension.
std::string ShortcutNameOfFile(const std::string& path);
// Whether a link can be named so in its folder: not empty or blank, not "." or "..", no path
// separator, drive colon, wildcard, quote, angle bracket, bar or control character, and short
// enough for a file name.
bool IsUsableShortcutName(const std::string& name);
// Paths compare as the file system compares them: without regard to ASCII letter case.
bool SamePathIgnoringCase(const std::string& a, const std::string& b);

// The command of a shortcut: a program path, or a quoted path followed by its arguments.
struct ShortcutCommand {
    std::string folder;    // without a trailing separator, except a drive root ("C:\")
    std::string name;
    std::string arguments;
};
// Nothing for an empty command, an unclosed quote or a path without a file name.
std::optional<ShortcutCommand> ParseShortcutCommand(const std::string& command);

class IShortcutFiles {
public:
    virtual ~IShortcutFiles() = default;
    virtual bool Exists(const std::string& path) = 0;
    // Writes the link at `linkPath` (replacing a file there) pointing at `command`.
    virtual bool CreateLink(const std::string& linkPath, const ShortcutCommand& command) = 0;
    // Copies a link byte for byte (replacing a file there): all it holds stays as it was.
    virtual bool CopyLink(const std::string& from, const std::string& to) = 0;
    // Renames within the folder (used to change only the letter case of a name).
    virtual bool RenameLink(const std::string& from, const std::string& to) = 0;
    virtual bool DeleteLink(const std::string& path) = 0;
};

enum class ShortcutChange {
    Applied,        // the link is as asked
    Unchanged,      // nothing to do
    InvalidName,    // nothing written
    InvalidCommand, // nothing written
    Declined,       // the user kept the other link of that name; nothing written
    NotWritten,     // the new link could not be written; the old one is untouched
    OldKept,        // the new link was written but the old one could not be deleted
};

// Asked before a link replaces another link of the name given; true to replace it.
using ConfirmReplace = std::function<bool(const std::string& shortcutName)>;

struct ApplyRequest {
    std::string oldLinkPath;
    std::string newName;  // the name edit
    std::string command;  // the command edit
    bool commandChanged = false;
};

// Apply: the link named after newName in the old link's folder is written first, pointing at
// the command (a copy of the old link when only the name changed, so that its arguments and
// icon stay); the old link is deleted only once the new one was written, and never when both
// names address the same file. `newLinkPath` receives the link that now stands.
ShortcutChange ApplyShortcutChange(const ApplyRequest& request, IShortcutFiles& files,
                                   const ConfirmReplace& confirmReplace, std::string* newLinkPath = nullptr);

// Add: a new link `name` in `folder` pointing at `command`.
ShortcutChange AddShortcut(const std::string& folder, const std::string& name, const std::string& command,
                           IShortcutFiles& files, const ConfirmReplace& confirmReplace,
                           std::string* newLinkPath = nullptr);

// Links for dropped files: each named after its file without the extension; a name already in
// the folder, or given to an earlier file of the same drop, becomes "name (2)", "name (3)", ...
// so a drop never replaces a link. A file whose name cannot name a link gets an empty linkPath.
struct DroppedLink {
    std::string file;
    std::string linkPath;
};
std::vector<DroppedLink> PlanDroppedLinks(const std::vector<std::string>& files, const std::string& folder,
                                          const std::function<bool(const std::string& path)>& exists);

// The question asked before removing `count` selected links (0 when there is nothing to ask).
unsigned RemoveQuestionId(size_t count);

struct SelectedLink {
    int row;
    std::string linkPath;
};
// Removes the selected links from the last row up; `onRemoving` is told each path first. The
// rows whose links went are returned, in removal order.
std::vector<int> RemoveSelectedLinks(std::vector<SelectedLink> selected, IShortcutFiles& files,
                                     const std::function<void(const std::string& linkPath)>& onRemoving = {});
