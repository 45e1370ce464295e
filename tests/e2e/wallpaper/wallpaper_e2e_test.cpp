// Drives the wallpaper of the real toolbox: loads a picture through the picture open dialog,
// applies it to either target in several modes, and checks the desktop keys and the written
// bitmap (never the desktop's pixels: Wine draws only some modes). Screenshots are kept in the
// build folder.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/remote_controls_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kWallpaperModule = 3;
constexpr int kMessageText = 1000;
const char kMessageTitle[] = "Quenta - Message";
const char kOpenTitle[] = "Load a new picture...";
const char kDesktopKey[] = "Control Panel\\desktop";
const char kDefaultDesktopKey[] = ".default\\Control Panel\\desktop";
// Labels of the snapshots' keys in lower case (the registry keeps the letter case of a key's
// creator: "Desktop" or "desktop").
const char kCurrentLabel[] = "hkcu\\control panel\\desktop";
const char kDefaultLabel[] = "hku\\.default\\control panel\\desktop";
const char kModuleKey[] = "Software\\Ostrel\\Quenta\\WallPaper";
const COLORREF kBackground = 0x00336699; // red 99, green 66, blue 33
const uint8_t kPictureBgr[3] = {40, 200, 230};

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "wallpaper"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }
const fs::path kDriveFolder = "C:\\quenta_e2e_wallpaper";
fs::path WidePicture() { return kDriveFolder / "wide.bmp"; }

std::string ReadValue(HKEY root, const char* key, const char* name, const char* missing = "<missing>")
{
    char text[MAX_PATH * 2] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return missing;
    return text;
}

// The folder the Current User's picture goes to: the parent of the "Start Menu" shell folder.
std::string CurrentUserFile()
{
    char startMenu[MAX_PATH] = {};
    std::string folder = ReadValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                   "Start Menu", "");
    if (folder.empty() && SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_STARTMENU, nullptr, 0, startMenu)))
        folder = startMenu;
    return fs::path(folder).parent_path().string() + "\\QnBackPic.bmp";
}

std::string WindowsFile()
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\QnBackPicDefault.bmp";
}

// The bit count in a bitmap file's information header, or 0 when it is none.
int BitmapFileDepth(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char header[30] = {};
    if (!in.read(header, sizeof header) || header[0] != 'B' || header[1] != 'M')
        return 0;
    return static_cast<unsigned char>(header[28]) | static_cast<unsigned char>(header[29]) << 8;
}

COLORREF PixelAt(const CPicture& picture, int x, int y)
{
    uint8_t bgr[3] = {};
    picture.GetPixel(x, y, bgr);
    return RGB(bgr[2], bgr[1], bgr[0]);
}

