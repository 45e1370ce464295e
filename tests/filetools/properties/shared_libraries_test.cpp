// The shared libraries list: counted values naming existing DLL files, in registry order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/registry_access.h"
#include "filetools/properties/os_version.h"
#include "filetools/properties/shared_libraries.h"
#include "tests/support/private_registry.h"

namespace {
class SharedLibraries : public PrivateRegistryTest {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() / ("qn_shared_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override
    {
        for (const std::string& name : written_)
            registry_.DeleteValue(RegRoot::LocalMachine, kSharedLibrariesKey, name);
        std::filesystem::remove_all(folder_);
    }
    std::string File(const std::string& name, bool create)
    {
        const std::string path = (folder_ / name).string();
        if (create)
            std::ofstream(path) << "x";
        return path;
    }
    void Count(const std::string& path)
    {
        ASSERT_TRUE(registry_.WriteDword(RegRoot::LocalMachine, kSharedLibrariesKey, path, 1));
        written_.push_back(path);
    }
    std::filesystem::path folder_;
    std::vector<std::string> written_;
    CRegistryAccess registry_;
};

TEST_F(SharedLibraries, OnlyCountedExistingDllFilesInRegistryOrder)
{
    const std::string second = File("second.dll", true);
    const std::string first = File("First.DLLX", true); // the extension only has to start with DLL
    Count(second);
    Count(first);
    Count(File("missing.dll", false));
    Count(File("program.exe", true));
    Count(File("dl.dl", true));
    const std::string asText = File("text.dll", true);
    ASSERT_TRUE(registry_.WriteString(RegRoot::LocalMachine, kSharedLibrariesKey, asText, "1"));
    written_.push_back(asText);

    std::vector<std::string> ours;
    for (const std::string& path : ListSharedLibraries())
        if (std::find(written_.begin(), written_.end(), path) != written_.end())
            ours.push_back(path);
    // Registry order is the platform's (Wine sorts value names; the native store keeps them as written).
    std::vector<std::string> expected;
    for (const std::string& name : registry_.EnumOtherValues(RegRoot::LocalMachine, kSharedLibrariesKey))
        if (name == first || name == second)
            expected.push_back(name);
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_EQ(ours, expected);
}

TEST(OsVersionTest, WindowsReportsAnNtVersion)
{
    const OsVersion version = GetOsVersion();
#ifdef _WIN32
    EXPECT_TRUE(version.isNt); // the 64-bit program runs on NT systems only
    EXPECT_GE(version.major, 5u);
#else
    EXPECT_FALSE(version.isNt);
#endif
}
} // namespace
