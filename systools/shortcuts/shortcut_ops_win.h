#pragma once
// Shortcut files (".lnk") through the shell link object: creating a link, reading what a link
// points at, and starting a link as the shell would. Used by the shortcuts module, the tools
// launcher and setup.
#include <string>

// Creates the link `linkName` (".lnk" included) in `linkFolder`, pointing at `targetName` in
// `targetFolder` (short path form), with the description, the working folder = the target's
// folder, the arguments when given and the icon (target, iconIndex) unless iconIndex is -1.
// True when the link file was written.
bool CreateShortcut(const std::string& targetFolder, const std::string& targetName, const std::string& linkFolder,
                    const std::string& linkName, const std::string& description, const std::string& arguments,
                    int iconIndex);

// What a link holds after it was loaded and resolved without user interface.
struct ShortcutLink {
    bool loaded = false;        // the file was read as a shell link
    std::string target;         // resolved target path; empty when the link names none
    std::string arguments;
    std::string workingFolder;
};

// Reads the link at `linkPath`. Resolving never shows a window and never rewrites the file.
ShortcutLink ReadShortcut(const std::string& linkPath);

// Starts the link: an existing target is opened with the shell in its working folder (a folder
// in a new explorer window); when the shell refuses, the target is started with the link's
// arguments without waiting. The current folder is restored afterwards.
void RunShortcut(const std::string& linkPath);
