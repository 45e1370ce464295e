// The picture open dialog under Wine, driven from a timer of the dialog's own thread:
// cancelling, a multiple selection typed into the name box, and the preview following the
// selection with its switch remembered in the settings.
#include "shell/picture_open/picture_open_dialog_win.h"

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "tests/e2e/support/screen_win.h"
#include "app/message.h"
#include "app/settings.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"

namespace {
namespace fs = std::filesystem;
const std::string kTitle = "Picture open dialog test";

// The steps run one per timer tick while the dialog is up; a step returns false to be
// tried again on the next tick.
std::vector<std::function<bool(HWND dialog)>> g_steps;
size_t g_nextStep = 0;
int g_ticks = 0;

HWND FindOurDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            char title[128] = "";
            GetWindowTextA(window, title, sizeof title);
            if (kTitle == title && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindOurDialog();
    if (!dialog)
        return;
    // Give up after about 20 s so a stuck step cannot hang the test.
    if (++g_ticks > 400 || g_nextStep >= g_steps.size()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (g_steps[g_nextStep](dialog))
        ++g_nextStep;
}

std::vector<std::string> RunWithSteps(const PictureOpenOptions& options,
                                      std::vector<std::function<bool(HWND)>> steps)
{
    g_steps = std::move(steps);
    g_nextStep = 0;
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, Tick);
    std::vector<std::string> chosen = RunPictureOpenDialog(nullptr, options);
    KillTimer(nullptr, timer);
    return chosen;
}

// The child dialog holding the preview controls.
HWND PreviewPanelOf(HWND dialog)
{
    for (HWND child = FindWindowExA(dialog, nullptr, "#32770", nullptr); child;
         child = FindWindowExA(dialog, child, "#32770", nullptr))
        if (GetDlgItem(child, IDC_PICTURE_OPEN_PREVIEW_CHECK))
            return child;
    return nullptr;
}

std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND FindDescendant(HWND parent, const char* className)
{
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, className) == 0)
            return child;
        if (HWND inner = FindDescendant(child, className))
            return inner;
    }
    return nullptr;
}

// Selects only item `index` of the dialog's file list (items are sorted by name).
bool SelectListItem(HWND dialog, int index)
{
    HWND list = FindDescendant(dialog, "SysListView32");
    if (!list || SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) <= index)
        return false;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
    return true;
}

