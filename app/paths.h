#pragma once
// Path texts shared by registry key paths and file paths ("\" separated, ANSI).
#include <string>
#include <vector>

// a and b with one "\" between them: a leading "\" of b is dropped; an empty side gives the
// other; no "\" is added when a already ends with one.
std::string JoinPath(const std::string& a, const std::string& b);

// The path without one trailing "\" or "/".
std::string WithoutTrailingSeparator(const std::string& path);

// Folder of a file path including its trailing "\", or empty when the path holds no "\".
std::string FolderOf(const std::string& path);

// A file path split at its last "\" or "/" (native paths too): the folder part with its
// trailing separator (empty when there is none), and the file name after it.
std::string PathFolderPart(const std::string& path);
std::string PathNamePart(const std::string& path);

// The non-empty components of a registry key path ("A\\B\" gives A, B).
std::vector<std::string> SplitKeyPath(const std::string& path);

// Whether a folder path is absolute in the Windows sense: a drive letter, ":" and a separator,
// or a leading "\\" (network path). "C:name" (relative to drive C's current folder) is not.
bool IsAbsoluteWindowsPath(const std::string& path);

// Whether the path names a whole drive or share ("C:\", "\\server\share"), which no tree
// deletion may take.
bool IsWindowsRootPath(const std::string& path);
