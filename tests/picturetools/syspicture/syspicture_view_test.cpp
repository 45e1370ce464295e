// Drives the system pictures' view in a plain test window, its targets in a folder of the test.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/message.h"
#include "app/settings.h"
#include "base/text.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/syspicture/logo_file.h"
#include "picturetools/syspicture/syspicture_view_win.h"
#include "picturetools/syspicture/target_file.h"
#include "res/resource.h"
#include "tests/e2e/support/screen_win.h"
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
    return std::string(QUENTA_BINARY_DIR) + "/tests/picturetools/syspicture/" + name + ".bmp";
}

class SysPictureView : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        SetMessageHandler(RecordMessage);
    }

    void SetUp() override
    {
        m_root = fs::path(testing::TempDir()) / "qn_syspicture_view";
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        CQnSettings().DeleteSection("SysPicture");
        g_messages.clear();
        CPicture picture;
        ASSERT_TRUE(picture.Create(80, 60));
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) {
                const uint8_t bgr[3] = {static_cast<uint8_t>(3 * x), static_cast<uint8_t>(4 * y), 200};
                picture.SetPixel(x, y, bgr);
            }
        ASSERT_EQ(BmpCodec().WriteFile(Loaded(), &picture, 24, false, nullptr), 1);
        m_frame = CreateWindowExA(0, "STATIC", "system pictures test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900,
                                  700, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_frame);
    }

    void TearDown() override
    {
        SetTextLanguage(0x0409);
        DestroyWindow(m_frame);
        m_view.reset();
        fs::remove_all(m_root);
        CQnSettings().DeleteSection("SysPicture");
    }

    SysPictureFiles Files() const
    {
        return {{(m_root / "logo.sys").string(), (m_root / "logow.sys").string(), (m_root / "logos.sys").string()}};
    }
    std::string Loaded() const { return (m_root / "loaded.bmp").string(); }

    void Open(SysPictureFiles files)
    {
        m_view = std::make_unique<CSysPicture>(std::move(files));
        ASSERT_TRUE(m_view->CreateView(m_frame, 0xE900));
        MoveWindow(m_view->Hwnd(), 0, 0, 880, 660, TRUE);
        ShowWindow(m_view->Hwnd(), SW_SHOW);
        m_view->InitModule();
    }

    HWND Control(int id) const { return GetDlgItem(m_view->Hwnd(), id); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    bool Visible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }
    void Click(int id) const
    {
        SendMessageA(m_view->Hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
    }
    void Type(int id, const char* text) const { SetWindowTextA(Control(id), text); }

    fs::path m_root;
    HWND m_frame = nullptr;
    std::unique_ptr<CSysPicture> m_view;
};

struct ClippedText {
    std::string text;
    int needed, available;
};

std::vector<ClippedText> ClippedTexts(HWND form)
{
    std::vector<ClippedText> clipped;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char kind[32] = "";
        GetClassNameA(child, kind, sizeof kind);
        std::string text = ControlText(child);
        if (text.empty() || (lstrcmpiA(kind, "Button") != 0 && lstrcmpiA(kind, "Static") != 0))
            continue;
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (lstrcmpiA(kind, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX)
            continue;
        std::erase(text, '&');
        RECT client;
        GetClientRect(child, &client);
        int room = client.right;
        if (lstrcmpiA(kind, "Button") == 0)
            room -= (style & BS_TYPEMASK) == BS_PUSHBUTTON || (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON
                        ? 8
                        : GetSystemMetrics(SM_CXMENUCHECK) + 4;
        if (const int needed = TextWidthInFontOf(child, text); needed > room)
            clipped.push_back({text, needed, room});
    }
    return clipped;
}
} // namespace

TEST_F(SysPictureView, OpensWithTheDefaultsAndNoPictures)
{
    Open(Files());
    EXPECT_EQ(ControlText(Control(IDC_SYSPICTURE_COLOURS)), "96");
    EXPECT_EQ(ControlText(Control(IDC_SYSPICTURE_TOP)), "368");
    EXPECT_EQ(ControlText(Control(IDC_SYSPICTURE_RIGHT)), "320");
    EXPECT_TRUE(IsDlgButtonChecked(m_view->Hwnd(), IDC_SYSPICTURE_STRETCH) == BST_CHECKED);
    EXPECT_TRUE(IsDlgButtonChecked(m_view->Hwnd(), IDC_SYSPICTURE_ENABLE_BAR) == BST_CHECKED);
    EXPECT_EQ(ControlText(Control(IDC_SYSPICTURE_STATUS)), "(none)");
    EXPECT_FALSE(Enabled(IDC_SYSPICTURE_VIEW));
    EXPECT_FALSE(Enabled(IDC_SYSPICTURE_DELETE));
    EXPECT_TRUE(Enabled(IDC_SYSPICTURE_APPLY));
}

