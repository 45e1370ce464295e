// Drives the pictures translator's view in a plain test window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/message.h"
#include "app/settings.h"
#include "base/text.h"
#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/translator/convert_view_win.h"
#include "res/resource.h"
#include "shell/working_window_win.h"
#include "shell/viewer/picture_viewer_win.h"
#include "tests/e2e/support/screen_win.h"
#include "tests/shell/controls/test_window_win.h"
#include "tests/support/drop_files_win.h"
#include "tests/support/text_width_win.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> g_messages;
MessageAnswer g_answer = MessageAnswer::No;
std::string g_screenshotAtNextMessage;
bool g_cancelAtNextMessage = false;

std::string ScreenshotPath(const char* name)
{
    return std::string(QUENTA_BINARY_DIR) + "/tests/picturetools/translator/" + name + ".bmp";
}

MessageAnswer RecordMessage(const std::string& text, MessageButtons)
{
    g_messages.push_back(text);
    if (!g_screenshotAtNextMessage.empty()) {
        SaveScreenBmp(g_screenshotAtNextMessage);
        g_screenshotAtNextMessage.clear();
    }
    if (g_cancelAtNextMessage) {
        // As if the user had pressed Cancel while the question was up.
        if (HWND working = FindWindowA(nullptr, "Quenta - Working..."))
            PostMessageA(working, WM_COMMAND, IDCANCEL, 0);
        g_cancelAtNextMessage = false;
    }
    return g_answer;
}

int CodecIndex(const CGraphicsCodec& codec)
{
    for (int i = 0; g_pictureCodecs[i]; ++i)
        if (g_pictureCodecs[i] == &codec)
            return i;
    return -1;
}

std::string ControlText(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The texts and states of the popup menu open on this thread, read once it is there; then the
// menu is closed.
struct OpenMenuItem {
    std::string text;
    bool grayed;
};
std::vector<OpenMenuItem> g_openMenu;

void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = controls_test::FindThreadWindow("#32768");
    if (!popup)
        return;
    KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    for (int item = 0; menu && item < GetMenuItemCount(menu); ++item) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(item), text, sizeof text, MF_BYPOSITION);
        g_openMenu.push_back({text, (GetMenuState(menu, static_cast<UINT>(item), MF_BYPOSITION) & MF_GRAYED) != 0});
    }
    EndMenu();
}

