// Drives the screen capture's view in a plain test window: arming and disarming the hot key,
// captures by hot-key message, the tabs and their thumbnails, Delete, Save and Copy.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/settings.h"
#include "framework/frame.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/capture/capture_rules.h"
#include "picturetools/capture/screen_grab_win.h"
#include "picturetools/capture/snap_view_win.h"
#include "res/resource.h"

namespace fs = std::filesystem;

namespace {
// The program's message loop step: the framework's observers see each message first.
void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!PreTranslateFrameworkMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

bool CanRegister(unsigned modifiers, unsigned key)
{
    if (!RegisterHotKey(nullptr, 0x2345, modifiers, key))
        return false;
    UnregisterHotKey(nullptr, 0x2345);
    return true;
}

bool SamePixels(const CPicture& a, const CPicture& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.Row(y), b.Row(y), static_cast<size_t>(a.Width()) * 3) != 0)
            return false;
    return true;
}
} // namespace

class CaptureView : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
    }

    void SetUp() override
    {
        CQnSettings().DeleteSection("ScreenCapture");
        m_frame = CreateWindowExA(0, "STATIC", "capture test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_frame);
        ASSERT_TRUE(m_view.CreateView(m_frame, 0xE900));
        MoveWindow(m_view.Hwnd(), 0, 0, 780, 560, TRUE);
        ShowWindow(m_view.Hwnd(), SW_SHOW);
        m_view.InitModule();
        Pump();
    }

    void TearDown() override
    {
        DestroyWindow(m_frame);
        CQnSettings().DeleteSection("ScreenCapture");
    }

    HWND Control(int id) const { return GetDlgItem(m_view.Hwnd(), id); }
    void Check(int id, bool on) { SendMessageA(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    void PressHotKey()
    {
        PostMessageA(m_view.Hwnd(), WM_HOTKEY, static_cast<WPARAM>(kCaptureHotKeyId), 0);
        Pump();
    }
    bool ButtonsEnabled(bool enabled)
    {
        for (int id : {IDC_CAPTURE_SAVE, IDC_CAPTURE_COPY, IDC_CAPTURE_VIEW, IDC_CAPTURE_PRINT, IDC_CAPTURE_DELETE})
            if ((IsWindowEnabled(Control(id)) != FALSE) != enabled)
                return false;
        return true;
    }
    int TabCount() { return m_view.Tabs().Strip().Count(); }
    int ImageCount() { return m_view.Tabs().Strip().ImageCount(); }

    HWND m_frame = nullptr;
    CQnSnap m_view;
};

TEST_F(CaptureView, StartArmsTheChosenKeyAndShowingTheWindowDisarmsIt)
{
    SendMessageA(Control(IDC_CAPTURE_KEY), CB_SETCURSEL, HotKeyIndexOfCode(0x74), 0);
    Check(IDC_CAPTURE_CTRL, true);
    Check(IDC_CAPTURE_SHIFT, true);
    ASSERT_TRUE(m_view.Start());
    EXPECT_TRUE(m_view.Armed());
    EXPECT_TRUE(IsIconic(m_frame));
    EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_SHIFT, 0x74));
    EXPECT_TRUE(CanRegister(MOD_CONTROL, 0x74));
    // Starting again while armed gives the key up first and takes it again.
    ASSERT_TRUE(m_view.Start());
    ShowWindow(m_frame, SW_RESTORE);
    Pump();
    EXPECT_FALSE(m_view.Armed());
    EXPECT_TRUE(CanRegister(MOD_CONTROL | MOD_SHIFT, 0x74));
    PressHotKey();
    EXPECT_EQ(TabCount(), 0) << "a hot-key message captured while disarmed";
}

TEST_F(CaptureView, TakenKeyRestoresTheWindowAndArmsNothing)
{
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x2346, 0, VK_SNAPSHOT)); // another program holds Print Screen
    EXPECT_FALSE(m_view.Start());
    EXPECT_FALSE(m_view.Armed());
    EXPECT_FALSE(IsIconic(m_frame));
    UnregisterHotKey(nullptr, 0x2346);
}

