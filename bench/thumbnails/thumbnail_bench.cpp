// Thumbnails at 80 x 60 of a folder of 200 photo-like 1600 x 1200 JPEG files (4:2:0, quality
// 85): the picture browser without a cache file (cold) and with a valid one (warm), beside
// ImageMagick's `convert -thumbnail 80x60` run once per file and `vipsthumbnail --size 80x60`
// run once over all the files. Each iteration is one whole folder.
#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/registry_access.h"
#include "app/services.h"
#include "libjpeg_reference.h"
#include "picturetools/browser/browser_files.h"
#include "picturetools/browser/thumbnail_engine.h"
#include "synthetic_photo.h"

namespace {
constexpr int kFiles = 200;
constexpr int kDistinctPhotos = 8;

struct Folder {
    std::string root, photos, output;
    std::vector<std::string> files;
};

const Folder& Photos()
{
    static const Folder folder = [] {
        Folder f;
        std::string pattern = SystemTempPath() + "thumbnail_bench.XXXXXX";
        f.root = ::mkdtemp(pattern.data());
        f.photos = f.root + "/photos";
        f.output = f.root + "/out";
        ::mkdir(f.photos.c_str(), 0777);
        ::mkdir(f.output.c_str(), 0777);
        ::setenv("QUENTA_REGISTRY", (f.root + "/registry.store").c_str(), 1);
        std::vector<std::vector<uint8_t>> jpegs;
        for (int i = 0; i < kDistinctPhotos; ++i) {
            LibjpegEncodeOptions options;
            options.quality = 85;
            jpegs.push_back(LibjpegEncode(MakePhotoLike(1600, 1200, 100 + i), options));
        }
        for (int i = 0; i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "photo%03d.jpg", i);
            const std::string path = f.photos + "/" + name;
            const std::vector<uint8_t>& bytes = jpegs[size_t(i % kDistinctPhotos)];
            FILE* file = std::fopen(path.c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
            f.files.push_back(path);
        }
        return f;
    }();
    return folder;
}

int BrowseOnce(CBrowsePicture& browser, const std::string& folder)
{
    int thumbnails = 0;
    BrowseRequest request;
    request.folder = folder;
    request.cellWidth = 80;
    request.cellHeight = 60;
    request.receiver = [&](const BrowseEvent& e) { thumbnails += e.code == kBrowseThumbnail; };
    browser.BrowseFolder(request);
    browser.Wait();
    return thumbnails;
}

void BM_Cold_Quenta(benchmark::State& state)
{
    const Folder& f = Photos();
    CRegistryAccess registry;
    CBrowserFiles files(registry, f.root);
    CBrowsePicture browser(files, [] {});
    for (auto _ : state) {
        state.PauseTiming();
        std::remove((f.photos + "/zephra.zeb").c_str());
        state.ResumeTiming();
        if (BrowseOnce(browser, f.photos) != kFiles)
            state.SkipWithError("missing thumbnails");
    }
}

void BM_Warm_Quenta(benchmark::State& state)
{
    const Folder& f = Photos();
    CRegistryAccess registry;
    CBrowserFiles files(registry, f.root);
    CBrowsePicture browser(files, [] {});
    BrowseOnce(browser, f.photos); // makes the cache file
    for (auto _ : state)
        if (BrowseOnce(browser, f.photos) != kFiles)
            state.SkipWithError("missing thumbnails");
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

void BM_Cold_ImageMagickConvertPerFile(benchmark::State& state)
{
    const Folder& f = Photos();
    // The real program, not a wrapper that may stand before it on the PATH.
    const std::string convert = ::access("/usr/bin/convert", X_OK) == 0 ? "/usr/bin/convert" : "convert";
    for (auto _ : state)
        for (size_t i = 0; i < f.files.size(); ++i)
            if (!Run(convert + " '" + f.files[i] + "' -thumbnail 80x60 '" + f.output + "/im" + std::to_string(i) +
                     ".png' 2>/dev/null")) {
                state.SkipWithError("convert failed (ImageMagick missing?)");
                return;
            }
}

void BM_Cold_VipsThumbnail(benchmark::State& state)
{
    const Folder& f = Photos();
    std::string command = "vipsthumbnail --size 80x60 -o '" + f.output + "/%s_vips.png'";
    for (const std::string& file : f.files)
        command += " '" + file + "'";
    command += " 2>/dev/null";
    for (auto _ : state)
        if (!Run(command)) {
            state.SkipWithError("vipsthumbnail failed (libvips-tools missing?)");
            return;
        }
}
} // namespace

BENCHMARK(BM_Cold_Quenta)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Warm_Quenta)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_Cold_ImageMagickConvertPerFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_Cold_VipsThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DeleteFolderTree(Photos().root);
    return 0;
}