class TranslatorView : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        SetMessageHandler(RecordMessage);
    }

    void SetUp() override
    {
        m_root = fs::path(testing::TempDir()) / "qn_translator_view";
        fs::remove_all(m_root);
        fs::create_directories(m_root / "in" / "sub");
        CPicture picture;
        ASSERT_TRUE(picture.Create(6, 4));
        for (const char* name : {"b.bmp", "A.bmp", "c.bmp", "sub\\deeper.bmp"})
            ASSERT_EQ(BmpCodec().WriteFile((m_root / "in" / name).string(), &picture, 24, false, nullptr), 1);
        std::ofstream((m_root / "in" / "readme.txt").string()) << "ab";

        CQnSettings().DeleteSection("Converter");
        CQnSettings().WriteString("Converter", "OutputDirectory", (m_root / "out" / "x" / "y").string());
        g_messages.clear();
        g_answer = MessageAnswer::No;

        m_frame = CreateWindowExA(0, "STATIC", "translator test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_frame);
        ASSERT_TRUE(m_view.CreateView(m_frame, 0xE900));
        MoveWindow(m_view.Hwnd(), 0, 0, 880, 660, TRUE);
        ShowWindow(m_view.Hwnd(), SW_SHOW);
        m_view.InitModule();
    }

    void TearDown() override
    {
        SetTextLanguage(0x0409);
        DestroyWindow(m_frame);
        fs::remove_all(m_root);
        CQnSettings().DeleteSection("Converter");
    }

    std::string In(const char* name) const { return (m_root / "in" / name).string(); }
    HWND Control(int id) const { return GetDlgItem(m_view.Hwnd(), id); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

    std::vector<int> DepthBits() const
    {
        std::vector<int> bits;
        const int count = static_cast<int>(SendMessageA(Control(IDC_TRANSLATOR_DEPTH), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            bits.push_back(static_cast<int>(SendMessageA(Control(IDC_TRANSLATOR_DEPTH), CB_GETITEMDATA, i, 0)));
        return bits;
    }
    int SelectedDepth() const
    {
        HWND depth = Control(IDC_TRANSLATOR_DEPTH);
        return static_cast<int>(SendMessageA(depth, CB_GETITEMDATA, SendMessageA(depth, CB_GETCURSEL, 0, 0), 0));
    }

    void SelectRows(std::initializer_list<int> rows)
    {
        for (int row : rows) {
            LVITEMA state{};
            state.stateMask = LVIS_SELECTED;
            state.state = LVIS_SELECTED;
            SendMessageA(Control(IDC_TRANSLATOR_LIST), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
        }
    }

    void ClickColumn(int column)
    {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = Control(IDC_TRANSLATOR_LIST);
        click.hdr.idFrom = IDC_TRANSLATOR_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageA(m_view.Hwnd(), WM_NOTIFY, IDC_TRANSLATOR_LIST, reinterpret_cast<LPARAM>(&click));
    }

    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int row = 0; row < m_view.List().RowCount(); ++row)
            names.push_back(m_view.ItemAtRow(row).name);
        return names;
    }

    fs::path m_root;
    HWND m_frame = nullptr;
    CQnConvert m_view;
};

} // namespace

TEST_F(TranslatorView, OpensWithTheStoredChoicesAndNothingToStart)
{
    EXPECT_EQ(m_view.List().ColumnCount(), 3);
    EXPECT_EQ(m_view.ReportList(), &m_view.List());
    EXPECT_EQ(m_view.ReportTitle(), "Quenta : Pictures Translator");
    EXPECT_EQ(ControlText(Control(IDC_TRANSLATOR_QUALITY)), "80");
    EXPECT_EQ(ControlText(Control(IDC_TRANSLATOR_OUTPUT)), (m_root / "out" / "x" / "y").string());
    // Type 0 is the first table entry, BMP.
    EXPECT_EQ(SendMessageA(Control(IDC_TRANSLATOR_TYPE), CB_GETITEMDATA,
                           SendMessageA(Control(IDC_TRANSLATOR_TYPE), CB_GETCURSEL, 0, 0), 0),
              CodecIndex(BmpCodec()));
    EXPECT_FALSE(Enabled(IDC_TRANSLATOR_START));
    EXPECT_FALSE(Enabled(IDC_TRANSLATOR_REMOVE));
    EXPECT_EQ(m_view.StatusText(), "0 object"); // at most one row: singular
}

TEST_F(TranslatorView, DepthListFollowsTheFormat)
{
    ASSERT_TRUE(m_view.SelectFormat(CodecIndex(PngCodec())));
    EXPECT_EQ(DepthBits(), (std::vector<int>{1, 4, 8, 24, 32}));
    EXPECT_EQ(SelectedDepth(), 24);
    EXPECT_TRUE(Enabled(IDC_TRANSLATOR_DEPTH));
    EXPECT_FALSE(IsWindowVisible(Control(IDC_TRANSLATOR_QUALITY)));

    ASSERT_TRUE(m_view.SelectFormat(CodecIndex(JpgCodec())));
    EXPECT_EQ(DepthBits(), std::vector<int>{24});
    EXPECT_FALSE(Enabled(IDC_TRANSLATOR_DEPTH));
    EXPECT_FALSE(Enabled(IDC_TRANSLATOR_DEPTH_LABEL));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_TRANSLATOR_QUALITY)));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_TRANSLATOR_QUALITY_SPIN)));
    EXPECT_FALSE(IsWindowVisible(Control(IDC_TRANSLATOR_COMPRESS)));

    ASSERT_TRUE(m_view.SelectFormat(CodecIndex(BmpCodec())));
    EXPECT_EQ(DepthBits(), (std::vector<int>{1, 4, 8, 24}));
    EXPECT_EQ(SelectedDepth(), 24);
    EXPECT_FALSE(IsWindowVisible(Control(IDC_TRANSLATOR_QUALITY)));

    ASSERT_TRUE(m_view.SelectFormat(CodecIndex(TgaCodec())));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_TRANSLATOR_COMPRESS)));
    EXPECT_FALSE(m_view.SelectFormat(CodecIndex(GifCodec()))) << "GIF is not written";
}

