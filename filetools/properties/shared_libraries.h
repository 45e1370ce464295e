#pragma once
// The shared libraries the system counts references for.
#include <string>
#include <vector>

// Key under HKEY_LOCAL_MACHINE whose value names are the counted library paths.
extern const char* const kSharedLibrariesKey;

// Every value name under kSharedLibrariesKey whose value is not text (the counts are numbers),
// that names an existing file whose extension starts with "DLL" (any case), in registry order.
std::vector<std::string> ListSharedLibraries();