TEST_F(CaptureView, MultipleCapturesAddTabsAndDeletingTheLastBringsBackThePlaceholder)
{
    EXPECT_TRUE(ButtonsEnabled(false));
    EXPECT_EQ(ImageCount(), 1); // the placeholder
    Check(IDC_CAPTURE_MULTIPLE, true);
    ASSERT_TRUE(m_view.Start());
    for (int press = 1; press <= 3; ++press) {
        PressHotKey();
        EXPECT_EQ(TabCount(), press);
        EXPECT_EQ(ImageCount(), press);
        EXPECT_TRUE(IsIconic(m_frame));
        EXPECT_TRUE(m_view.Armed());
    }
    EXPECT_EQ(m_view.Captures().CurrentIndex(), 2u);
    EXPECT_TRUE(ButtonsEnabled(true));
    const CPicture* first = &m_view.Captures().Picture(0);
    EXPECT_EQ(first->Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(first->Height(), GetSystemMetrics(SM_CYSCREEN));
    ShowWindow(m_frame, SW_RESTORE);
    Pump();
    EXPECT_FALSE(m_view.Armed());

    // Deleting the last capture moves the current index back to the new last one.
    SendMessageA(m_view.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CAPTURE_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(TabCount(), 2);
    EXPECT_EQ(m_view.Captures().CurrentIndex(), 1u);
    SendMessageA(m_view.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CAPTURE_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(m_view.Captures().CurrentIndex(), 0u);
    EXPECT_TRUE(ButtonsEnabled(true));
    SendMessageA(m_view.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CAPTURE_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(TabCount(), 0);
    EXPECT_EQ(ImageCount(), 1) << "the placeholder did not come back";
    EXPECT_TRUE(ButtonsEnabled(false));
}

TEST_F(CaptureView, OneCaptureWithoutMultipleShowsTheWindowAgain)
{
    ASSERT_TRUE(m_view.Start());
    PressHotKey();
    EXPECT_EQ(TabCount(), 1);
    EXPECT_FALSE(IsIconic(m_frame));
    EXPECT_FALSE(m_view.Armed());
}

TEST_F(CaptureView, WindowEntirelyOffTheScreenAddsNothing)
{
    HWND away = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "away", WS_POPUP | WS_VISIBLE, -500, -400, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    RECT area{};
    ASSERT_TRUE(CaptureAreaOfWindow(away, false, area));
    EXPECT_EQ(GrabScreenArea(area), nullptr);
    RECT partly{-50, -20, 150, 80};
    const std::unique_ptr<CPicture> kept = GrabScreenArea(partly);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Width(), 150);
    EXPECT_EQ(kept->Height(), 80);
    DestroyWindow(away);
}

TEST_F(CaptureView, SaveWritesThe24BitCaptureAndCopyPutsItOnTheClipboard)
{
    ASSERT_TRUE(m_view.Start());
    PressHotKey();
    ASSERT_EQ(TabCount(), 1);
    const CPicture& capture = *m_view.Captures().Current();

    const fs::path file = fs::path(testing::TempDir()) / "qn_capture_save.bmp";
    ASSERT_TRUE(m_view.SaveCurrentTo(file.string()));
    std::vector<char> bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes[28], 24);
    CPicture read;
    ASSERT_EQ(BmpCodec().ReadFile(file.string(), &read, nullptr), 1);
    EXPECT_TRUE(SamePixels(read, capture));
    EXPECT_FALSE(fs::exists(file.string() + ".~tmp"));
    fs::remove(file);
    // Only the dialog stores the folder; writing the file itself stores nothing.
    EXPECT_EQ(CQnSettings().ReadString("ScreenCapture", "SaveDirectory", "none"), "none");

    SendMessageA(m_view.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CAPTURE_COPY, BN_CLICKED), 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE dib = GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    CPicture pasted;
    EXPECT_TRUE(pasted.FromDib(GlobalLock(dib), GlobalSize(dib)));
    GlobalUnlock(dib);
    CloseClipboard();
    EXPECT_TRUE(SamePixels(pasted, capture));
}
