#pragma once
// The files of the Windows information's file tabs: the shared DLLs the system counts, the
// system DLLs and the system programs (the files of the Windows folder, then those of the
// system folder, each folder's files by name).
#include <string>
#include <vector>

enum class SystemFileTab { SharedDll = 0, SystemDll = 1, SystemExe = 2 };
constexpr int kSystemFileTabCount = 3;

// The files of `folder` whose extension is `extension` (with its dot, any case), by name.
std::vector<std::string> FilesWithExtension(const std::string& folder, const std::string& extension);

// The paths a tab lists. The shared DLLs come from the registry (ListSharedLibraries).
std::vector<std::string> SystemFilePaths(SystemFileTab tab, const std::string& windowsFolder,
                                         const std::string& systemFolder);
