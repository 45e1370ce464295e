#pragma once
// Windows side of the finder's results.
#include <windows.h>

#include <string>
#include <unordered_map>

#include "filetools/finder/finder_result.h"

// Builds result records. The shell's type name and icon of a file follow its extension, except
// for the few kinds whose icon lives in the file itself: those are asked per file, the others
// once per extension for as long as the builder lives (one search).
class FinderResultBuilder {
public:
    FinderResult Build(const std::string& path);
    void Forget() { m_byExtension.clear(); }

private:
    struct Shell {
        std::string typeName;
        int icon = -1;
    };
    std::unordered_map<std::string, Shell> m_byExtension;
};

bool FileStillExists(const std::string& path);
