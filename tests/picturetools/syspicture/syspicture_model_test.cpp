// The three targets and their files: reading, applying with and without a picture, and a
// write the folder refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "picture/picture.h"
#include "picturetools/syspicture/logo_file.h"
#include "picturetools/syspicture/syspicture_model.h"
#include "picturetools/syspicture/target_file.h"

namespace fs = std::filesystem;

namespace {
class SysPictureModelTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::path(testing::TempDir()) /
                 ("qn_syspicture_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    SysPictureFiles Files() const
    {
        return {{(m_root / "logo.sys").string(), (m_root / "logow.sys").string(), (m_root / "logos.sys").string()}};
    }
    static std::unique_ptr<CPicture> Gradient()
    {
        auto picture = std::make_unique<CPicture>();
        picture->Create(64, 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint8_t bgr[3] = {static_cast<uint8_t>(4 * x), static_cast<uint8_t>(5 * y), 90};
                picture->SetPixel(x, y, bgr);
            }
        picture->SetDescription("/pictures/gradient.bmp");
        return picture;
    }
    bool NoSiblingLeft() const
    {
        for (const auto& entry : fs::directory_iterator(m_root))
            if (entry.path().extension() == ".qn-new")
                return false;
        return true;
    }

    fs::path m_root;
};
} // namespace

TEST(SysPictureFilesTest, StartUpOnDriveCAndTheOthersInTheWindowsFolder)
{
    const SysPictureFiles files = StandardSysPictureFiles("C:\\windows");
    EXPECT_EQ(files.paths[0], "c:\\logo.sys");
    EXPECT_EQ(files.paths[1], "C:\\windows\\logow.sys");
    EXPECT_EQ(files.paths[2], "C:\\windows\\logos.sys");
    EXPECT_EQ(StandardSysPictureFiles("C:\\windows\\").paths[2], "C:\\windows\\logos.sys");
}

TEST_F(SysPictureModelTest, WithoutAPictureTheStartUpFileHoldsOnlyTheProductText)
{
    SysPictureModel model(Files());
    std::ofstream(Files().paths[0], std::ios::binary) << std::string(5000, 'x');
    const ApplyOutcome outcome = model.Apply(0, {}, "Startup Picture", nullptr);
    EXPECT_EQ(outcome.result, ApplyResult::TextWritten);
    const std::vector<uint8_t> bytes = ReadWholeFile(Files().paths[0]);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Ostrel Quenta v1.0");
    EXPECT_EQ(bytes.size(), 18u);
    EXPECT_TRUE(NoSiblingLeft());
}

TEST_F(SysPictureModelTest, WithoutAPictureTheEndFileIsRemoved)
{
    SysPictureModel model(Files());
    std::ofstream(Files().paths[1]) << "old";
    EXPECT_EQ(model.Apply(1, {}, "End Picture", nullptr).result, ApplyResult::Removed);
    EXPECT_FALSE(fs::exists(Files().paths[1]));
    EXPECT_EQ(model.Apply(1, {}, "End Picture", nullptr).result, ApplyResult::Removed) << "nothing to remove is fine";
}

TEST_F(SysPictureModelTest, AppliedStartUpPictureCarriesTheBarAndReadsBackInstalled)
{
    SysPictureModel model(Files());
    model.ReplacePicture(0, Gradient());
    EXPECT_FALSE(model.State(0).installed);
    LogoRequest request;
    request.withBar = true;
    ASSERT_EQ(model.Apply(0, request, "Startup Picture", nullptr).result, ApplyResult::PictureWritten);
    const auto logo = DecodeLogoBmp(ReadWholeFile(Files().paths[0]));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->bandStart, 160);
    EXPECT_EQ(logo->At(0, 399), 255);
    const SysTargetState& state = model.State(0);
    ASSERT_TRUE(state.picture);
    EXPECT_TRUE(state.installed);
    EXPECT_EQ(state.picture->Width(), 320);
    EXPECT_EQ(state.picture->Height(), 400);
    EXPECT_EQ(state.picture->Description(), "Startup Picture");
    EXPECT_EQ(state.picture->Name(), "System Picture");
    EXPECT_TRUE(NoSiblingLeft());
}

TEST_F(SysPictureModelTest, EndAndStopPicturesNeverCarryTheBar)
{
    SysPictureModel model(Files());
    LogoRequest request;
    request.withBar = true;
    for (int target : {1, 2}) {
        model.ReplacePicture(target, Gradient());
        ASSERT_EQ(model.Apply(target, request, "Picture", nullptr).result, ApplyResult::PictureWritten);
        const auto logo = DecodeLogoBmp(ReadWholeFile(Files().paths[target]));
        ASSERT_TRUE(logo);
        EXPECT_NE(logo->bandStart, 160) << target;
        EXPECT_NE(logo->At(0, 399), 255) << "no band in the bottom rows of " << target;
    }
}

TEST_F(SysPictureModelTest, ARefusedWriteLeavesTheOldFileAndNothingBeside)
{
    // The target's place is taken by a folder: the new bytes cannot take its place.
    SysPictureFiles files = Files();
    fs::create_directories(files.paths[0]);
    SysPictureModel model(files);
    model.ReplacePicture(0, Gradient());
    const ApplyOutcome outcome = model.Apply(0, {}, "Startup Picture", nullptr);
    EXPECT_EQ(outcome.result, ApplyResult::NotWritten);
    EXPECT_EQ(outcome.path, files.paths[0]);
    EXPECT_TRUE(fs::is_directory(files.paths[0]));
    EXPECT_TRUE(NoSiblingLeft());
    EXPECT_FALSE(model.State(0).installed);
    ASSERT_TRUE(model.State(0).picture) << "the module keeps its picture";
    EXPECT_EQ(model.State(0).picture->Width(), 64) << "and applies a copy of it";

    SysPictureModel elsewhere(SysPictureFiles{{(m_root / "missing" / "logo.sys").string(), "", ""}});
    EXPECT_EQ(elsewhere.Apply(0, {}, "Startup Picture", nullptr).result, ApplyResult::NotWritten);
}

TEST_F(SysPictureModelTest, ATargetThatIsNoBitmapHasNoPicture)
{
    std::ofstream(Files().paths[2]) << "Ostrel Quenta v1.0";
    SysPictureModel model(Files());
    model.ReplacePicture(2, Gradient());
    model.ReadTarget(2, "Stop Picture", nullptr);
    EXPECT_FALSE(model.State(2).picture);
    EXPECT_FALSE(model.State(2).installed);
}
