// Drives the wallpaper's view in a plain test window: what the form shows and enables, the
// size spins, a dropped file, the hand-over to a running image editor and the message without
// one, and the form in English and French (screenshots kept in the build folder). Nothing
// here applies: what Apply writes is checked natively and end to end.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/message.h"
#include "app/services.h"
#include "picture/codec_registry.h"
#include "base/text.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/wallpaper/background_view_win.h"
#include "res/resource.h"
#include "tests/e2e/support/screen_win.h"
#include "tests/support/drop_files_win.h"
#include "tests/support/text_width_win.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::string> g_messages;

MessageAnswer RecordMessage(const std::string& text, MessageButtons)
{
    g_messages.push_back(text);
    return MessageAnswer::Ok;
}

std::string ControlText(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ScreenshotPath(const char* name)
{
    return std::string(QUENTA_BINARY_DIR) + "/tests/picturetools/wallpaper/" + name + ".bmp";
}

const char kAtomKey[] = "software\\ostrel\\atom\\Zephra";
const char kInstallKey[] = "Software\\Ostrel\\Software";

class BackgroundView : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        SetMessageHandler(RecordMessage);
    }

    void SetUp() override
    {
        m_root = fs::path(testing::TempDir()) / "qn_wallpaper_view";
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        CPicture picture;
        ASSERT_TRUE(picture.Create(120, 80));
        ASSERT_EQ(BmpCodec().WriteFile(Picture(), &picture, 24, false, nullptr), 1);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kInstallKey, "Zephra");
        RegDeleteTreeA(HKEY_CURRENT_USER, kAtomKey);
        g_messages.clear();
        m_frame = CreateWindowExA(0, "STATIC", "wallpaper test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 640,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_frame);
    }

    void TearDown() override
    {
        SetTextLanguage(0x0409);
        CloseView();
        DestroyWindow(m_frame);
        RegDeleteTreeA(HKEY_CURRENT_USER, kAtomKey);
        fs::remove_all(m_root);
    }

    void CloseView()
    {
        if (m_view && m_view->Hwnd())
            DestroyWindow(m_view->Hwnd());
        m_view.reset();
    }

    void OpenView()
    {
        CloseView();
        m_view = std::make_unique<CQnBackground>();
        ASSERT_TRUE(m_view->CreateView(m_frame, 0xE900));
        MoveWindow(m_view->Hwnd(), 0, 0, 880, 600, TRUE);
        ShowWindow(m_view->Hwnd(), SW_SHOW);
        m_view->InitModule();
    }

    std::string Picture() const { return (m_root / "wide.bmp").string(); }
    HWND Control(int id) const { return GetDlgItem(m_view->Hwnd(), id); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    void Click(int id) const
    {
        SendMessageA(m_view->Hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
    }

    fs::path m_root;
    HWND m_frame = nullptr;
    std::unique_ptr<CQnBackground> m_view;
};

TEST_F(BackgroundView, LoadedPictureShowsItsSizeAndEnablesItsButtons)
{
    OpenView();
    m_view->Model(); // both targets were read on opening
    ASSERT_TRUE(m_view->LoadFile(Picture()));
    EXPECT_EQ(ControlText(Control(IDC_WALLPAPER_STATUS)), "wide.bmp (120x80)");
    EXPECT_EQ(ControlText(Control(IDC_WALLPAPER_PICTURE_WIDTH)), "120");
    EXPECT_EQ(ControlText(Control(IDC_WALLPAPER_HEIGHT)), "80");
    for (int id : {IDC_WALLPAPER_VIEW, IDC_WALLPAPER_PRINT, IDC_WALLPAPER_EDIT, IDC_WALLPAPER_DELETE, IDC_WALLPAPER_APPLY})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(m_view->ReportTitle(), "Quenta Wallpaper : \"" + Picture() + "\"");

    int low = 0, high = 0;
    SendMessageA(Control(IDC_WALLPAPER_WIDTH_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 32000);
    SetWindowTextA(Control(IDC_WALLPAPER_WIDTH), "640");
    EXPECT_EQ(m_view->Model().State(0).size.width, 640) << "the edit is the target width";

    // The colour button serves best fit only.
    EXPECT_FALSE(Enabled(IDC_WALLPAPER_COLOR));
    Click(IDC_WALLPAPER_BESTFIT);
    EXPECT_TRUE(Enabled(IDC_WALLPAPER_COLOR));
    EXPECT_EQ(m_view->Model().State(0).mode, WallpaperMode::BestFit);

    Click(IDC_WALLPAPER_DELETE);
    EXPECT_EQ(ControlText(Control(IDC_WALLPAPER_STATUS)), "(none)");
    for (int id : {IDC_WALLPAPER_PICTURE_WIDTH, IDC_WALLPAPER_PICTURE_HEIGHT, IDC_WALLPAPER_WIDTH, IDC_WALLPAPER_HEIGHT})
        EXPECT_EQ(ControlText(Control(id)), "---") << id;
    for (int id : {IDC_WALLPAPER_VIEW, IDC_WALLPAPER_PRINT, IDC_WALLPAPER_EDIT, IDC_WALLPAPER_DELETE})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_WALLPAPER_APPLY)) << "applying now removes the wallpaper";
}

