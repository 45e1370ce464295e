// Drives the screen capture of the real toolbox: the hot key's registration with its modifiers,
// three captures in one session while the main window stays minimised, a window capture of a
// window partly off the screen saved as a 24-bit BMP file, and deleting the only capture.
// Under Wine the hot key reaches a program only while one of its windows has the focus, so the
// test posts the hot-key message (identifier -1) itself; that the key is registered, and with
// which modifiers, shows in the system's hot key table: registering the same combination
// again fails while the capture holds it.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <fstream>
#include <string>
#include <vector>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/screen_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kCaptureModule = 15;
constexpr int kF5Index = 7; // in the "Hot Key :" list
const char kProductKey[] = "Software\\Ostrel\\Quenta";
const char kSettingsKey[] = "Software\\Ostrel\\Quenta\\ScreenCapture";
const fs::path kDriveFolder = "C:\\quenta_e2e_capture";
const int kCaptureButtons[] = {IDC_CAPTURE_SAVE, IDC_CAPTURE_COPY, IDC_CAPTURE_VIEW, IDC_CAPTURE_PRINT,
                               IDC_CAPTURE_DELETE};

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "capture"; }
// Screenshots carry the language they were taken in (the suite runs in English and in French).
std::string Shot(const std::string& name)
{
    const char* language = std::getenv("LANG");
    const std::string suffix = language && std::string(language).rfind("fr", 0) == 0 ? "_fr" : "_en";
    return (WorkFolder() / (name + suffix + ".bmp")).string();
}

// Waits while handling this thread's own messages (the test's window paints).
bool WaitPumping(const std::function<bool()>& condition, int timeoutMs = 10000)
{
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (condition())
            return true;
        Sleep(20);
    }
    return false;
}

bool CanRegister(unsigned modifiers, unsigned key)
{
    if (!RegisterHotKey(nullptr, 0x2345, modifiers, key))
        return false;
    UnregisterHotKey(nullptr, 0x2345);
    return true;
}

// A plain window of one colour, on top of everything, that the test owns.
class ColouredWindow {
public:
    static constexpr COLORREF kColour = RGB(200, 30, 60);
    ColouredWindow(int x, int y, int width, int height)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = CreateSolidBrush(kColour);
        wc.lpszClassName = "CaptureE2eTarget";
        RegisterClassA(&wc);
        m_hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Capture target", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, x, y, width,
                                 height, nullptr, nullptr, wc.hInstance, nullptr);
        UpdateWindow(m_hwnd);
    }
    ~ColouredWindow() { DestroyWindow(m_hwnd); }
    HWND Hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};
} // namespace

class CaptureE2eTest : public QuentaSuite {
protected:
    void SetUp() override
    {
        QuentaSuite::SetUp();
        ShowMain();
        m_start = OpenModuleForm(kCaptureModule, IDC_CAPTURE_START, "Button");
        ASSERT_NE(m_start, nullptr) << "the screen capture's form did not appear";
        m_form = GetParent(m_start);
        m_tabs = GetDlgItem(m_form, IDC_CAPTURE_TABS);
        ASSERT_NE(m_tabs, nullptr);
    }
    void TearDown() override { ShowMain(); }

    // Shows the main window again (as the user would from the task bar).
    static void ShowMain()
    {
        if (IsIconic(Frame())) {
            ShowWindowAsync(Frame(), SW_RESTORE);
            WaitFor([] { return !IsIconic(Frame()); }, 5000);
        }
        e2e::Settle(Frame());
    }

