// A two-pattern search over 100,000 files in 10,000 folders (generated once in the temporary
// folder, page cache warm): the finder's engine in process beside `find ROOT -iname A -o -iname
// B`, whose output is read through a pipe. Before timing, both result sets must be the same.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/progress.h"
#include "filetools/finder/file_search.h"

namespace fs = std::filesystem;

namespace {
constexpr int kTopFolders = 100, kSubFolders = 99, kFilesPerFolder = 10; // 100 + 9,900 folders
constexpr const char* kPatternA = "*.bmp";
constexpr const char* kPatternB = "*.gif";

const fs::path& TreeRoot()
{
    static const fs::path root = fs::temp_directory_path() / "quenta_bench_finder_tree";
    return root;
}

// Names with upper- and lower-case extensions, some that almost match and most that do not.
// None goes on after a matching extension ("x.gif.txt"): the finder's rule finds such a name
// once the pattern is used up, where find asks for the whole name.
const char* const kExtensions[kFilesPerFolder] = {".bmp", ".GIF", ".txt", ".jpg", ".Bmp",
                                                   ".doc", ".tif", ".png", ".bm", ".dat"};

void FillFolder(const fs::path& folder, int serial)
{
    fs::create_directories(folder);
    for (int i = 0; i < kFilesPerFolder; ++i)
        std::ofstream(folder / ("file" + std::to_string(serial) + "_" + std::to_string(i) + kExtensions[i]));
}

// Builds the tree once; a tree left by an earlier run with the right count is kept.
void EnsureTree()
{
    const fs::path& root = TreeRoot();
    const fs::path done = root / "complete";
    if (fs::exists(done))
        return;
    fs::remove_all(root);
    int serial = 0;
    for (int top = 0; top < kTopFolders; ++top) {
        const fs::path topFolder = root / ("dir" + std::to_string(top));
        FillFolder(topFolder, serial++);
        for (int sub = 0; sub < kSubFolders; ++sub)
            FillFolder(topFolder / ("sub" + std::to_string(sub)), serial++);
    }
    std::ofstream(done) << "100000 files in 10000 folders\n";
}

std::vector<std::string> OurSearch()
{
    std::vector<std::string> found;
    FileSearch({std::string(kPatternA) + ";" + kPatternB, TreeRoot().string(), true, false},
               [&](const std::string& path) {
                   found.push_back(path);
                   return true;
               },
               CQnProgress::Silent());
    return found;
}

std::vector<std::string> FindSearch()
{
    const std::string command = "find '" + TreeRoot().string() + "' -iname '" + kPatternA + "' -o -iname '" +
                                kPatternB + "'";
    std::vector<std::string> found;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return found;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string path = line;
        if (!path.empty() && path.back() == '\n')
            path.pop_back();
        found.push_back(std::move(path));
    }
    ::pclose(pipe);
    return found;
}

void CheckSameResults()
{
    static bool checked = false;
    if (checked)
        return;
    checked = true;
    std::vector<std::string> ours = OurSearch(), theirs = FindSearch();
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    if (ours != theirs || ours.size() != 30000) {
        std::fprintf(stderr, "result sets differ: ours %zu, find %zu\n", ours.size(), theirs.size());
        std::exit(1);
    }
    std::fprintf(stderr, "same %zu results from both\n", ours.size());
}

void Prepare()
{
    EnsureTree();
    CheckSameResults();
    OurSearch(); // warms the page cache and the directory entries
    FindSearch();
}

void BM_FinderEngine(benchmark::State& state)
{
    Prepare();
    for (auto _ : state)
        benchmark::DoNotOptimize(OurSearch().size());
}

void BM_FindCommand(benchmark::State& state)
{
    Prepare();
    for (auto _ : state)
        benchmark::DoNotOptimize(FindSearch().size());
}
} // namespace

BENCHMARK(BM_FinderEngine)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FindCommand)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