TEST_F(BackgroundView, EachTabKeepsItsOwnPictureAndADroppedFileGoesToTheShownOne)
{
    OpenView();
    m_view->SelectTarget(1);
    SendMessageA(m_view->Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropFiles({Picture()})), 0);
    EXPECT_EQ(ControlText(Control(IDC_WALLPAPER_STATUS)), "wide.bmp (120x80)");
    ASSERT_TRUE(m_view->Model().State(1).picture);
    m_view->SelectTarget(0);
    EXPECT_EQ(m_view->CurrentTarget(), 0);
    EXPECT_EQ(SendMessageA(Control(IDC_WALLPAPER_TABS), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(m_view->Model().State(0).picture && !m_view->Model().State(0).installed)
        << "the first tab still shows what its target has";
}

TEST_F(BackgroundView, EditWithoutTheEditorSaysWhereToDownloadIt)
{
    OpenView();
    ASSERT_TRUE(m_view->LoadFile(Picture()));
    Click(IDC_WALLPAPER_EDIT);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], LoadText(IDS_EDITOR_NOT_INSTALLED) + "\r\n" + LoadText(IDS_EDITOR_DOWNLOAD_ADDRESS));
    EXPECT_EQ(g_messages[0].rfind("Zephra is not installed on your computer.", 0), 0u);
}

TEST_F(BackgroundView, EditHandsThePictureToTheRunningEditorThroughTheClipboard)
{
    // A window of this process stands for the running editor in the window registry.
    HWND editor = CreateWindowExA(0, "STATIC", "editor", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(editor);
    char handle[32];
    std::snprintf(handle, sizeof handle, "%p", static_cast<void*>(editor));
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kAtomKey, "HWND", REG_SZ, handle, lstrlenA(handle) + 1), ERROR_SUCCESS);
    OpenView();
    ASSERT_TRUE(m_view->LoadFile(Picture()));
    Click(IDC_WALLPAPER_EDIT);
    EXPECT_TRUE(g_messages.empty());

    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, editor, WM_USER + 100, WM_USER + 100, PM_REMOVE)) << "no message to the editor";
    const UINT format = RegisterClipboardFormatA("ZephraPicture");
    EXPECT_EQ(message.wParam, format);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(format);
    ASSERT_TRUE(data);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->biWidth, 120);
    EXPECT_EQ(header->biHeight, 80);
    EXPECT_EQ(header->biBitCount, 24);
    GlobalUnlock(data);
    CloseClipboard();
    DestroyWindow(editor);
}

TEST_F(BackgroundView, EditStartsTheInstalledEditorWithATemporaryBitmap)
{
    // A small system program stands for the installed editor: it is started with the file.
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string editor = std::string(system) + "\\attrib.exe";
    ASSERT_TRUE(fs::exists(editor));
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kInstallKey, "Zephra", REG_SZ, editor.c_str(),
                              static_cast<DWORD>(editor.size() + 1)),
              ERROR_SUCCESS);
    const fs::path handed = fs::path(SystemTempPath()) / "Ostrel Quenta" / "wide.bmp";
    fs::remove(handed);
    OpenView();
    ASSERT_TRUE(m_view->LoadFile(Picture()));
    Click(IDC_WALLPAPER_EDIT);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kInstallKey, "Zephra");
    EXPECT_TRUE(g_messages.empty()) << g_messages.front();
    CPicture written;
    ASSERT_TRUE(LoadPicture(handed.string(), &written, nullptr)) << handed;
    EXPECT_EQ(written.Width(), 120);
    EXPECT_EQ(written.Height(), 80);
    EXPECT_EQ(written.BitsPerPixel(), 24);
    fs::remove(handed);
}

TEST_F(BackgroundView, EveryTextFitsItsControlInEnglishAndFrench)
{
    for (const auto& [language, name] : {std::pair{0x0409u, "wallpaper_form_en"}, {0x040Cu, "wallpaper_form_fr"}}) {
        SetTextLanguage(language);
        OpenView();
        ASSERT_TRUE(m_view->LoadFile(Picture()));
        Click(IDC_WALLPAPER_BESTFIT);
        RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveScreenBmp(ScreenshotPath(name));
        for (HWND child = GetWindow(m_view->Hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char kind[32] = "";
            GetClassNameA(child, kind, sizeof kind);
            std::string text = ControlText(child);
            std::erase(text, '&');
            const LONG style = GetWindowLongA(child, GWL_STYLE);
            if (text.empty() || (lstrcmpiA(kind, "Button") != 0 && lstrcmpiA(kind, "Static") != 0) ||
                (lstrcmpiA(kind, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX))
                continue;
            RECT client;
            GetClientRect(child, &client);
            int room = client.right;
            if (lstrcmpiA(kind, "Button") == 0)
                room -= (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 8;
            EXPECT_LE(TextWidthInFontOf(child, text), room) << name << ": \"" << text << "\"";
        }
        if (language == 0x040Cu) {
            EXPECT_EQ(ControlText(Control(IDC_WALLPAPER_APPLY)), "&Appliquer");
        }
        CloseView();
    }
}
} // namespace