TEST_F(TranslatorView, AddingRemovingAndTheEnableRules)
{
    EXPECT_TRUE(m_view.AddFile(In("b.bmp"), true));
    EXPECT_FALSE(m_view.AddFile(In("readme.txt"), false));
    EXPECT_TRUE(g_messages.empty()) << "quiet adding says nothing";
    EXPECT_FALSE(m_view.AddFile(In("readme.txt"), true));
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "Ostrel Quenta cannot recognize the type of file \"readme.txt\"");
    EXPECT_TRUE(Enabled(IDC_TRANSLATOR_START));

    // A folder adds its own pictures only: no subfolder, no unknown file.
    m_view.AddFolder((m_root / "in").string());
    EXPECT_EQ(m_view.ItemCount(), 4u);
    EXPECT_EQ(m_view.StatusText(), "4 objects");
    EXPECT_EQ(g_messages.size(), 1u);
    RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveScreenBmp(ScreenshotPath("translator_view"));
    const ConvertItem& first = m_view.ItemAtRow(0);
    EXPECT_EQ(first.Path(), In("b.bmp"));
    EXPECT_EQ(m_view.List().StoredText(0, 2), (m_root / "in").string() + "\\");
    EXPECT_NE(m_view.List().StoredText(0, 1).find(" - 6x4 24 bits"), std::string::npos);

    SetDlgItemTextA(m_view.Hwnd(), IDC_TRANSLATOR_OUTPUT, "");
    EXPECT_FALSE(Enabled(IDC_TRANSLATOR_START));
    SetDlgItemTextA(m_view.Hwnd(), IDC_TRANSLATOR_OUTPUT, "C:\\out");
    EXPECT_TRUE(Enabled(IDC_TRANSLATOR_START));

    SelectRows({0, 2});
    EXPECT_TRUE(Enabled(IDC_TRANSLATOR_REMOVE));
    EXPECT_EQ(m_view.StatusText(), "2 selected objects on 4");
    m_view.RemoveSelected();
    EXPECT_EQ(m_view.ItemCount(), 2u);
    EXPECT_EQ(m_view.List().RowCount(), 2);
    EXPECT_FALSE(Enabled(IDC_TRANSLATOR_REMOVE));
    EXPECT_EQ(m_view.StatusText(), "2 objects");

    // The Delete key in the list removes the selection too.
    SelectRows({0, 1});
    NMLVKEYDOWN key{};
    key.hdr.hwndFrom = Control(IDC_TRANSLATOR_LIST);
    key.hdr.idFrom = IDC_TRANSLATOR_LIST;
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = VK_DELETE;
    SendMessageA(m_view.Hwnd(), WM_NOTIFY, IDC_TRANSLATOR_LIST, reinterpret_cast<LPARAM>(&key));
    EXPECT_EQ(m_view.ItemCount(), 0u);
    EXPECT_FALSE(Enabled(IDC_TRANSLATOR_START));

    // Files chosen in the file dialog leave their folder as its next starting folder.
    m_view.AddFiles({In("readme.txt"), In("sub\\deeper.bmp")}, true, true);
    EXPECT_EQ(CQnSettings().ReadString("Converter", "AddFileDirectory", ""), (m_root / "in" / "sub").string() + "\\");
}