std::string Lower(std::string text)
{
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The changed keys, in lower case, keeping only those that are not a parent created for
// `desktop` (a missing "Control Panel" key is created with it).
std::set<std::string> ChangedDesktopKeys(const e2e::RegistrySnapshot& before, const e2e::RegistrySnapshot& after,
                                         const std::string& desktop)
{
    std::set<std::string> changed;
    for (const std::string& key : e2e::ChangedKeys(before, after)) {
        const std::string lower = Lower(key);
        const bool createdParent = !before.count(key) && after.at(key).empty() && desktop.rfind(lower + "\\", 0) == 0;
        if (!createdParent)
            changed.insert(lower);
    }
    return changed;
}

class WallpaperE2eTest : public QuentaSuite {
protected:
    static void SetUpTestSuite()
    {
        fs::remove_all(kDriveFolder);
        fs::create_directories(kDriveFolder);
        CPicture picture;
        picture.Create(100, 50);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 100; ++x)
                picture.SetPixel(x, y, kPictureBgr);
        BmpCodec().WriteFile(WidePicture().string(), &picture, 24, false, nullptr);
        // The background colour is read when the form opens; no image editor is installed.
        RegSetKeyValueA(HKEY_CURRENT_USER, kModuleKey, "BackgroundColor", REG_SZ,
                        std::to_string(kBackground).c_str(), static_cast<DWORD>(std::to_string(kBackground).size() + 1));
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Ostrel\\Software", "Zephra");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "software\\ostrel\\atom\\Zephra", "HWND");
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        std::error_code ignored;
        fs::remove_all(kDriveFolder, ignored);
        fs::remove(CurrentUserFile(), ignored);
        fs::remove(WindowsFile(), ignored);
        RegDeleteTreeA(HKEY_CURRENT_USER, kModuleKey);
        for (const char* name : {"Wallpaper", "WallpaperStyle"}) {
            RegDeleteKeyValueA(HKEY_USERS, kDefaultDesktopKey, name);
        }
        RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper", REG_SZ, "", 1);
        RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", REG_SZ, "0", 2);
    }

    void SetUp() override
    {
        QuentaSuite::SetUp();
        if (HasFatalFailure())
            return;
        m_tabs = OpenModuleForm(kWallpaperModule, IDC_WALLPAPER_TABS, WC_TABCONTROLA);
        ASSERT_NE(m_tabs, nullptr) << "the wallpaper's form has no tabs";
        m_form = GetParent(m_tabs);
    }

    HWND Control(int id) const { return FindDescendantById(m_form, id); }
    std::string Status() const { return TextOf(Control(IDC_WALLPAPER_STATUS)); }

    void Click(int id) const
    {
        HWND control = Control(id);
        PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
        e2e::Settle(Frame());
    }

    HWND WindowTitled(const char* title) const
    {
        return FindWindowOfProcess(Quenta().Id(), [title](HWND w) { return CaptionOf(w) == title; });
    }

    // Clicks the tab, as the user would.
    void ChooseTab(int tab)
    {
        RECT rect{};
        ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_tabs, TCM_GETITEMRECT, tab, rect));
        e2e::ClickAt(m_tabs, rect);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0) == tab; }, 5000));
        e2e::Settle(Frame());
    }

    // "&Load" with the picture open dialog, the file's path typed as its name.
    void LoadPicture(const fs::path& path)
    {
        Click(IDC_WALLPAPER_LOAD);
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (dialog = WindowTitled(kOpenTitle)) != nullptr; })) << "no open dialog";
        HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
        ASSERT_TRUE(name);
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.string().c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        const std::string expected = path.filename().string() + " (";
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && Status().rfind(expected, 0) == 0; }, 10000))
            << "status after loading: " << Status();
        e2e::Settle(Frame());
    }

    // "&Apply", waiting for the form to show the target read again.
    void Apply()
    {
        ASSERT_TRUE(IsWindowEnabled(Control(IDC_WALLPAPER_APPLY)));
        Click(IDC_WALLPAPER_APPLY);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(Control(IDC_WALLPAPER_APPLY)) || WindowTitled(kMessageTitle); },
                            20000));
        HWND box = WindowTitled(kMessageTitle);
        ASSERT_EQ(box, nullptr) << "Apply said: " << TextOf(GetDlgItem(box, kMessageText));
    }

    static e2e::RegistrySnapshot Desktops()
    {
        e2e::RegistrySnapshot both = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "Control Panel", "HKCU\\Control Panel");
        both.merge(e2e::SnapshotRegistry(HKEY_USERS, ".default\\Control Panel", "HKU\\.default\\Control Panel"));
        return both;
    }

    HWND m_tabs = nullptr, m_form = nullptr;
};
} // namespace