    HWND Control(int id) const { return GetDlgItem(m_form, id); }
    void Check(int id, bool on) const { SendMessageA(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    void Choose(int kindId, bool multiple) const
    {
        for (int id : {IDC_CAPTURE_FULL_SCREEN, IDC_CAPTURE_WINDOW, IDC_CAPTURE_CLIENT})
            Check(id, id == kindId);
        Check(IDC_CAPTURE_MULTIPLE, multiple);
    }
    int Tabs() const { return static_cast<int>(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0)); }
    bool ButtonsEnabled(bool enabled) const
    {
        for (int id : kCaptureButtons)
            if ((IsWindowEnabled(Control(id)) != FALSE) != enabled)
                return false;
        return true;
    }
    // "&Start": the main window minimises and the hot key is armed.
    void Start() const
    {
        SendMessageA(m_start, BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([] { return IsIconic(Frame()) != FALSE; }, 5000)) << "the main window stayed up";
    }
    static void PressHotKey() { PostMessageA(Frame(), WM_HOTKEY, static_cast<WPARAM>(-1), 0); }

    HWND m_start = nullptr, m_form = nullptr, m_tabs = nullptr;
};

TEST_F(CaptureE2eTest, CtrlShiftF5RegistersThoseModifiersUntilTheMainWindowIsShownAgain)
{
    ASSERT_TRUE(CanRegister(MOD_CONTROL | MOD_SHIFT, VK_F5)) << "the combination is taken before the test";
    SendMessageA(Control(IDC_CAPTURE_KEY), CB_SETCURSEL, kF5Index, 0);
    Check(IDC_CAPTURE_ALT, false);
    Check(IDC_CAPTURE_CTRL, true);
    Check(IDC_CAPTURE_SHIFT, true);
    Choose(IDC_CAPTURE_FULL_SCREEN, false);
    Start();
    EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_SHIFT, 0x74)) << "Ctrl+Shift+F5 is not registered";
    EXPECT_TRUE(CanRegister(MOD_CONTROL, 0x74)) << "registered without Shift";
    EXPECT_TRUE(CanRegister(MOD_SHIFT, 0x74)) << "registered without Ctrl";
    EXPECT_TRUE(CanRegister(MOD_CONTROL | MOD_SHIFT | MOD_ALT, 0x74)) << "registered with Alt";
    EXPECT_TRUE(CanRegister(MOD_CONTROL | MOD_SHIFT, 0x75)) << "registered on F6";

    ShowMain();
    EXPECT_TRUE(CanRegister(MOD_CONTROL | MOD_SHIFT, 0x74)) << "still registered after the main window came back";
    // Disarmed: a late hot-key message captures nothing.
    PressHotKey();
    e2e::Settle(Frame());
    Sleep(200);
    e2e::Settle(Frame());
    EXPECT_EQ(Tabs(), 0);
}

TEST_F(CaptureE2eTest, ThreeHotKeysWithMultipleCapturesAddThreeTabsWhileMinimised)
{
    EXPECT_EQ(Tabs(), 0);
    EXPECT_TRUE(ButtonsEnabled(false)) << "buttons enabled without a capture";
    Choose(IDC_CAPTURE_FULL_SCREEN, true);
    Start();
    for (int press = 1; press <= 3; ++press) {
        PressHotKey();
        ASSERT_TRUE(WaitFor([&] { return Tabs() == press; }, 10000)) << "capture " << press << " gave no tab";
        EXPECT_TRUE(IsIconic(Frame())) << "the main window came back after capture " << press;
    }
    EXPECT_FALSE(CanRegister(0, VK_SNAPSHOT)) << "the hot key was given up while capturing";
    ShowMain();
    EXPECT_TRUE(CanRegister(0, VK_SNAPSHOT));
    EXPECT_EQ(Tabs(), 3);
    EXPECT_EQ(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0), 2) << "the last capture is not current";
    EXPECT_TRUE(ButtonsEnabled(true));
    // A tab of the first capture makes it current (the preview follows; see the screenshot).
    SendMessageA(m_tabs, TCM_SETCURFOCUS, 0, 0);
    e2e::Settle(Frame());
    EXPECT_EQ(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(SaveScreenBmp(Shot("capture_three")));
}

