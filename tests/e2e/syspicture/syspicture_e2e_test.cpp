// Drives the system pictures of the real toolbox: loads a picture through the picture open
// dialog, applies it to the start-up, end and stop targets, and reads the files the system
// would show (in the test prefix: C:\logo.sys and the Windows folder) with the logo reader.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/syspicture/logo_file.h"
#include "picturetools/syspicture/target_file.h"
#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/remote_controls_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kSysPictureModule = 1;
const char kOpenTitle[] = "Load a new picture...";
const char kSectionKey[] = "Software\\Ostrel\\Quenta\\SysPicture";
const fs::path kDriveFolder = "C:\\quenta_e2e_syspicture";
const char kStartupFile[] = "C:\\logo.sys";

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "syspicture"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }
std::string PicturePath() { return (kDriveFolder / "landscape.bmp").string(); }

std::string WindowsFile(const char* name)
{
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return (fs::path(folder) / name).string();
}

void RemoveTargets()
{
    for (const std::string& path : {std::string(kStartupFile), WindowsFile("logow.sys"), WindowsFile("logos.sys")}) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
}

// A landscape with many colours, so that the reduction has work to do.
void WritePicture()
{
    fs::create_directories(kDriveFolder);
    CPicture picture;
    ASSERT_TRUE(picture.Create(240, 160));
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 240; ++x) {
            const uint8_t bgr[3] = {static_cast<uint8_t>(255 - y), static_cast<uint8_t>(x + y / 2),
                                    static_cast<uint8_t>((x * 3 + y) % 256)};
            picture.SetPixel(x, y, bgr);
        }
    ASSERT_EQ(BmpCodec().WriteFile(PicturePath(), &picture, 24, false, nullptr), 1);
}

std::array<int, 3> Entry(const LogoImage& image, int i)
{
    return {image.palette[3 * i], image.palette[3 * i + 1], image.palette[3 * i + 2]};
}

std::optional<LogoImage> ReadLogo(const std::string& path) { return DecodeLogoBmp(ReadWholeFile(path)); }

class SysPictureE2eTest : public QuentaSuite {
protected:
    static void SetUpTestSuite()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSectionKey);
        RemoveTargets();
        WritePicture();
        fs::create_directories(WorkFolder());
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        RemoveTargets();
        RegDeleteTreeA(HKEY_CURRENT_USER, kSectionKey);
        std::error_code ignored;
        fs::remove_all(kDriveFolder, ignored);
    }

    void SetUp() override
    {
        QuentaSuite::SetUp();
        if (HasFatalFailure())
            return;
        m_tabs = OpenModuleForm(kSysPictureModule, IDC_SYSPICTURE_TABS, WC_TABCONTROLA);
        ASSERT_NE(m_tabs, nullptr) << "the system pictures' form has no tabs";
        m_form = GetParent(m_tabs);
    }

    HWND Control(int id) const { return FindDescendantById(m_form, id); }
    std::string Status() const { return TextOf(Control(IDC_SYSPICTURE_STATUS)); }
    void Settle() const { e2e::Settle(Frame()); }

    void Click(int id) const
    {
        HWND button = Control(id);
        PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }

    // A click on the tab, as the user's: the control tells the form itself.
    void ChooseTab(int tab) const
    {
        RECT rect{};
        ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_tabs, TCM_GETITEMRECT, tab, rect));
        e2e::ClickAt(m_tabs, rect);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0) == tab; }, 5000));
        Settle();
    }

    // "&Load..." with the picture's path typed into the open dialog.
    void LoadPicture() const
    {
        Click(IDC_SYSPICTURE_LOAD);
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            dialog = FindWindowOfProcess(Quenta().Id(), [](HWND w) { return CaptionOf(w) == kOpenTitle; });
            return dialog != nullptr;
        })) << "no open dialog";
        HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
        ASSERT_TRUE(name);
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(PicturePath().c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && Status().find("landscape.bmp") == 0; }))
            << "the picture did not load: " << Status();
        Settle();
    }

    // "&Apply..." and the form showing what it wrote, read back from the file.
    void ApplyAndWait(const std::string& shownAfter) const
    {
        Click(IDC_SYSPICTURE_APPLY);
        ASSERT_TRUE(WaitFor([&] { return Status() == shownAfter; }, 20000)) << "shows " << Status();
        Settle();
    }

    void SetNumber(int id, const char* text) const
    {
        SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }

    HWND m_tabs = nullptr, m_form = nullptr;
};
} // namespace

