// The package archives hold their source folders byte for byte, restored from the delta-coded
// form: natively from the packed files, on Windows from quenta.exe's own resources.
#include <gtest/gtest.h>

#include <set>

#include "setup/resource_archive.h"
#include "tests/res/help/package_sources.h"
#ifdef _WIN32
#include <windows.h>

#include "setup/resource_archive_win.h"
#endif

namespace {
#ifdef _WIN32
// quenta.exe's resources, as the install run reads them (its own module there).
struct ProgramModule {
    HMODULE module = LoadLibraryExA(QUENTA_BINARY_DIR "/bin/quenta.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ~ProgramModule()
    {
        if (module)
            FreeLibrary(module);
    }
};

int LoadPackage(ResourceArchive& archive, const PackageArchive& package)
{
    static ProgramModule program;
    if (!program.module)
        return kArchiveUnreadable;
    return LoadFromResource(archive, program.module, package.resourceId, "ZIP", true);
}
#else
std::string PackedPath(const PackageArchive& package, const char* extension)
{
    return std::string(QUENTA_BINARY_DIR) + "/res/package/" + package.name + extension;
}

int LoadPackage(ResourceArchive& archive, const PackageArchive& package)
{
    const std::string coded = ReadWholeFile(PackedPath(package, ".zipd"));
    return archive.OpenResourceBytes(std::vector<uint8_t>(coded.begin(), coded.end()), true);
}

TEST(PackageArchives, TheDeltaCodedFormRestoresToThePlainArchive)
{
    for (const PackageArchive& package : PackageArchives()) {
        SCOPED_TRACE(package.name);
        const std::string plain = ReadWholeFile(PackedPath(package, ".zip"));
        const std::string coded = ReadWholeFile(PackedPath(package, ".zipd"));
        ASSERT_GT(plain.size(), 22u);
        ASSERT_EQ(coded.size(), plain.size());
        EXPECT_NE(coded, plain);
        std::vector<uint8_t> restored(coded.begin(), coded.end());
        UndoDeltaCoding(restored);
        EXPECT_TRUE(std::equal(restored.begin(), restored.end(), plain.begin()));
    }
}
#endif

TEST(PackageArchives, EveryArchiveHoldsItsSourceFolderByteForByte)
{
    for (const PackageArchive& package : PackageArchives()) {
        SCOPED_TRACE(package.name);
        const auto sources = SourceFiles(package.folder);
        ASSERT_FALSE(sources.empty());
        ResourceArchive archive;
        ASSERT_EQ(LoadPackage(archive, package), kArchiveOk) << archive.LastError();
        std::set<std::string> seen;
        for (size_t i = 0; i < archive.Entries().size(); ++i) {
            const ArchiveEntry& entry = archive.Entries()[i];
            if (!entry.isFile)
                continue;
            EXPECT_FALSE(entry.encrypted);
            seen.insert(entry.path);
            auto source = sources.find(entry.path);
            ASSERT_NE(source, sources.end()) << entry.path << " has no source file";
            auto bytes = archive.ReadEntry(static_cast<int>(i));
            ASSERT_TRUE(bytes) << entry.path << ": " << archive.LastError();
            EXPECT_TRUE(std::string(bytes->begin(), bytes->end()) == source->second) << entry.path;
        }
        for (const auto& [path, content] : sources)
            EXPECT_TRUE(seen.count(path)) << path << " is missing from the archive";
    }
}

TEST(PackageArchives, BothLanguagesCarryEveryPageTheModulesOpen)
{
    std::vector<std::string> pages = ModuleTableHelpPages();
    ASSERT_GE(pages.size(), 19u);
    for (const PackageArchive& package : PackageArchives()) {
        if (package.resourceId != 366 && package.resourceId != 367)
            continue;
        SCOPED_TRACE(package.name);
        ResourceArchive archive;
        ASSERT_EQ(LoadPackage(archive, package), kArchiveOk);
        for (std::string page : pages) {
            page.erase(0, std::string("local\\").size());
            EXPECT_GE(archive.Find(page, true), 0) << page;
        }
        EXPECT_GE(archive.Find("filesselector.htm", true), 0);
    }
}
} // namespace
