#pragma once
// The few file-system operations a batch conversion needs, on paths in the system's
// single-byte code page. Win32 in file_ops_win.cpp, POSIX in file_ops_native.cpp; the folder's
// files come from the portable folder listing (file_ops.cpp).
#include <string>
#include <vector>

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);
// Creates one folder level; true when it exists afterwards.
bool CreateFolder(const std::string& path);
bool RemoveFile(const std::string& path);
// Moves `from` over `to` (which may exist, even read-only) in one step.
bool MoveFileOver(const std::string& from, const std::string& to);
// The files directly in `folder` (no sub-folders), as full paths in file-system order; empty,
// without a message, when the folder cannot be read.
std::vector<std::string> FilesInFolder(const std::string& folder);
