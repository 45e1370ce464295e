// The wallpaper's rules, its installation through a recording system, and the module's state.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/registry_access.h"
#include "picture/codec_registry.h"
#include "picture/picture.h"
#include "picturetools/wallpaper/wallpaper_install.h"
#include "picturetools/wallpaper/wallpaper_model.h"
#include "picturetools/wallpaper/wallpaper_rules.h"
#include "tests/support/private_registry.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

TEST(WallpaperRules, TargetsAndStoredStyles)
{
    const WallpaperTarget& current = WallpaperTargetAt(0);
    EXPECT_EQ(current.root, RegRoot::CurrentUser);
    EXPECT_STREQ(current.desktopKey, "Control Panel\\desktop\\");
    EXPECT_STREQ(current.fileName, "QnBackPic.bmp");
    EXPECT_TRUE(current.notifiesSystem);
    const WallpaperTarget& fallback = WallpaperTargetAt(1);
    EXPECT_EQ(fallback.root, RegRoot::Users);
    EXPECT_STREQ(fallback.desktopKey, ".default\\Control Panel\\desktop\\");
    EXPECT_STREQ(fallback.fileName, "QnBackPicDefault.bmp");
    EXPECT_FALSE(fallback.notifiesSystem);

    EXPECT_EQ(StoredWallpaperStyle(WallpaperMode::Normal), 0);
    EXPECT_EQ(StoredWallpaperStyle(WallpaperMode::Mosaic), 1);
    EXPECT_EQ(StoredWallpaperStyle(WallpaperMode::Stretch), 2);
    EXPECT_EQ(StoredWallpaperStyle(WallpaperMode::BestFit), 0);
    EXPECT_EQ(ModeOfStoredStyle(1), WallpaperMode::Mosaic);
    EXPECT_EQ(ModeOfStoredStyle(2), WallpaperMode::Stretch);
    EXPECT_EQ(ModeOfStoredStyle(4), WallpaperMode::BestFit);
    EXPECT_EQ(ModeOfStoredStyle(10), WallpaperMode::Normal);
    EXPECT_EQ(ModeOfStoredStyle(-1), WallpaperMode::Normal);
}

TEST(WallpaperRules, TargetSizeFollowsTheModeAndTheSpinRange)
{
    const PictureSize screen{1024, 768};
    EXPECT_EQ(WallpaperTargetSize(WallpaperMode::Stretch, screen, {10, 20}), screen);
    EXPECT_EQ(WallpaperTargetSize(WallpaperMode::Normal, screen, {10, 20}), (PictureSize{10, 20}));
    EXPECT_EQ(WallpaperTargetSize(WallpaperMode::Mosaic, screen, {0, 40000}), (PictureSize{1, 32000}));
    EXPECT_EQ(WallpaperTargetSize(WallpaperMode::BestFit, screen, {-5, 32000}), (PictureSize{1, 32000}));
}

TEST(WallpaperRules, BestFitPlacement)
{
    EXPECT_EQ(BestFitPlacement({100, 50}, {1024, 768}), (PlacedPicture{0, 128, 1024, 512}));
    EXPECT_EQ(BestFitPlacement({50, 100}, {1024, 768}), (PlacedPicture{320, 0, 384, 768}));
    EXPECT_EQ(BestFitPlacement({4, 3}, {1024, 768}), (PlacedPicture{0, 0, 1024, 768}));
    // Truncated, odd sizes centred with integer halves: 768 * 333 / 1000 = 255.7 -> 255.
    EXPECT_EQ(BestFitPlacement({1000, 333}, {768, 1024}), (PlacedPicture{0, 512 - 127, 768, 255}));
    // A sliver keeps at least one pixel; nothing to place gives an empty placement.
    EXPECT_EQ(BestFitPlacement({65535, 1}, {1024, 768}).height, 1);
    EXPECT_EQ(BestFitPlacement({0, 10}, {1024, 768}), PlacedPicture{});
}

TEST(WallpaperRules, ParentFolder)
{
    EXPECT_EQ(ParentFolderOf("C:\\users\\me\\Start Menu"), "C:\\users\\me");
    EXPECT_EQ(ParentFolderOf("C:\\users\\me\\Start Menu\\"), "C:\\users\\me");
    EXPECT_EQ(ParentFolderOf("C:\\Start Menu"), "C:");
    EXPECT_EQ(ParentFolderOf("Start Menu"), "");
}

