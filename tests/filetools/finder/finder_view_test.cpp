// Drives the finder's view under Wine in a prefix whose only drives are C: and the test drive
// T: (tools/wine-run-test-drives.sh), so that "All disks" walks the prefix and the test drive,
// never the host.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/message.h"
#include "app/settings.h"
#include "base/text.h"
#include "filetools/finder/finder_run.h"
#include "filetools/finder/finder_settings.h"
#include "filetools/finder/finder_view_win.h"
#include "res/resource.h"
#include "shell/control_helpers_win.h"
#include "tests/e2e/support/screen_win.h"

namespace {
std::vector<std::string> g_messages;

MessageAnswer RecordMessage(const std::string& text, MessageButtons)
{
    g_messages.push_back(text);
    return MessageAnswer::Ok;
}

const char kTestRoot[] = "T:\\finder\\";
const char kPrefixRoot[] = "C:\\qn_finder_view\\";

void WriteFile(const std::string& path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    std::ofstream(path) << "x";
}

// The host's folders are out of reach here: screenshots go to T:\screenshots\, which the
// runner moves into the build folder after the run.
std::string ScreenshotPath(const char* name)
{
    CreateDirectoryA("T:\\screenshots", nullptr);
    return std::string("T:\\screenshots\\") + name + ".bmp";
}

// Lets the window paint itself, as the program's message loop would between user actions.
void PumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

class FinderView : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_ANIMATE_CLASS};
        InitCommonControlsEx(&controls);
        SetMessageHandler(RecordMessage);
        SetTextLanguage(0x0409);
    }

    void SetUp() override
    {
        // A search over all disks must never reach the host: with any drive beside C: and T:
        // (Z: maps the host's root in a new prefix) every test here fails instead.
        ASSERT_EQ(GetLogicalDrives(), (1u << ('C' - 'A')) | (1u << ('T' - 'A')))
            << "run through tools/wine-run-test-drives.sh";
        ASSERT_EQ(GetDriveTypeA("T:\\"), static_cast<UINT>(DRIVE_FIXED));
        CQnSettings().DeleteSection(kFinderSection);
        FinderResults::Shared().Clear();
        g_messages.clear();
        m_frame = CreateWindowExA(0, "STATIC", "finder test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 640,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_frame);
        ASSERT_TRUE(m_view.CreateView(m_frame, 0xE900));
        MoveWindow(m_view.Hwnd(), 0, 0, 880, 600, TRUE);
        ShowWindow(m_view.Hwnd(), SW_SHOW);
        m_view.InitModule();
    }

    void TearDown() override { DestroyWindow(m_frame); }

    void Search(const std::string& patterns, const std::string& folder, bool deep = true, bool addToList = false,
                bool searchInList = false)
    {
        SetDlgItemTextA(m_view.Hwnd(), IDC_FINDER_PATTERNS, patterns.c_str());
        CDxCombo& folders = m_view.FolderBox();
        const int at = folder.empty() ? 0 : folders.FindItem(folder);
        if (at >= 0)
            folders.Select(at);
        else
            folders.Select(folders.AddItem(folder, 0));
        CheckDlgButton(m_view.Hwnd(), IDC_FINDER_INCLUDE_SUBFOLDERS, deep ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(m_view.Hwnd(), IDC_FINDER_ADD_TO_LIST, addToList ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(m_view.Hwnd(), IDC_FINDER_SEARCH_IN_LIST, searchInList ? BST_CHECKED : BST_UNCHECKED);
        m_view.OnStartClicked();
    }

    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int row = 0; row < m_view.List().RowCount(); ++row)
            names.push_back(m_view.List().StoredText(row, 0));
        return names;
    }

    std::vector<std::string> TabTexts()
    {
        std::vector<std::string> texts;
        for (int tab = 0; tab < m_view.Tabs().Count(); ++tab)
            texts.push_back(m_view.Tabs().TabText(tab));
        return texts;
    }

    HWND m_frame = nullptr;
    CQnSearch m_view;
};
} // namespace

using Texts = std::vector<std::string>;

TEST_F(FinderView, TheFolderBoxOffersAllDisksWithTheSearchedLetters)
{
    EXPECT_EQ(m_view.FolderBox().ItemText(0), "All disks ( C,T )");
    EXPECT_GE(m_view.FolderBox().FindItem("T:\\"), 1);
    // LastFolder's default "c:\" is the drive's own entry, whatever the letter's case.
    EXPECT_EQ(m_view.FolderBox().Selection(), m_view.FolderBox().FindItem("C:\\"));
    EXPECT_EQ(TabTexts(), (Texts{"All results", "Folders"}));
}