TEST_F(WallpaperE2eTest, StretchWritesAScreenSizeBitmapForTheCurrentUser)
{
    LoadPicture(WidePicture());
    EXPECT_EQ(Status(), "wide.bmp (100x50)");
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kModuleKey, "LoadPictureDirectory"), kDriveFolder.string());
    EXPECT_EQ(TextOf(Control(IDC_WALLPAPER_WIDTH)), "100");
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_WALLPAPER_VIEW)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WALLPAPER_COLOR)));
    EXPECT_TRUE(SaveScreenBmp(Shot("wallpaper_en")));
    Click(IDC_WALLPAPER_STRETCH);

    const e2e::RegistrySnapshot before = Desktops();
    ASSERT_NO_FATAL_FAILURE(Apply());
    const e2e::RegistrySnapshot after = Desktops();
    EXPECT_EQ(ChangedDesktopKeys(before, after, kCurrentLabel), std::set<std::string>{kCurrentLabel}) << e2e::DescribeChanges(before, after);

    const std::string file = CurrentUserFile();
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), file);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle"), "2");
    EXPECT_EQ(BitmapFileDepth(file), 24);
    CPicture written;
    ASSERT_TRUE(::LoadPicture(file, &written, nullptr)) << file;
    EXPECT_EQ(written.Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(written.Height(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(fs::exists(file + ".tmp"));
    // The form shows what is installed now.
    EXPECT_EQ(Status(), "QnBackPic.bmp (1024x768)");
    EXPECT_EQ(IsDlgButtonChecked(m_form, IDC_WALLPAPER_STRETCH), BST_CHECKED);
}

TEST_F(WallpaperE2eTest, BestFitPlacesTheWidePictureOnTheBackgroundColour)
{
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    LoadPicture(WidePicture());
    Click(IDC_WALLPAPER_BESTFIT);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_WALLPAPER_COLOR)));
    ASSERT_NO_FATAL_FAILURE(Apply());

    const std::string file = CurrentUserFile();
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle"), "0");
    CPicture written;
    ASSERT_TRUE(::LoadPicture(file, &written, nullptr)) << file;
    ASSERT_EQ(written.Width(), 1024);
    ASSERT_EQ(written.Height(), 768);
    const COLORREF picture = RGB(kPictureBgr[2], kPictureBgr[1], kPictureBgr[0]);
    // The picture fills 1024 x 512 from row 128; the background colour above and below.
    EXPECT_EQ(PixelAt(written, 0, 127), kBackground);
    EXPECT_EQ(PixelAt(written, 1023, 0), kBackground);
    EXPECT_EQ(PixelAt(written, 0, 128), picture);
    EXPECT_EQ(PixelAt(written, 1023, 128), picture);
    EXPECT_EQ(PixelAt(written, 512, 639), picture);
    EXPECT_EQ(PixelAt(written, 1023, 640), kBackground);
    EXPECT_EQ(PixelAt(written, 0, 767), kBackground);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kModuleKey, "BackgroundColor"), std::to_string(kBackground));
}

TEST_F(WallpaperE2eTest, DeleteThenApplyRemovesTheWallpaper)
{
    LoadPicture(WidePicture());
    ASSERT_NO_FATAL_FAILURE(Apply());
    ASSERT_NE(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), "");
    Click(IDC_WALLPAPER_DELETE);
    EXPECT_EQ(Status(), "(none)");
    EXPECT_EQ(TextOf(Control(IDC_WALLPAPER_WIDTH)), "---");
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WALLPAPER_VIEW)));
    ASSERT_NO_FATAL_FAILURE(Apply());
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), "");
    EXPECT_EQ(Status(), "(none)");
}

TEST_F(WallpaperE2eTest, DefaultUserWritesItsOwnKeyAndNotifiesNothing)
{
    ChooseTab(1);
    LoadPicture(WidePicture());
    Click(IDC_WALLPAPER_MOSAIC);
    const e2e::RegistrySnapshot before = Desktops();
    ASSERT_NO_FATAL_FAILURE(Apply());
    const e2e::RegistrySnapshot after = Desktops();
    // The system's wallpaper setting (the Current User's desktop key) is untouched: the
    // system was not told.
    EXPECT_EQ(ChangedDesktopKeys(before, after, kDefaultLabel), std::set<std::string>{kDefaultLabel}) << e2e::DescribeChanges(before, after);
    const std::string file = WindowsFile();
    EXPECT_EQ(ReadValue(HKEY_USERS, kDefaultDesktopKey, "Wallpaper"), file);
    EXPECT_EQ(ReadValue(HKEY_USERS, kDefaultDesktopKey, "WallpaperStyle"), "1");
    CPicture written;
    ASSERT_TRUE(::LoadPicture(file, &written, nullptr)) << file;
    EXPECT_EQ(written.Width(), 100);
    EXPECT_EQ(written.Height(), 50);
    EXPECT_EQ(Status(), "QnBackPicDefault.bmp (100x50)");
    // Back on the first tab, the Current User's own state shows.
    ChooseTab(0);
    EXPECT_NE(Status(), "QnBackPicDefault.bmp (100x50)");
}

TEST_F(WallpaperE2eTest, EditWithoutTheEditorSaysWhereToGetIt)
{
    LoadPicture(WidePicture());
    Click(IDC_WALLPAPER_EDIT);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = WindowTitled(kMessageTitle)) != nullptr; }, 10000)) << "no message";
    e2e::Settle(box);
    const std::string text = TextOf(GetDlgItem(box, kMessageText));
    EXPECT_NE(text.find("Zephra is not installed on your computer."), std::string::npos) << text;
    EXPECT_NE(text.find("following URL:\r\nhttps://"), std::string::npos) << text;
    EXPECT_TRUE(SaveScreenBmp(Shot("wallpaper_edit_message")));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
}
