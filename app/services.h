#pragma once
// Small process-wide services: interface language, help pages, the shell, starting
// programs, temporary names, deleting folder trees and the maker-wide window registry.
#include <cstdint>
#include <string>

// Interface language. choice -1 reads "Language" from the product key (default 0);
// 1 = English (0x0409), 2 = French (0x040C); any other choice leaves the language as it is.
void SetLanguage(int choice);
// The language id of a choice, or 0 for "leave it".
unsigned LanguageIdOfChoice(int choice);

// Opens the help page `page` from the help folder ("HelpFolder", else the program folder
// joined with "Help"); tells the user when it is missing.
void ShowHelpPage(const std::string& page);
// The path ShowHelpPage opens for `page`.
std::string HelpPagePath(const std::string& page);

// Opens a folder in a new explorer window, or any other path with the shell's "open" verb.
void OpenWithShell(const std::string& path);

// Starts `program` with `arguments` in `folder` with the given show state, waiting for it
// to end unless noWait. False when the process cannot be created.
bool RunProgram(bool noWait, int showState, const std::string& program, const std::string& arguments,
                const std::string& folder);
// The command line RunProgram builds: "command.com /c " for an MS-DOS program, the program's
// short path (quoted when it still holds blanks), one blank, the arguments.
std::string BuildRunCommandLine(bool isDosProgram, const std::string& shortProgramPath,
                                const std::string& arguments);

// The base folder of temporary names ("TemporaryDirectory" as last loaded by the archive
// options; empty until then).
void SetTemporaryDirectory(const std::string& folder);
// A new temporary path: base joined with "Ostrel Quenta" joined with the time in seconds
// directly followed by a process-wide counter. The caller creates the file or folder.
std::string MakeTempName();
std::string FormatTempName(const std::string& base, long long seconds, int counter);
// The system temporary folder, with its trailing separator.
std::string SystemTempPath();

// Deletes a folder with all its files and subfolders. Only absolute paths are accepted, never
// a whole drive. Links (symbolic links, junctions) met inside are removed themselves: the
// deletion never reaches what they point to. True when everything was removed.
bool DeleteFolderTree(const std::string& folder);

// The window registry under "software\ostrel\atom\<program>": value "HWND" holds a window
// handle in hexadecimal, "0" for none.
void RegisterWindowEntry(const std::string& program);
void ClearWindowEntry();
void* FindWindowEntry(const std::string& program);
// Posts the message to the program's registered window; false when there is none.
bool PostToWindowEntry(const std::string& program, unsigned message, uintptr_t wParam, intptr_t lParam);
// Parses a handle written as "%p" (hexadecimal, optional "0x"); 0 when it is not one.
uintptr_t ParseWindowHandleText(const std::string& text);

// Whether a path names an existing folder / a file that can be opened for reading.
bool IsExistingFolder(const std::string& path);
bool IsReadableFile(const std::string& path);