TEST_F(SysPictureE2eTest, DefaultStartUpPictureHasTheBandAndReadsBack)
{
    LoadPicture();
    // The open dialog keeps its own history; what Apply changes is only the module's section.
    const e2e::RegistrySnapshot before = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "", "HKCU");
    ApplyAndWait("Startup Picture (320x400)");
    const e2e::RegistrySnapshot after = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "", "HKCU");
    EXPECT_EQ(e2e::ChangedKeys(before, after), (std::set<std::string>{"HKCU\\" + std::string(kSectionKey)}))
        << e2e::DescribeChanges(before, after);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_SYSPICTURE_APPLY))) << "the module shows what is installed";
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_SYSPICTURE_VIEW)));
    EXPECT_TRUE(SaveScreenBmp(Shot("syspicture_startup")));

    const std::vector<uint8_t> bytes = ReadWholeFile(kStartupFile);
    ASSERT_EQ(bytes.size(), 1078u + 320 * 400);
    EXPECT_EQ(bytes[50], 160);
    const auto logo = DecodeLogoBmp(bytes);
    ASSERT_TRUE(logo);
    ASSERT_EQ(logo->width, 320);
    ASSERT_EQ(logo->height, 400);
    std::set<int> pictureIndices;
    for (int y = 0; y < 368; ++y)
        for (int x = 0; x < 320; ++x)
            pictureIndices.insert(logo->At(x, y));
    EXPECT_LT(*pictureIndices.rbegin(), 160) << "the picture keeps to its 160 colours";
    for (int y = 368; y < 400; ++y) {
        ASSERT_EQ(logo->At(0, y), 255) << y;
        ASSERT_EQ(logo->At(319, y), 160) << y;
        for (int x = 1; x < 320; ++x)
            ASSERT_LE(logo->At(x, y), logo->At(x - 1, y));
    }
    std::set<int> band;
    for (int x = 0; x < 320; ++x)
        band.insert(logo->At(x, 399));
    EXPECT_EQ(band.size(), 96u);
    const std::array<int, 3> lightBlue{0xFF, 0xC4, 0x00}, white{255, 255, 255};
    EXPECT_EQ(Entry(*logo, 160), lightBlue);
    EXPECT_EQ(Entry(*logo, 208), white);
    EXPECT_EQ(Entry(*logo, 255), lightBlue);
    EXPECT_EQ(Entry(*logo, 184), (std::array<int, 3>{0xFF, 0xE1, 0x7F})) << "half way to white";
}

TEST_F(SysPictureE2eTest, WithoutAPictureTheStartUpFileIsTheEighteenByteText)
{
    EXPECT_EQ(Status(), "Startup Picture (320x400)") << "the file of the test before is read on opening";
    Click(IDC_SYSPICTURE_DELETE);
    ASSERT_TRUE(WaitFor([&] { return Status() == "(none)"; }));
    ApplyAndWait("(none)");
    ASSERT_TRUE(WaitFor([&] { return ReadWholeFile(kStartupFile).size() == 18; }, 5000));
    const std::vector<uint8_t> bytes = ReadWholeFile(kStartupFile);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Ostrel Quenta v1.0");
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_SYSPICTURE_APPLY))) << "no picture was read back";
}

TEST_F(SysPictureE2eTest, EndAndStopPicturesNeverCarryTheBar)
{
    ASSERT_TRUE(IsDlgButtonChecked(m_form, IDC_SYSPICTURE_ENABLE_BAR) == BST_CHECKED);
    for (const auto& [tab, file, title] : {std::tuple{1, "logow.sys", "End Picture"}, {2, "logos.sys", "Stop Picture"}}) {
        ChooseTab(tab);
        EXPECT_FALSE(IsWindowVisible(Control(IDC_SYSPICTURE_ENABLE_BAR))) << title;
        LoadPicture();
        ApplyAndWait(std::string(title) + " (320x400)");
        if (tab == 1) {
            EXPECT_TRUE(SaveScreenBmp(Shot("syspicture_end")));
        }
        const auto logo = ReadLogo(WindowsFile(file));
        ASSERT_TRUE(logo) << file;
        EXPECT_EQ(logo->width, 320);
        EXPECT_FALSE(logo->At(0, 399) == 255 && logo->At(319, 399) == 160) << file << " carries a band";
        std::set<int> indices;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 320; ++x)
                indices.insert(logo->At(x, y));
        EXPECT_GT(indices.size(), 160u) << file << ": the picture has all 256 entries to itself";
    }
}

TEST_F(SysPictureE2eTest, AReversedRectangleIsStoredSwapped)
{
    SetNumber(IDC_SYSPICTURE_LEFT, "300");
    SetNumber(IDC_SYSPICTURE_RIGHT, "20");
    LoadPicture();
    ApplyAndWait("Startup Picture (320x400)");
    EXPECT_EQ(TextOf(Control(IDC_SYSPICTURE_LEFT)), "20");
    EXPECT_EQ(TextOf(Control(IDC_SYSPICTURE_RIGHT)), "300");
    char value[16] = "";
    DWORD size = sizeof value;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kSectionKey, "Left", RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, "20");
    size = sizeof value;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kSectionKey, "Right", RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, "300");
    const auto logo = ReadLogo(kStartupFile);
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->At(20, 380), 255);
    EXPECT_EQ(logo->At(299, 380), 160);
    EXPECT_LT(logo->At(19, 380), 160);
    EXPECT_LT(logo->At(300, 380), 160);
}