TEST_F(FinderView, PatternsSplitAtSemicolonsAndStarsBacktrack)
{
    for (const char* name : {"a.bmp", "b.gif", "c.txt", "my.notes.txt", "aab"})
        WriteFile(std::string(kTestRoot) + "patterns\\" + name);
    const std::string folder = std::string(kTestRoot) + "patterns";
    Search("*.bmp;*.gif", folder);
    EXPECT_EQ(Names(), (Texts{"a.bmp", "b.gif"}));
    Search("*.bmp;", folder);
    EXPECT_EQ(Names(), Texts{"a.bmp"});
    Search("*.txt;*ab", folder);
    EXPECT_EQ(Names(), (Texts{"aab", "c.txt", "my.notes.txt"}));
    EXPECT_EQ(m_view.StatusText(), "3 objects");
    // The newest pattern heads the history, in the box and in the settings.
    EXPECT_EQ(CQnSettings().ReadString(kFinderSection, "File0"), "*.txt;*ab");
    EXPECT_EQ(CQnSettings().ReadString(kFinderSection, "File2"), "*.bmp;*.gif");
}

TEST_F(FinderView, AddToListListsAFileOnceAndSearchInListKeepsOnlyMatches)
{
    for (const char* name : {"one.txt", "two.txt", "three.doc"})
        WriteFile(std::string(kTestRoot) + "lists\\" + name);
    const std::string folder = std::string(kTestRoot) + "lists";
    Search("*.txt", folder);
    Search("*", folder, true, true);
    EXPECT_EQ(Names(), (Texts{"one.txt", "three.doc", "two.txt"}));
    Search("*.doc;t*", folder, true, false, true);
    EXPECT_EQ(Names(), (Texts{"three.doc", "two.txt"}));
    EXPECT_EQ(CQnSettings().ReadString(kFinderSection, "bSeachInList"), "1");
    Search("*.none", folder);
    EXPECT_TRUE(Names().empty());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_view.Hwnd(), IDC_FINDER_SEARCH_IN_LIST)));
    EXPECT_NE(IsDlgButtonChecked(m_view.Hwnd(), IDC_FINDER_SEARCH_IN_LIST), BST_CHECKED);
}

TEST_F(FinderView, AllDisksFindsBothDrivesAndEachDriveGetsItsTabInLetterOrder)
{
    WriteFile(std::string(kTestRoot) + "deep\\er\\on_t.qnfz");
    WriteFile(std::string(kPrefixRoot) + "on_c.qnfz");
    // The test drive first: its tab follows the two fixed ones; C:'s goes in before it later.
    Search("*.qnfz", std::string(kTestRoot));
    EXPECT_EQ(TabTexts(), (Texts{"All results", "Folders", "T:\\"}));
    Search("*.qnfz", kPrefixRoot, true, true);
    EXPECT_EQ(TabTexts(), (Texts{"All results", "Folders", "C:\\", "T:\\"}));
    Search("*.qnfz", "");
    EXPECT_EQ(Names(), (Texts{"on_c.qnfz", "on_t.qnfz"}));
    EXPECT_EQ(TabTexts(), (Texts{"All results", "Folders", "C:\\", "T:\\"}));
    RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(300);
    EXPECT_TRUE(SaveScreenBmp(ScreenshotPath("finder_drive_tabs")));

    m_view.ShowTab(3);
    EXPECT_EQ(Names(), Texts{"on_t.qnfz"});
    m_view.ShowTab(2);
    EXPECT_EQ(Names(), Texts{"on_c.qnfz"});
    m_view.ShowTab(CQnSearch::kFoldersTab);
    EXPECT_EQ(Names(), (Texts{kPrefixRoot, std::string(kTestRoot) + "deep\\er\\"}));
    EXPECT_EQ(m_view.List().ColumnCount(), 1);
    // A file deleted since the search leaves the rebuilt list.
    DeleteFileA((std::string(kPrefixRoot) + "on_c.qnfz").c_str());
    m_view.ShowTab(CQnSearch::kAllResultsTab);
    EXPECT_EQ(Names(), Texts{"on_t.qnfz"});
    EXPECT_EQ(m_view.List().ColumnCount(), 5);
}

TEST_F(FinderView, ResultsSortByEachColumnAndOutliveTheView)
{
    WriteFile(std::string(kTestRoot) + "sort\\b.txt");
    std::ofstream(std::string(kTestRoot) + "sort\\a.txt") << std::string(5000, 'x');
    WriteFile(std::string(kTestRoot) + "sort\\C.txt");
    Search("*.txt", std::string(kTestRoot) + "sort");
    EXPECT_EQ(Names(), (Texts{"a.txt", "b.txt", "C.txt"}));
    ListView_SortItems(m_view.List().Hwnd(), nullptr, 0); // no effect on a virtual list: sorting is ours
    m_view.List().SortRows(2, false);
    EXPECT_EQ(Names().front(), "a.txt");
    EXPECT_EQ(m_view.List().StoredText(0, 2), "5 Kb");

    // A new view (the module shown again) lists the same results.
    CQnSearch again;
    ASSERT_TRUE(again.CreateView(m_frame, 0xE901));
    again.InitModule();
    EXPECT_EQ(again.List().RowCount(), 3);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(again.Hwnd(), IDC_FINDER_SEARCH_IN_LIST)));
    DestroyWindow(again.Hwnd());
}