// Types `names` into the dialog's name box and presses Open.
std::function<bool(HWND)> TypeNamesAndOpen(const std::string& names)
{
    return [names](HWND dialog) {
        HWND box = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
        if (!box)
            return false;
        SetWindowTextA(box, names.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    };
}

class PictureOpenDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::path(QUENTA_BINARY_DIR) / "tests" / "shell" / "picture_open" /
                   ("dialog_" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        WritePicture("a.bmp", 640, 400);
        WritePicture("b.bmp", 32, 20);
        m_options.title = kTitle;
        m_options.filter = "Bitmaps (*.bmp)|*.bmp|All files (*.*)|*.*||";
        m_options.defaultExtension = "BMP";
        m_options.initialFolder = m_folder.string();
    }

    void TearDown() override
    {
        CQnSettings().DeleteValue("LoadPicture", "EnablePreview");
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    void WritePicture(const std::string& name, int width, int height)
    {
        CPicture picture;
        ASSERT_TRUE(picture.Create(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t colour[3] = {uint8_t(x * 255 / width), uint8_t(y * 255 / height), 160};
                picture.SetPixel(x, y, colour);
            }
        ASSERT_EQ(BmpCodec().WriteFile((m_folder / name).string(), &picture, 24, false, nullptr), 1);
    }

    fs::path m_folder;
    PictureOpenOptions m_options;
};
} // namespace

TEST_F(PictureOpenDialogTest, CancelGivesNothingAndThePreviewSwitchFollowsTheSetting)
{
    CQnSettings().WriteString("LoadPicture", "EnablePreview", "1");
    bool checked = false;
    std::string label;
    const auto chosen = RunWithSteps(m_options, {[&](HWND dialog) {
                                         HWND panel = PreviewPanelOf(dialog);
                                         if (!panel)
                                             return false;
                                         checked = IsDlgButtonChecked(panel, IDC_PICTURE_OPEN_PREVIEW_CHECK);
                                         label = TextOf(GetDlgItem(panel, IDC_PICTURE_OPEN_PREVIEW_CHECK));
                                         PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                                         return true;
                                     }});
    EXPECT_TRUE(chosen.empty());
    EXPECT_TRUE(checked);
    EXPECT_EQ(label, "&Preview");
}

TEST_F(PictureOpenDialogTest, HelpButtonAsksForTheFileSelectorPage)
{
    // No help folder exists beside the test program: the page is reported missing by name.
    static std::string reported;
    const MessageHandler previous = SetMessageHandler([](const std::string& text, MessageButtons) {
        reported = text;
        return MessageAnswer::Ok;
    });
    RunWithSteps(m_options, {[](HWND dialog) {
                     PostMessageA(dialog, WM_COMMAND, pshHelp, 0);
                     return true;
                 },
                 [](HWND dialog) {
                     PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                     return true;
                 }});
    SetMessageHandler(previous);
    EXPECT_NE(reported.find("local\\filesselector.htm"), std::string::npos) << reported;
}

TEST_F(PictureOpenDialogTest, TypedNamesComeBackAsFullPaths)
{
    m_options.multiSelect = true;
    auto chosen = RunWithSteps(m_options, {TypeNamesAndOpen("\"a.bmp\" \"b.bmp\"")});
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_TRUE(fs::equivalent(chosen[0], m_folder / "a.bmp")) << chosen[0];
    EXPECT_TRUE(fs::equivalent(chosen[1], m_folder / "b.bmp")) << chosen[1];

    // One name alone, with or without multiple selection, is its full path.
    for (const bool multiSelect : {true, false}) {
        m_options.multiSelect = multiSelect;
        chosen = RunWithSteps(m_options, {TypeNamesAndOpen("b.bmp")});
        ASSERT_EQ(chosen.size(), 1u);
        EXPECT_TRUE(fs::equivalent(chosen[0], m_folder / "b.bmp")) << chosen[0];
    }
}

TEST_F(PictureOpenDialogTest, PreviewShowsTheSelectedPictureAndTheSwitchIsRemembered)
{
    CQnSettings().WriteString("LoadPicture", "EnablePreview", "0");
    std::string sizeWhileOff = "unset", sizeShown, sizeOfNext, sizeAfterSwitchOff = "unset";
    const auto chosen = RunWithSteps(
        m_options,
        {
            [&](HWND dialog) { return PreviewPanelOf(dialog) && SelectListItem(dialog, 0); },
            [&](HWND dialog) {
                // The switch is off: nothing loads.
                sizeWhileOff = TextOf(GetDlgItem(PreviewPanelOf(dialog), IDC_PICTURE_OPEN_SIZE));
                // Switching it on loads the selected file at once.
                SendDlgItemMessageA(PreviewPanelOf(dialog), IDC_PICTURE_OPEN_PREVIEW_CHECK, BM_CLICK, 0, 0);
                return true;
            },
            [&](HWND dialog) {
                sizeShown = TextOf(GetDlgItem(PreviewPanelOf(dialog), IDC_PICTURE_OPEN_SIZE));
                if (sizeShown.empty())
                    return false;
                UpdateWindow(dialog);
                SaveScreenBmp((fs::path(QUENTA_BINARY_DIR) / "tests" / "shell" / "picture_open" /
                               "picture_open_dialog.bmp")
                                  .string());
                // With the switch on, a new selection is followed.
                return SelectListItem(dialog, 1);
            },
            [&](HWND dialog) {
                sizeOfNext = TextOf(GetDlgItem(PreviewPanelOf(dialog), IDC_PICTURE_OPEN_SIZE));
                return sizeOfNext != sizeShown;
            },
            [&](HWND dialog) {
                SendDlgItemMessageA(PreviewPanelOf(dialog), IDC_PICTURE_OPEN_PREVIEW_CHECK, BM_CLICK, 0, 0);
                sizeAfterSwitchOff = TextOf(GetDlgItem(PreviewPanelOf(dialog), IDC_PICTURE_OPEN_SIZE));
                EXPECT_EQ(CQnSettings().ReadString("LoadPicture", "EnablePreview"), "0");
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return true;
            },
        });
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(sizeWhileOff, "");
    EXPECT_EQ(sizeShown, "640 x 400");
    EXPECT_EQ(sizeOfNext, "32 x 20");
    EXPECT_EQ(sizeAfterSwitchOff, "");
}