TEST_F(SysPictureView, BarControlsShowOnTheStartUpTabAndFollowTheCheckBox)
{
    Open(Files());
    EXPECT_TRUE(Visible(IDC_SYSPICTURE_COLOURS));
    EXPECT_TRUE(Enabled(IDC_SYSPICTURE_COLOURS));
    CheckDlgButton(m_view->Hwnd(), IDC_SYSPICTURE_ENABLE_BAR, BST_UNCHECKED);
    Click(IDC_SYSPICTURE_ENABLE_BAR);
    EXPECT_FALSE(Enabled(IDC_SYSPICTURE_COLOURS));
    EXPECT_FALSE(Enabled(IDC_SYSPICTURE_ORIENTATION));
    EXPECT_TRUE(Enabled(IDC_SYSPICTURE_ENABLE_BAR));
    m_view->SelectTarget(1);
    EXPECT_FALSE(Visible(IDC_SYSPICTURE_ENABLE_BAR));
    EXPECT_FALSE(Visible(IDC_SYSPICTURE_LEFT));
    EXPECT_TRUE(Visible(IDC_SYSPICTURE_DITHERING));
}

TEST_F(SysPictureView, ApplyWritesTheLogoStoresSwappedSidesAndReadsItBack)
{
    Open(Files());
    ASSERT_TRUE(m_view->LoadFile(Loaded()));
    EXPECT_EQ(ControlText(Control(IDC_SYSPICTURE_STATUS)), "loaded.bmp (80x60)");
    EXPECT_EQ(m_view->ReportTitle(), "Quenta : System Picture \"loaded.bmp\"");
    Type(IDC_SYSPICTURE_LEFT, "300");
    Type(IDC_SYSPICTURE_RIGHT, "20");
    m_view->Apply();
    EXPECT_TRUE(g_messages.empty());
    EXPECT_EQ(CQnSettings().ReadInt("SysPicture", "Left", -1), 20);
    EXPECT_EQ(CQnSettings().ReadInt("SysPicture", "Right", -1), 300);
    EXPECT_EQ(ControlText(Control(IDC_SYSPICTURE_LEFT)), "20");
    const auto logo = DecodeLogoBmp(ReadWholeFile(Files().paths[0]));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->bandStart, 160);
    EXPECT_EQ(logo->At(20, 380), 255);
    EXPECT_EQ(logo->At(299, 380), 160);
    EXPECT_TRUE(m_view->Model().State(0).installed);
    EXPECT_FALSE(Enabled(IDC_SYSPICTURE_APPLY)) << "what is shown is installed";
    EXPECT_EQ(ControlText(Control(IDC_SYSPICTURE_STATUS)), "Startup Picture (320x400)");
}

TEST_F(SysPictureView, AWriteTheFolderRefusesIsSaidInTheMessageBox)
{
    SysPictureFiles files = Files();
    files.paths[1] = (m_root / "no folder" / "logow.sys").string();
    Open(files);
    m_view->SelectTarget(1);
    ASSERT_TRUE(m_view->LoadFile(Loaded()));
    m_view->Apply();
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_NE(g_messages[0].find("cannot write"), std::string::npos) << g_messages[0];
    EXPECT_NE(g_messages[0].find(files.paths[1]), std::string::npos);
    EXPECT_TRUE(Enabled(IDC_SYSPICTURE_APPLY)) << "nothing was installed";
}

TEST_F(SysPictureView, AReadOnlyHiddenStartUpFileIsStillReplaced)
{
    std::ofstream(Files().paths[0], std::ios::binary) << "Ostrel Quenta v1.0";
    SetFileAttributesA(Files().paths[0].c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Open(Files());
    EXPECT_FALSE(m_view->Model().State(0).picture) << "the text file is no picture";
    ASSERT_TRUE(m_view->LoadFile(Loaded()));
    m_view->Apply();
    EXPECT_TRUE(g_messages.empty());
    EXPECT_TRUE(DecodeLogoBmp(ReadWholeFile(Files().paths[0])));
}

TEST_F(SysPictureView, EveryTextFitsItsControlInEnglishAndFrench)
{
    for (const auto& [language, name] : {std::pair{0x0409u, "syspicture_form_en"}, {0x040Cu, "syspicture_form_fr"}}) {
        SetTextLanguage(language);
        Open(Files());
        ASSERT_TRUE(m_view->LoadFile(Loaded()));
        RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveScreenBmp(ScreenshotPath(name));
        for (const ClippedText& clipped : ClippedTexts(m_view->Hwnd()))
            ADD_FAILURE() << name << ": \"" << clipped.text << "\" needs " << clipped.needed << " px, has "
                          << clipped.available;
        if (language == 0x040Cu) {
            EXPECT_EQ(ControlText(Control(IDC_SYSPICTURE_LOAD)), "&Charger...");
        }
        DestroyWindow(m_view->Hwnd());
        m_view.reset();
    }
}