TEST_F(FinderView, StopPressedWhileCollectingEndsAtTheFirstMatch)
{
    for (int i = 0; i < 20; ++i)
        WriteFile(std::string(kTestRoot) + "stop\\d" + std::to_string(i % 4) + "\\f" + std::to_string(i) + ".txt");
    // The click waits in the queue while the engine collects; the first match handles it.
    PostMessageA(GetDlgItem(m_view.Hwnd(), IDC_FINDER_START), BM_CLICK, 0, 0);
    Search("*.txt", std::string(kTestRoot) + "stop");
    EXPECT_EQ(m_view.List().RowCount(), 1);
    EXPECT_FALSE(m_view.IsRunning());
    char text[32] = "";
    GetDlgItemTextA(m_view.Hwnd(), IDC_FINDER_START, text, sizeof text);
    EXPECT_STREQ(text, "&Start");
}

TEST_F(FinderView, FiveThousandMatchesStopAt4500WithTheMessage)
{
    const std::string root = std::string(kTestRoot) + "many\\";
    for (int folder = 0; folder < 5; ++folder) {
        const std::string sub = root + "d" + std::to_string(folder) + "\\";
        WriteFile(sub + "first.bmp");
        for (int i = 1; i < 1000; ++i)
            std::ofstream(sub + "f" + std::to_string(i) + ".bmp") << "x";
    }
    Search("*.bmp", root);
    EXPECT_EQ(m_view.List().RowCount(), static_cast<int>(kMaxFinderResults));
    EXPECT_EQ(FinderResults::Shared().Count(), kMaxFinderResults);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages.front(), LoadText(IDS_FINDER_TOO_MANY));
}

TEST_F(FinderView, FileActionsTakeTheSelectedResultsPathsFromTheirRecords)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        WriteFile(std::string(kTestRoot) + "actions\\" + name);
    Search("*.txt", std::string(kTestRoot) + "actions");
    ASSERT_EQ(m_view.List().RowCount(), 3);
    m_view.List().SortRows(0, false); // c, b, a: rows no longer follow the records' order
    HWND list = m_view.List().Hwnd();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (int row : {0, 2})
        ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageA(m_view.Hwnd(), WM_COMMAND, ID_FILE_ACTION_COPY, 0);

    ASSERT_TRUE(OpenClipboard(nullptr));
    auto* drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    std::vector<std::string> copied;
    if (drop) {
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            char path[MAX_PATH] = "";
            DragQueryFileA(drop, i, path, sizeof path);
            copied.push_back(path);
        }
    }
    CloseClipboard();
    EXPECT_EQ(copied, (Texts{std::string(kTestRoot) + "actions\\c.txt", std::string(kTestRoot) + "actions\\a.txt"}));
    EXPECT_EQ(m_view.StatusText(), "2 selected objects on 3");
}

TEST_F(FinderView, EveryTextFitsItsControlInEnglishAndFrench)
{
    struct Control {
        int id;
        int margin; // room the control keeps beside its text (check box, button edges)
    };
    const Control controls[] = {{IDC_FINDER_PATTERNS_LABEL, 0}, {IDC_FINDER_FOLDER_LABEL, 0},
                                {IDC_FINDER_SELECT_FOLDER, 8},  {IDC_FINDER_INCLUDE_SUBFOLDERS, 18},
                                {IDC_FINDER_ADD_TO_LIST, 18},   {IDC_FINDER_SEARCH_IN_LIST, 18},
                                {IDC_FINDER_START, 8}};
    for (unsigned language : {0x0409u, 0x040Cu}) {
        SetTextLanguage(language);
        CQnSearch view;
        ASSERT_TRUE(view.CreateView(m_frame, 0xE902));
        std::vector<std::string> texts;
        for (const Control& control : controls)
            texts.push_back(WindowText(GetDlgItem(view.Hwnd(), control.id)));
        texts.push_back(LoadText(IDS_FINDER_STOP)); // the Start button's other text
        for (size_t i = 0; i < texts.size(); ++i) {
            const Control& control = i < std::size(controls) ? controls[i] : controls[std::size(controls) - 1];
            HWND window = GetDlgItem(view.Hwnd(), control.id);
            std::string shown;
            for (char c : texts[i])
                if (c != '&')
                    shown += c;
            HDC dc = GetDC(window);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
            SIZE size{};
            GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
            SelectObject(dc, old);
            ReleaseDC(window, dc);
            RECT rect;
            GetClientRect(window, &rect);
            EXPECT_FALSE(shown.empty()) << control.id;
            EXPECT_LE(size.cx + control.margin, rect.right) << shown << " (language " << language << ")";
        }
        DestroyWindow(view.Hwnd());
    }
    SetTextLanguage(0x0409);
}
