#pragma once
// Reading what a file-open dialog hands back, and preparing what it is given.
#include <cstddef>
#include <string>
#include <vector>

// The paths in the result buffer of an explorer-style open dialog: with several files chosen,
// the folder then each name, every one ended by NUL and the list by a second NUL; with one
// file, its full path alone. Reads at most `size` bytes; names that are already absolute
// are kept as they are.
std::vector<std::string> ParseOpenFileNames(const char* buffer, size_t size);

// A filter in the "Text|*.txt|All|*.*" form as the dialog wants it: '|' becomes NUL and the
// whole is ended by two NULs.
std::string OpenDialogFilter(const std::string& filter);
