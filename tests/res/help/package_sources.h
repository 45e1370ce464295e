#pragma once
// The package archives and the source folders they are packed from, for the tests.
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

struct PackageArchive {
    unsigned resourceId;
    const char* name;   // build/res/package/<name>.zipd
    const char* folder; // below the source root
};

inline const std::vector<PackageArchive>& PackageArchives()
{
    static const std::vector<PackageArchive> archives = {
        {365, "help_files", "res/help/files"},
        {366, "help_en", "res/help/local/en"},
        {367, "help_fr", "res/help/local/fr"},
        {380, "panel", "res/panel"},
    };
    return archives;
}

inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every file below a source folder: archive path ("\" separators) -> content.
inline std::map<std::string, std::string> SourceFiles(const std::string& folder)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::path(QUENTA_SOURCE_DIR) / folder;
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        if (!item.is_regular_file())
            continue;
        std::string name = item.path().lexically_relative(root).generic_string();
        for (char& c : name)
            if (c == '/')
                c = '\\';
        files[name] = ReadWholeFile(item.path());
    }
    return files;
}

// The help pages the module table names ("local\qnexplorer.htm", ...), as written there.
inline std::vector<std::string> ModuleTableHelpPages()
{
    const std::string table = ReadWholeFile(std::filesystem::path(QUENTA_SOURCE_DIR) / "app/module_table_win.cpp");
    const std::regex page(R"re("(local\\\\[A-Za-z0-9_]+\.htm)")re");
    std::vector<std::string> pages;
    for (auto it = std::sregex_iterator(table.begin(), table.end(), page); it != std::sregex_iterator(); ++it) {
        std::string name = (*it)[1];
        name.erase(name.find("\\\\"), 1);
        pages.push_back(name);
    }
    return pages;
}