TEST_F(TranslatorView, DroppedFilesAreAddedQuietlyAndDoubleClickShowsThePicture)
{
    // The shell's drop block: DROPFILES then NUL-ended paths and a final NUL.
    HGLOBAL drop = MakeDropFiles({In("A.bmp"), In("readme.txt"), In("c.bmp")});
    SendMessageA(m_view.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A.bmp", "c.bmp"}));
    EXPECT_TRUE(g_messages.empty());

    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = Control(IDC_TRANSLATOR_LIST);
    click.hdr.idFrom = IDC_TRANSLATOR_LIST;
    click.hdr.code = NM_DBLCLK;
    click.iItem = 1;
    SendMessageA(m_view.Hwnd(), WM_NOTIFY, IDC_TRANSLATOR_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_TRUE(PictureViewerWindow());
    ClosePictureViewer();

    // The list menu's commands: View shows the first selected item, Remove removes the selection.
    SelectRows({0});
    SendMessageA(m_view.Hwnd(), WM_COMMAND, ID_TRANSLATOR_VIEW, 0);
    EXPECT_TRUE(PictureViewerWindow());
    ClosePictureViewer();
    SendMessageA(m_view.Hwnd(), WM_COMMAND, ID_TRANSLATOR_REMOVE, 0);
    EXPECT_EQ(Names(), std::vector<std::string>{"c.bmp"});
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRANSLATOR_LIST_MENU));
    ASSERT_TRUE(menu);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 1), static_cast<UINT>(ID_TRANSLATOR_REMOVE));
    DestroyMenu(menu);
}

TEST_F(TranslatorView, ListMenuIsInTheLanguageOfTheTextsAndGrayedWithoutASelection)
{
    m_view.AddFile(In("b.bmp"), true);
    const auto rightClick = [&] {
        g_openMenu.clear();
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = Control(IDC_TRANSLATOR_LIST);
        click.hdr.idFrom = IDC_TRANSLATOR_LIST;
        click.hdr.code = NM_RCLICK;
        click.iItem = 0;
        SetTimer(nullptr, 0, 50, ReadAndCloseMenu);
        SendMessageA(m_view.Hwnd(), WM_NOTIFY, IDC_TRANSLATOR_LIST, reinterpret_cast<LPARAM>(&click));
    };
    SetTextLanguage(0x040C);
    rightClick();
    ASSERT_EQ(g_openMenu.size(), 2u);
    EXPECT_EQ(g_openMenu[0].text, "&Afficher");
    EXPECT_EQ(g_openMenu[1].text, "&Retirer");
    EXPECT_TRUE(g_openMenu[0].grayed && g_openMenu[1].grayed) << "nothing is selected";

    SetTextLanguage(0x0409);
    SelectRows({0});
    rightClick();
    ASSERT_EQ(g_openMenu.size(), 2u);
    EXPECT_EQ(g_openMenu[0].text, "&View");
    EXPECT_FALSE(g_openMenu[0].grayed || g_openMenu[1].grayed);
    EXPECT_EQ(Names(), std::vector<std::string>{"b.bmp"}) << "a dismissed menu runs nothing";
}