// Records what the installation asks of the system; files live in a private folder.
class RecordingSystem : public WallpaperSystem {
public:
    explicit RecordingSystem(fs::path root) : m_root(std::move(root)) {}
    PictureSize ScreenSize() override { return {1024, 768}; }
    std::string WindowsFolder() override { return (m_root / "windows").string(); }
    std::string StartMenuFolder() override { return (m_root / "asked" / "Start Menu").string(); }
    bool MoveOver(const std::string& from, const std::string& to) override
    {
        if (refuseReplace)
            return false;
        std::error_code error;
        fs::rename(from, to, error);
        return !error;
    }
    void RemoveFile(const std::string& path) override { std::remove(path.c_str()); }
    bool SetDesktopWallpaper(const std::string& path, unsigned flags) override
    {
        notifications.push_back({path, flags});
        return true;
    }

    bool refuseReplace = false;
    std::vector<std::pair<std::string, unsigned>> notifications;

private:
    fs::path m_root;
};

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";

class WallpaperInstallTest : public PrivateRegistryTest {
protected:
    void SetUp() override
    {
#ifdef _WIN32
        GTEST_SKIP() << "the installation writes the desktop keys: checked natively and end to end";
#endif
        m_root = fs::temp_directory_path() / ("wallpaper_test_" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "user" / "Start Menu");
        fs::create_directories(m_root / "windows");
        CRegistryAccess registry;
        registry.WriteString(RegRoot::CurrentUser, kShellFolders, "Start Menu", (m_root / "user" / "Start Menu").string());
        registry.DeleteKey(RegRoot::CurrentUser, "Control Panel");
        registry.DeleteKey(RegRoot::Users, ".default");
        m_system = std::make_unique<RecordingSystem>(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    static std::unique_ptr<CPicture> Solid(int width, int height, uint8_t b, uint8_t g, uint8_t r)
    {
        auto picture = std::make_unique<CPicture>();
        picture->Create(width, height);
        const uint8_t bgr[3] = {b, g, r};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture->SetPixel(x, y, bgr);
        picture->SetDescription("C:\\pictures\\solid.png");
        return picture;
    }
    static std::string Value(RegRoot root, const char* key, const char* name)
    {
        return CRegistryAccess().ReadString(root, key, name, "<missing>");
    }
    std::string CurrentFile() const { return (m_root / "user" / "QnBackPic.bmp").string(); }

    fs::path m_root;
    std::unique_ptr<RecordingSystem> m_system;
};

TEST_F(WallpaperInstallTest, StretchWritesAScreenSizeFileAndNotifiesTwice)
{
    auto picture = Solid(100, 50, 1, 2, 3);
    const WallpaperOutcome outcome = InstallWallpaper(WallpaperTargetAt(0), picture.get(),
                                                      {WallpaperMode::Stretch, {100, 50}, 0}, *m_system, nullptr);
    ASSERT_EQ(outcome.result, WallpaperResult::Installed);
    EXPECT_EQ(outcome.path, CurrentFile());
    CPicture written;
    ASSERT_TRUE(LoadPicture(CurrentFile(), &written, nullptr));
    EXPECT_EQ(written.Width(), 1024);
    EXPECT_EQ(written.Height(), 768);
    EXPECT_EQ(written.BitsPerPixel(), 24);
    EXPECT_FALSE(fs::exists(CurrentFile() + ".tmp"));
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Control Panel\\desktop\\", "Wallpaper"), CurrentFile());
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Control Panel\\desktop\\", "WallpaperStyle"), "2");
    const std::vector<std::pair<std::string, unsigned>> expected = {{CurrentFile(), 1u}, {CurrentFile(), 2u}};
    EXPECT_EQ(m_system->notifications, expected);
}

TEST_F(WallpaperInstallTest, BestFitComposesThePictureOnTheBackgroundAndStoresNormal)
{
    auto picture = Solid(100, 50, 0, 0, 255);
    const uint32_t background = 0x00FF8000; // COLORREF: blue FF, green 80, red 00
    const WallpaperOutcome outcome = InstallWallpaper(WallpaperTargetAt(0), picture.get(),
                                                      {WallpaperMode::BestFit, {100, 50}, background}, *m_system, nullptr);
    ASSERT_EQ(outcome.result, WallpaperResult::Installed);
    CPicture written;
    ASSERT_TRUE(LoadPicture(CurrentFile(), &written, nullptr));
    ASSERT_EQ(written.Width(), 1024);
    ASSERT_EQ(written.Height(), 768);
    auto at = [&](int x, int y) {
        uint8_t bgr[3] = {};
        written.GetPixel(x, y, bgr);
        return (bgr[0] << 16) | (bgr[1] << 8) | bgr[2];
    };
    const int fill = 0xFF8000, red = 0x0000FF;
    EXPECT_EQ(at(0, 0), fill);
    EXPECT_EQ(at(512, 127), fill);
    EXPECT_EQ(at(0, 128), red);
    EXPECT_EQ(at(1023, 639), red);
    EXPECT_EQ(at(512, 640), fill);
    EXPECT_EQ(at(1023, 767), fill);
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Control Panel\\desktop\\", "WallpaperStyle"), "0");
}

TEST_F(WallpaperInstallTest, NormalAndMosaicUseTheSizeEdits)
{
    auto picture = Solid(100, 50, 9, 9, 9);
    ASSERT_EQ(InstallWallpaper(WallpaperTargetAt(0), picture.get(), {WallpaperMode::Mosaic, {30, 20}, 0}, *m_system,
                               nullptr).result,
              WallpaperResult::Installed);
    CPicture written;
    ASSERT_TRUE(LoadPicture(CurrentFile(), &written, nullptr));
    EXPECT_EQ(written.Width(), 30);
    EXPECT_EQ(written.Height(), 20);
    EXPECT_EQ(picture->Width(), 30); // the module shows what was written
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Control Panel\\desktop\\", "WallpaperStyle"), "1");
}

TEST_F(WallpaperInstallTest, WithoutAPictureTheWallpaperIsRemoved)
{
    CRegistryAccess().WriteString(RegRoot::CurrentUser, "Control Panel\\desktop\\", "Wallpaper", "C:\\old.bmp");
    ASSERT_EQ(InstallWallpaper(WallpaperTargetAt(0), nullptr, {WallpaperMode::Stretch, {1, 1}, 0}, *m_system, nullptr)
                  .result,
              WallpaperResult::Installed);
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Control Panel\\desktop\\", "Wallpaper"), "");
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Control Panel\\desktop\\", "WallpaperStyle"), "2");
    const std::vector<std::pair<std::string, unsigned>> expected = {{"", 1u}, {"", 2u}};
    EXPECT_EQ(m_system->notifications, expected);
    EXPECT_FALSE(fs::exists(CurrentFile()));
}

TEST_F(WallpaperInstallTest, DefaultUserWritesItsOwnKeyAndFileAndNeverNotifies)
{
    auto picture = Solid(40, 30, 1, 1, 1);
    const WallpaperOutcome outcome = InstallWallpaper(WallpaperTargetAt(1), picture.get(),
                                                      {WallpaperMode::Normal, {40, 30}, 0}, *m_system, nullptr);
    ASSERT_EQ(outcome.result, WallpaperResult::Installed);
    const std::string file = (m_root / "windows" / "QnBackPicDefault.bmp").string();
    EXPECT_EQ(outcome.path, file);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(Value(RegRoot::Users, ".default\\Control Panel\\desktop\\", "Wallpaper"), file);
    EXPECT_EQ(Value(RegRoot::Users, ".default\\Control Panel\\desktop\\", "WallpaperStyle"), "0");
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Control Panel\\desktop\\", "Wallpaper"), "<missing>");
    EXPECT_TRUE(m_system->notifications.empty());
    // Removing it notifies nothing either.
    InstallWallpaper(WallpaperTargetAt(1), nullptr, {}, *m_system, nullptr);
    EXPECT_EQ(Value(RegRoot::Users, ".default\\Control Panel\\desktop\\", "Wallpaper"), "");
    EXPECT_TRUE(m_system->notifications.empty());
}

TEST_F(WallpaperInstallTest, ARefusedWriteKeepsThePreviousWallpaperWholeAndTheSettingsUntouched)
{
    {
        std::ofstream(CurrentFile(), std::ios::binary) << "previous";
    }
    CRegistryAccess().WriteString(RegRoot::CurrentUser, "Control Panel\\desktop\\", "Wallpaper", "C:\\old.bmp");
    m_system->refuseReplace = true;
    auto picture = Solid(10, 10, 1, 1, 1);
    const WallpaperOutcome outcome = InstallWallpaper(WallpaperTargetAt(0), picture.get(),
                                                      {WallpaperMode::Normal, {10, 10}, 0}, *m_system, nullptr);
    EXPECT_EQ(outcome.result, WallpaperResult::FileNotWritten);
    EXPECT_EQ(outcome.path, CurrentFile());
    std::ifstream in(CurrentFile(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "previous");
    EXPECT_FALSE(fs::exists(CurrentFile() + ".tmp"));
    EXPECT_EQ(Value(RegRoot::CurrentUser, "Control Panel\\desktop\\", "Wallpaper"), "C:\\old.bmp");
    EXPECT_TRUE(m_system->notifications.empty());

    // A folder that is not there refuses the file the same way.
    m_system->refuseReplace = false;
    fs::remove_all(m_root / "windows");
    EXPECT_EQ(InstallWallpaper(WallpaperTargetAt(1), picture.get(), {}, *m_system, nullptr).result,
              WallpaperResult::FileNotWritten);
    EXPECT_EQ(Value(RegRoot::Users, ".default\\Control Panel\\desktop\\", "Wallpaper"), "<missing>");
}

TEST_F(WallpaperInstallTest, TheSystemsStartMenuServesWhenTheRegistryHasNone)
{
    CRegistryAccess().DeleteValue(RegRoot::CurrentUser, kShellFolders, "Start Menu");
    EXPECT_EQ(WallpaperOutputPath(WallpaperTargetAt(0), *m_system), (m_root / "asked" / "QnBackPic.bmp").string());
}

TEST_F(WallpaperInstallTest, ModelReadsLoadsAppliesAndDescribes)
{
    WallpaperModel model;
    CRegistryAccess().WriteString(RegRoot::CurrentUser, "Control Panel\\desktop\\", "Wallpaper", "/no/such/file.bmp");
    CRegistryAccess().WriteString(RegRoot::CurrentUser, "Control Panel\\desktop\\", "WallpaperStyle", "2");
    model.ReadTarget(0, nullptr);
    EXPECT_FALSE(model.State(0).picture);
    EXPECT_TRUE(model.State(0).installed);
    EXPECT_EQ(model.State(0).mode, WallpaperMode::Stretch);
    WallpaperTargetView view = DescribeWallpaperTarget(model.State(0));
    EXPECT_EQ(view.status, "(none)");
    EXPECT_EQ(view.pictureWidth, "---");
    EXPECT_EQ(view.targetHeight, "---");
    EXPECT_FALSE(view.hasPicture);
    EXPECT_FALSE(view.canApply);
    EXPECT_TRUE(view.reportTitle.empty());

    model.ReplacePicture(0, Solid(100, 50, 0, 0, 255));
    model.SetMode(0, WallpaperMode::BestFit);
    view = DescribeWallpaperTarget(model.State(0));
    EXPECT_TRUE(view.hasPicture);
    EXPECT_TRUE(view.canApply);
    EXPECT_TRUE(view.colourEnabled);
    EXPECT_EQ(view.status, "solid.png (100x50)");
    EXPECT_EQ(view.targetWidth, "100");
    EXPECT_EQ(view.reportTitle, "Quenta Wallpaper : \"C:\\pictures\\solid.png\"");

    model.SetSize(0, {0, 99999});
    EXPECT_EQ(model.State(0).size, (PictureSize{1, 32000}));
    model.SetSize(0, {100, 50});

    ASSERT_EQ(model.Apply(0, 0, *m_system, nullptr).result, WallpaperResult::Installed);
    // Read again from what was installed: the composed screen-size picture, shown as Normal.
    const WallpaperTargetState& state = model.State(0);
    ASSERT_TRUE(state.picture);
    EXPECT_EQ(state.picture->Width(), 1024);
    EXPECT_EQ(state.size, (PictureSize{1024, 768}));
    EXPECT_EQ(state.mode, WallpaperMode::Normal);
    EXPECT_TRUE(state.installed);
    EXPECT_FALSE(DescribeWallpaperTarget(state).canApply);
    // The other target kept its own state.
    EXPECT_FALSE(model.State(1).picture);
    EXPECT_FALSE(model.State(1).installed);

    model.RemovePicture(0);
    EXPECT_FALSE(model.State(0).picture);
    EXPECT_TRUE(DescribeWallpaperTarget(model.State(0)).canApply);
}

TEST(WallpaperTexts, ConversionsFillInOrder)
{
    EXPECT_EQ(FillConversions("%s (%dx%d)", {"a.bmp", "3", "4"}), "a.bmp (3x4)");
    EXPECT_EQ(FillConversions("100%% %s %s", {"x"}), "100% x ");
    EXPECT_EQ(FillConversions("%", {"x"}), "%");
}

} // namespace