TEST_F(CaptureE2eTest, WindowPartlyOffScreenIsSavedAsItsVisiblePartIn24Bits)
{
    fs::create_directories(kDriveFolder);
    const fs::path saved = kDriveFolder / "window.bmp";
    fs::remove(saved);
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    const e2e::RegistrySnapshot before = e2e::SnapshotRegistry(HKEY_CURRENT_USER, kProductKey, "HKCU");

    ColouredWindow target(-120, -60, 320, 240); // 200 x 180 of it on the screen
    Choose(IDC_CAPTURE_WINDOW, false);
    Start();
    // Brought forward until the system agrees (the minimising main window may still take the
    // activation back for a moment).
    ASSERT_TRUE(WaitPumping([&] {
        if (GetForegroundWindow() == target.Hwnd())
            return true;
        SetForegroundWindow(target.Hwnd());
        return false;
    })) << "the target never came forward";
    const ScreenCapture screen; // what the capture is to hold
    PressHotKey();
    ASSERT_TRUE(WaitPumping([&] { return Tabs() == 1 && !IsIconic(Frame()); })) << "no capture, or the window stayed down";

    PostMessageA(Control(IDC_CAPTURE_SAVE), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitPumping([&] {
        dialog = FindWindowOfProcess(Quenta().Id(), [](HWND w) {
            return ClassOf(w) == "#32770" && (GetDlgItem(w, cmb13) || GetDlgItem(w, edt1));
        });
        return dialog != nullptr;
    })) << "no save dialog";
    e2e::Settle(Frame());
    e2e::Settle(dialog);
    EXPECT_TRUE(SaveScreenBmp(Shot("capture_save_dialog")));
    HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.string().c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitPumping([&] { return !IsWindow(dialog) && fs::exists(saved); })) << saved;
    e2e::Settle(Frame());

    std::vector<unsigned char> bytes;
    {
        std::ifstream in(saved, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[28] | bytes[29] << 8, 24) << "not a 24-bit file";
    CPicture picture;
    ASSERT_EQ(BmpCodec().ReadFile(saved.string(), &picture, nullptr), 1);
    ASSERT_EQ(picture.Width(), 200);
    ASSERT_EQ(picture.Height(), 180);
    int different = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            uint8_t bgr[3];
            picture.GetPixel(x, y, bgr);
            if (RGB(bgr[2], bgr[1], bgr[0]) != screen.At(x, y))
                ++different;
        }
    EXPECT_EQ(different, 0) << "pixels of the file differ from the screen";
    uint8_t centre[3];
    picture.GetPixel(100, 90, centre);
    EXPECT_EQ(RGB(centre[2], centre[1], centre[0]), ColouredWindow::kColour);

    const e2e::RegistrySnapshot after = e2e::SnapshotRegistry(HKEY_CURRENT_USER, kProductKey, "HKCU");
    const std::set<std::string> changed = e2e::ChangedKeys(before, after);
    ASSERT_EQ(changed.size(), 1u) << e2e::DescribeChanges(before, after);
    EXPECT_TRUE(changed.begin()->ends_with("\\ScreenCapture")) << *changed.begin();
    ASSERT_EQ(after.count(*changed.begin()), 1u) << e2e::DescribeChanges(before, after);
    const e2e::RegistryValues& values = after.at(*changed.begin());
    ASSERT_EQ(values.size(), 1u) << e2e::DescribeChanges(before, after);
    EXPECT_EQ(values.begin()->first, "SaveDirectory");
    EXPECT_NE(values.begin()->second.find(kDriveFolder.string()), std::string::npos) << values.begin()->second;
    std::error_code ignored;
    fs::remove_all(kDriveFolder, ignored);
}

TEST_F(CaptureE2eTest, DeletingTheOnlyCaptureBringsBackThePlaceholderAndDisablesTheButtons)
{
    Choose(IDC_CAPTURE_FULL_SCREEN, false);
    Start();
    PressHotKey();
    ASSERT_TRUE(WaitFor([&] { return Tabs() == 1; }, 10000));
    ASSERT_TRUE(WaitFor([] { return !IsIconic(Frame()); }, 5000)) << "one capture did not bring the window back";
    EXPECT_TRUE(CanRegister(0, VK_SNAPSHOT)) << "the hot key stayed armed after the window came back";
    EXPECT_TRUE(ButtonsEnabled(true));
    SendMessageA(Control(IDC_CAPTURE_DELETE), BM_CLICK, 0, 0);
    e2e::Settle(Frame());
    EXPECT_EQ(Tabs(), 0);
    EXPECT_TRUE(ButtonsEnabled(false)) << "buttons enabled after the only capture went";
    EXPECT_TRUE(SaveScreenBmp(Shot("capture_deleted")));
}
