// Extracting whole archives as a user does, one process each: `qnzip extract` beside
// `unzip -qq -o` on the same archive (made once by Info-ZIP's zip in the temporary folder): a
// 50 MB archive of mixed files (text, noise, pictures-like runs) and a help-like archive of
// 400 small HTML pages. Before timing, both outputs must be the same.
#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {
const fs::path& Root()
{
    static const fs::path root = fs::temp_directory_path() / "quenta_bench_archive";
    return root;
}

int Shell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Write(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Mixed files adding up to about 50 MB, and a folder of small pages.
void MakeSources()
{
    const fs::path done = Root() / "sources-complete";
    if (fs::exists(done))
        return;
    fs::remove_all(Root());
    std::mt19937 random(11);
    const std::string words[] = {"quenta ", "archive ", "picture ", "folder ", "module ", "help ", "page "};
    for (int i = 0; i < 60; ++i) {
        std::string bytes;
        const size_t size = 200000 + (random() % 1400000);
        bytes.reserve(size);
        switch (i % 3) {
        case 0: // text
            while (bytes.size() < size)
                bytes += words[random() % 7];
            break;
        case 1: // noise: stored or barely compressible
            while (bytes.size() < size)
                bytes += static_cast<char>(random());
            break;
        default: // runs, as in uncompressed pictures
            while (bytes.size() < size)
                bytes.append(1 + random() % 64, static_cast<char>(random() % 8));
        }
        Write(Root() / "mixed" / ("dir" + std::to_string(i % 5)) / ("file" + std::to_string(i) + ".dat"), bytes);
    }
    for (int i = 0; i < 400; ++i) {
        std::string page = "<html><head><title>Page " + std::to_string(i) + "</title></head><body>";
        const size_t size = 4000 + random() % 16000;
        while (page.size() < size)
            page += "<p>" + words[random() % 7] + words[random() % 7] + "</p>\n";
        Write(Root() / "help" / "local" / ("page" + std::to_string(i) + ".htm"), page + "</body></html>");
    }
    for (const char* name : {"mixed", "help"})
        if (Shell("cd '" + (Root() / name).string() + "' && zip -q -r '" + (Root() / name).string() + ".zip' .") != 0)
            std::fprintf(stderr, "zip failed: install it with tools/install-deps.sh\n");
    std::ofstream(done) << "ok\n";
}

std::string Qnzip() { return std::string(QUENTA_BINARY_DIR) + "/bin/qnzip"; }

std::string ExtractCommand(bool ours, const std::string& name, const fs::path& into)
{
    const std::string archive = (Root() / (name + ".zip")).string();
    return ours ? Qnzip() + " extract '" + archive + "' '" + into.string() + "' > /dev/null"
                : "unzip -qq -o '" + archive + "' -d '" + into.string() + "'";
}

void Extract(benchmark::State& state, bool ours, const std::string& name)
{
    MakeSources();
    const fs::path into = Root() / (std::string(ours ? "ours-" : "unzip-") + name);
    // Both tools must give the same files before either is timed.
    const fs::path other = Root() / (std::string(ours ? "unzip-" : "ours-") + name);
    fs::remove_all(into);
    fs::remove_all(other);
    if (Shell(ExtractCommand(ours, name, into)) != 0 || Shell(ExtractCommand(!ours, name, other)) != 0 ||
        Shell("diff -r -q '" + into.string() + "' '" + other.string() + "' > /dev/null") != 0) {
        state.SkipWithError("the two extractions differ or failed");
        return;
    }
    for (auto _ : state) {
        fs::remove_all(into);
        const auto start = std::chrono::steady_clock::now();
        const int code = Shell(ExtractCommand(ours, name, into));
        const auto stop = std::chrono::steady_clock::now();
        if (code != 0) {
            state.SkipWithError("extraction failed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
}
} // namespace

BENCHMARK_CAPTURE(Extract, qnzip_mixed_50MB, true, "mixed")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Extract, unzip_mixed_50MB, false, "mixed")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Extract, qnzip_help_400_pages, true, "help")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Extract, unzip_help_400_pages, false, "help")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
