#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "app/registry_access.h"
#include "app/registry_file_native.h"
#include "app/registry_store.h"

namespace {
std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

CRegistryStore SampleStore()
{
    CRegistryStore store;
    auto quenta = store.Root(RegRoot::CurrentUser)->AddSubKey("Software")->AddSubKey("Quenta");
    quenta->SetValue("Text", kRegString, {'h', 'i', 0});
    quenta->SetValue("Raw", kRegBinary, {1, 2, 3, 4});
    quenta->AddSubKey("Options")->SetValue("", kRegDword, {9, 0, 0, 0});
    store.Root(RegRoot::ClassesRoot)->AddSubKey(".bmp")->SetValue("", kRegString, {'x', 0});
    return store;
}

// A store file of this test process, removed with its companions at the end.
class StoreFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = std::string(QUENTA_BINARY_DIR) + "/app_store_test." + std::to_string(::getpid()) + "." +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ::setenv("QUENTA_REGISTRY", path.c_str(), 1);
    }
    void TearDown() override
    {
        for (const char* suffix : {"", ".lock", ".tmp", ".damaged"})
            std::remove((path + suffix).c_str());
    }
    std::string path;
    CRegistryAccess reg;
};
} // namespace

TEST(RegistryStore, FileFormRoundTrips)
{
    CRegistryStore original = SampleStore();
    std::vector<uint8_t> bytes = original.Serialize();
    CRegistryStore copy;
    ASSERT_TRUE(copy.Parse(bytes.data(), bytes.size()));
    EXPECT_EQ(copy.Serialize(), bytes);
    auto quenta = copy.Root(RegRoot::CurrentUser)->FindSubKey("SOFTWARE")->FindSubKey("quenta");
    ASSERT_NE(quenta, nullptr);
    ASSERT_NE(quenta->FindValue("raw"), nullptr);
    EXPECT_EQ(quenta->FindValue("raw")->data, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(RegistryStore, DamagedFileIsRefusedAndChangesNothing)
{
    const std::vector<uint8_t> good = SampleStore().Serialize();
    CRegistryStore store;
    store.Root(RegRoot::Users)->AddSubKey("Mine");
    const std::vector<uint8_t> before = store.Serialize();
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(store.Parse(good.data(), n)) << "cut to " << n << " bytes";
    for (size_t i = 0; i < good.size(); i += 7) {
        std::vector<uint8_t> flipped = good;
        flipped[i] ^= 0x20;
        EXPECT_FALSE(store.Parse(flipped.data(), flipped.size())) << "byte " << i;
    }
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_FALSE(store.Parse(longer.data(), longer.size()));
    EXPECT_EQ(store.Serialize(), before);
}

TEST_F(StoreFile, InterruptedSaveLeavesTheLastGoodState)
{
    ASSERT_TRUE(reg.WriteString(RegRoot::CurrentUser, "Software\\Quenta", "Kept", "good"));
    const std::vector<uint8_t> committed = ReadAll(path);

    // A save that died half-way: the temporary file holds part of a newer state.
    CRegistryStore newer;
    LoadRegistryFile(path, newer);
    newer.Root(RegRoot::CurrentUser)->AddSubKey("Lost")->SetValue("v", kRegString, {'n', 0});
    std::vector<uint8_t> partial = newer.Serialize();
    partial.resize(partial.size() / 2);
    WriteAll(path + ".tmp", partial);

    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, "Software\\Quenta", "Kept", ""), "good");
    EXPECT_TRUE(reg.EnumSubKeys(RegRoot::CurrentUser, "Lost").empty());
    EXPECT_EQ(ReadAll(path), committed) << "reading never rewrites the store";

    // The next save replaces the leftover and completes.
    ASSERT_TRUE(reg.WriteString(RegRoot::CurrentUser, "Software\\Quenta", "Next", "1"));
    EXPECT_EQ(access((path + ".tmp").c_str(), F_OK), -1);
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, "Software\\Quenta", "Kept", ""), "good");
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, "Software\\Quenta", "Next", ""), "1");
}

TEST_F(StoreFile, DamagedStoreReadsAsEmptyAndIsKeptAsideOnTheNextSave)
{
    std::vector<uint8_t> good = SampleStore().Serialize();
    good.resize(good.size() - 3);
    WriteAll(path, good);
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, "Software\\Quenta", "Text", "default"), "default");
    ASSERT_TRUE(reg.WriteString(RegRoot::CurrentUser, "Software\\Quenta", "Fresh", "yes"));
    EXPECT_EQ(ReadAll(path + ".damaged"), good) << "the damaged file is kept for inspection";
    EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, "Software\\Quenta", "Fresh", ""), "yes");
}

TEST_F(StoreFile, MissingFolderIsCreatedOnFirstWrite)
{
    std::string nested = path + ".dir/sub/registry";
    ::setenv("QUENTA_REGISTRY", nested.c_str(), 1);
    EXPECT_TRUE(reg.WriteInt(RegRoot::LocalMachine, "A\\B", "N", 4));
    EXPECT_EQ(reg.ReadInt(RegRoot::LocalMachine, "A\\B", "N", 0), 4);
    EXPECT_EQ(reg.ReadInt(RegRoot::CurrentUser, "A\\B", "N", 0), 0) << "roots are separate";
    for (const char* suffix : {"", ".lock"})
        std::remove((nested + suffix).c_str());
    std::remove((path + ".dir/sub").c_str());
    std::remove((path + ".dir").c_str());
}

TEST(RegistryStore, ReadsTheFuzzSeedWrittenByAnotherTool)
{
    std::vector<uint8_t> seed = ReadAll(std::string(QUENTA_SOURCE_DIR) + "/fuzz/corpus/registry_store/sample.store");
    CRegistryStore store;
    ASSERT_TRUE(store.Parse(seed.data(), seed.size()));
    auto quenta = store.Root(RegRoot::CurrentUser)->FindSubKey("Software")->FindSubKey("Ostrel")->FindSubKey("Quenta");
    ASSERT_NE(quenta, nullptr);
    EXPECT_NE(quenta->FindSubKey("options"), nullptr);
    EXPECT_EQ(store.Serialize(), seed);
}