TEST_F(TranslatorView, ColumnClickSortsIgnoringCaseAndAgainReverses)
{
    for (const char* name : {"b.bmp", "A.bmp", "c.bmp"})
        m_view.AddFile(In(name), true);
    ClickColumn(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A.bmp", "b.bmp", "c.bmp"}));
    ClickColumn(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c.bmp", "b.bmp", "A.bmp"}));
}

TEST_F(TranslatorView, StartWritesEveryItemAndStoresTheChoices)
{
    for (const char* name : {"b.bmp", "A.bmp"})
        m_view.AddFile(In(name), true);
    ASSERT_TRUE(m_view.SelectFormat(CodecIndex(JpgCodec())));
    SetDlgItemTextA(m_view.Hwnd(), IDC_TRANSLATOR_QUALITY, "250");
    m_view.StartBatch();

    const fs::path out = m_root / "out" / "x" / "y";
    EXPECT_TRUE(fs::exists(out / "b.JPG"));
    EXPECT_TRUE(fs::exists(out / "A.JPG"));
    EXPECT_TRUE(g_messages.empty());
    CQnSettings settings;
    EXPECT_EQ(settings.ReadInt("Converter", "Type", -1), CodecIndex(JpgCodec()));
    EXPECT_EQ(settings.ReadInt("Converter", "Quality", -1), 100);
    EXPECT_EQ(settings.ReadString("Converter", "OutputDirectory", ""), out.string());
    EXPECT_FALSE(FindWindowA(nullptr, "Quenta - Working...")) << "the working window is gone";

    // Again: both exist now. No to the first keeps it; the second is asked about too.
    fs::resize_file(out / "b.JPG", 3);
    g_answer = MessageAnswer::No;
    g_screenshotAtNextMessage = ScreenshotPath("working_window");
    m_view.StartBatch();
    ASSERT_EQ(g_messages.size(), 2u);
    EXPECT_EQ(g_messages[0], "File \"" + (out / "b.JPG").string() + "\" already exists. Do you want to overwrite it?");
    EXPECT_EQ(fs::file_size(out / "b.JPG"), 3u);

    // Yes, then Yes to "all": one question pair, every file written.
    g_messages.clear();
    g_answer = MessageAnswer::Yes;
    m_view.StartBatch();
    ASSERT_EQ(g_messages.size(), 2u);
    EXPECT_EQ(g_messages[1], "Do you want to overwrite all existing files?");
    EXPECT_GT(fs::file_size(out / "b.JPG"), 3u);
}

TEST_F(TranslatorView, CancelledRunStopsAndStillStoresTheChoices)
{
    for (const char* name : {"b.bmp", "A.bmp", "c.bmp"})
        m_view.AddFile(In(name), true);
    const fs::path out = m_root / "out" / "x" / "y";
    fs::create_directories(out);
    std::ofstream((out / "b.PNG").string()) << "old";
    ASSERT_TRUE(m_view.SelectFormat(CodecIndex(PngCodec())));
    g_answer = MessageAnswer::No;
    g_cancelAtNextMessage = true;
    m_view.StartBatch();

    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(fs::file_size(out / "b.PNG"), 3u) << "the answer No kept the file";
    EXPECT_FALSE(fs::exists(out / "A.PNG")) << "the run stopped before the next file";
    EXPECT_FALSE(fs::exists(out / "c.PNG"));
    CQnSettings settings;
    EXPECT_EQ(settings.ReadInt("Converter", "Type", -1), CodecIndex(PngCodec()));
    EXPECT_EQ(settings.ReadString("Converter", "OutputDirectory", ""), out.string());
    EXPECT_FALSE(FindWindowA(nullptr, "Quenta - Working..."));
}

namespace {
int g_otherMessages = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        ++g_otherMessages;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
} // namespace

TEST(WorkingWindow, ChecksRunTheCancelButtonAndDropOtherInput)
{
    WNDCLASSA type{};
    type.lpfnWndProc = CountingProc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "QnCountingWindow";
    RegisterClassA(&type);
    HWND other = CreateWindowExA(0, type.lpszClassName, "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 type.hInstance, nullptr);
    ASSERT_TRUE(other);

    CWorkingWindow window;
    ASSERT_TRUE(window.Open(other));
    EXPECT_EQ(FindWindowA(nullptr, "Quenta - Working..."), window.Hwnd());
    window.SetFilesRange(3);
    PostMessageA(other, WM_APP, 0, 0);
    EXPECT_TRUE(window.SetFilesDone(1));
    EXPECT_TRUE(window.FileProgress().SetPos(5));

    PostMessageA(other, WM_APP, 0, 0);
    PostMessageA(window.Hwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(window.FileProgress().SetPos(6)) << "the file's bar sees the cancel";
    EXPECT_FALSE(window.SetFilesDone(2));
    EXPECT_EQ(g_otherMessages, 0) << "input for other windows is dropped during a run";

    window.Close();
    EXPECT_FALSE(FindWindowA(nullptr, "Quenta - Working..."));
    PostMessageA(other, WM_APP, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_EQ(g_otherMessages, 1);
    DestroyWindow(other);
}

namespace {
struct ClippedText {
    std::string text;
    int needed, available;
};

// Labels, buttons and check boxes whose text is wider than the room the control gives it.
std::vector<ClippedText> ClippedTexts(HWND form)
{
    std::vector<ClippedText> clipped;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char kind[32] = "";
        GetClassNameA(child, kind, sizeof kind);
        std::string text = ControlText(child);
        if (text.empty() || (lstrcmpiA(kind, "Button") != 0 && lstrcmpiA(kind, "Static") != 0))
            continue;
        std::erase(text, '&');
        RECT client;
        GetClientRect(child, &client);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        int room = client.right;
        if (lstrcmpiA(kind, "Button") == 0)
            room -= (style & BS_TYPEMASK) == BS_AUTOCHECKBOX ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 8;
        if (const int needed = TextWidthInFontOf(child, text); needed > room)
            clipped.push_back({text, needed, room});
    }
    return clipped;
}
} // namespace

TEST_F(TranslatorView, EveryTextFitsItsControlInEnglishAndFrench)
{
    EXPECT_EQ(ControlText(Control(IDC_TRANSLATOR_START)), "&Start") << "texts come from the string table";
    for (const auto& [language, name] : {std::pair{0x0409u, "translator_form_en"}, {0x040Cu, "translator_form_fr"}}) {
        SetTextLanguage(language);
        CQnConvert view;
        ASSERT_TRUE(view.CreateView(m_frame, 0xE901));
        MoveWindow(view.Hwnd(), 0, 0, 880, 660, TRUE);
        ShowWindow(m_view.Hwnd(), SW_HIDE);
        ShowWindow(view.Hwnd(), SW_SHOW);
        view.InitModule();
        view.SelectFormat(CodecIndex(JpgCodec())); // the quality controls show too
        RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveScreenBmp(ScreenshotPath(name));
        for (const ClippedText& clipped : ClippedTexts(view.Hwnd()))
            ADD_FAILURE() << name << ": \"" << clipped.text << "\" needs " << clipped.needed << " px, has "
                          << clipped.available;
        if (language == 0x040Cu) {
            EXPECT_EQ(ControlText(view.Item(IDC_TRANSLATOR_START)), "&D\xE9marrer");
        }
        DestroyWindow(view.Hwnd());
    }
    SetTextLanguage(0x0409);
}

TEST_F(TranslatorView, ListAndBottomControlsFollowTheFormSize)
{
    RECT list, start, before;
    GetWindowRect(Control(IDC_TRANSLATOR_START), &before);
    MoveWindow(m_view.Hwnd(), 0, 0, 980, 700, TRUE);
    GetWindowRect(Control(IDC_TRANSLATOR_LIST), &list);
    GetWindowRect(Control(IDC_TRANSLATOR_START), &start);
    EXPECT_EQ(start.left - before.left, 100) << "Start follows the right edge";
    EXPECT_EQ(start.top - before.top, 40) << "and the bottom edge";
    MapWindowPoints(nullptr, m_view.Hwnd(), reinterpret_cast<POINT*>(&list), 2);
    RECT client;
    GetClientRect(m_view.Hwnd(), &client);
    EXPECT_GT(list.right, client.right - 30) << "the list stretches";
}
