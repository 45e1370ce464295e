#include "systools/shortcuts/shortcut_changes.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "app/paths.h"
#include "filetools/common/free_names.h"
#include "res/resource.h"

namespace {
const char kLinkExtension[] = ".lnk";
constexpr size_t kLongestFileName = 255;

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string FolderOfLink(const std::string& linkPath)
{
    const size_t cut = linkPath.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : linkPath.substr(0, cut + 1);
}

// Writes the link `linkPath`, asking first when another file already has its name.
ShortcutChange WriteNewLink(const std::string& linkPath, const std::string& name, IShortcutFiles& files,
                            const ConfirmReplace& confirmReplace, const std::function<bool()>& write)
{
    if (files.Exists(linkPath) && !(confirmReplace && confirmReplace(name)))
        return ShortcutChange::Declined;
    return write() ? ShortcutChange::Applied : ShortcutChange::NotWritten;
}
} // namespace

std::string LinkFileName(const std::string& shortcutName) { return shortcutName + kLinkExtension; }

std::string ShortcutNameOfLink(const std::string& linkFileName)
{
    const size_t dot = linkFileName.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? linkFileName : linkFileName.substr(0, dot);
}

std::string ShortcutNameOfFile(const std::string& path) { return ShortcutNameOfLink(FileNamePart(WithoutTrailingSeparator(path))); }

bool IsUsableShortcutName(const std::string& name)
{
    if (Trimmed(name).empty() || name == "." || name == ".." || LinkFileName(name).size() > kLongestFileName)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
}

bool SamePathIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<ShortcutCommand> ParseShortcutCommand(const std::string& command)
{
    std::string text = Trimmed(command);
    std::string path, arguments;
    if (!text.empty() && text.front() == '"') {
        const size_t close = text.find('"', 1);
        if (close == std::string::npos)
            return std::nullopt;
        path = text.substr(1, close - 1);
        arguments = Trimmed(text.substr(close + 1));
    } else {
        path = text;
    }
    const size_t cut = path.find_last_of("\\/");
    ShortcutCommand result;
    result.name = cut == std::string::npos ? path : path.substr(cut + 1);
    if (Trimmed(result.name).empty())
        return std::nullopt;
    if (cut != std::string::npos) {
        result.folder = path.substr(0, cut);
        if (result.folder.empty() || (result.folder.size() == 2 && result.folder[1] == ':'))
            result.folder += path[cut];
    }
    result.arguments = arguments;
    return result;
}

ShortcutChange ApplyShortcutChange(const ApplyRequest& request, IShortcutFiles& files,
                                   const ConfirmReplace& confirmReplace, std::string* newLinkPath)
{
    if (newLinkPath)
        *newLinkPath = request.oldLinkPath;
    if (!IsUsableShortcutName(request.newName))
        return ShortcutChange::InvalidName;
    std::optional<ShortcutCommand> command = ParseShortcutCommand(request.command);
    if (request.commandChanged && !command)
        return ShortcutChange::InvalidCommand;
    const std::string target = FolderOfLink(request.oldLinkPath) + LinkFileName(request.newName);

    if (SamePathIgnoringCase(target, request.oldLinkPath)) {
        // The same file: write it in place, never delete it; a change of letter case only renames.
        if (request.commandChanged && !files.CreateLink(request.oldLinkPath, *command))
            return ShortcutChange::NotWritten;
        if (target != request.oldLinkPath && files.RenameLink(request.oldLinkPath, target) && newLinkPath)
            *newLinkPath = target;
        return request.commandChanged || target != request.oldLinkPath ? ShortcutChange::Applied
                                                                      : ShortcutChange::Unchanged;
    }
    ShortcutChange written = WriteNewLink(target, request.newName, files, confirmReplace, [&] {
        return request.commandChanged ? files.CreateLink(target, *command) : files.CopyLink(request.oldLinkPath, target);
    });
    if (written != ShortcutChange::Applied)
        return written;
    if (newLinkPath)
        *newLinkPath = target;
    return files.DeleteLink(request.oldLinkPath) ? ShortcutChange::Applied : ShortcutChange::OldKept;
}

ShortcutChange AddShortcut(const std::string& folder, const std::string& name, const std::string& command,
                           IShortcutFiles& files, const ConfirmReplace& confirmReplace, std::string* newLinkPath)
{
    if (!IsUsableShortcutName(name))
        return ShortcutChange::InvalidName;
    std::optional<ShortcutCommand> parsed = ParseShortcutCommand(command);
    if (!parsed)
        return ShortcutChange::InvalidCommand;
    const std::string target = JoinPath(folder, LinkFileName(name));
    ShortcutChange written =
        WriteNewLink(target, name, files, confirmReplace, [&] { return files.CreateLink(target, *parsed); });
    if (written == ShortcutChange::Applied && newLinkPath)
        *newLinkPath = target;
    return written;
}

std::vector<DroppedLink> PlanDroppedLinks(const std::vector<std::string>& files, const std::string& folder,
                                          const std::function<bool(const std::string& path)>& exists)
{
    std::vector<std::string> names;
    std::vector<size_t> usable;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string name = ShortcutNameOfFile(files[i]);
        if (IsUsableShortcutName(name)) {
            names.push_back(LinkFileName(name));
            usable.push_back(i);
        }
    }
    const std::vector<std::string> paths = FreeTargetPaths(names, folder, exists);
    std::vector<DroppedLink> links;
    for (const std::string& file : files)
        links.push_back({file, {}});
    for (size_t k = 0; k < usable.size() && k < paths.size(); ++k)
        links[usable[k]].linkPath = paths[k];
    return links;
}

unsigned RemoveQuestionId(size_t count)
{
    return count == 0 ? 0u : count == 1 ? IDS_SHORTCUT_REMOVE_ONE : IDS_SHORTCUT_REMOVE_MANY;
}

std::vector<int> RemoveSelectedLinks(std::vector<SelectedLink> selected, IShortcutFiles& files,
                                     const std::function<void(const std::string& linkPath)>& onRemoving)
{
    std::stable_sort(selected.begin(), selected.end(),
                     [](const SelectedLink& a, const SelectedLink& b) { return a.row > b.row; });
    std::vector<int> removed;
    for (const SelectedLink& link : selected) {
        if (onRemoving)
            onRemoving(link.linkPath);
        if (files.DeleteLink(link.linkPath))
            removed.push_back(link.row);
    }
    return removed;
}
